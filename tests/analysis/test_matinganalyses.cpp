// 配种分析 screens on small herds worked out by hand: the mating rate (never above 100 %),
// return rates by period and by month, matings per parity, boar weeks, and the methods.
#include "analysisfixture.h"
#include "matinganalyses.h"

class TestMatingAnalyses : public QObject
{
    Q_OBJECT
private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2025, 12, 11), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void matingRateCountsFarmSows_data();
    void matingRateCountsFarmSows();
    void matingRateByMonth();
    void returnRate_data();
    void returnRate();
    void returnRateByMonthCountsThe1stOnce();
    void matingsPerParity();
    void boarWeeks_data();
    void boarWeeks();
    void methods();
    void methodsWithoutMatingsShowZero();
};

namespace {
QString tag(const char* breed, int n)
{
    return AnalysisFarm::tag(breed, n);
}

// Cards as the data-entry screens keep them: 返情日期 and 断奶日期 emptied.
//  LL1 mated in the period; LL2 mated only before it; LL3 never mated; LL6 first mated
//  after it; YY4 left the farm before the period; YY5 left during it, mated in it; a boar;
//  and a mating of a sow without a card.
void fillHerd(AnalysisFarm& farm)
{
    farm.card(tag("LL", 1));
    farm.mating(tag("LL", 1), QStringLiteral("20250310A"), 1);
    farm.card(tag("LL", 2));
    farm.mating(tag("LL", 2), QStringLiteral("20241201A"), 1);
    farm.card(tag("LL", 3));
    farm.card(tag("LL", 6));
    farm.mating(tag("LL", 6), QStringLiteral("20260105A"), 1);
    farm.card(tag("YY", 4), "F", "yes");
    farm.mating(tag("YY", 4), QStringLiteral("20240901A"), 1);
    farm.leaves(tag("YY", 4), "F", QStringLiteral("20241101"));
    farm.card(tag("YY", 5), "F", "yes");
    farm.mating(tag("YY", 5), QStringLiteral("20250201A"), 1);
    farm.leaves(tag("YY", 5), "F", QStringLiteral("20250601"));
    farm.card(QStringLiteral("DD0000000000099"), "M");
    farm.mating(tag("LL", 9), QStringLiteral("20250401A"), 1);
}
} // namespace

void TestMatingAnalyses::matingRateCountsFarmSows_data()
{
    QTest::addColumn<QString>("breed");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("chart");
    // Eligible LL1, LL2, YY5; mated LL1, YY5. Reading eligibility from the card's state
    // dates would find no sow at all and show 3 × 100 = 300.00.
    QTest::newRow("all breeds") << "所有品种" << "1|3|2|66.67" << QStringList{"参加配种=2", "未参加配种=1"};
    QTest::newRow("LL") << "LL" << "1|2|1|50.00" << QStringList{"参加配种=1", "未参加配种=1"};
    QTest::newRow("DD: nobody") << "DD" << "1|0|0|0.00" << QStringList{"参加配种=0", "未参加配种=0"};
}

void TestMatingAnalyses::matingRateCountsFarmSows()
{
    QFETCH(QString, breed);
    QFETCH(QString, row);
    QFETCH(QStringList, chart);
    AnalysisFarm farm;
    fillHerd(farm);
    auto s = openAnalysis<CFPPeiZhongLvSD>(farm.db);
    QVERIFY(analysePeriod(*s, "20250101", "20251231", breed));
    QCOMPARE(gridRows(*s), QStringList{row});
    QCOMPARE(pieValues(*s), chart);
}

void TestMatingAnalyses::matingRateByMonth()
{
    // February and March. LL1 is first mated on 1 March: March's, not February's. YY5
    // leaves on 20 February: eligible in February, gone before March.
    AnalysisFarm farm;
    farm.card(tag("LL", 1));
    farm.mating(tag("LL", 1), QStringLiteral("20250301A"), 1);
    farm.card(tag("LL", 2));
    farm.mating(tag("LL", 2), QStringLiteral("20250215A"), 1);
    farm.card(tag("YY", 5), "F", "yes");
    farm.mating(tag("YY", 5), QStringLiteral("20250205A"), 1);
    farm.leaves(tag("YY", 5), "F", QStringLiteral("20250220"));
    auto s = openAnalysis<CFPPeiZhongLvYF>(farm.db);
    QVERIFY(analysePeriod(*s, "20250201", "20250415"));
    QCOMPARE(gridRows(*s), (QStringList{"2025年02月|2|2|100.00", "2025年03月|2|1|50.00"}));
    QCOMPARE(pieValues(*s), (QStringList{"2025.02=2", "2025.03=1"}));
}

void TestMatingAnalyses::returnRate_data()
{
    QTest::addColumn<QString>("breed");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("chart");
    QTest::newRow("all") << "所有品种" << "20250101" << "1|4|1|25.00" << QStringList{"未返情=3", "返情=1", "配种次数=4"};
    QTest::newRow("YY") << "YY" << "20250101" << "1|1|0|0.00" << QStringList{"未返情=1", "返情=0", "配种次数=1"};
    QTest::newRow("no matings: 0.00") << "所有品种" << "20240101" << "1|0|0|0.00"
                                      << QStringList{"未返情=0", "返情=0", "配种次数=0"};
}

void TestMatingAnalyses::returnRate()
{
    QFETCH(QString, breed);
    QFETCH(QString, from);
    QFETCH(QString, row);
    QFETCH(QStringList, chart);
    AnalysisFarm farm;
    farm.mating(tag("LL", 1), QStringLiteral("20250101A"), 1, "Y"); // the first day's A: inside
    farm.mating(tag("LL", 1), QStringLiteral("20250122A"), 1);
    farm.mating(tag("LL", 2), QStringLiteral("20250630P"), 1);
    farm.mating(tag("YY", 3), QStringLiteral("20250630P"), 1);
    farm.mating(tag("YY", 3), QStringLiteral("20250701A"), 1, "Y"); // after the end
    auto s = openAnalysis<CFPFanQingLvSD>(farm.db);
    QVERIFY(analysePeriod(*s, from, from.left(4) + QStringLiteral("0630"), breed));
    QCOMPARE(gridRows(*s), QStringList{row});
    QCOMPARE(pieValues(*s), chart);
}

void TestMatingAnalyses::returnRateByMonthCountsThe1stOnce()
{
    // A returned mating on 1 March with a February-March period: March's only. Windows
    // reaching the next month's first day would also give February 2 matings, 1 return.
    AnalysisFarm farm;
    farm.mating(tag("LL", 1), QStringLiteral("20250210A"), 1);
    farm.mating(tag("LL", 2), QStringLiteral("20250301A"), 1, "Y");
    farm.mating(tag("LL", 3), QStringLiteral("20250331P"), 1);
    farm.mating(tag("LL", 4), QStringLiteral("20250401A"), 1, "Y"); // April is not shown
    auto s = openAnalysis<CFPFanQingLvYF>(farm.db);
    QVERIFY(analysePeriod(*s, "20250201", "20250415"));
    QCOMPARE(gridRows(*s), (QStringList{"2025年02月|1|0|0.00", "2025年03月|2|1|50.00"}));
    QCOMPARE(pieValues(*s), (QStringList{"2025.02=0", "2025.03=1"}));
}

void TestMatingAnalyses::matingsPerParity()
{
    AnalysisFarm farm;
    int day = 1;
    auto matings = [&](const QString& sow, int parity, int n) {
        for (int i = 0; i < n; ++i)
            farm.mating(sow, QStringLiteral("202503%1A").arg(day++, 2, 10, QLatin1Char('0')), parity);
    };
    matings(tag("LL", 1), 1, 1);
    matings(tag("LL", 1), 2, 2); // the same sow, another parity: its own row
    matings(tag("LL", 2), 1, 3);
    matings(tag("YY", 3), 1, 4);
    matings(tag("YY", 4), 2, 5);
    auto s = openAnalysis<CFPChengGongCiShuM>(farm.db);
    QVERIFY(analysePeriod(*s, "20250301", "20250331"));
    QCOMPARE(gridRows(*s), (QStringList{"1|1次配成|1|20.00", "2|2次配成|1|20.00", "3|3次配成|1|20.00",
                                        "4|>3次配成|2|40.00", "5|合计|5|100.00"}));
    QCOMPARE(pieValues(*s), (QStringList{"1次配成=1", "2次配成=1", "3次配成=1", ">3次配成=2"}));
    QVERIFY(analysePeriod(*s, "20250301", "20250331", "YY"));
    QCOMPARE(gridRows(*s).mid(3), (QStringList{"4|>3次配成|2|100.00", "5|合计|2|100.00"}));
    QVERIFY(analysePeriod(*s, "20240301", "20240331"));
    QCOMPARE(gridRows(*s).last(), QStringLiteral("5|合计|0|0.00"));
}

void TestMatingAnalyses::boarWeeks_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("rows");
    // Weeks 1-7 (5 matings), 8-14 (3), 15-21 (1), 22-31 (0).
    QTest::newRow("March") << "20250301" << "20250331"
                           << QStringList{"1|=0|1|25.00", "2|=1|1|25.00", "3|=2|0|0.00", "4|=3|1|25.00", "5|>3|1|25.00",
                                          "6|合计|4|100.00"};
    // From the 10th: 10-14 (3 matings) and, the end date being a boundary, 15-21 with the
    // mating of the 15th. Stopping before the end date's week would lose that mating.
    QTest::newRow("10th to 15th") << "20250310" << "20250315"
                                  << QStringList{"1|=0|0|0.00", "2|=1|1|50.00", "3|=2|0|0.00", "4|=3|1|50.00",
                                                 "5|>3|0|0.00", "6|合计|2|100.00"};
}

void TestMatingAnalyses::boarWeeks()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, rows);
    AnalysisFarm farm;
    const QString boar = tag("DD", 7);
    for (const char* t : {"20250301A", "20250302A", "20250303A", "20250304A", "20250305A", "20250310A", "20250311A",
                          "20250314P", "20250315A"})
        farm.mating(tag("LL", 1), QString::fromLatin1(t), 1, "N", boar);
    farm.mating(tag("LL", 2), QStringLiteral("20250312A"), 1, "N", tag("DD", 8)); // another boar
    auto s = openAnalysis<CFPPinDuG>(farm.db);
    QVERIFY(analysePeriod(*s, from, to, boar));
    QCOMPARE(gridRows(*s), rows);
    QCOMPARE(pieValues(*s).size(), 5);
}

void TestMatingAnalyses::methods()
{
    AnalysisFarm farm;
    const QString boar = tag("DD", 7);
    farm.mating(tag("LL", 1), QStringLiteral("20250301A"), 1, "Y", boar, QStringLiteral("人工授精"));
    farm.mating(tag("LL", 2), QStringLiteral("20250302A"), 1, "N", boar, QStringLiteral("人工"));
    farm.mating(tag("LL", 3), QStringLiteral("20250303A"), 1, "Y", boar, QStringLiteral("自然交配"));
    farm.mating(tag("LL", 4), QStringLiteral("20250304A"), 1, "N", boar, QString()); // no method: natural
    farm.mating(tag("LL", 5), QStringLiteral("20250305A"), 1, "N", boar, QStringLiteral("人工辅助本交"));
    farm.mating(tag("LL", 6), QStringLiteral("20250306A"), 1, "Y", tag("DD", 8), QStringLiteral("人工授精"));

    auto g = openAnalysis<CFPPeiZhongLvG>(farm.db);
    QVERIFY(analysePeriod(*g, "20250301", "20250331", boar));
    QCOMPARE(gridRows(*g, 0), (QStringList{"配种次数|返情次数（人繁）|返情次数（自交）|未返情次数（人繁）|未返情次数（自交）",
                                           "5|1|1|2|1"}));
    QCOMPARE(pieValues(*g), (QStringList{"配种次数=5", "人繁返情=1", "自交返情=1", "人繁未返情=2", "自交未返情=1"}));

    auto m = openAnalysis<CFPPeiZhongFangShi>(farm.db);
    QVERIFY(analysePeriod(*m, "20250301", "20250331"));
    // Artificial 4 of 6 matings and 2 of 3 returns; natural 2 and 1.
    QCOMPARE(gridRows(*m), (QStringList{"人工受精|4(66.67)|2(66.67)", "自然交配|2(33.33)|1(33.33)", "合计|6|3"}));
    QCOMPARE(pieValues(*m), (QStringList{"人工配种=4", "人配返情=2", "自然交配=2", "自交返情=1"}));
}

void TestMatingAnalyses::methodsWithoutMatingsShowZero()
{
    AnalysisFarm farm;
    auto m = openAnalysis<CFPPeiZhongFangShi>(farm.db);
    QVERIFY(analysePeriod(*m, "20250301", "20250331"));
    QCOMPARE(gridRows(*m), (QStringList{"人工受精|0(0.00)|0(0.00)", "自然交配|0(0.00)|0(0.00)", "合计|0|0"}));
}

QTEST_MAIN(TestMatingAnalyses)
#include "test_matinganalyses.moc"
