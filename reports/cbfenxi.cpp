#include "cbfenxi.h"
#include "appclock.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "reportgrid.h"
#include "reportheading.h"
#include "textutil.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {
struct Group {
    int firstRow;
    int rows;
    const char* label;
    const char* items;
};
const Group kGroups[] = {
    {1, 3, "配种", "总数 返情数 流产数"},
    {4, 7, "产仔", "窝数 死胎数/窝平均 活仔数/窝平均 木乃伊数/窝平均 窝最少产仔数 母猪最高胎次 出生重"},
    {11, 4, "仔猪死亡", "0-1日龄 2-8日龄 8日龄以上 死亡总数"},
    {15, 4, "断奶", "窝数 仔猪数/窝平均 断奶重 断奶日龄"},
    {19, 1, "后备母猪", "总数"},
    {20, 9, "母猪", "总数 增加 淘汰 死亡 变化 年更新率 产仔率 返情率 流产率"},
    {29, 1, "公猪", "总数"},
};

// Row of the report -> field of the 生产目标 row that holds its target.
const QPair<int, int> kTargetFields[] = {{1, 19}, {4, 3},   {5, 7},   {6, 6},   {7, 8},   {8, 18},  {9, 17},
                                         {10, 9}, {11, 10}, {12, 11}, {13, 12}, {17, 16}, {18, 15}, {19, 13},
                                         {20, 1}, {25, 2},  {26, 4},  {27, 5},  {28, 14}, {29, 20}};

// A divisor below 1 counts as 1, so an empty period shows 0 rather than nothing.
double divisor(double d)
{
    return d < 1 ? 1 : d;
}

// Piglets born alive: neither stillborn nor mummified.
const char* const kBornAlive = "仔猪状态 not in ('死亡','木乃伊')";
} // namespace

CBFenXi::CBFenXi(QWidget* parent)
    : CGridScreen(kCommandId, 5, parent)
{
    setTitle(QStringLiteral("生产报表"));
    setOffers(OfferFind | OfferGrid | OfferPrint | OfferCopy);
    setCopyRule(CopyRule::Always);
    setGridFlags(true, true, true, true);
}

void CBFenXi::createControls()
{
    setTemplateSize(QSize(560, 560));
    m_breedLabel = new QLabel(QStringLiteral("品种"), this);
    m_breedLabel->setGeometry(10, 10, 40, 24);
    m_breed = new QComboBox(this);
    m_breed->setEditable(true);
    m_breed->setInsertPolicy(QComboBox::NoInsert);
    m_breed->setGeometry(54, 10, 160, 24);
    m_analyse = new QPushButton(QStringLiteral("分析"), this);
    m_analyse->setGeometry(226, 8, 70, 28);
    grid()->setGeometry(0, 44, 560, 516);
    connect(m_analyse, &QPushButton::clicked, this, [this] { analyse(); });
}

void CBFenXi::anchorControls()
{
    addAnchor(m_breedLabel, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(m_breed, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(m_analyse, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
}

void CBFenXi::loadScreen()
{
    m_breed->clear();
    m_breed->addItems(ReportHeading::breedChoices(connection()));
    m_breed->setCurrentIndex(m_breed->count() - 1);
    shapeGrid();
}

void CBFenXi::shapeGrid()
{
    CGridCtrl* g = grid();
    g->SetColumnCount(6);
    g->SetRowCount(30);
    g->SetFixedRowCount(1);
    g->SetFixedColumnCount(1);
    ReportGrid::setHeader(g, 0, {QString(), QString(), QStringLiteral("本月(实际)"), QStringLiteral("今年(实际)"),
                                 QStringLiteral("今年(目标)"), QStringLiteral("完成度(%)")});
    for (const Group& gr : kGroups) {
        ReportGrid::setCentred(g, gr.firstRow, 0, QString::fromUtf8(gr.label));
        if (gr.rows > 1)
            g->SetFixedCellCombine(gr.firstRow, 0, gr.rows, 1);
        const QStringList items = QString::fromUtf8(gr.items).split(QLatin1Char(' '));
        for (int i = 0; i < items.size(); ++i)
            g->SetItemText(gr.firstRow + i, 1, items.at(i));
    }
    g->AutoSize();
}

int CBFenXi::count(const QString& sql)
{
    CDbRecordset rs(&connection());
    int n = 0;
    if (rs.Open(sql) && !rs.IsEOF())
        rs.GetFieldInt(0, n);
    return n;
}

CBFenXi::Figures CBFenXi::figures(const QString& prefix, const QString& from)
{
    Figures f;
    const QString P = TextUtil::sqlEscape(prefix);
    const QString F = TextUtil::sqlEscape(from);
    const QString sow = QStringLiteral("母猪耳号 like '") + P + QStringLiteral("%%'");
    const QString card = QStringLiteral("耳号 like '") + P + QStringLiteral("%%'");
    const QString farrowed = sow + QStringLiteral(" and [分娩日期]>='") + F + QStringLiteral("'");
    const QString alive = QString::fromUtf8(kBornAlive);

    f.matings = count(QStringLiteral("select count(*) from 配种 where ") + sow + QStringLiteral(" and [配种日期(1)]>='") + F + QStringLiteral("A'"));
    f.returns = count(QStringLiteral("select count(*) from 配种 where ") + sow + QStringLiteral(" and 返情否='Y' and [配种日期(1)]>='") + F + QStringLiteral("A'"));
    f.abortions = count(QStringLiteral("select count(*) from 配种 where ") + sow + QStringLiteral(" and 异常='流产' and [配种日期(1)] >='") + F + QStringLiteral("A'"));
    f.litters = count(QStringLiteral("select count(*) from (select 母猪耳号 from 产仔记录 where ") + farrowed + QStringLiteral(" group by 母猪耳号,胎次)"));
    f.stillborn = count(QStringLiteral("select count(*) from 产仔记录 where ") + sow + QStringLiteral(" and 仔猪状态='死亡' and [分娩日期]>='") + F + QStringLiteral("'"));
    f.mummified = count(QStringLiteral("select count(*) from 产仔记录 where ") + sow + QStringLiteral(" and 仔猪状态='木乃伊' and [分娩日期]>='") + F + QStringLiteral("'"));
    {
        CDbRecordset rs(&connection());
        if (rs.Open(QStringLiteral("select count(*),sum(cdbl(初生重)) from 产仔记录 where ") + sow + QStringLiteral(" and 仔猪状态='正常' and [分娩日期]>='") + F + QStringLiteral("'")) && !rs.IsEOF()) {
            rs.GetFieldInt(0, f.liveBorn);
            rs.GetFieldDouble(1, f.birthWeightSum);
        }
    }
    {
        // The smallest litter and the highest parity since F: SQLite takes no aggregate
        // inside another, so the litters are counted first and their figures read after.
        CDbRecordset rs(&connection());
        if (rs.Open(QStringLiteral("select min(n),max(p) from (select count(*) as n,max(cint(胎次)) as p from 产仔记录 where ") + farrowed +
                    QStringLiteral(" group by 母猪耳号,胎次)")) && !rs.IsEOF()) {
            rs.GetFieldInt(0, f.smallestLitter);
            rs.GetFieldInt(1, f.highestParity);
        }
    }
    {
        CDbRecordset rs(&connection());
        if (rs.Open(QStringLiteral("select 分娩日期,转群日期 from 产仔记录 where ") + sow + QStringLiteral(" and ") + alive +
                    QStringLiteral(" and 转群去向='死亡' and [转群日期]>='") + F + QStringLiteral("'"))) {
            for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
                QString born, moved;
                rs.GetFieldText(0, born);
                rs.GetFieldText(1, moved);
                const QDate b = TextUtil::parseDateText(born);
                const QDate m = TextUtil::parseDateText(moved);
                const qint64 days = b.isValid() && m.isValid() ? b.daysTo(m) : 0;
                if (days < 2)
                    ++f.died01;
                else if (days >= 9)
                    ++f.died9;
                else
                    ++f.died28;
                ++f.died;
            }
        }
    }
    const QString weanedWhere = sow + QStringLiteral(" and ") + alive + QStringLiteral(" and 转群去向='保育' and [转群日期]>='") + F + QStringLiteral("'");
    f.weanedLitters = count(QStringLiteral("select count(*) from (select count(*) from 产仔记录 where ") + weanedWhere + QStringLiteral(" group by 母猪耳号,胎次)"));
    {
        CDbRecordset rs(&connection());
        if (rs.Open(QStringLiteral("select count(*),sum(cdbl(实断奶重)),sum(cint(实断奶日)) from 产仔记录 where ") + weanedWhere) && !rs.IsEOF()) {
            rs.GetFieldInt(0, f.weaned);
            rs.GetFieldDouble(1, f.weanWeightSum);
            rs.GetFieldDouble(2, f.weanAgeSum);
        }
    }
    const QString herdSows = QStringLiteral("select count(*) from 种猪卡 where ") + card + QStringLiteral(" and 不存在='no' and 性别='F'");
    f.gilts = count(herdSows + QStringLiteral(" and 返情日期='none' and 断奶日期='none'"));
    // Sows now: the female cards in the herd that have been mated. The cards never keep
    // both 返情日期 and 断奶日期 set, so the old test of both dates counted almost none.
    f.sows = count(herdSows + QStringLiteral(" and 耳号 in (select 母猪耳号 from 配种 where 母猪耳号 is not null and [配种日期(1)] <= '") +
                   TextUtil::todayText() + QStringLiteral("P')"));
    f.added = count(herdSows + QStringLiteral(" and 返情日期='none' and 断奶日期='none' and 来源时间 >='") + F + QStringLiteral("'"));
    f.culled = count(QStringLiteral("select count(*) from 子猪管理 where ") + card + QStringLiteral(" and 原状态='F' and 转出='淘汰' and 转出时间 >='") + F + QStringLiteral("'"));
    f.sowsDied = count(QStringLiteral("select count(*) from 子猪管理 where ") + card + QStringLiteral(" and 原状态='F' and 转出='死亡' and 转出时间 >='") + F + QStringLiteral("'"));
    f.farrowedSows = count(QStringLiteral("select count(*) from (select distinct 母猪耳号 from 产仔记录 where ") + farrowed + QStringLiteral(")"));
    f.boars = count(QStringLiteral("select count(*) from 种猪卡 where ") + card + QStringLiteral(" and 不存在='no' and 性别='M' "));
    return f;
}

void CBFenXi::writeColumn(int col, const Figures& f)
{
    CGridCtrl* g = grid();
    auto put = [g, col](int row, const QString& text) { g->SetItemText(row, col, text); };
    auto num = [](int n) { return QString::number(n); };
    auto ratio = [](int n, double d) { return QString::asprintf("%d/%.2f", n, n / d); };
    const double L = divisor(f.litters);
    const double W = divisor(f.weanedLitters);
    const double N = divisor(f.weaned);
    const double S = divisor(f.sows);
    const double M = divisor(f.matings);
    put(1, num(f.matings));
    put(2, num(f.returns));
    put(3, num(f.abortions));
    put(4, num(f.litters));
    put(5, ratio(f.stillborn, L));
    put(6, ratio(f.liveBorn, L));
    put(7, ratio(f.mummified, L));
    put(8, num(f.smallestLitter));
    put(9, num(f.highestParity));
    // The mean birth weight of the live-born piglets, as its target 平均出生重 is a mean.
    put(10, QString::asprintf("%.2f", f.birthWeightSum / divisor(f.liveBorn)));
    put(11, num(f.died01));
    put(12, num(f.died28));
    put(13, num(f.died9));
    put(14, num(f.died));
    put(15, num(f.weanedLitters));
    put(16, QString::asprintf("%d/%.2f", f.weaned, f.weaned / W));
    put(17, QString::asprintf("%.2f", f.weanWeightSum / N));
    put(18, QString::asprintf("%.2f", double(qint64(f.weanAgeSum / N))));
    put(19, num(f.gilts));
    put(20, num(f.sows));
    put(21, num(f.added));
    put(22, num(f.culled));
    put(23, num(f.sowsDied));
    const int change = f.added + f.culled + f.sowsDied;
    put(24, num(change));
    put(25, QString::asprintf("%.2f", change / S));
    put(26, QString::asprintf("%.2f", f.farrowedSows / S));
    put(27, QString::asprintf("%.2f", f.returns / M));
    put(28, QString::asprintf("%.2f", f.abortions / M));
    put(29, num(f.boars));
}

void CBFenXi::writeTargets(const QString& prefix, const Figures& year)
{
    CGridCtrl* g = grid();
    const QString key = prefix.isEmpty() ? ReportHeading::allBreeds() : prefix;
    CDbRecordset rs(&connection());
    if (!rs.Open(QStringLiteral("select * from 生产目标 where 品种 =") + TextUtil::sqlQuote(key)) || rs.IsEOF()) {
        AppMessageBox(QStringLiteral("品种：") + key + QStringLiteral("今年的生产目标还没有确定！\n请先确定其生产目标。"), appTitle(),
                      MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    for (const auto& [row, field] : kTargetFields) {
        QString target;
        rs.GetFieldText(field, target);
        g->SetItemText(row, 4, target);
    }
    // What each completion compares with its target. Rows 25-28 hold fractions while
    // their targets are percentages; row 4 counts the herd's litters while its target
    // is litters per sow and year.
    const double S = divisor(year.sows);
    auto actual = [&](int row) -> double {
        switch (row) {
        case 4:
            return year.litters / S;
        // The fractions themselves, not their two-decimal cells, so a small rate still counts.
        case 25:
            return (year.added + year.culled + year.sowsDied) / S * 100;
        case 26:
            return year.farrowedSows / S * 100;
        case 27:
            return year.returns / divisor(year.matings) * 100;
        case 28:
            return year.abortions / divisor(year.matings) * 100;
        default:
            return TextUtil::doublePrefix(g->GetItemText(row, 3));
        }
    };
    for (int row : {1, 4, 19, 20, 25, 26, 27, 28, 29}) {
        const QString target = g->GetItemText(row, 4);
        const double t = TextUtil::doublePrefix(target);
        if (target.isEmpty() || t == 0)
            continue;
        g->SetItemText(row, 5, QString::asprintf("%.2f%%", actual(row) * 100 / t));
    }
}

bool CBFenXi::analyse()
{
    if (!isConnected())
        return false;
    const QString text = m_breed->currentText();
    if (text.size() < 2) {
        AppMessageBox(QStringLiteral("品种选择错误"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return false;
    }
    const QString prefix = text.size() > 2 ? QString() : text;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_analyse->setEnabled(false);
    CGridCtrl* g = grid();
    for (int r = 1; r < 30; ++r)
        for (int c = 2; c < 6; ++c)
            g->SetItemText(r, c, QString());
    g->SetItemText(0, 0, QStringLiteral("品种:") + text);
    g->SetPrintHead(ReportHeading::ownerName() + QStringLiteral("生产报告"), QStringLiteral("\u3000"));
    const QDate today = AppClock::today();
    writeColumn(2, figures(prefix, TextUtil::dateText(QDate(today.year(), today.month(), 1))));
    const Figures year = figures(prefix, TextUtil::dateText(QDate(today.year(), 1, 1)));
    writeColumn(3, year);
    writeTargets(prefix, year);
    g->AutoSize();
    ReportGrid::fitColumns(g, 0, 5);
    m_analyse->setEnabled(true);
    QApplication::restoreOverrideCursor();
    return true;
}

bool CBFenXi::exportSetBreed(const QString& codeOrAll)
{
    m_breed->setEditText(codeOrAll);
    return true;
}
