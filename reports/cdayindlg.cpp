#include "cdayindlg.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "gridctrl.h"
#include "gridprinter.h"
#include "gridscreen.h"
#include "printservice.h"
#include "reportgrid.h"
#include "reportheading.h"
#include "textutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {
CDaYinDlg::PrintDialogHandler& printDialogHandler()
{
    static CDaYinDlg::PrintDialogHandler h;
    return h;
}

CDaYinDlg::JobObserver& jobObserver()
{
    static CDaYinDlg::JobObserver o;
    return o;
}

// The pedigree on the breeding-pig card: (row, column, caption, field). The sow card
// puts the same cells one row higher. Each ancestor stands on the row midway between
// its two parents, so the cells read as a tree from the pig on the left.
struct Cell {
    int row;
    int col;
    const char* caption;
    const char* field;
};
const Cell kPedigree[] = {
    {4, 2, "父亲:", "父亲"},       {12, 2, "母亲:", "母亲"},       {2, 3, "父父:", "父父"},       {6, 3, "父母:", "父母"},
    {10, 3, "母父:", "母父"},      {14, 3, "母母:", "母母"},       {1, 4, "父父父:", "父父父"},   {3, 4, "父父母:", "父父母"},
    {5, 4, "父母父:", "父母父"},   {7, 4, "父母母:", "父母母"},    {9, 4, "母父父:", "母父父"},   {11, 4, "母父母:", "母父母"},
    {13, 4, "母母父:", "母母父"},  {15, 4, "母母母:", "母母母"},
};

QString field(CDbRecordset& rs, const char* name)
{
    QString v;
    rs.GetFieldText(QString::fromUtf8(name), v);
    return v;
}
} // namespace

CDaYinDlg::CDaYinDlg(Mode mode, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_choices(new QListWidget(this))
    , m_toPrint(new QListWidget(this))
    , m_tagEdit(new QLineEdit(this))
    , m_add(new QPushButton(QStringLiteral("增加"), this))
    , m_print(new QPushButton(QStringLiteral("打印"), this))
    , m_horz(new QCheckBox(QStringLiteral("显示横向线条"), this))
    , m_vert(new QCheckBox(QStringLiteral("显示纵向线条"), this))
    , m_card(new CGridCtrl(this))
{
    setWindowTitle(mode == Mode::Sow ? QStringLiteral("母猪卡打印") : QStringLiteral("种猪卡打印"));
    m_choices->setSortingEnabled(true);
    m_toPrint->setSortingEnabled(true);

    auto* left = new QGroupBox(QStringLiteral("可选择耳号"), this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(m_choices);
    auto* middle = new QGroupBox(QStringLiteral("待打印耳号"), this);
    auto* middleLayout = new QGridLayout(middle);
    middleLayout->addWidget(m_tagEdit, 0, 0);
    middleLayout->addWidget(m_add, 0, 1);
    middleLayout->addWidget(m_toPrint, 1, 0, 1, 2);
    auto* right = new QGroupBox(QStringLiteral("表格风格"), this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->addWidget(m_horz);
    rightLayout->addWidget(m_vert);
    rightLayout->addStretch();
    rightLayout->addWidget(m_print);
    auto* layout = new QGridLayout(this);
    layout->addWidget(left, 0, 0);
    layout->addWidget(middle, 0, 1);
    layout->addWidget(right, 0, 2);
    layout->addWidget(m_card, 1, 0, 1, 3);
    layout->setRowStretch(1, 1);
    m_card->SetEditable(false);
    m_card->setMinimumHeight(220);
    resize(760, 560);
    applyLines();

    connect(m_choices, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { choose(item->text()); });
    connect(m_toPrint, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { unchoose(item->text()); });
    connect(m_add, &QPushButton::clicked, this, [this] { addTypedTag(); });
    connect(m_print, &QPushButton::clicked, this, [this] { printCards(); });
    connect(m_horz, &QCheckBox::toggled, this, [this] { applyLines(); });
    connect(m_vert, &QCheckBox::toggled, this, [this] { applyLines(); });
}

CDaYinDlg::~CDaYinDlg() = default;

bool CDaYinDlg::setUp(const QString& databasePath)
{
    const QString path = databasePath.isEmpty() ? CGridScreen::defaultDatabasePath() : databasePath;
    if (!m_connection.Open(path)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    m_choices->clear();
    CDbRecordset rs(&m_connection);
    const QString sql = m_mode == Mode::Sow ? QStringLiteral("select distinct 母猪耳号 from 产仔记录 where 母猪耳号 is not null")
                                            : QStringLiteral("select 耳号 from 种猪卡 where 耳号 is not null");
    if (rs.Open(sql)) {
        QStringList tags;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            QString tag;
            rs.GetFieldText(0, tag);
            tags << tag;
        }
        m_choices->addItems(tags);
    }
    return true;
}

namespace {
QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

bool takeItem(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    delete list->takeItem(list->row(found.first()));
    return true;
}
} // namespace

QStringList CDaYinDlg::choices() const
{
    return texts(m_choices);
}

QStringList CDaYinDlg::toPrint() const
{
    return texts(m_toPrint);
}

void CDaYinDlg::choose(const QString& earTag)
{
    if (takeItem(m_choices, earTag))
        m_toPrint->addItem(earTag);
}

void CDaYinDlg::unchoose(const QString& earTag)
{
    if (takeItem(m_toPrint, earTag))
        m_choices->addItem(earTag);
}

bool CDaYinDlg::addTypedTag()
{
    const QString tag = m_tagEdit->text();
    if (TextUtil::gbkLength(tag) != 15) {
        AppMessageBox(QStringLiteral("耳号必须15位"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return false;
    }
    m_toPrint->addItem(tag);
    return true;
}

void CDaYinDlg::setLines(bool horizontal, bool vertical)
{
    m_horz->setChecked(horizontal);
    m_vert->setChecked(vertical);
    applyLines();
}

void CDaYinDlg::applyLines()
{
    const int mode = (m_horz->isChecked() ? GVL_HORZ : 0) | (m_vert->isChecked() ? GVL_VERT : 0);
    m_card->SetGridLines(mode);
}

bool CDaYinDlg::layOutCard(const QString& earTag)
{
    const bool sow = m_mode == Mode::Sow;
    m_card->DeleteAllItems();
    m_card->SetPrintHead(ReportHeading::ownerName(),
                         (sow ? QStringLiteral("母猪") : QStringLiteral("种猪")) + earTag + QStringLiteral("基本信息卡"));
    m_card->SetFixedRowCount(0);
    m_card->SetFixedColumnCount(0);
    m_card->SetColumnCount(6);
    m_card->SetRowCount(sow ? 20 : 24);

    CDbRecordset rs(&m_connection);
    QString sql = QStringLiteral("select * from 种猪卡 where 耳号=") + TextUtil::sqlQuote(earTag);
    if (sow)
        sql += QStringLiteral(" and 性别='F'");
    if (!rs.Open(sql) || rs.IsEOF())
        return false;

    const int up = sow ? 1 : 0;
    m_card->SetItemText(8 - up, 1, earTag);
    for (const Cell& c : kPedigree)
        m_card->SetItemText(c.row - up, c.col, QString::fromUtf8(c.caption) + field(rs, c.field));
    const int breedRow = sow ? 16 : 19;
    const int birthRow = sow ? 17 : 21;
    const int originRow = sow ? 18 : 23;
    m_card->SetItemText(breedRow, 1, QStringLiteral("品种:") + earTag.left(2));
    m_card->SetItemText(breedRow, 2, QStringLiteral("性别:") + field(rs, "性别"));
    m_card->SetItemText(breedRow, 3, QStringLiteral("毛色:") + field(rs, "毛色"));
    m_card->SetItemText(breedRow, 4, QStringLiteral("奶头数:") + field(rs, "奶头数(左)") + QStringLiteral("-") + field(rs, "奶头数(右)"));
    m_card->SetItemText(birthRow, 1, QStringLiteral("出生日期:") + field(rs, "出生日期"));
    m_card->SetItemText(birthRow, 2, QStringLiteral("出生重:") + field(rs, "出生重"));
    m_card->SetItemText(birthRow, 3, QStringLiteral("断奶重:") + field(rs, "断奶重"));
    m_card->SetItemText(birthRow, 4, QStringLiteral("断奶日龄:") + field(rs, "断奶日龄"));
    m_card->SetItemText(originRow, 1, QStringLiteral("来源:") + field(rs, "来源") + QStringLiteral("    来源时间:") + field(rs, "来源时间"));
    m_card->SetCellCombine(originRow, 1, 1, 4);

    if (sow) {
        layOutLitters(earTag);
        m_card->AutoSize();
        ReportGrid::fitColumns(m_card, 0, 5);
    } else {
        for (int c = 1; c <= 4; ++c)
            m_card->AutoSizeColumn(c);
        ReportGrid::fitColumns(m_card, 1, 4);
    }
    applyLines();
    return true;
}

void CDaYinDlg::layOutLitters(const QString& earTag)
{
    const QStringList headers = {QStringLiteral("胎次"), QStringLiteral("与配公猪"), QStringLiteral("配种时间"),
                                 QStringLiteral("产仔时间"), QStringLiteral("产仔数量（公//母）"), QStringLiteral("初生窝重")};
    for (int c = 0; c < headers.size(); ++c)
        m_card->SetItemText(19, c, headers.at(c));

    // One group per litter and sex of the piglets born alive (neither stillborn nor mummified).
    CDbRecordset rs(&m_connection);
    if (!rs.Open(QStringLiteral("select 胎次,公猪耳号,配种日期,分娩日期,count(*),sum(CSng(初生重)),性别 from 产仔记录 where 母猪耳号=") +
                 TextUtil::sqlQuote(earTag) +
                 QStringLiteral(" and 仔猪状态 not in ('死亡','木乃伊') group by 胎次,公猪耳号,配种日期,分娩日期,性别 order by cint(胎次)")))
        return;
    struct Litter {
        QString parity, boar, mating, farrowing;
        int males = 0, females = 0;
        double weight = 0;
    };
    QVector<Litter> litters;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        QString parity, count, weight, sex;
        rs.GetFieldText(0, parity);
        if (litters.isEmpty() || litters.last().parity != parity) {
            Litter l;
            l.parity = parity;
            rs.GetFieldText(1, l.boar);
            rs.GetFieldText(2, l.mating);
            rs.GetFieldText(3, l.farrowing);
            litters << l;
        }
        rs.GetFieldText(4, count);
        rs.GetFieldText(5, weight);
        rs.GetFieldText(6, sex);
        Litter& l = litters.last();
        (sex == QLatin1String("F") ? l.females : l.males) += TextUtil::intPrefix(count);
        l.weight += TextUtil::doublePrefix(weight);
    }
    // A litter of one sex is listed too, with 0 for the other; the counts follow the
    // header: males first, then females.
    for (const Litter& l : litters) {
        const int row = m_card->GetRowCount();
        m_card->SetRowCount(row + 1);
        m_card->SetItemText(row, 0, l.parity);
        m_card->SetItemText(row, 1, l.boar);
        m_card->SetItemText(row, 2, l.mating);
        m_card->SetItemText(row, 3, l.farrowing);
        m_card->SetItemText(row, 4, QString::asprintf("%d(%d//%d)", l.males + l.females, l.males, l.females));
        m_card->SetItemText(row, 5, QString::asprintf("%.2f", l.weight));
    }
}

void CDaYinDlg::setControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_add, m_print, m_horz, m_vert})
        w->setEnabled(enabled);
}

CDaYinDlg::PrintDialogHandler CDaYinDlg::setPrintDialogHandler(PrintDialogHandler handler)
{
    return std::exchange(printDialogHandler(), std::move(handler));
}

CDaYinDlg::JobObserver CDaYinDlg::setJobObserver(JobObserver observer)
{
    return std::exchange(jobObserver(), std::move(observer));
}

bool CDaYinDlg::printCards()
{
    setControlsEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPrinter* printer = PrintService::sharedPrinter();
    bool accepted;
    if (printDialogHandler()) {
        accepted = printDialogHandler()(printer, this);
    } else {
        QPrintDialog dlg(printer, this);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
        dlg.setOption(QAbstractPrintDialog::PrintToFile, false);
        QApplication::restoreOverrideCursor();
        accepted = dlg.exec() == QDialog::Accepted;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    if (!accepted) {
        QApplication::restoreOverrideCursor();
        setControlsEnabled(true);
        return false;
    }
    // Every card is its own job, named after the program, over all of the card's pages.
    printer->setDocName(appTitle());
    printer->setPrintRange(QPrinter::AllPages);
    QStringList notPrinted;
    const QStringList tags = toPrint();
    for (const QString& tag : tags) {
        if (!layOutCard(tag)) {
            notPrinted << tag;
            continue;
        }
        if (jobObserver())
            jobObserver()(printer, tag);
        CGridPrinter(m_card).render(printer);
    }
    m_toPrint->clear();
    m_toPrint->addItems(notPrinted);
    QApplication::restoreOverrideCursor();
    if (!notPrinted.isEmpty())
        AppMessageBox(QStringLiteral("还有没有打印的记录\n\n因为数据库里没有发现数据"), QStringLiteral("打印"), MsgIcon::Warning,
                      MsgButtons::Ok, this);
    setControlsEnabled(true);
    return true;
}

bool CDaYinDlg::exportSetEarTag(const QString& text)
{
    m_exportTag = text;
    if (!layOutCard(text))
        AppMessageBox(QStringLiteral("还有没有打印的记录\n\n因为数据库里没有发现数据"), QStringLiteral("打印"), MsgIcon::Warning,
                      MsgButtons::Ok, this);
    return true;
}

bool CDaYinDlg::exportPdf(const QString& path)
{
    if (m_exportTag.isEmpty() || !layOutCard(m_exportTag))
        return false;
    return CGridPrinter::printToPdf(m_card, path);
}

void CZhongZhuKaDlg::run(QWidget* frame)
{
    CZhongZhuKaDlg dlg(frame);
    if (dlg.setUp())
        dlg.exec();
}

void CMuZhuKaDlg::run(QWidget* frame)
{
    CMuZhuKaDlg dlg(frame);
    if (dlg.setUp())
        dlg.exec();
}
