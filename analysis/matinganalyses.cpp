#include "matinganalyses.h"
#include "cpie.h"
#include "textutil.h"

#include <QBitArray>
#include <QHash>
#include <algorithm>

using namespace AnalysisKit;

namespace {

QString quoted(const QString& text)
{
    return TextUtil::sqlQuote(text);
}

bool sameText(const QString& a, const char* b)
{
    return QString::compare(a, QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Mating times compare as the database compares them (case folded).
int compareTimes(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

// 返情否 of a row read in memory: the database's 'Y' test (case folded).
bool returned(const QString& flag)
{
    return sameText(flag, "Y");
}

// Artificial insemination: the method names "人工" anywhere ("人工授精", "人工辅助本交").
bool artificial(const QString& method)
{
    return method.contains(QStringLiteral("人工"));
}

struct RateCounts {
    int eligible = 0;
    int mated = 0;
};

// The mating rate of each window. A sow is eligible in a window when her female card
// (breed as chosen) was not removed before the window's first day and she has a mating
// on or before its last day; she is mated when she is eligible and has a mating inside
// the window. So the rate never passes 100 %, whatever the card's state fields hold.
// Two statements serve every window: the cards with their removal and first mating,
// and the matings of the whole run of windows.
QVector<RateCounts> matingRates(CDbConnection& db, const AnalysisRun& run, const QVector<MonthWindow>& windows)
{
    QVector<RateCounts> out(windows.size());
    if (windows.isEmpty())
        return out;
    // The windows follow each other in calendar order.
    const QString firstAll = windows.first().firstText();
    const QString lastAll = windows.last().lastText();
    // Which windows each sow (ear tag case folded, as the database matches it) was mated in.
    QHash<QString, QBitArray> matedIn;
    forEachRow(db,
               QStringLiteral("select 母猪耳号,[配种日期(1)] from 配种 where ") + run.likeBreed(QStringLiteral("母猪耳号"))
                   + QStringLiteral("[配种日期(1)] between ") + quoted(firstAll + QLatin1Char('A'))
                   + QStringLiteral(" and ") + quoted(lastAll + QLatin1Char('P')),
               [&](const CDbRecordset& rs) {
                   const int i = monthOfMatingTime(windows, CAnalysisScreen::field(rs, 1));
                   if (i < 0)
                       return;
                   QBitArray& bits = matedIn[CAnalysisScreen::field(rs, 0).toUpper()];
                   if (bits.isEmpty())
                       bits.resize(int(windows.size()));
                   bits.setBit(i);
               });
    forEachRow(
        db,
        // Each sow's first mating comes from one pass over the matings; only the cards
        // marked gone look up when they left.
        QStringLiteral("select c.耳号,c.不存在<>'yes',c.不存在='yes',case when c.不存在='yes' then "
                       "(select min(z.转出时间) from 子猪管理 z where z.耳号=c.耳号 and z.原状态='F') end,m.first "
                       "from 种猪卡 c join (select 母猪耳号 as k,min([配种日期(1)]) as first from 配种 group by 母猪耳号) m "
                       "on m.k=c.耳号 where ")
            + run.likeBreed(QStringLiteral("c.耳号")) + QStringLiteral("c.性别='F'"),
        [&](const CDbRecordset& rs) {
            if (rs.IsFieldNull(4))
                return; // never mated
            const bool present = CAnalysisScreen::field(rs, 1) == QLatin1String("1");
            const bool removed = CAnalysisScreen::field(rs, 2) == QLatin1String("1");
            if (!present && !removed)
                return; // no answer to 不存在: the card is in neither group
            const bool hasLeft = !rs.IsFieldNull(3);
            const QString left = CAnalysisScreen::field(rs, 3);
            const QString firstMating = CAnalysisScreen::field(rs, 4);
            const QBitArray mated = matedIn.value(CAnalysisScreen::field(rs, 0).toUpper());
            for (int i = 0; i < windows.size(); ++i) {
                if (removed && !present && hasLeft && compareTimes(left, windows[i].firstText()) < 0)
                    continue; // left the farm before the window
                if (compareTimes(firstMating, windows[i].lastText() + QLatin1Char('P')) > 0)
                    continue; // first mated after the window
                ++out[i].eligible;
                if (!mated.isEmpty() && mated.testBit(i))
                    ++out[i].mated;
            }
        });
    return out;
}

} // namespace

// ---- 配种率时段分析 ----

CFPPeiZhongLvSD::CFPPeiZhongLvSD(QWidget* parent)
    : CAnalysisScreen(defineAnalysis(kCommandId, QStringLiteral("配种率时段分析"),
                                     {QStringLiteral("序号"), QStringLiteral("母猪头数(头)"), QStringLiteral("配种头数（头）"),
                                      QStringLiteral("比例（%）")}),
                      parent)
{
}

void CFPPeiZhongLvSD::analyse(const AnalysisRun& run)
{
    const RateCounts n = matingRates(connection(), run, {MonthWindow{run.from, run.to}}).value(0);
    setDataRows(1);
    setText(1, 0, QStringLiteral("1"));
    setText(1, 1, countText(n.eligible));
    setText(1, 2, countText(n.mated));
    setText(1, 3, percentText(n.mated, n.eligible));
    pie()->AddVar(float(n.mated), QStringLiteral("参加配种"), QStringLiteral("参加配种"));
    pie()->AddVar(float(n.eligible - n.mated), QStringLiteral("未参加配种"), QStringLiteral("未参加配种"));
}

// ---- 配种率月份分析 ----

CFPPeiZhongLvYF::CFPPeiZhongLvYF(QWidget* parent)
    : CAnalysisScreen(defineAnalysis(kCommandId, QStringLiteral("配种率月份分析"),
                                     {QStringLiteral("月份"), QStringLiteral("母猪头数(头)"), QStringLiteral("配种头数（头）"),
                                      QStringLiteral("比例（%）")}),
                      parent)
{
}

void CFPPeiZhongLvYF::analyse(const AnalysisRun& run)
{
    const QVector<MonthWindow> ms = months(run, MonthCut::PerMonthStatements);
    const QVector<RateCounts> rates = matingRates(connection(), run, ms);
    setDataRows(int(ms.size()));
    for (int i = 0; i < ms.size(); ++i) {
        setText(i + 1, 0, ms[i].gridLabel());
        setText(i + 1, 1, countText(rates[i].eligible));
        setText(i + 1, 2, countText(rates[i].mated));
        setText(i + 1, 3, percentText(rates[i].mated, rates[i].eligible));
        pie()->AddVar(float(rates[i].mated), ms[i].chartLabel(), ms[i].gridLabel());
    }
}

// ---- 返情率时段分析 ----

CFPFanQingLvSD::CFPFanQingLvSD(QWidget* parent)
    : CAnalysisScreen(defineAnalysis(kCommandId, QStringLiteral("返情率时段分析"),
                                     {QStringLiteral("序号"), QStringLiteral("配种次数"), QStringLiteral("返情次数"),
                                      QStringLiteral("比例（%）")}),
                      parent)
{
}

void CFPFanQingLvSD::analyse(const AnalysisRun& run)
{
    const QString period = QStringLiteral("[配种日期(1)] between ") + quoted(run.S + QLatin1Char('A'))
                           + QStringLiteral(" and ") + quoted(run.E + QLatin1Char('P'));
    const QString breed = run.likeBreed(QStringLiteral("母猪耳号"));
    const int matings = count(QStringLiteral("select count(*) from 配种 where ") + breed + period);
    const int returns = count(QStringLiteral("select count(*) from 配种 where 返情否='Y' and ") + breed + period);
    setDataRows(1);
    setText(1, 0, QStringLiteral("1"));
    setText(1, 1, countText(matings));
    setText(1, 2, countText(returns));
    setText(1, 3, percentText(returns, matings));
    pie()->AddVar(float(matings - returns), QStringLiteral("未返情"), QStringLiteral("未返情"));
    pie()->AddVar(float(returns), QStringLiteral("返情"), QStringLiteral("返情"));
    pie()->AddVar(float(matings), QStringLiteral("配种次数"), QStringLiteral("配种次数"));
}

// ---- 返情率月份分析 ----

CFPFanQingLvYF::CFPFanQingLvYF(QWidget* parent)
    : CAnalysisScreen(defineAnalysis(kCommandId, QStringLiteral("返情率月份分析"),
                                     {QStringLiteral("月份"), QStringLiteral("配种次数"), QStringLiteral("返情次数"),
                                      QStringLiteral("比例（%）")}),
                      parent)
{
}

void CFPFanQingLvYF::analyse(const AnalysisRun& run)
{
    // Each month from its first to its last day; one statement reads the whole run of
    // months and every mating is counted in its own month.
    const QVector<MonthWindow> ms = months(run, MonthCut::PerMonthStatements);
    setDataRows(int(ms.size()));
    if (ms.isEmpty())
        return;
    QVector<int> matings(ms.size(), 0);
    QVector<int> returns(ms.size(), 0);
    eachRow(QStringLiteral("select [配种日期(1)],返情否 from 配种 where ") + run.likeBreed(QStringLiteral("母猪耳号"))
                + QStringLiteral("[配种日期(1)] between ") + quoted(ms.first().firstText() + QLatin1Char('A'))
                + QStringLiteral(" and ") + quoted(ms.last().lastText() + QLatin1Char('P')),
            [&](const CDbRecordset& rs) {
                const int m = monthOfMatingTime(ms, field(rs, 0));
                if (m < 0)
                    return;
                ++matings[m];
                if (returned(field(rs, 1)))
                    ++returns[m];
            });
    for (int i = 0; i < ms.size(); ++i) {
        setText(i + 1, 0, ms[i].gridLabel());
        setText(i + 1, 1, countText(matings[i]));
        setText(i + 1, 2, countText(returns[i]));
        setText(i + 1, 3, percentText(returns[i], matings[i]));
        pie()->AddVar(float(returns[i]), ms[i].chartLabel(), ms[i].gridLabel());
    }
}

// ---- 配种成功次数分析 ----

namespace {
const QStringList kSuccessBins = {QStringLiteral("1次配成"), QStringLiteral("2次配成"), QStringLiteral("3次配成"),
                                  QStringLiteral(">3次配成")};
const QStringList kWeekBins = {QStringLiteral("=0"), QStringLiteral("=1"), QStringLiteral("=2"), QStringLiteral("=3"),
                               QStringLiteral(">3")};
} // namespace

CFPChengGongCiShuM::CFPChengGongCiShuM(QWidget* parent)
    : CAnalysisScreen(
          [] {
              AnalysisDefinition d = defineAnalysis(kCommandId, QStringLiteral("配种成功次数分析"),
                                                    {QStringLiteral("序号"), QStringLiteral("成功次数"),
                                                     QStringLiteral("配种次数"), QStringLiteral("比例（%）")});
              d.rowLabels = kSuccessBins + QStringList{QStringLiteral("合计")};
              return d;
          }(),
          parent)
{
}

void CFPChengGongCiShuM::analyse(const AnalysisRun& run)
{
    QVector<int> counts(kSuccessBins.size(), 0);
    eachRow(QStringLiteral("select count(*) from 配种 where ") + run.likeBreed(QStringLiteral("母猪耳号"))
                + QStringLiteral("[配种日期(1)] between ") + quoted(run.S + QLatin1Char('A')) + QStringLiteral(" and ")
                + quoted(run.E + QLatin1Char('P')) + QStringLiteral(" group by 母猪耳号,胎次"),
            [&](const CDbRecordset& rs) {
                int n = 0;
                rs.GetFieldInt(0, n);
                if (n >= 1)
                    ++counts[std::min(n, 4) - 1];
            });
    fillBins(kSuccessBins, counts);
}

// ---- 公猪配种频度分析 ----

CFPPinDuG::CFPPinDuG(QWidget* parent)
    : CAnalysisScreen(
          [] {
              AnalysisDefinition d = defineAnalysis(kCommandId, QStringLiteral("公猪配种频度分析"),
                                                    {QStringLiteral("序号"), QStringLiteral("每周配种次数"),
                                                     QStringLiteral("周数（周）"), QStringLiteral("比例（%）")});
              d.form = 171;
              d.combo = ComboUse::Boar;
              d.rowLabels = kWeekBins + QStringList{QStringLiteral("合计")};
              return d;
          }(),
          parent)
{
}

void CFPPinDuG::analyse(const AnalysisRun& run)
{
    QVector<QDate> dates;
    eachRow(QStringLiteral("select [配种日期(1)] from 配种 where 公猪耳号=") + quoted(run.boar)
                + QStringLiteral(" and [配种日期(1)] between ") + quoted(run.S + QLatin1Char('A')) + QStringLiteral(" and ")
                + quoted(run.E + QLatin1Char('P')) + QStringLiteral(" order by [配种日期(1)]"),
            [&](const CDbRecordset& rs) {
                const QDate d = TextUtil::parseDateText(field(rs, 0));
                if (d.isValid())
                    dates.push_back(d);
            });
    std::sort(dates.begin(), dates.end());
    QVector<int> counts(kWeekBins.size(), 0);
    for (const Week& w : boarWeeks(run.from, run.to)) {
        const auto from = std::lower_bound(dates.cbegin(), dates.cend(), w.first);
        const auto to = std::lower_bound(dates.cbegin(), dates.cend(), w.boundary);
        ++counts[std::min(int(to - from), 4)];
    }
    fillBins(kWeekBins, counts);
}

// ---- 公猪配种成功率分析 ----

CFPPeiZhongLvG::CFPPeiZhongLvG(QWidget* parent)
    : CAnalysisScreen(
          [] {
              AnalysisDefinition d = defineAnalysis(
                  kCommandId, QStringLiteral("公猪配种成功率分析"),
                  {QStringLiteral("配种次数"), QStringLiteral("返情次数（人繁）"), QStringLiteral("返情次数（自交）"),
                   QStringLiteral("未返情次数（人繁）"), QStringLiteral("未返情次数（自交）")});
              d.form = 171;
              d.combo = ComboUse::Boar;
              d.fixedColumns = 0;
              return d;
          }(),
          parent)
{
}

void CFPPeiZhongLvG::analyse(const AnalysisRun& run)
{
    int all = 0, returnedAi = 0, returnedNatural = 0, keptAi = 0, keptNatural = 0;
    eachRow(QStringLiteral("select 返情否,配种方式 from 配种 where 公猪耳号=") + quoted(run.boar)
                + QStringLiteral(" and [配种日期(1)] between ") + quoted(run.S + QLatin1Char('A')) + QStringLiteral(" and ")
                + quoted(run.E + QLatin1Char('P')) + QStringLiteral(" order by [配种日期(1)]"),
            [&](const CDbRecordset& rs) {
                ++all;
                const bool ai = artificial(field(rs, 1));
                // The flag is read in memory, where only "Y" itself means a return.
                if (field(rs, 0) == QLatin1String("Y"))
                    ++(ai ? returnedAi : returnedNatural);
                else
                    ++(ai ? keptAi : keptNatural);
            });
    setDataRows(1);
    const int values[] = {all, returnedAi, returnedNatural, keptAi, keptNatural};
    const char* const labels[] = {"配种次数", "人繁返情", "自交返情", "人繁未返情", "自交未返情"};
    for (int c = 0; c < 5; ++c) {
        setText(1, c, countText(values[c]));
        pie()->AddVar(float(values[c]), QString::fromUtf8(labels[c]), QString::fromUtf8(labels[c]));
    }
}

// ---- 配种方式分析 ----

CFPPeiZhongFangShi::CFPPeiZhongFangShi(QWidget* parent)
    : CAnalysisScreen(
          [] {
              AnalysisDefinition d = defineAnalysis(kCommandId, QStringLiteral("配种方式分析"),
                                                    {QStringLiteral("配种方式"), QStringLiteral("配种数（比例）"),
                                                     QStringLiteral("返情数（比例）")});
              d.combo = ComboUse::Hidden;
              d.fixedColumns = 0;
              d.rowLabels = {QStringLiteral("人工受精"), QStringLiteral("自然交配"), QStringLiteral("合计")};
              d.labelColumn = 0;
              d.numberRows = false;
              return d;
          }(),
          parent)
{
}

void CFPPeiZhongFangShi::analyse(const AnalysisRun& run)
{
    int aiMatings = 0, aiReturns = 0, naturalMatings = 0, naturalReturns = 0;
    eachRow(QStringLiteral("select 返情否,配种方式 from 配种 where [配种日期(1)] between ")
                + quoted(run.S + QLatin1Char('A')) + QStringLiteral(" and ") + quoted(run.E + QLatin1Char('P'))
                + QStringLiteral(" order by [配种日期(1)]"),
            [&](const CDbRecordset& rs) {
                const bool ai = artificial(field(rs, 1));
                const bool back = field(rs, 0) == QLatin1String("Y");
                ++(ai ? aiMatings : naturalMatings);
                if (back)
                    ++(ai ? aiReturns : naturalReturns);
            });
    const int matings = aiMatings + naturalMatings;
    const int returns = aiReturns + naturalReturns;
    const auto share = [](int n, int all) { return QStringLiteral("%1(%2)").arg(n).arg(percentText(n, all)); };
    setText(1, 1, share(aiMatings, matings));
    setText(1, 2, share(aiReturns, returns));
    setText(2, 1, share(naturalMatings, matings));
    setText(2, 2, share(naturalReturns, returns));
    setText(3, 1, countText(matings));
    setText(3, 2, countText(returns));
    pie()->AddVar(float(aiMatings), QStringLiteral("人工配种"), QStringLiteral("人工配种"));
    pie()->AddVar(float(aiReturns), QStringLiteral("人配返情"), QStringLiteral("人配返情"));
    pie()->AddVar(float(naturalMatings), QStringLiteral("自然交配"), QStringLiteral("自然交配"));
    pie()->AddVar(float(naturalReturns), QStringLiteral("自交返情"), QStringLiteral("自交返情"));
}
