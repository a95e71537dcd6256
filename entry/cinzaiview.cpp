#include "cinzaiview.h"

#include "entryrules.h"
#include "entryscreen.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {
using L = LitterBook;

CInZaiView::FarmNumbers& farmSource()
{
    static CInZaiView::FarmNumbers source;
    return source;
}

const QStringList& kHeaders = LitterBook::headers();

// An editable drop-down that completes what is typed from its list.
QComboBox* autoCompletionCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->completer()->setCompletionMode(QCompleter::PopupCompletion);
    combo->completer()->setFilterMode(Qt::MatchStartsWith);
    return combo;
}
} // namespace

CInZaiView::CInZaiView(QWidget* parent)
    : CGridScreen(kCommandId, 1, parent)
{
    setTitle(QStringLiteral("输入产仔记录"));
    setCloseCaption(QStringLiteral("产仔纪录"));
    setOffers(OfferEntry);
    setAddRowCount(1);
    setFindPrompt(QStringLiteral("输入您要查找的仔猪耳号:"));
    connect(grid(), &CGridCtrl::beginEdit, this, &CInZaiView::onBeginEdit);
    connect(grid(), &CGridCtrl::endEdit, this, &CInZaiView::onEndEdit);
    // Row bookkeeping follows every way rows come and go (insert, add, delete, reset).
    CGridModel* model = grid()->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { m_meta.insert(first, last - first + 1, Meta()); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { m_meta.remove(first, last - first + 1); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_meta.fill(Meta(), grid()->GetRowCount()); });
}

CInZaiView::~CInZaiView() = default;

void CInZaiView::setFarmNumberSource(FarmNumbers source)
{
    farmSource() = std::move(source);
}

void CInZaiView::createControls()
{
    setTemplateSize(QSize(1000, 440));
    const QSize form = EntryScreen::formSize(this);
    grid()->setGeometry(0, 0, form.width() - 240, form.height());
    m_group = new QGroupBox(QStringLiteral("窝信息"), this);
    m_group->setGeometry(form.width() - 230, 4, 224, 400);
    struct Field {
        const char* label;
        QWidget* widget;
    };
    m_sow = autoCompletionCombo(m_group);
    m_parity = autoCompletionCombo(m_group);
    m_boar = new QLineEdit(m_group);
    m_method = new QLineEdit(m_group);
    m_matingDay = new QLineEdit(m_group);
    m_due = new QLineEdit(m_group);
    m_farrow = new QLineEdit(m_group);
    m_litter = new QLineEdit(m_group);
    m_gestation = new QLineEdit(m_group);
    m_keeper = autoCompletionCombo(m_group);
    const Field fields[] = {{"母猪耳号：", m_sow},    {"母猪胎次：", m_parity},  {"与配公猪：", m_boar},
                            {"配种方式：", m_method}, {"配种日期：", m_matingDay}, {"预产日期：", m_due},
                            {"分娩日期：", m_farrow}, {"窝号：", m_litter},      {"妊娠天数：", m_gestation},
                            {"饲养员：", m_keeper}};
    int y = 26;
    for (const Field& f : fields) {
        auto* label = new QLabel(QString::fromUtf8(f.label), m_group);
        label->setGeometry(8, y + 3, 72, 20);
        f.widget->setGeometry(80, y, 136, 26);
        y += 36;
    }
    for (QLineEdit* e : {m_boar, m_method, m_matingDay, m_due, m_gestation})
        e->setReadOnly(true);
    m_litter->setMaxLength(4);
    setFarrowEditable(false);
    m_group->show(); // the view may already be on screen when its set-up runs
    m_sow->installEventFilter(this);
    m_parity->installEventFilter(this);
    connect(m_parity, &QComboBox::activated, this, [this](int index) {
        m_parity->setEditText(m_parity->itemText(index));
        grid()->setFocus();
        chooseParity(m_parity->itemText(index));
    });
    connect(m_sow, &QComboBox::activated, this, [this](int index) { chooseSow(m_sow->itemText(index)); });
    connect(m_farrow, &QLineEdit::textEdited, this, &CInZaiView::typeFarrowDate);
}

void CInZaiView::anchorControls()
{
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
    addAnchor(m_group, Anchor::TopRight, Anchor::TopRight);
}

bool CInZaiView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_sow)
            chooseSow(m_sow->currentText());
        else if (watched == m_parity)
            chooseParity(m_parity->currentText());
    }
    return CGridScreen::eventFilter(watched, event);
}

void CInZaiView::loadScreen()
{
    m_book = std::make_unique<LitterBook>(connection(), [this] { return beginWrite(); });
    CComboGridCtrl* g = grid();
    g->SetColumnCount(L::ColumnCount);
    g->SetRowCount(20);
    g->SetFixedRowCount(1);
    g->SetFixedColumnCount(2);
    g->SetFixedColumnsEditable(true); // the ear tag stays in view and is typed there
    EntryScreen::setHeaders(g, 0, kHeaders);
    g->AddComboColumn(L::ColState, m_book->pigletStates());
    g->AddComboColumn(L::ColSex, {QStringLiteral("M"), QStringLiteral("F")});
    g->AddComboColumn(L::ColColour, m_book->colours());
    g->AddComboColumn(L::ColDestination, {QStringLiteral("保育"), QStringLiteral("死亡")});
    g->AddComboColumn(L::ColFoster, {QStringLiteral("正常"), QStringLiteral("寄出")});
    g->AddComboColumn(L::ColNurse, m_book->nursingSows());
    for (int c : {L::ColTeatLeft, L::ColTeatRight, L::ColMoveDate, L::ColWeanAge})
        g->ADDNumColumn(c);
    m_sow->addItems(m_book->sows());
    m_sow->setEditText(QString());
    m_keeper->addItems(m_book->keepers());
    m_keeper->setEditText(QString());
    EntryScreen::numberRows(g, 1, 19);
    sizeColumns();
}

// Auto-sized, the two tag columns wide enough for a whole ear tag even while empty.
void CInZaiView::sizeColumns()
{
    CComboGridCtrl* g = grid();
    g->AutoSize();
    const int tag = std::max(g->GetColumnWidth(L::ColTag), g->textWidth(QStringLiteral("DLAAAA125000001")) + 16);
    g->SetColumnWidth(L::ColTag, tag);
    g->SetColumnWidth(L::ColNurse, tag);
}

void CInZaiView::setFarrowEditable(bool editable)
{
    m_farrow->setReadOnly(!editable);
    m_litter->setReadOnly(!editable);
}

void CInZaiView::clearPanel()
{
    m_parity->setEditText(QString());
    for (QLineEdit* e : {m_boar, m_method, m_matingDay, m_due, m_farrow, m_litter, m_gestation})
        e->clear();
}

QStringList CInZaiView::parityChoices() const
{
    QStringList out;
    for (int i = 0; i < m_parity->count(); ++i)
        out << m_parity->itemText(i);
    return out;
}

LitterBook::Panel CInZaiView::panel() const
{
    L::Panel p;
    p.sow = m_sow->currentText();
    p.parity = m_parity->currentText();
    p.boar = m_boar->text();
    p.method = m_method->text();
    p.matingDay = m_matingDay->text();
    p.dueDate = m_due->text();
    p.farrowDate = m_farrow->text();
    p.litterNumber = m_litter->text();
    p.gestation = m_gestation->text();
    p.keeper = m_keeper->currentText();
    p.stored = m_panelStored;
    return p;
}

void CInZaiView::chooseSow(const QString& sow)
{
    if (m_sow->currentText() != sow)
        m_sow->setEditText(sow);
    if (!m_book || sow == m_loadedSow)
        return;
    if (!EntryRules::isEarTag(sow)) {
        m_sow->setFocus();
        return;
    }
    if (!askBeforeLeavingLitter()) {
        m_sow->setEditText(m_loadedSow);
        return;
    }
    m_parity->clear();
    m_parity->addItems(m_book->parities(sow));
    clearPanel();
}

// Unsaved piglets of the litter on screen are not dropped silently when another litter
// is chosen: the same question as at closing.
bool CInZaiView::askBeforeLeavingLitter()
{
    if (!isModified())
        return true;
    const MsgAnswer a = AppMessageBox(QStringLiteral("记录已经修改，要保存吗？"), closeCaption(), MsgIcon::Warning,
                                      MsgButtons::YesNo, this);
    if (a == MsgAnswer::Yes) {
        if (!save())
            return false;
    } else {
        discard();
    }
    setModified(false);
    return true;
}

void CInZaiView::resetGrid(int rows)
{
    CComboGridCtrl* g = grid();
    g->SetRowCount(1);
    g->SetRowCount(rows);
    m_meta.fill(Meta(), rows);
}

void CInZaiView::chooseParity(const QString& parity)
{
    if (m_parity->currentText() != parity)
        m_parity->setEditText(parity);
    const QString sow = m_sow->currentText();
    if (!m_book || parity.isEmpty() || (sow == m_loadedSow && parity == m_loadedParity))
        return;
    if (!EntryRules::isEarTag(sow)) {
        m_sow->setFocus();
        return;
    }
    if (!askBeforeLeavingLitter()) {
        m_parity->setEditText(m_loadedParity);
        return;
    }
    L::Panel p;
    p.sow = sow;
    p.parity = parity;
    QVector<L::Piglet> rows;
    const L::LoadResult result = m_book->load(p, rows);
    CComboGridCtrl* g = grid();
    switch (result) {
    case L::LoadResult::Stored:
        resetGrid(rows.size() + 1);
        for (int i = 0; i < rows.size(); ++i) {
            g->SetItemText(i + 1, 0, QString::number(i + 1));
            showPiglet(i + 1, rows.at(i));
        }
        m_keeper->setEditText(p.keeper);
        setFarrowEditable(false);
        g->SetEditable(true);
        break;
    case L::LoadResult::New:
        g->SetEditable(false);
        setFarrowEditable(true);
        resetGrid(20);
        EntryScreen::numberRows(g, 1, 19);
        break;
    case L::LoadResult::NoMating:
        AppMessageBox(L::noMatingText(sow, parity), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        break;
    }
    if (result != L::LoadResult::NoMating) {
        m_boar->setText(p.boar);
        m_method->setText(p.method);
        m_matingDay->setText(p.matingDay);
        m_due->setText(p.dueDate);
        m_farrow->setText(p.farrowDate);
        m_litter->setText(p.litterNumber);
        m_gestation->setText(p.gestation);
        m_panelStored = p.stored;
    }
    m_loadedSow = sow;
    m_loadedParity = parity;
    sizeColumns();
    g->Refresh();
}

void CInZaiView::typeFarrowDate(const QString& text)
{
    if (m_farrow->isReadOnly())
        return;
    const L::FarrowDate f = L::farrowDateTyped(text, m_matingDay->text());
    if (m_farrow->text() != f.text)
        m_farrow->setText(f.text);
    // A whole date is checked at once: a day that cannot be is taken back, an unusual
    // gestation length asked about.
    if (f.text.size() == 8 && !ValueRules::confirm(L::checkFarrowDate(f.text, m_matingDay->text()), this)) {
        m_farrow->clear();
        grid()->SetEditable(false);
        m_gestation->clear();
        return;
    }
    grid()->SetEditable(f.editable);
    m_gestation->setText(f.gestation);
}

void CInZaiView::chooseKeeper(const QString& keeper)
{
    m_keeper->setEditText(keeper);
}

LitterBook::Piglet CInZaiView::pigletAt(int row) const
{
    L::Piglet p;
    for (int c = 0; c < L::ColumnCount; ++c)
        p.cells[c] = grid()->GetItemText(row, c);
    if (row < m_meta.size()) {
        const Meta& m = m_meta.at(row);
        p.fosteredIn = m.fosteredIn;
        p.storedTag = m.storedTag;
        p.ownFarrowDate = m.ownFarrowDate;
    }
    return p;
}

void CInZaiView::showPiglet(int row, const LitterBook::Piglet& p)
{
    CComboGridCtrl* g = grid();
    for (int c = 1; c < L::ColumnCount; ++c)
        g->SetItemText(row, c, p.at(c));
    if (row < m_meta.size())
        m_meta[row] = Meta{p.fosteredIn, p.storedTag, p.ownFarrowDate};
    if (p.fosteredIn)
        for (int c : {L::ColFoster, L::ColNurse})
            g->SetItemState(row, c, g->GetItemState(row, c) | GVIS_READONLY);
    colourRow(row);
}

// Fostered piglets, out or in, are drawn in red.
void CInZaiView::colourRow(int row)
{
    const QString foster = grid()->GetItemText(row, L::ColFoster);
    const bool red = foster == QStringLiteral("寄出") || foster == QStringLiteral("寄入");
    EntryScreen::colourRow(grid(), row, red ? QColor(255, 0, 0) : QColor());
}

void CInZaiView::onBeginEdit(int row, int col)
{
    CComboGridCtrl* g = grid();
    m_oldText = g->GetItemText(row, col);
    const L::Panel p = panel();
    if (p.farrowDate.isEmpty())
        return;
    // Proposals fill an empty cell; a stored value is never replaced by one.
    if (col == L::ColTag) {
        if (EntryRules::isEarTag(m_oldText))
            return;
        QStringList above;
        if (row >= 4)
            for (int r = row - 1; r >= row - 3; --r)
                above << g->GetItemText(r, L::ColTag);
        const FarmNumbers& source = farmSource();
        const QPair<QString, QString> farm = source ? source() : qMakePair(QStringLiteral("AAAA"), QStringLiteral("1"));
        g->SetItemText(row, col, L::proposeTag(p, farm.first, farm.second, above));
        return;
    }
    if (!m_oldText.isEmpty())
        return;
    const L::Piglet piglet = pigletAt(row);
    const L::Piglet above = row >= 2 ? pigletAt(row - 1) : L::Piglet();
    const QString proposal = L::proposeOnBegin(col, piglet, row >= 2 ? &above : nullptr);
    if (!proposal.isEmpty())
        g->SetItemText(row, col, proposal);
}

void CInZaiView::onEndEdit(int row, int col)
{
    L::Piglet p = pigletAt(row);
    QString message;
    const bool changed = L::endEdit(p, col, m_oldText, m_farrow->text(), &message);
    CComboGridCtrl* g = grid();
    for (int c = 1; c < L::ColumnCount; ++c)
        if (g->GetItemText(row, c) != p.at(c))
            g->SetItemText(row, c, p.at(c));
    colourRow(row);
    if (changed)
        setModified(true);
    if (!message.isEmpty())
        AppMessageBox(message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
}

bool CInZaiView::save()
{
    // The grid holds the litter last loaded, whatever the combos show meanwhile.
    L::Panel p = panel();
    if (!m_loadedSow.isEmpty()) {
        p.sow = m_loadedSow;
        p.parity = m_loadedParity;
    }
    QVector<L::Piglet> rows;
    for (int r = 1; r < grid()->GetRowCount(); ++r)
        rows << pigletAt(r);
    QString message, caption;
    if (!m_book->save(p, rows, &message, &caption)) {
        if (!message.isEmpty())
            AppMessageBox(message, caption, MsgIcon::Stop, MsgButtons::Ok, this);
        return false;
    }
    if (!commitWork())
        return false;
    for (int r = 1; r < grid()->GetRowCount() && r < m_meta.size(); ++r)
        m_meta[r].storedTag = rows.at(r - 1).storedTag;
    m_panelStored = true;
    setFarrowEditable(false);
    return true;
}

void CInZaiView::discard()
{
    rollbackWork();
}

// The litter on screen again, as the database holds it.
void CInZaiView::reloadStored()
{
    const QString sow = m_loadedSow;
    const QString parity = m_loadedParity;
    m_loadedSow.clear();
    m_loadedParity.clear();
    if (sow.isEmpty() || parity.isEmpty())
        return;
    m_sow->setEditText(sow);
    chooseParity(parity);
}

void CInZaiView::deleteCurrent()
{
    const int row = grid()->GetFocusCell().row;
    if (row < grid()->GetFixedRowCount())
        return;
    const L::Piglet p = pigletAt(row);
    if (!p.at(L::ColTag).isEmpty()) {
        QString message, caption;
        if (!m_book->deletePiglet(p, &message, &caption)) {
            if (!message.isEmpty())
                AppMessageBox(message, caption, caption == QStringLiteral("警告") ? MsgIcon::Warning : MsgIcon::Stop,
                              MsgButtons::Ok, this);
            return;
        }
        if (!p.storedTag.isEmpty())
            setModified(true);
    }
    grid()->DeleteRow(row);
    grid()->Refresh();
}

// The printout of a litter says whose litter it is.
QString CInZaiView::printDetails() const
{
    if (m_loadedSow.isEmpty())
        return QString();
    const L::Panel p = panel();
    return QStringLiteral("母猪：%1  胎次：%2  与配公猪：%3  配种日期：%4  预产日期：%5  分娩日期：%6  窝号：%7")
        .arg(m_loadedSow, m_loadedParity, p.boar, p.matingDay, p.dueDate, p.farrowDate, p.litterNumber);
}

bool CInZaiView::exportSetSow(const QString& earTag)
{
    m_exportSow = earTag;
    return exportLoad();
}

bool CInZaiView::exportSetType(int parity)
{
    m_exportParity = QString::number(parity);
    return exportLoad();
}

bool CInZaiView::exportLoad()
{
    if (m_exportSow.isEmpty())
        return true;
    if (!EntryRules::isEarTag(m_exportSow))
        return false;
    chooseSow(m_exportSow);
    QString parity = m_exportParity;
    if (parity.isEmpty())
        for (const QString& p : parityChoices())
            if (parity.isEmpty() || p.toInt() > parity.toInt())
                parity = p;
    if (!parity.isEmpty())
        chooseParity(parity);
    return true;
}
