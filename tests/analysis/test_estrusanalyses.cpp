// 发情间隔 by time bin and by month, on small herds worked out by hand.
#include "analysisfixture.h"
#include "estrusanalyses.h"

class TestEstrusAnalyses : public QObject
{
    Q_OBJECT
private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2025, 12, 11), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void binsAndBoundaries_data();
    void binsAndBoundaries();
    void noIntervalsShowZeroNotNan();
    void monthsCountARecordOfThe1stOnce();
};

namespace {
QString tag(const char* breed, int n)
{
    return AnalysisFarm::tag(breed, n);
}

// After farrowing: A 3 days, B 4, C 50, D 51, E no next mating, F a negative interval.
// After a return: G the same day (A then P) 0 days, H 21 days (her later mating ignored).
void fillHerd(AnalysisFarm& farm)
{
    farm.litter(tag("LL", 1), 1, QStringLiteral("20250301"), 3); // three piglets: one litter
    farm.mating(tag("LL", 1), QStringLiteral("20250310A"), 2);
    farm.mating(tag("LL", 1), QStringLiteral("20250304A"), 2);
    farm.litter(tag("LL", 2), 1, QStringLiteral("20250301"));
    farm.mating(tag("LL", 2), QStringLiteral("20250305P"), 2);
    farm.litter(tag("YY", 3), 2, QStringLiteral("20250401"));
    farm.mating(tag("YY", 3), QStringLiteral("20250521A"), 3);
    farm.litter(tag("YY", 4), 2, QStringLiteral("20250401"));
    farm.mating(tag("YY", 4), QStringLiteral("20250522A"), 3);
    farm.litter(tag("LL", 5), 1, QStringLiteral("20250501"));
    farm.mating(tag("LL", 5), QStringLiteral("20250601A"), 1); // her own parity, not the next
    farm.litter(tag("LL", 6), 3, QStringLiteral("20250601"));
    farm.mating(tag("LL", 6), QStringLiteral("20250520A"), 4);
    farm.mating(tag("LL", 7), QStringLiteral("20250610A"), 1, "Y");
    farm.mating(tag("LL", 7), QStringLiteral("20250610P"), 1);
    farm.mating(tag("LL", 8), QStringLiteral("20250701A"), 1, "Y");
    farm.mating(tag("LL", 8), QStringLiteral("20250801A"), 1);
    farm.mating(tag("LL", 8), QStringLiteral("20250722A"), 1);
    farm.mating(tag("LL", 8), QStringLiteral("20250702A"), 2); // another parity: not her next heat
}
} // namespace

void TestEstrusAnalyses::binsAndBoundaries_data()
{
    QTest::addColumn<QString>("breed");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("all breeds") << "所有品种"
                                << QStringList{"1|0-3天|2|33.33",  "2|4-7天|1|16.67",  "3|8-23天|1|16.67",
                                               "4|24-28天|0|0.00", "5|29-44天|0|0.00", "6|45-50天|1|16.67",
                                               "7|>50天|1|16.67",  "8|合计|6|100.00"};
    QTest::newRow("LL only") << "LL"
                             << QStringList{"1|0-3天|2|50.00",  "2|4-7天|1|25.00",  "3|8-23天|1|25.00",
                                            "4|24-28天|0|0.00", "5|29-44天|0|0.00", "6|45-50天|0|0.00",
                                            "7|>50天|0|0.00",   "8|合计|4|100.00"};
}

void TestEstrusAnalyses::binsAndBoundaries()
{
    QFETCH(QString, breed);
    QFETCH(QStringList, rows);
    AnalysisFarm farm;
    fillHerd(farm);
    auto s = openAnalysis<CFFaQingSD>(farm.db);
    QVERIFY(analysePeriod(*s, "20250101", "20251231", breed));
    QCOMPARE(gridRows(*s), rows);
    // The chart gets the seven bins in order, not the total.
    QStringList chart;
    for (const QString& r : rows.mid(0, 7))
        chart << r.section(QLatin1Char('|'), 1, 1) + QLatin1Char('=') + r.section(QLatin1Char('|'), 2, 2);
    QCOMPARE(pieValues(*s), chart);
    QCOMPARE(s->pie()->shownCount(), 1);
}

void TestEstrusAnalyses::noIntervalsShowZeroNotNan()
{
    AnalysisFarm farm;
    fillHerd(farm);
    auto s = openAnalysis<CFFaQingSD>(farm.db);
    QVERIFY(analysePeriod(*s, "20240101", "20241231"));
    QCOMPARE(gridRows(*s).last(), QStringLiteral("8|合计|0|0.00"));
    QCOMPARE(gridRows(*s).first(), QStringLiteral("1|0-3天|0|0.00"));
    auto m = openAnalysis<CFFaQingYF>(farm.db);
    QVERIFY(analysePeriod(*m, "20240101", "20240301"));
    QCOMPARE(gridRows(*m), (QStringList{"1|2024年01月|0.00|0|0.00", "2|2024年02月|0.00|0|0.00"}));
}

void TestEstrusAnalyses::monthsCountARecordOfThe1stOnce()
{
    // February and March (the end date's month is not shown). Litters of 1 March and a
    // return on 1 March belong to March only; with each window reaching the next month's
    // first day they would be counted in February as well.
    AnalysisFarm farm;
    farm.litter(tag("LL", 1), 1, QStringLiteral("20250210"));
    farm.mating(tag("LL", 1), QStringLiteral("20250220A"), 2); // Feb: 10 days
    farm.litter(tag("LL", 2), 1, QStringLiteral("20250301"));
    farm.mating(tag("LL", 2), QStringLiteral("20250304A"), 2); // Mar: 3
    farm.litter(tag("YY", 3), 1, QStringLiteral("20250301"));
    farm.mating(tag("YY", 3), QStringLiteral("20250305A"), 2); // Mar: 4
    farm.mating(tag("LL", 4), QStringLiteral("20250301A"), 1, "Y");
    farm.mating(tag("LL", 4), QStringLiteral("20250301P"), 1); // Mar: 0
    farm.litter(tag("LL", 5), 2, QStringLiteral("20250310"));
    farm.mating(tag("LL", 5), QStringLiteral("20250305A"), 3); // Mar: -5, counted in the month
    farm.litter(tag("LL", 6), 1, QStringLiteral("20250402"));
    farm.mating(tag("LL", 6), QStringLiteral("20250409A"), 2); // April: not shown
    auto s = openAnalysis<CFFaQingYF>(farm.db);
    QVERIFY(analysePeriod(*s, "20250201", "20250415"));
    // Feb 1 interval of 10 days; Mar 4 intervals, 3 + 4 + 0 - 5 = 2 days.
    QCOMPARE(gridRows(*s), (QStringList{"1|2025年02月|10.00|1|20.00", "2|2025年03月|0.50|4|80.00"}));
    QCOMPARE(pieValues(*s), (QStringList{"2025.02=1", "2025.03=4"}));

    QVERIFY(analysePeriod(*s, "20250201", "20250415", "YY"));
    QCOMPARE(gridRows(*s), (QStringList{"1|2025年02月|0.00|0|0.00", "2|2025年03月|4.00|1|100.00"}));
}

QTEST_MAIN(TestEstrusAnalyses)
#include "test_estrusanalyses.moc"
