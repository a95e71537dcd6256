#include "cinpeiview.h"

#include "dbrecordset.h"
#include "entryrules.h"
#include "textutil.h"

#include <QLabel>

namespace {
using Col = MatingBook::Column;

} // namespace

CInPeiView::CInPeiView(QWidget* parent)
    : CGridScreen(kCommandId, 1, parent)
{
    setTitle(QStringLiteral("输入配种记录"));
    setCloseCaption(QStringLiteral("配种纪录"));
    setOffers(OfferEntry);
    setAddRowCount(5);
    setFindPrompt(QStringLiteral("输入您要查找的种猪耳号:"));
    connect(grid(), &CGridCtrl::beginEdit, this, &CInPeiView::onBeginEdit);
    connect(grid(), &CGridCtrl::endEdit, this, &CInPeiView::onEndEdit);
    connect(grid(), &CGridCtrl::cellClicked, this, [this](int row, int) { clickRow(row); });
    // Moving with the keys shows the current row's information as a click does.
    connect(grid(), &CGridCtrl::selChanged, this, [this](int row, int) { showRowInfo(row); });
    // Each row's mating id follows the row wherever rows come and go.
    CGridModel* model = grid()->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { m_ids.insert(first, last - first + 1, 0); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { m_ids.remove(first, last - first + 1); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_ids.fill(0, grid()->GetRowCount()); });
}

CInPeiView::~CInPeiView() = default;

void CInPeiView::createControls()
{
    setTemplateSize(QSize(800, 380));
    m_info = EntryScreen::createInfoLine(this, grid());
}

void CInPeiView::anchorControls()
{
    EntryScreen::anchorInfoLine(this, grid(), m_info);
}

QString CInPeiView::infoText() const
{
    return m_info.text ? m_info.text->text() : QString();
}

void CInPeiView::loadScreen()
{
    m_book = std::make_unique<MatingBook>(connection(), [this] { return beginWrite(); });
    CComboGridCtrl* g = grid();
    g->SetRowCount(3);
    g->SetColumnCount(15);
    g->SetFixedRowCount(2);
    g->SetFixedColumnCount(2);
    g->SetFixedColumnsEditable(true); // the ear tag stays in view and is typed there
    EntryScreen::setHeaders(g, 0, {QStringLiteral("序号"), QStringLiteral("受配母猪"), QString(), QStringLiteral("与配公猪"),
                                   QString(), QStringLiteral("配种日期"), QString(), QStringLiteral("胎次"),
                                   QStringLiteral("配种方式"), QStringLiteral("返情"), QStringLiteral("预产日期"),
                                   QStringLiteral("配种员"), QStringLiteral("妊娠异常"), QStringLiteral("发生时间"),
                                   QStringLiteral("备注")});
    EntryScreen::setHeaders(g, 1, {QString(), QStringLiteral("耳号"), QStringLiteral("品种"), QStringLiteral("耳号"),
                                   QStringLiteral("品种"), QStringLiteral("第一次"), QStringLiteral("第二次")});
    for (int c : {0, 7, 8, 9, 10, 11, 12, 13, 14})
        g->SetFixedCellCombine(0, c, 2, 1);
    for (int c : {1, 3, 5})
        g->SetFixedCellCombine(0, c, 1, 2);
    const QStringList breeds = EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 品种代号 from 品种表"));
    g->AddComboColumn(Col::ColSow, EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 耳号 from 种猪卡 where 性别='F'")));
    g->AddComboColumn(Col::ColSowBreed, breeds);
    g->AddComboColumn(Col::ColBoar, EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 耳号 from 种猪卡 where 性别='M'")));
    g->AddComboColumn(Col::ColBoarBreed, breeds);
    g->AddComboColumn(Col::ColMethod, EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 配种方式 from 配种方式表")));
    g->AddComboColumn(Col::ColReturned, {QStringLiteral("Y"), QStringLiteral("N")});
    g->AddComboColumn(Col::ColTechnician, EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 姓名 from 配种员表")));
    g->AddComboColumn(Col::ColAbnormal, EntryRules::pickList(connection(), QStringLiteral("select DISTINCT 异常 from 配种异常")));
    for (int c : {Col::ColParity, Col::ColDue, Col::ColAbnormalDate})
        g->ADDNumColumn(c);
    load();
    g->AutoSize();
}

void CInPeiView::load()
{
    QVector<MatingBook::Row> rows;
    if (!m_book->load(rows)) {
        AppMessageBox(QStringLiteral("打开数据库错误"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return;
    }
    CComboGridCtrl* g = grid();
    g->SetRowCount(rows.size() + 2);
    for (int i = 0; i < rows.size(); ++i) {
        const int r = i + 2;
        g->SetItemText(r, 0, QString::number(i + 1));
        for (int c = 1; c <= 14; ++c)
            g->SetItemText(r, c, rows.at(i).cells.at(c - 1));
        m_ids[r] = rows.at(i).id;
        colour(r);
    }
}

// Red for an abnormality, blue for a return to heat; kept current as the row changes.
void CInPeiView::colour(int row)
{
    QColor c;
    switch (MatingBook::colourOf(grid()->GetItemText(row, Col::ColReturned), grid()->GetItemText(row, Col::ColAbnormalDate))) {
    case MatingBook::Colour::Red:
        c = QColor(255, 0, 0);
        break;
    case MatingBook::Colour::Blue:
        c = QColor(0, 0, 255);
        break;
    case MatingBook::Colour::Default:
        break;
    }
    EntryScreen::colourRow(grid(), row, c);
}

// The mating a grid row shows: its id, kept with the row since it was loaded or
// entered; else found by the sow and first mating time it was stored with.
qint64 CInPeiView::rowId(int row, const QString& sow, const QString& first)
{
    if (row >= 0 && row < m_ids.size() && m_ids.at(row) > 0)
        return m_ids.at(row);
    if (sow.isEmpty())
        return 0;
    CDbRecordset rs(&connection());
    if (!rs.Open(QStringLiteral("select id from 配种 where 母猪耳号=%1 and [配种日期(1)]=%2 order by id desc limit 1")
                     .arg(TextUtil::sqlQuote(sow), TextUtil::sqlQuote(first)))
        || rs.IsEOF())
        return 0;
    QString id;
    rs.GetFieldText(0, id);
    return id.toLongLong();
}

void CInPeiView::onBeginEdit(int row, int col)
{
    if (col == Col::ColSow || col == Col::ColFirst)
        m_oldKey = grid()->GetItemText(row, col);
    else
        m_oldText = grid()->GetItemText(row, col);
}

void CInPeiView::onEndEdit(int row, int col)
{
    CComboGridCtrl* g = grid();
    const QString text = g->GetItemText(row, col);
    const QString old = (col == Col::ColSow || col == Col::ColFirst) ? m_oldKey : m_oldText;
    // The stored key of the row: the sow and first time before this edit.
    const QString sow = col == Col::ColSow ? old : g->GetItemText(row, Col::ColSow);
    const QString first = col == Col::ColFirst ? old : g->GetItemText(row, Col::ColFirst);
    const qint64 id = sow.isEmpty() ? 0 : rowId(row, sow, first);
    const EditOutcome o = col == Col::ColSow ? m_book->editSow(id, old, text) : m_book->editField(id, col, sow, old, text);
    if (EntryScreen::apply(g, row, col, old, o, this)) {
        setModified(true);
        if (o.newId > 0 && row < m_ids.size())
            m_ids[row] = o.newId;
        if (col == Col::ColSow && old.isEmpty() && g->GetItemText(row, 0).isEmpty())
            g->SetItemText(row, 0, QString::number(row - 1));
        colour(row);
    } else if (!isModified()) {
        rollbackWork(); // nothing kept: do not hold the database for other windows
    }
}

void CInPeiView::deleteCurrent()
{
    const int row = grid()->GetFocusCell().row;
    if (row < grid()->GetFixedRowCount())
        return;
    const qint64 id = rowId(row, grid()->GetItemText(row, Col::ColSow), grid()->GetItemText(row, Col::ColFirst));
    if (id > 0) {
        QString message;
        if (!m_book->deleteMating(id, &message)) {
            if (!message.isEmpty())
                AppMessageBox(message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
            if (!isModified())
                rollbackWork();
            return;
        }
        setModified(true);
    }
    grid()->DeleteRow(row);
    grid()->Refresh();
}

void CInPeiView::clickRow(int row)
{
    if (row < 2 || row == m_lastClicked || row >= grid()->GetRowCount())
        return;
    m_lastClicked = row;
    showRowInfo(row);
}

void CInPeiView::showRowInfo(int row)
{
    if (row < 2 || row >= grid()->GetRowCount() || !m_book || !m_info.text)
        return;
    const QString sow = grid()->GetItemText(row, Col::ColSow);
    m_info.text->setText(m_book->clickInfo(sow, grid()->GetItemText(row, Col::ColParity)));
}
