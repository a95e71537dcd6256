#include "transferscreen.h"

#include "appclock.h"
#include "dbrecordset.h"
#include "editoutcome.h"
#include "entryscreen.h"
#include "textutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kTopRow = 34; // height of the selector row above the grid

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

CTransferScreen::CTransferScreen(int commandId, Definition definition, QWidget* parent)
    : CGridScreen(commandId, 2, parent)
    , m_def(std::move(definition))
{
    setTitle(m_def.title);
    setCloseCaption(m_def.closeCaption);
    setOffers(OfferEntry);
    setAddRowCount(m_def.addRows);
    setFindPrompt(m_def.findPrompt);
    connect(grid(), &CGridCtrl::beginEdit, this, &CTransferScreen::onBeginEdit);
    connect(grid(), &CGridCtrl::endEdit, this, &CTransferScreen::onEndEdit);
}

CTransferScreen::~CTransferScreen() = default;

void CTransferScreen::createControls()
{
    setTemplateSize(QSize(860, 440));
    const QSize form = EntryScreen::formSize(this);
    m_typeLabel = new QLabel(QStringLiteral("类型："), this);
    m_typeLabel->setGeometry(8, 8, 44, 20);
    m_type = new QComboBox(this);
    m_type->addItems(m_def.types);
    m_type->setGeometry(52, 5, 130, 24);
    m_dateLabel = new QLabel(this);
    m_dateLabel->setGeometry(196, 8, 90, 20);
    m_from = new QDateEdit(this);
    m_to = new QDateEdit(this);
    for (QDateEdit* d : {m_from, m_to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_from->setGeometry(288, 5, 120, 24);
    m_toLabel = new QLabel(QStringLiteral("到"), this);
    m_toLabel->setGeometry(414, 8, 20, 20);
    m_to->setGeometry(436, 5, 120, 24);
    m_refresh = new QPushButton(QStringLiteral("刷新"), this);
    m_refresh->setGeometry(570, 4, 70, 26);
    const QDate today = AppClock::today();
    m_from->setDate(today.addYears(-1));
    m_to->setDate(today);
    grid()->setGeometry(0, kTopRow, form.width(), form.height() - kTopRow);
    updateDateCaption();
    connect(m_type, &QComboBox::currentIndexChanged, this, [this] { updateDateCaption(); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { refresh(); });
    // The view may already be on screen when its set-up runs.
    for (QWidget* w : std::initializer_list<QWidget*>{m_typeLabel, m_type, m_dateLabel, m_from, m_toLabel, m_to, m_refresh})
        w->show();
}

void CTransferScreen::anchorControls()
{
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
}

void CTransferScreen::loadScreen()
{
    CComboGridCtrl* g = grid();
    g->SetColumnCount(m_def.headers.size());
    g->SetRowCount(m_def.fixedRows);
    g->SetFixedRowCount(m_def.fixedRows);
    g->SetFixedColumnCount(2);
    EntryScreen::setHeaders(g, 0, m_def.headers);
    configureGrid();
    load(0);
}

// ---- the form ----

int CTransferScreen::chosenType() const
{
    return m_type ? m_type->currentIndex() : 0;
}

QString CTransferScreen::dateCaption() const
{
    return m_dateLabel ? m_dateLabel->text() : QString();
}

QDate CTransferScreen::fromDate() const
{
    return m_from ? m_from->date() : QDate();
}

QDate CTransferScreen::toDate() const
{
    return m_to ? m_to->date() : QDate();
}

QString CTransferScreen::fromText() const
{
    return TextUtil::dateText(fromDate());
}

QString CTransferScreen::toText() const
{
    return TextUtil::dateText(toDate());
}

bool CTransferScreen::refreshEnabled() const
{
    return m_refresh && m_refresh->isEnabled();
}

void CTransferScreen::chooseType(int type)
{
    if (m_type && type >= 0 && type < m_type->count())
        m_type->setCurrentIndex(type);
}

void CTransferScreen::setFromDate(const QDate& date)
{
    if (m_from)
        m_from->setDate(date);
}

void CTransferScreen::setToDate(const QDate& date)
{
    if (m_to)
        m_to->setDate(date);
}

void CTransferScreen::updateDateCaption()
{
    if (!m_dateLabel)
        return;
    const bool first = chosenType() == 0 || m_def.otherDateCaption.isEmpty();
    m_dateLabel->setText(first ? m_def.firstDateCaption : m_def.otherDateCaption);
}

bool CTransferScreen::refresh()
{
    if (!isConnected())
        return false;
    WaitCursor wait;
    m_refresh->setEnabled(false);
    const int before = m_shownType;
    bool ok = true;
    if (before == 0 && isModified()) {
        const MsgAnswer a = AppMessageBox(QStringLiteral("记录已经修改，要保存吗？"), m_def.refreshCaption,
                                          MsgIcon::Warning, MsgButtons::YesNo, this);
        if (a == MsgAnswer::Yes) {
            // Work the database refused stays on screen instead of being reloaded away.
            ok = save();
        } else {
            discard();
        }
        if (ok)
            setModified(false);
    }
    if (ok)
        load(chosenType());
    else
        chooseType(before);
    m_refresh->setEnabled(true);
    return ok;
}

bool CTransferScreen::load(int type)
{
    m_shownType = type;
    resetRows(0);
    CComboGridCtrl* g = grid();
    g->SetEditable(type == 0);
    const bool ok = loadType(type);
    EntryScreen::numberRows(g, firstDataRow(), g->GetRowCount() - 1);
    g->AutoSize();
    // An empty column still fits a date, so a choice or a date typed in shows whole.
    const int least = g->textWidth(QStringLiteral("20261231")) + 12;
    for (int c = g->GetFixedColumnCount(); c < g->GetColumnCount(); ++c)
        if (g->GetColumnWidth(c) < least)
            g->SetColumnWidth(c, least);
    g->Refresh();
    return ok;
}

// ---- export ----

bool CTransferScreen::exportSetType(int type)
{
    if (type < 0 || type >= m_def.types.size())
        return false;
    chooseType(type);
    return true;
}

bool CTransferScreen::exportSetFrom(const QDate& date)
{
    setFromDate(date);
    return true;
}

bool CTransferScreen::exportSetTo(const QDate& date)
{
    setToDate(date);
    return true;
}

// ---- cells ----

QString CTransferScreen::text(int row, int col) const
{
    return grid()->GetItemText(row, col);
}

void CTransferScreen::setText(int row, int col, const QString& text)
{
    grid()->SetItemText(row, col, text);
}

bool CTransferScreen::isLocked(int row, int col) const
{
    return (grid()->GetItemState(row, col) & GVIS_READONLY) != 0;
}

void CTransferScreen::lock(int row, int col, bool locked)
{
    CComboGridCtrl* g = grid();
    const unsigned state = g->GetItemState(row, col);
    g->SetItemState(row, col, locked ? (state | GVIS_READONLY) : (state & ~unsigned(GVIS_READONLY)));
}

void CTransferScreen::lockAllBut(int row, const QList<int>& editable)
{
    for (int c = 0; c < grid()->GetColumnCount(); ++c)
        lock(row, c, !editable.contains(c));
}

void CTransferScreen::resetRows(int dataRows)
{
    CComboGridCtrl* g = grid();
    g->SetRowCount(m_def.fixedRows);
    g->SetRowCount(m_def.fixedRows + dataRows);
}

void CTransferScreen::loadFailed(const QString& text)
{
    AppMessageBox(text, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
}

bool CTransferScreen::query(const QString& sql, QVector<QStringList>& rows)
{
    rows.clear();
    CDbRecordset rs(&connection());
    if (!rs.Open(sql))
        return false;
    const int n = rs.GetFieldCount();
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        QStringList f;
        f.reserve(n);
        QString v;
        for (int i = 0; i < n; ++i) {
            rs.GetFieldText(i, v);
            f << v;
        }
        rows << f;
    }
    return true;
}

bool CTransferScreen::execute(const QString& sql, QString& error)
{
    CDbRecordset rs(&connection());
    return rs.Open(sql) || failed(rs, error);
}

bool CTransferScreen::failed(const CDbRecordset& rs, QString& error)
{
    error = rs.LastError();
    return false;
}

void CTransferScreen::onBeginEdit(int row, int col)
{
    m_editing = false;
    // Only the type-0 list is edited, and only on rows that name a pig: a row added
    // without an ear tag has nothing to transfer.
    if (m_shownType != 0 || row < firstDataRow() || text(row, 1).isEmpty()) {
        grid()->RefuseEdit();
        return;
    }
    m_editing = true;
    m_oldText = text(row, col);
    beginCellEdit(row, col);
}

void CTransferScreen::onEndEdit(int row, int col)
{
    if (!m_editing)
        return;
    m_editing = false;
    if (text(row, col) == m_oldText)
        return;
    endCellEdit(row, col, m_oldText);
}

// ---- save and delete ----

bool CTransferScreen::save()
{
    if (m_shownType == 0) {
        QString message;
        QString refusal;
        const bool ok = EntryWrite::runEdit(connection(), [this] { return beginWrite(); },
                                            [&](QString& error) { return writeSave(error, refusal); }, &message);
        if (!ok) {
            if (!refusal.isEmpty())
                message = refusal;
            else if (!message.isEmpty() && !m_def.saveFailText.isEmpty())
                message = m_def.saveFailText;
            if (!message.isEmpty())
                AppMessageBox(message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
            return false;
        }
    }
    return commitWork();
}

void CTransferScreen::discard()
{
    rollbackWork();
}

void CTransferScreen::deleteCurrent()
{
    const int row = grid()->GetFocusCell().row;
    if (row < firstDataRow() || row >= grid()->GetRowCount())
        return;
    const QString tag = text(row, 1);
    if (!tag.isEmpty() && deleteWrites()) {
        QString message;
        const bool ok = EntryWrite::runEdit(connection(), [this] { return beginWrite(); },
                                            [&](QString& error) { return writeDelete(row, tag, error); }, &message);
        if (!ok) {
            if (!message.isEmpty())
                AppMessageBox(message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
            return;
        }
        setModified(true);
    }
    grid()->DeleteRow(row);
    grid()->Refresh();
}
