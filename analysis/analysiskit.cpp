#include "analysiskit.h"
#include "textutil.h"

#include <cstdio>

namespace AnalysisKit {

// ---- months ----

QString MonthWindow::firstText() const
{
    return TextUtil::dateText(first);
}

QString MonthWindow::lastText() const
{
    return TextUtil::dateText(last);
}

QString MonthWindow::gridLabel() const
{
    return QString::asprintf("%04d年%02d月", first.year(), first.month());
}

QString MonthWindow::chartLabel() const
{
    return QString::asprintf("%04d.%02d", first.year(), first.month());
}

QVector<MonthWindow> months(const QDate& start, const QDate& end, MonthCut cut)
{
    QVector<MonthWindow> out;
    if (!start.isValid() || !end.isValid())
        return out;
    // PerMonthStatements stops before the end date's month, Bucketed before the end date.
    const QDate stop = cut == MonthCut::PerMonthStatements ? QDate(end.year(), end.month(), 1) : end;
    for (QDate first(start.year(), start.month(), 1); first < stop; first = first.addMonths(1))
        out.push_back({first, first.addMonths(1).addDays(-1)});
    return out;
}

namespace {
// Binary search over windows in calendar order, by a key compared as text.
template <typename Before, typename After>
int findWindow(const QVector<MonthWindow>& windows, Before isBefore, After isAfter)
{
    int lo = 0;
    int hi = int(windows.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (isBefore(windows[mid]))
            hi = mid - 1;
        else if (isAfter(windows[mid]))
            lo = mid + 1;
        else
            return mid;
    }
    return -1;
}
} // namespace

int monthOfDateText(const QVector<MonthWindow>& windows, const QString& dateText)
{
    return findWindow(
        windows, [&](const MonthWindow& w) { return QString::compare(dateText, w.firstText(), Qt::CaseInsensitive) < 0; },
        [&](const MonthWindow& w) { return QString::compare(dateText, w.lastText(), Qt::CaseInsensitive) > 0; });
}

int monthOfDate(const QVector<MonthWindow>& windows, const QDate& date)
{
    if (!date.isValid())
        return -1;
    return findWindow(
        windows, [&](const MonthWindow& w) { return date < w.first; }, [&](const MonthWindow& w) { return date > w.last; });
}

int monthOfMatingTime(const QVector<MonthWindow>& windows, const QString& matingTime)
{
    return findWindow(
        windows,
        [&](const MonthWindow& w) {
            return QString::compare(matingTime, w.firstText() + QLatin1Char('A'), Qt::CaseInsensitive) < 0;
        },
        [&](const MonthWindow& w) {
            return QString::compare(matingTime, w.lastText() + QLatin1Char('P'), Qt::CaseInsensitive) > 0;
        });
}

// ---- years ----

QVector<int> years(int first, int last)
{
    QVector<int> out;
    for (int y = first; y < last; ++y)
        out.push_back(y);
    return out;
}

QString yearStartText(int year)
{
    return QString::asprintf("%d0101", year);
}

QString yearLabel(int year)
{
    return QString::asprintf("%d年", year);
}

// ---- boar weeks ----

QDate weekBoundary(const QDate& first)
{
    const int d = first.day();
    if (d < 8)
        return QDate(first.year(), first.month(), 8);
    if (d < 15)
        return QDate(first.year(), first.month(), 15);
    if (d < 22)
        return QDate(first.year(), first.month(), 22);
    return QDate(first.year(), first.month(), 1).addMonths(1);
}

QVector<Week> boarWeeks(const QDate& start, const QDate& end)
{
    QVector<Week> out;
    if (!start.isValid() || !end.isValid())
        return out;
    for (QDate first = start; first <= end; first = weekBoundary(first))
        out.push_back({first, weekBoundary(first)});
    return out;
}

// ---- bins ----

int UpperBins::indexOf(int value) const
{
    for (int i = 0; i < limits.size(); ++i)
        if (value < limits[i])
            return i;
    return int(labels.size()) - 1;
}

// ---- divisions and formats ----

double safeDiv(double num, double den)
{
    return den == 0 ? 0.0 : num / den;
}

double divOrOne(double num, double den)
{
    return num / (den == 0 ? 1.0 : den);
}

QString countText(int n)
{
    return QString::number(n);
}

namespace {
// The C library's printf rounding (the exact binary value, ties to even), which Qt's own
// formatting does not follow in every case.
QString cFormat(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}
} // namespace

QString fixed2(double value)
{
    return cFormat("%.2f", value);
}

QString fixed1(double value)
{
    return cFormat("%.1f", value);
}

QString percentText(double count, double den)
{
    return fixed2(divOrOne(count * 100.0, den));
}

QString safePercentText(double count, double den)
{
    return fixed2(safeDiv(count * 100.0, den));
}

QString percentSignText(double count, double den)
{
    return percentText(count, den) + QLatin1Char('%');
}

bool dayDifference(const QString& laterText, const QString& earlierText, int& days)
{
    const QDate later = TextUtil::parseDateText(laterText);
    const QDate earlier = TextUtil::parseDateText(earlierText);
    if (!later.isValid() || !earlier.isValid())
        return false;
    days = int(earlier.daysTo(later));
    return true;
}

} // namespace AnalysisKit
