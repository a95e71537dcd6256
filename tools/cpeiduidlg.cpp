#include "cpeiduidlg.h"

#include "appclock.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "gridctrl.h"
#include "gridprinter.h"
#include "gridscreen.h"
#include "inbreeding.h"
#include "textutil.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kShowInHeat = QStringLiteral("显示可能发情母猪");
const QString kShowAll = QStringLiteral("显示所有母猪");

// Sorts the coefficient column by its value, the boar column by its text.
class CoefficientItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int col = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (col == 0)
            return text(0).toDouble() < other.text(0).toDouble();
        return text(col) < other.text(col);
    }
};

} // namespace

CPeiDuiDlg::CPeiDuiDlg(QWidget* parent)
    : QDialog(parent)
    , m_sowEdit(new QLineEdit(this))
    , m_sowList(new QListWidget(this))
    , m_mode(new QPushButton(kShowInHeat, this))
    , m_pair(new QPushButton(QStringLiteral("配对"), this))
    , m_list(new QTreeWidget(this))
    , m_pairs(new CGridCtrl(this))
    , m_print(new QPushButton(QStringLiteral("打印"), this))
    , m_export(new CGridCtrl(this))
{
    setWindowTitle(QStringLiteral("种猪配种自动配对"));

    auto* sowBox = new QGroupBox(QStringLiteral("待配母猪"), this);
    auto* sowLayout = new QVBoxLayout(sowBox);
    sowLayout->addWidget(m_sowEdit);
    sowLayout->addWidget(m_sowList, 1);
    sowLayout->addWidget(m_mode);
    sowLayout->addWidget(m_pair);
    m_sowList->setSortingEnabled(true);
    m_sowEdit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("DDLL000000000000")) + 12);

    auto* listBox = new QGroupBox(QStringLiteral("近交系数"), this);
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(m_list);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("近交系数"), QStringLiteral("公猪")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->setColumnWidth(0, std::max(70, fontMetrics().horizontalAdvance(QStringLiteral("近交系数")) + 24));
    m_list->setColumnWidth(1, std::max(150, fontMetrics().horizontalAdvance(QStringLiteral("DDLL00000000000")) + 16));
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(false);
    m_list->setMinimumWidth(m_list->columnWidth(0) + m_list->columnWidth(1) + 24);

    auto* pairBox = new QGroupBox(QStringLiteral("配种列表"), this);
    auto* pairLayout = new QVBoxLayout(pairBox);
    pairLayout->addWidget(m_pairs, 1);
    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addStretch(1);
    buttons->addWidget(m_print);
    buttons->addWidget(close);
    pairLayout->addLayout(buttons);
    m_pairs->SetColumnCount(4);
    m_pairs->SetRowCount(1);
    m_pairs->SetFixedRowCount(1);
    m_pairs->SetFixedColumnCount(1);
    m_pairs->SetItemText(0, 1, QStringLiteral("母猪耳号"));
    m_pairs->SetItemText(0, 2, QStringLiteral("公猪耳号"));
    m_pairs->SetItemText(0, 3, QStringLiteral("近交系数"));
    m_pairs->SetItemFormat(0, 3, 0x11);
    m_pairs->SetEditable(false);
    m_pairs->AutoSize();
    m_pairs->SetPrintHead(QStringLiteral("配种列表"), QString());
    m_pairs->setMinimumWidth(360);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(sowBox);
    layout->addWidget(listBox);
    layout->addWidget(pairBox, 1);
    resize(980, 520);

    m_export->hide();
    m_export->SetColumnCount(2);
    m_export->SetFixedRowCount(0);

    connect(m_sowEdit, &QLineEdit::textEdited, this, &CPeiDuiDlg::onSowEdited);
    connect(m_sowEdit, &QLineEdit::textChanged, this, &CPeiDuiDlg::showSowInList);
    connect(m_sowList, &QListWidget::currentTextChanged, this, [this](const QString& t) {
        // Moving through the list with the keys picks the sow; typing only shows it.
        if (!t.isEmpty() && m_sowList->hasFocus())
            m_sowEdit->setText(t);
    });
    connect(m_sowList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { m_sowEdit->setText(item->text()); });
    connect(m_mode, &QPushButton::clicked, this, &CPeiDuiDlg::toggleSowList);
    connect(m_pair, &QPushButton::clicked, this, &CPeiDuiDlg::pair);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { addPair(m_list->indexOfTopLevelItem(item)); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int col) {
        const bool again = m_list->header()->isSortIndicatorShown() && m_list->sortColumn() == col;
        const Qt::SortOrder order = again && m_list->header()->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_list->header()->setSortIndicatorShown(true);
        m_list->sortItems(col, order);
        m_list->header()->setSortIndicator(col, order);
    });
    connect(m_pairs, &CGridCtrl::selChanged, this, &CPeiDuiDlg::onPairingSelection);
    connect(m_print, &QPushButton::clicked, this, &CPeiDuiDlg::printPairs);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

CPeiDuiDlg::~CPeiDuiDlg() = default;

bool CPeiDuiDlg::setUp(const QString& databasePath)
{
    const QString path = databasePath.isEmpty() ? CGridScreen::defaultDatabasePath() : databasePath;
    if (!m_connection.Open(path)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    m_mode->setText(kShowInHeat);
    toggleSowList();
    return true;
}

void CPeiDuiDlg::fillSows(const QString& sql)
{
    m_sowList->clear();
    CDbRecordset rs(&m_connection);
    if (!rs.Open(sql))
        return;
    QStringList tags;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QString tag;
        rs.GetFieldText(0, tag);
        if (!tag.isEmpty())
            tags << tag;
    }
    m_sowList->addItems(tags);
}

void CPeiDuiDlg::toggleSowList()
{
    if (m_mode->text() == kShowInHeat) {
        // The sows of the mating-due list: back in heat 3 to 28 days after a return or a weaning.
        const QDate today = AppClock::today();
        const QString from = TextUtil::dateText(today.addDays(-28));
        const QString to = TextUtil::dateText(today.addDays(-3));
        fillSows(QStringLiteral("select 耳号 from 种猪卡 where 不存在='no' and ((返情日期 between '%1' and '%2') or (断奶日期 between '%1' and '%2')) "
                                "order by 耳号,来源时间,出生日期")
                     .arg(from, to));
        m_mode->setText(kShowAll);
    } else {
        fillSows(QStringLiteral("select 耳号 from 种猪卡 where 性别='F' and 不存在='no' order by 耳号"));
        m_mode->setText(kShowInHeat);
    }
}

void CPeiDuiDlg::onSowEdited(const QString& text)
{
    const QString upper = text.toUpper();
    if (upper != text) {
        const int cursor = m_sowEdit->cursorPosition();
        m_sowEdit->setText(upper);
        m_sowEdit->setCursorPosition(cursor);
    }
}

void CPeiDuiDlg::showSowInList(const QString& text)
{
    // The first sow that starts with the text is shown in the list.
    for (int i = 0; i < m_sowList->count(); ++i) {
        if (!text.isEmpty() && m_sowList->item(i)->text().startsWith(text)) {
            m_sowList->setCurrentRow(i);
            m_sowList->scrollToItem(m_sowList->item(i));
            return;
        }
    }
}

QString CPeiDuiDlg::sow() const
{
    return m_sowEdit->text();
}

void CPeiDuiDlg::setSow(const QString& earTag)
{
    m_sowEdit->setText(earTag);
}

QStringList CPeiDuiDlg::sowItems() const
{
    QStringList items;
    for (int i = 0; i < m_sowList->count(); ++i)
        items << m_sowList->item(i)->text();
    return items;
}

void CPeiDuiDlg::pair()
{
    const QString sowTag = sow();
    if (TextUtil::gbkLength(sowTag) != 15) {
        AppMessageBox(QStringLiteral("请选择母猪"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return;
    }
    m_list->clear();
    m_list->header()->setSortIndicatorShown(false);
    m_listSow = sowTag;
    const QString columns = Inbreeding::pedigreeColumns().join(QLatin1Char(','));
    Inbreeding::Pedigree sowPedigree;
    CDbRecordset rs(&m_connection);
    if (rs.Open(QStringLiteral("select %1 from 种猪卡 where 耳号=%2").arg(columns, TextUtil::sqlQuote(sowTag))) && !rs.IsEOF())
        sowPedigree = Inbreeding::readPedigree(rs);
    // Boars old enough to serve: born more than 150 days ago.
    const QString bornBefore = TextUtil::dateText(AppClock::today().addDays(-150));
    if (!rs.Open(QStringLiteral("select %1,耳号 from 种猪卡 where 性别='M' and 不存在='no' and 出生日期<'%2'").arg(columns, bornBefore)))
        return;
    QList<QTreeWidgetItem*> items;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QString boar;
        rs.GetFieldText(14, boar);
        const float f = Inbreeding::coefficient(Inbreeding::readPedigree(rs), sowPedigree);
        items << new CoefficientItem(QStringList{Inbreeding::coefficientText(f), boar});
    }
    m_list->addTopLevelItems(items);
}

void CPeiDuiDlg::addPair(int listRow)
{
    const QTreeWidgetItem* item = m_list->topLevelItem(listRow);
    if (!item || m_listSow.isEmpty())
        return;
    const QString boar = item->text(1);
    for (int r = m_pairs->GetFixedRowCount(); r < m_pairs->GetRowCount(); ++r)
        if (m_pairs->GetItemText(r, 1) == m_listSow && m_pairs->GetItemText(r, 2) == boar)
            return;
    const int row = m_pairs->InsertRow(QString::number(m_nextPair));
    m_pairs->SetItemText(row, 1, m_listSow);
    m_pairs->SetItemText(row, 2, boar);
    m_pairs->SetItemText(row, 3, item->text(0));
    m_pairs->AutoSize();
    ++m_nextPair;
}

void CPeiDuiDlg::onPairingSelection(int row, int /*col*/)
{
    if (row < m_pairs->GetFixedRowCount() || row >= m_pairs->GetRowCount())
        return;
    m_pairs->DeleteRow(row);
    // No focus is left behind, so a click on the row that moved up is a new selection.
    m_pairs->SetFocusCell(-1, -1);
    m_pairs->Refresh();
}

void CPeiDuiDlg::printPairs()
{
    m_pairs->Print();
}

bool CPeiDuiDlg::exportSetSow(const QString& earTag)
{
    setSow(earTag);
    return true;
}

bool CPeiDuiDlg::exportAction()
{
    pair();
    return true;
}

CGridCtrl* CPeiDuiDlg::exportGrid()
{
    m_export->SetRowCount(m_list->topLevelItemCount() + 1);
    m_export->SetItemText(0, 0, QStringLiteral("近交系数"));
    m_export->SetItemText(0, 1, QStringLiteral("公猪"));
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        m_export->SetItemText(i + 1, 0, m_list->topLevelItem(i)->text(0));
        m_export->SetItemText(i + 1, 1, m_list->topLevelItem(i)->text(1));
    }
    return m_export;
}

bool CPeiDuiDlg::exportPdf(const QString& path)
{
    return CGridPrinter::printToPdf(m_pairs, path);
}

void CPeiDuiDlg::run(QWidget* frame)
{
    CPeiDuiDlg dlg(frame);
    dlg.setUp();
    // Without a database the dialog still opens, empty.
    dlg.exec();
}
