#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// The arithmetic every analysis screen shares: cutting a period into months, years and
// boar weeks, finding the window a record falls in, bins, guarded divisions and the
// number formats of the result grids. No screen re-implements any of these.
namespace AnalysisKit {

// ---- months ----

// One calendar month of a period. Its window always runs from its first day to its own
// last day, both included, so a record dated on the 1st counts in its own month only.
struct MonthWindow {
    QDate first;
    QDate last;

    QString firstText() const; // "%Y%m%d" of the first day
    QString lastText() const;  // "%Y%m%d" of the last day
    QString gridLabel() const;  // "%Y年%m月"
    QString chartLabel() const; // "%Y.%m"
};

enum class MonthCut {
    // Screens that run their statements once per month: from the start date's month
    // while the month's first day is before the first day of the end date's month (the
    // end date's month is not shown).
    PerMonthStatements,
    // Screens that load the period once and sort the rows into months in memory: while
    // the month's first day is before the end date (the end date's month is shown
    // unless the end date is its first day).
    Bucketed,
};

QVector<MonthWindow> months(const QDate& start, const QDate& end, MonthCut cut);

// The month of windows whose window holds the date text ("%Y%m%d", compared as text,
// first and last day included); -1 when none. Windows in calendar order.
int monthOfDateText(const QVector<MonthWindow>& windows, const QString& dateText);
// The same for a calendar date (the rows loaded as dates).
int monthOfDate(const QVector<MonthWindow>& windows, const QDate& date);
// The same for a mating time ("%Y%m%d" + A/P): inside when it lies between the first
// day + "A" and the last day + "P", compared as text like the database does.
int monthOfMatingTime(const QVector<MonthWindow>& windows, const QString& matingTime);

// ---- years ----

// From the first year while the year is below the last one.
QVector<int> years(int first, int last);
QString yearStartText(int year); // "%d0101"
QString yearLabel(int year);     // "%d年"

// ---- boar weeks ----

// A week of a boar's work: from its first day up to (not including) its boundary, the
// next 8th, 15th, 22nd or 1st of the month.
struct Week {
    QDate first;
    QDate boundary;
};
QDate weekBoundary(const QDate& first);
// From the start date while the week's first day is on or before the end date (a
// period ending on a boundary day still counts that day's matings); the last week is not
// clipped at the end date.
QVector<Week> boarWeeks(const QDate& start, const QDate& end);

// ---- bins ----

// Bins by upper limits: a value falls into the first bin whose limit it is below, else
// into the last bin (which has no limit).
struct UpperBins {
    QVector<int> limits; // one fewer than labels
    QStringList labels;

    int indexOf(int value) const;
    int size() const { return labels.size(); }
};

// ---- divisions and formats ----

// num / den, or 0 when den is 0: never nan or inf on the screen.
double safeDiv(double num, double den);
// num / den, dividing by 1 when den is 0 (the rate screens' rule).
double divOrOne(double num, double den);

QString countText(int n);                     // "%d"
QString fixed2(double value);                 // "%.2f"
QString fixed1(double value);                 // "%.1f"
// count × 100 ÷ den as "%.2f"; den 0 divides by 1 (so 0 counted shows 0.00).
QString percentText(double count, double den);
// count × 100 ÷ den as "%.2f" where the screen divides without the ÷ 1 rule: 0.00, never
// nan or inf, when den is 0.
QString safePercentText(double count, double den);
// The distribution screens' form: the same with a trailing "%".
QString percentSignText(double count, double den);

// Day difference of two date texts (characters 1-4 year, 5-6 month, 7-8 day), whole
// days; false when either is not a date.
bool dayDifference(const QString& laterText, const QString& earlierText, int& days);

} // namespace AnalysisKit
