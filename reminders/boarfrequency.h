#pragma once
#include "reminderlists.h"

#include <QDate>
#include <QPair>

// Boar use week by week. A month has four weeks: days 1-7, 8-14, 15-21 and 22 to the
// month's end, so every mating counts in exactly one week.
namespace BoarFrequency {

// The same day six months before today; a day the month does not have becomes its last.
QDate defaultStart(const QDate& today);
// Months shown by the reminder: from the start month up to, not including, the end month.
int monthCount(const QDate& start, const QDate& end);
// Periods this long ask before they run.
bool isLong(const QDate& start, const QDate& end);
// First and last day of week w (0-3) of the month that begins on monthFirst.
QPair<QDate, QDate> week(const QDate& monthFirst, int w);
// "%d年%d月" of the start month advanced by k months.
QString monthLabel(const QDate& start, int k);

struct BoarWeeks {
    QString boar;
    QVector<int> counts; // 4 per month
};
struct Table {
    QStringList monthLabels;
    QVector<BoarWeeks> boars;
};
// The reminder's table; the period must hold at least one month.
Table reminder(CDbConnection& conn, const QDate& start, const QDate& end);

// "星期超配数", 3 without the row.
int threshold(CDbConnection& conn);
// The alert's rows (公猪耳号, 时间, 星期, 配种次数): boar-weeks above the threshold in
// every month whose first day is before the end date.
QVector<ReminderRow> alert(CDbConnection& conn, const QDate& start, const QDate& end, int threshold);

} // namespace BoarFrequency
