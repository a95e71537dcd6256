#include "cbpeizhong.h"
#include "gridctrl.h"
#include "reportheading.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

// 配种报表: what each way of choosing selects, the period's edges, the grid and the title.
class TestMatingReport : public QObject
{
    Q_OBJECT

    static void addMatings(TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],[配种日期(2)],胎次,配种方式,返情否,预产日期,配种员,备注) values"
            "('LLAAAA125000101','YYAAAA124000301','20250101P','20250102A','2','本交','N','20250425','张','a'),"
            "('LLAAAA125000102','LLAAAA124000302','20250301A',NULL,'1','人工授精','Y','20250623','王',NULL),"
            "('YYAAAA125000201','YYAAAA124000301','20250601A','20250601P','3','本交','N','20250923','张',NULL),"
            "('LYAAAA125000301','YYAAAA124000301','20250701A',NULL,'1','本交','N','20251023','李',NULL),"
            "('LLAAAA125000101','YYAAAA124000301','20251231P',NULL,'3','本交','N','20260424','张','end P'),"
            "('LLAAAA125000103','YYAAAA124000301','20251231A',NULL,'1','本交','N','20260424','张','end A'),"
            "('LLAAAA125000104','YYAAAA124000301','20241231P',NULL,'1','本交','N','20250424','张','before')")));
        QVERIFY(db.exec(QStringLiteral("insert into 品种表 values('LY','长大')")));
    }

    static QStringList column(CGridCtrl* g, int col)
    {
        QStringList out;
        for (int r = 2; r < g->GetRowCount(); ++r)
            out << g->GetItemText(r, col);
        return out;
    }

private slots:
    void opensWithTheChoicesAndAnEmptyReport()
    {
        TempHerdDb db;
        addMatings(db);
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        QCOMPARE(screen.windowTitle(), QStringLiteral("配种报表"));
        // Pure breeds only, then 所有品种 selected; LY (a cross) is not offered.
        QStringList breeds;
        for (int i = 0; i < screen.breedCombo()->count(); ++i)
            breeds << screen.breedCombo()->itemText(i);
        QVERIFY(!breeds.contains(QStringLiteral("LY")));
        QVERIFY(breeds.contains(QStringLiteral("LL")));
        QCOMPARE(breeds.last(), QStringLiteral("所有品种"));
        QCOMPARE(screen.breedCombo()->currentText(), QStringLiteral("所有品种"));
        QVERIFY(screen.breedCombo()->isEnabled());
        QVERIFY(!screen.earTagCombo()->isEnabled());
        QCOMPARE(screen.earTagCombo()->count(), 6);
        CGridCtrl* g = screen.grid();
        QCOMPARE(g->GetRowCount(), 2);
        QCOMPARE(g->GetColumnCount(), 13);
        QCOMPARE(g->GetFixedRowCount(), 2);
        QCOMPARE(g->GetFixedColumnCount(), 1);
        QCOMPARE(g->GetItemText(0, 1), QStringLiteral("受配母猪"));
        QCOMPARE(g->GetItemText(1, 6), QStringLiteral("第二次"));
        QCOMPARE(g->GetItemText(0, 12), QStringLiteral("备注"));
        QCOMPARE(g->GetItemFormat(0, 0), 0x15u);
        screen.setMode(CBReportScreen::Mode::EarTag);
        QVERIFY(!screen.breedCombo()->isEnabled());
        QVERIFY(screen.earTagCombo()->isEnabled());
    }

    void selectsByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sows");
        QTest::addColumn<QString>("title");
        // The year 2025: the start date's "P" is in, the end date's "P" is not.
        QTest::newRow("one breed") << 0 << "LL"
                                   << QStringList{"LLAAAA125000101", "LLAAAA125000102", "LLAAAA125000103"}
                                   << "20250101-20251231品种:LL配种纪录";
        QTest::newRow("all breeds") << 0 << "所有品种"
                                    << QStringList{"LLAAAA125000101", "LLAAAA125000102", "LLAAAA125000103",
                                                   "LYAAAA125000301", "YYAAAA125000201"}
                                    << "20250101-20251231所有品种配种纪录";
        QTest::newRow("ear-tag beginning, typed in lower case") << 1 << "llaaaa1250001"
                                                                << QStringList{"LLAAAA125000101", "LLAAAA125000102",
                                                                               "LLAAAA125000103"}
                                                                << "20250101-20251231耳号似LLAAAA1250001配种纪录";
        QTest::newRow("ear-tag beginning not in the list") << 1 << "LY"
                                                           << QStringList{"LYAAAA125000301"}
                                                           << "20250101-20251231耳号似LY配种纪录";
    }

    void selectsByMode()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QStringList, sows);
        QFETCH(QString, title);
        TempHerdDb db;
        addMatings(db);
        ReportHeading::setOwnerNameSource([] { return QStringLiteral("红星猪场"); });
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        if (mode == 0)
            QVERIFY(screen.exportSetBreed(text));
        else
            QVERIFY(screen.exportSetEarTag(text));
        screen.setStartDate(QDate(2025, 1, 1));
        screen.setEndDate(QDate(2025, 12, 31));
        screen.analyseButton()->click();
        CGridCtrl* g = screen.grid();
        QCOMPARE(column(g, 1), sows);
        QCOMPARE(g->GetPrintHead1(), QStringLiteral("红星猪场"));
        QCOMPARE(g->GetPrintHead2(), title);
        QVERIFY(!column(g, 12).contains(QStringLiteral("end P")));
        QVERIFY(!column(g, 12).contains(QStringLiteral("before")));
        ReportHeading::setOwnerNameSource({});
    }

    void rowsCarryEveryColumn()
    {
        TempHerdDb db;
        addMatings(db);
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        screen.setStartDate(QDate(2025, 1, 1));
        screen.setEndDate(QDate(2025, 12, 31));
        QVERIFY(screen.analyse());
        CGridCtrl* g = screen.grid();
        QCOMPARE(g->GetRowCount(), 7);
        const QStringList first = {"1", "LLAAAA125000101", "LL", "YYAAAA124000301", "YY", "20250101P", "20250102A",
                                   "2", "本交", "N", "20250425", "张", "a"};
        for (int c = 0; c < first.size(); ++c)
            QCOMPARE(g->GetItemText(2, c), first.at(c));
        QCOMPARE(g->GetItemText(6, 0), QStringLiteral("5"));
        QVERIFY(g->GetItemText(3, 6).isEmpty());
    }

    void refusesAnEmptySelection()
    {
        TempHerdDb db;
        addMatings(db);
        ScriptedMessages msgs;
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        screen.setBreedText(QStringLiteral("L"));
        QVERIFY(!screen.analyse());
        screen.setMode(CBReportScreen::Mode::EarTag);
        screen.setEarTagText(QString());
        QVERIFY(!screen.analyse());
        QCOMPARE(msgs.texts(), (QStringList{QStringLiteral("品种选择错误"), QStringLiteral("母猪耳号错误\n至少填入你要输出的耳号前面部分")}));
        QCOMPARE(msgs.shown().at(1).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(1).icon, MsgIcon::Stop);
        QCOMPARE(screen.grid()->GetRowCount(), 2);
        QVERIFY(screen.analyseButton()->isEnabled());
    }

    void aQuoteInTheEarTagChangesNothing()
    {
        TempHerdDb db;
        addMatings(db);
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        QVERIFY(screen.exportSetEarTag(QStringLiteral("X' or '1'='1")));
        QVERIFY(screen.analyse());
        QCOMPARE(screen.grid()->GetRowCount(), 2);
    }

    void startsAYearBack()
    {
        TempHerdDb db;
        CBPeiZhong screen;
        screen.setDatabasePath(db.path());
        QVERIFY(screen.initialUpdate());
        QCOMPARE(screen.startDate(), screen.endDate().addYears(-1));
    }
};

QTEST_MAIN(TestMatingReport)
#include "test_matingreport.moc"
