#include "boarfrequency.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "herdparams.h"
#include "reminderquery.h"
#include "textutil.h"

#include <QHash>

namespace BoarFrequency {

namespace {

struct WeekCount {
    QString boar;
    bool noBoar = false;
    int count = 0;
};

// One statement per week gives every boar's count for it, in the order of the boars.
QVector<WeekCount> weekCounts(CDbConnection& conn, const QDate& first, const QDate& last, bool blankAfterComma)
{
    QVector<WeekCount> out;
    const QString sql = QStringLiteral("select 公猪耳号,%1count(*) from 配种 where [配种日期(1)] between '%2A' and '%3P' group by 公猪耳号")
                            .arg(blankAfterComma ? QStringLiteral(" ") : QString(), TextUtil::dateText(first), TextUtil::dateText(last));
    CDbRecordset rs(&conn);
    if (!rs.Open(sql))
        return out;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        WeekCount w;
        w.noBoar = rs.IsFieldNull(0);
        rs.GetFieldText(0, w.boar);
        QString n;
        rs.GetFieldText(1, n);
        w.count = TextUtil::intPrefix(n);
        out << w;
    }
    return out;
}

QDate monthStart(const QDate& d)
{
    return QDate(d.year(), d.month(), 1);
}

const char* const kWeekNames[4] = {"第一星期", "第二星期", "第三星期", "第四星期"};

} // namespace

QDate defaultStart(const QDate& today)
{
    int year = today.year();
    int month = today.month() - 6;
    if (month <= 0) {
        month += 12;
        --year;
    }
    const int day = std::min(today.day(), QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

int monthCount(const QDate& start, const QDate& end)
{
    return 12 * (end.year() - start.year()) + (end.month() - start.month());
}

bool isLong(const QDate& start, const QDate& end)
{
    return start.daysTo(end) > 200;
}

QPair<QDate, QDate> week(const QDate& monthFirst, int w)
{
    const QDate first = monthFirst.addDays(7 * w);
    const QDate last = w < 3 ? first.addDays(6) : monthFirst.addMonths(1).addDays(-1);
    return {first, last};
}

QString monthLabel(const QDate& start, int k)
{
    const QDate m = monthStart(start).addMonths(k);
    return QStringLiteral("%1年%2月").arg(m.year()).arg(m.month());
}

Table reminder(CDbConnection& conn, const QDate& start, const QDate& end)
{
    Table t;
    const int months = monthCount(start, end);
    for (int k = 0; k < months; ++k)
        t.monthLabels << monthLabel(start, k);

    // Every boar mated from the first day of the start month to the first day of the end month.
    CDbRecordset rs(&conn);
    const QString sql = QStringLiteral("select DISTINCT 公猪耳号 from 配种 where [配种日期(1)] between '") +
                        start.toString(QStringLiteral("yyyyMM")) + QStringLiteral("01A' and '") +
                        end.toString(QStringLiteral("yyyyMM")) + QStringLiteral("01P' order by 公猪耳号");
    QHash<QString, int> rowOf;
    if (rs.Open(sql)) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            BoarWeeks b;
            rs.GetFieldText(0, b.boar);
            b.counts.fill(0, 4 * months);
            // A mating without a boar counts for nobody: its row stays at 0.
            if (!rs.IsFieldNull(0))
                rowOf.insert(ReminderQuery::key(b.boar), t.boars.size());
            t.boars << b;
        }
    }
    if (t.boars.isEmpty())
        return t;
    const QDate first = monthStart(start);
    for (int k = 0; k < months; ++k) {
        for (int w = 0; w < 4; ++w) {
            const auto span = week(first.addMonths(k), w);
            for (const WeekCount& c : weekCounts(conn, span.first, span.second, false)) {
                const auto it = rowOf.constFind(ReminderQuery::key(c.boar));
                if (!c.noBoar && it != rowOf.constEnd())
                    t.boars[*it].counts[4 * k + w] = c.count;
            }
        }
    }
    return t;
}

int threshold(CDbConnection& conn)
{
    return HerdParams::threshold(conn, QStringLiteral("星期超配数"), 3);
}

QVector<ReminderRow> alert(CDbConnection& conn, const QDate& start, const QDate& end, int threshold)
{
    QVector<ReminderRow> rows;
    for (QDate month = monthStart(start); month < end; month = month.addMonths(1)) {
        for (int w = 0; w < 4; ++w) {
            const auto span = week(month, w);
            for (const WeekCount& c : weekCounts(conn, span.first, span.second, w == 1)) {
                if (c.count > threshold)
                    rows.append({{c.boar, month.toString(QStringLiteral("yyyy年MM月")), QString::fromUtf8(kWeekNames[w]),
                                  QString::number(c.count)},
                                 QColor()});
            }
        }
    }
    return rows;
}

} // namespace BoarFrequency
