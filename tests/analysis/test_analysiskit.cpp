// The analyses' shared arithmetic: month cutting both ways, the month a record falls in,
// years, boar weeks, bins, guarded divisions and formats.
#include "analysiskit.h"

#include <QTest>

using namespace AnalysisKit;

namespace {
QStringList labels(const QVector<MonthWindow>& ms)
{
    QStringList out;
    for (const MonthWindow& m : ms)
        out << m.gridLabel();
    return out;
}
QDate d(const char* text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyyMMdd"));
}
} // namespace

class TestAnalysisKit : public QObject
{
    Q_OBJECT
private slots:
    void monthCutting_data();
    void monthCutting();
    void monthWindowsRunToTheirOwnLastDay();
    void monthOfRecord();
    void yearsStopBeforeTheLastYear();
    void boarWeeks_data();
    void boarWeeks();
    void upperBins();
    void divisionsNeverShowNanOrInf();
};

void TestAnalysisKit::monthCutting_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("perMonth");
    QTest::addColumn<QStringList>("expected");
    const QStringList marToMay = {QStringLiteral("2025年03月"), QStringLiteral("2025年04月"), QStringLiteral("2025年05月")};
    QTest::newRow("per-month statements: 15 Mar - 10 Jun shows Mar-May") << "20250315" << "20250610" << true << marToMay;
    QTest::newRow("bucketed: 15 Mar - 10 Jun shows Mar-Jun")
        << "20250315" << "20250610" << false << (marToMay + QStringList{QStringLiteral("2025年06月")});
    QTest::newRow("bucketed: an end on the 1st leaves its month out") << "20250315" << "20250601" << false << marToMay;
    QTest::newRow("per-month: an end on the 1st also leaves it out") << "20250315" << "20250601" << true << marToMay;
    QTest::newRow("per-month: start and end in one month shows nothing") << "20250302" << "20250330" << true << QStringList();
    QTest::newRow("bucketed: start and end in one month shows it")
        << "20250302" << "20250330" << false << QStringList{QStringLiteral("2025年03月")};
    QTest::newRow("start after end: no months") << "20250610" << "20250315" << false << QStringList();
    QTest::newRow("across the year end") << "20241120" << "20250205" << true
                                         << QStringList{QStringLiteral("2024年11月"), QStringLiteral("2024年12月"),
                                                        QStringLiteral("2025年01月")};
}

void TestAnalysisKit::monthCutting()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, perMonth);
    QFETCH(QStringList, expected);
    const QVector<MonthWindow> ms = months(d(from.toLatin1()), d(to.toLatin1()),
                                           perMonth ? MonthCut::PerMonthStatements : MonthCut::Bucketed);
    QCOMPARE(labels(ms), expected);
}

void TestAnalysisKit::monthWindowsRunToTheirOwnLastDay()
{
    const QVector<MonthWindow> ms = months(d("20240115"), d("20240410"), MonthCut::PerMonthStatements);
    QCOMPARE(ms.size(), 3);
    // The window of every month ends on its own last day (a leap February too), never
    // on the next month's first day, so no record is counted in two months.
    QCOMPARE(ms[0].firstText(), QStringLiteral("20240101"));
    QCOMPARE(ms[0].lastText(), QStringLiteral("20240131"));
    QCOMPARE(ms[1].lastText(), QStringLiteral("20240229"));
    QCOMPARE(ms[2].lastText(), QStringLiteral("20240331"));
    QCOMPARE(ms[1].chartLabel(), QStringLiteral("2024.02"));
    QCOMPARE(ms[1].gridLabel(), QStringLiteral("2024年02月"));
}

void TestAnalysisKit::monthOfRecord()
{
    const QVector<MonthWindow> ms = months(d("20250201"), d("20250415"), MonthCut::PerMonthStatements);
    QCOMPARE(ms.size(), 2); // February and March
    // A record on the 1st of March is March's only.
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250301")), 1);
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250228")), 0);
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250201")), 0);
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250331")), 1);
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250401")), -1);
    QCOMPARE(monthOfDateText(ms, QStringLiteral("20250131")), -1);
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250301A")), 1);
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250228P")), 0);
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250331P")), 1);
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250401A")), -1);
    // A mating time without its letter sorts before the day's "A": outside the window
    // that starts that day, as the statements compare it.
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250201")), -1);
    QCOMPARE(monthOfMatingTime(ms, QStringLiteral("20250301")), -1);
    QCOMPARE(monthOfDate(ms, d("20250301")), 1);
    QCOMPARE(monthOfDate(ms, QDate()), -1);
}

void TestAnalysisKit::yearsStopBeforeTheLastYear()
{
    QCOMPARE(years(2020, 2022), (QVector<int>{2020, 2021}));
    QVERIFY(years(2020, 2020).isEmpty());
    QCOMPARE(yearStartText(2021), QStringLiteral("20210101"));
    QCOMPARE(yearLabel(2021), QStringLiteral("2021年"));
}

void TestAnalysisKit::boarWeeks_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("weeks"); // first-boundary pairs
    QTest::newRow("a start on the 10th: 10th-14th first")
        << "20250310" << "20250320" << QStringList{"20250310-20250315", "20250315-20250322"};
    QTest::newRow("the 22nd runs to the month end")
        << "20250222" << "20250305" << QStringList{"20250222-20250301", "20250301-20250308"};
    // An end date on a boundary day opens its own week, so its matings are counted.
    QTest::newRow("an end on the 15th gets a week from the 15th")
        << "20250301" << "20250315" << QStringList{"20250301-20250308", "20250308-20250315", "20250315-20250322"};
    QTest::newRow("one day") << "20250331" << "20250331" << QStringList{"20250331-20250401"};
    QTest::newRow("start after end") << "20250320" << "20250310" << QStringList();
}

void TestAnalysisKit::boarWeeks()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, weeks);
    QStringList got;
    for (const Week& w : AnalysisKit::boarWeeks(d(from.toLatin1()), d(to.toLatin1())))
        got << w.first.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') + w.boundary.toString(QStringLiteral("yyyyMMdd"));
    QCOMPARE(got, weeks);
}

void TestAnalysisKit::upperBins()
{
    const UpperBins bins{{4, 8, 51}, {"0-3", "4-7", "8-50", ">50"}};
    QCOMPARE(bins.indexOf(0), 0);
    QCOMPARE(bins.indexOf(3), 0);
    QCOMPARE(bins.indexOf(4), 1);
    QCOMPARE(bins.indexOf(50), 2);
    QCOMPARE(bins.indexOf(51), 3);
    QCOMPARE(bins.indexOf(-2), 0);
}

void TestAnalysisKit::divisionsNeverShowNanOrInf()
{
    QCOMPARE(safeDiv(3, 0), 0.0);
    QCOMPARE(safeDiv(3, 4), 0.75);
    QCOMPARE(divOrOne(3, 0), 3.0);
    QCOMPARE(percentText(0, 0), QStringLiteral("0.00"));
    QCOMPARE(percentText(1, 3), QStringLiteral("33.33"));
    QCOMPARE(percentText(2, 3), QStringLiteral("66.67"));
    QCOMPARE(safePercentText(5, 0), QStringLiteral("0.00"));
    QCOMPARE(percentSignText(1, 8), QStringLiteral("12.50%"));
    // The C library's rounding of the binary value: 2.25 and 0.125 are ties (to even),
    // 1.005 lies below its decimal text.
    QCOMPARE(fixed1(2.25), QStringLiteral("2.2"));
    QCOMPARE(fixed2(0.125), QStringLiteral("0.12"));
    QCOMPARE(fixed2(1.005), QStringLiteral("1.00"));
    QCOMPARE(fixed2(2.675), QStringLiteral("2.67"));
    int days = 0;
    QVERIFY(dayDifference(QStringLiteral("20250305A"), QStringLiteral("20250301"), days));
    QCOMPARE(days, 4);
    QVERIFY(dayDifference(QStringLiteral("20250225"), QStringLiteral("20250301"), days));
    QCOMPARE(days, -4);
    QVERIFY(!dayDifference(QString(), QStringLiteral("20250301"), days));
}

QTEST_GUILESS_MAIN(TestAnalysisKit)
#include "test_analysiskit.moc"
