#include "estrusanalyses.h"
#include "cpie.h"
#include "textutil.h"

using namespace AnalysisKit;

namespace {
const UpperBins kEstrusBins{{4, 8, 24, 29, 45, 51},
                            {QStringLiteral("0-3天"), QStringLiteral("4-7天"), QStringLiteral("8-23天"),
                             QStringLiteral("24-28天"), QStringLiteral("29-44天"), QStringLiteral("45-50天"),
                             QStringLiteral(">50天")}};

QString quoted(const QString& text)
{
    return TextUtil::sqlQuote(text);
}
} // namespace

void CEstrusIntervalScreen::collectIntervals(const AnalysisRun& run, const QString& S, const QString& E, bool byMonth,
                                             const std::function<void(const QString&, bool, int)>& f)
{
    // After farrowing: each litter's last farrowing date, and the sow's first mating of
    // the next parity (the parity read as a number, plus one) found in the same statement.
    const QString afterFarrowing =
        QStringLiteral("select max(分娩日期),母猪耳号,胎次,"
                       "(select m.[配种日期(1)] from 配种 m where m.母猪耳号=l.母猪耳号 and "
                       "m.胎次=cast(cast(ifnull(l.胎次,'') as integer)+1 as text) order by m.[配种日期(1)] limit 1) "
                       "from 产仔记录 l where ")
        + run.likeBreed(QStringLiteral("母猪耳号")) + QStringLiteral("分娩日期 between ") + quoted(S)
        + QStringLiteral(" and ") + quoted(E) + QStringLiteral(" group by 母猪耳号,胎次")
        + (byMonth ? QStringLiteral(",substr(分娩日期,1,6)") : QString());
    eachRow(afterFarrowing, [&](const CDbRecordset& rs) {
        if (rs.IsFieldNull(3))
            return;
        const QString farrowed = field(rs, 0);
        int days = 0;
        if (dayDifference(field(rs, 3), farrowed, days))
            f(farrowed, false, days);
    });
    // After a return: the sow's next mating of the same parity, later than the returned
    // one (a mating of the same day counts when it is "P" and the returned one "A").
    const QString afterReturn =
        QStringLiteral("select 母猪耳号,胎次,[配种日期(1)],"
                       "(select n.[配种日期(1)] from 配种 n where n.母猪耳号=r.母猪耳号 and n.胎次=r.胎次 and "
                       "n.[配种日期(1)]>r.[配种日期(1)]||'P' order by n.[配种日期(1)] limit 1) "
                       "from 配种 r where ")
        + run.likeBreed(QStringLiteral("母猪耳号")) + QStringLiteral("返情否='Y' and [配种日期(1)] between ")
        + quoted(S + QLatin1Char('A')) + QStringLiteral(" and ") + quoted(E + QLatin1Char('P'));
    eachRow(afterReturn, [&](const CDbRecordset& rs) {
        if (rs.IsFieldNull(3))
            return;
        const QString returned = field(rs, 2);
        int days = 0;
        if (dayDifference(field(rs, 3), returned, days))
            f(returned, true, days);
    });
}

// ---- 发情间隔时段分析 ----

CFFaQingSD::CFFaQingSD(QWidget* parent)
    : CEstrusIntervalScreen(
          [] {
              AnalysisDefinition d;
              d.commandId = kCommandId;
              d.title = QStringLiteral("发情间隔时段分析");
              d.columns = {QStringLiteral("序号"), QStringLiteral("断奶/返情后发情天数"), QStringLiteral("母猪头数/次"),
                           QStringLiteral("比例（%）")};
              d.rowLabels = kEstrusBins.labels + QStringList{QStringLiteral("合计")};
              return d;
          }(),
          parent)
{
}

void CFFaQingSD::analyse(const AnalysisRun& run)
{
    QVector<int> counts(kEstrusBins.size(), 0);
    collectIntervals(run, run.S, run.E, false, [&](const QString&, bool, int days) {
        if (days >= 0)
            ++counts[kEstrusBins.indexOf(days)];
    });
    fillBins(kEstrusBins.labels, counts);
}

// ---- 发情间隔月份分析 ----

CFFaQingYF::CFFaQingYF(QWidget* parent)
    : CEstrusIntervalScreen(
          [] {
              AnalysisDefinition d;
              d.commandId = kCommandId;
              d.title = QStringLiteral("发情间隔月份分析");
              d.columns = {QStringLiteral("序号"), QStringLiteral("月份"), QStringLiteral("平均发情天数"),
                           QStringLiteral("母猪头数/次"), QStringLiteral("比例（%）")};
              return d;
          }(),
          parent)
{
}

void CFFaQingYF::analyse(const AnalysisRun& run)
{
    // Each month on its own, from its first to its last day; the whole run of months is
    // read at once and every interval sorted into its month.
    const QVector<MonthWindow> ms = months(run, MonthCut::PerMonthStatements);
    setDataRows(int(ms.size()));
    if (ms.isEmpty())
        return;
    QVector<int> counts(ms.size(), 0);
    QVector<qint64> daySums(ms.size(), 0);
    collectIntervals(run, ms.first().firstText(), ms.last().lastText(), true, [&](const QString& when, bool matingTime, int days) {
        const int m = matingTime ? monthOfMatingTime(ms, when) : monthOfDateText(ms, when);
        if (m < 0)
            return;
        ++counts[m];
        daySums[m] += days;
    });
    int all = 0;
    for (int n : counts)
        all += n;
    for (int i = 0; i < ms.size(); ++i) {
        setText(i + 1, 0, QString::number(i + 1));
        setText(i + 1, 1, ms[i].gridLabel());
        setText(i + 1, 2, fixed2(divOrOne(double(daySums[i]), counts[i])));
        setText(i + 1, 3, countText(counts[i]));
        setText(i + 1, 4, safePercentText(counts[i], all));
        pie()->AddVar(float(counts[i]), ms[i].chartLabel(), ms[i].gridLabel());
    }
}
