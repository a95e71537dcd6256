#include "appclock.h"
#include "cbfenxi.h"
#include "gridctrl.h"
#include "reportheading.h"
#include "testsupport.h"

#include <QComboBox>
#include <QTest>

// 生产报表 on a small herd kept as the screens keep it, with every figure worked by hand.
// Where the report's rule differs from the old written one, the comment gives the
// number the old rule showed.
class TestProductionReport : public QObject
{
    Q_OBJECT

    // The run is on 15 June 2026: the month column counts from 20260601, the year from 20260101.
    static void addHerd(TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,返情日期,断奶日期,预产日期,来源时间,不存在) values"
            // pregnant: the mating screen emptied both dates
            "('LLAAAA123000001','F',NULL,NULL,'20260623','20240101','no'),"
            // returned, then aborted
            "('LLAAAA123000002','F','20260410',NULL,NULL,'20240101','no'),"
            // weaned
            "('LLAAAA123000003','F',NULL,'20260126',NULL,'20240101','no'),"
            // a gilt bought this year, never mated
            "('LLAAAA125000004','F','none','none',NULL,'20260201','no'),"
            // culled this year
            "('LLAAAA123000005','F',NULL,'20260101',NULL,'20240101','yes'),"
            "('YYAAAA123000006','M',NULL,NULL,NULL,'20240101','no')")));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 配种(母猪耳号,[配种日期(1)],胎次,返情否,异常) values"
            "('LLAAAA123000001','20260301A','2','N',NULL),"
            "('LLAAAA123000002','20260301A','1','Y',NULL),"
            "('LLAAAA123000002','20260322A','1','N','流产'),"
            "('LLAAAA123000003','20250801A','1','N',NULL)")));
        QVERIFY(db.exec(QStringLiteral("insert into 子猪管理(耳号,原状态,转出,转出时间) values('LLAAAA123000005','F','淘汰','20260410')")));
        // One litter on 5 January: four born alive (1.2, 1.4, 1.5, 1.5 kg), one stillborn,
        // one mummified; both dead-born left the litter at birth. Two piglets weaned at
        // 21 days (6 and 7 kg), one died the next day, one after 15 days.
        const char* const piglets[][6] = {
            {"01", "正常", "1.2", "保育", "20260126", "6.0"}, {"02", "正常", "1.4", "保育", "20260126", "7.0"},
            {"03", "正常", "1.5", "死亡", "20260106", ""},    {"04", "正常", "1.5", "死亡", "20260120", ""},
            {"05", "死亡", "0.8", "死亡", "20260105", ""},    {"06", "木乃伊", "0.3", "死亡", "20260105", ""},
        };
        for (const auto& p : piglets)
            QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,分娩日期,仔猪耳号,仔猪状态,初生重,转群去向,转群日期,实断奶重,实断奶日) "
                                           "values('LLAAAA123000003','1','20260105','LLAAAA1260001%1','%2','%3','%4','%5',%6,%7)")
                                .arg(QString::fromUtf8(p[0]), QString::fromUtf8(p[1]), QString::fromUtf8(p[2]),
                                     QString::fromUtf8(p[3]), QString::fromUtf8(p[4]))
                                .arg(*p[5] ? QStringLiteral("'%1'").arg(QString::fromUtf8(p[5])) : QStringLiteral("NULL"))
                                .arg(*p[5] ? QStringLiteral("'21'") : QStringLiteral("NULL"))));
    }

    static std::unique_ptr<CBFenXi> run(TempHerdDb& db, const QString& breed = QStringLiteral("所有品种"))
    {
        auto s = std::make_unique<CBFenXi>();
        s->setDatabasePath(db.path());
        if (!s->initialUpdate())
            return nullptr;
        s->exportSetBreed(breed);
        s->analyse();
        return s;
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 6, 15), QTime(10, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void layout()
    {
        TempHerdDb db;
        auto s = run(db);
        CGridCtrl* g = s->grid();
        QCOMPARE(s->windowTitle(), QStringLiteral("生产报表"));
        QCOMPARE(g->GetRowCount(), 30);
        QCOMPARE(g->GetColumnCount(), 6);
        QCOMPARE(g->GetFixedRowCount(), 1);
        QCOMPARE(g->GetFixedColumnCount(), 1);
        QCOMPARE(g->GetItemText(0, 0), QStringLiteral("品种:所有品种"));
        QCOMPARE(g->GetItemText(0, 5), QStringLiteral("完成度(%)"));
        QCOMPARE(g->GetItemText(4, 0), QStringLiteral("产仔"));
        QCOMPARE(g->model()->mergeAt(5, 0), QRect(0, 4, 1, 7));
        QCOMPARE(g->GetItemText(10, 1), QStringLiteral("出生重"));
        QCOMPARE(g->GetItemText(28, 1), QStringLiteral("流产率"));
        QCOMPARE(g->GetItemText(29, 0), QStringLiteral("公猪"));
        QCOMPARE(g->GetPrintHead1(), ReportHeading::ownerName() + QStringLiteral("生产报告"));
        QCOMPARE(g->GetPrintHead2(), QStringLiteral("\u3000"));
    }

    void cellsOnAHandWorkedHerd_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("completion");
        QTest::newRow("1 matings") << 1 << "0" << "3" << "700" << "0.43%";
        QTest::newRow("2 returns") << 2 << "0" << "1" << "" << "";
        QTest::newRow("3 abortions") << 3 << "0" << "1" << "" << "";
        // Litters per sow so far this year: 1 / 3 sows against 2.3 (the old rule: 43.48%).
        QTest::newRow("4 litters") << 4 << "0" << "1" << "2.3" << "14.49%";
        // No litter this month: the divisor 0 counts as 1.
        QTest::newRow("5 stillborn") << 5 << "0/0.00" << "1/1.00" << "1" << "";
        QTest::newRow("6 live-born") << 6 << "0/0.00" << "4/4.00" << "11.5" << "";
        QTest::newRow("7 mummified") << 7 << "0/0.00" << "1/1.00" << "0.4" << "";
        QTest::newRow("8 smallest litter") << 8 << "0" << "6" << "7" << "";
        QTest::newRow("9 highest parity") << 9 << "0" << "1" << "8" << "";
        // The mean birth weight of the live-born, 5.6 / 4 (the old rule showed the sum 5.60).
        QTest::newRow("10 birth weight") << 10 << "0.00" << "1.40" << "1.4" << "";
        // The mummy is no death after birth (the old rule counted it: 2).
        QTest::newRow("11 died 0-1") << 11 << "0" << "1" << "0.5" << "";
        QTest::newRow("12 died 2-8") << 12 << "0" << "0" << "0.6" << "";
        QTest::newRow("13 died 9+") << 13 << "0" << "1" << "0.4" << "";
        QTest::newRow("14 died") << 14 << "0" << "2" << "" << "";
        QTest::newRow("15 weaned litters") << 15 << "0" << "1" << "" << "";
        QTest::newRow("16 weaned") << 16 << "0/0.00" << "2/2.00" << "" << "";
        QTest::newRow("17 weaning weight") << 17 << "0.00" << "6.50" << "6.5" << "";
        QTest::newRow("18 weaning age") << 18 << "0.00" << "21.00" << "24" << "";
        QTest::newRow("19 gilts") << 19 << "1" << "1" << "60" << "1.67%";
        // The mated sows in the herd (the old rule: 0, as no card keeps both dates).
        QTest::newRow("20 sows") << 20 << "3" << "3" << "300" << "1.00%";
        QTest::newRow("21 added") << 21 << "0" << "1" << "" << "";
        QTest::newRow("22 culled") << 22 << "0" << "1" << "" << "";
        QTest::newRow("23 died") << 23 << "0" << "0" << "" << "";
        QTest::newRow("24 change") << 24 << "0" << "2" << "" << "";
        // Fractions in the cells, percentages in the targets: 2/3 = 66.67 % against 40
        // (the old rule: 0.67 against 40, 1.67%; with S = 1 even 2.00, 5.00%).
        QTest::newRow("25 renewal") << 25 << "0.00" << "0.67" << "40" << "166.67%";
        QTest::newRow("26 farrowing rate") << 26 << "0.00" << "0.33" << "85" << "39.22%";
        QTest::newRow("27 return rate") << 27 << "0.00" << "0.33" << "8" << "416.67%";
        QTest::newRow("28 abortion rate") << 28 << "0.00" << "0.33" << "1" << "3333.33%";
        QTest::newRow("29 boars") << 29 << "1" << "1" << "15" << "6.67%";
    }

    void cellsOnAHandWorkedHerd()
    {
        QFETCH(int, row);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, target);
        QFETCH(QString, completion);
        TempHerdDb db;
        addHerd(db);
        ScriptedMessages msgs;
        auto s = run(db);
        CGridCtrl* g = s->grid();
        QCOMPARE(g->GetItemText(row, 2), month);
        QCOMPARE(g->GetItemText(row, 3), year);
        QCOMPARE(g->GetItemText(row, 4), target);
        QCOMPARE(g->GetItemText(row, 5), completion);
        QVERIFY(msgs.shown().isEmpty());
    }

    void aZeroTargetLeavesTheCompletionEmpty()
    {
        TempHerdDb db;
        addHerd(db);
        QVERIFY(db.exec(QStringLiteral("update 生产目标 set 公猪总数='0', 基础母猪数=NULL where 品种='所有品种'")));
        auto s = run(db);
        QCOMPARE(s->grid()->GetItemText(29, 4), QStringLiteral("0"));
        QVERIFY(s->grid()->GetItemText(29, 5).isEmpty());
        QVERIFY(s->grid()->GetItemText(20, 4).isEmpty());
        QVERIFY(s->grid()->GetItemText(20, 5).isEmpty());
        QCOMPARE(s->grid()->GetItemText(19, 5), QStringLiteral("1.67%"));
    }

    void aBreedWithoutTargetsSaysSo()
    {
        TempHerdDb db;
        addHerd(db);
        ScriptedMessages msgs;
        auto s = run(db, QStringLiteral("YY"));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("品种：YY今年的生产目标还没有确定！\n请先确定其生产目标。")});
        CGridCtrl* g = s->grid();
        QCOMPARE(g->GetItemText(0, 0), QStringLiteral("品种:YY"));
        QCOMPARE(g->GetItemText(29, 3), QStringLiteral("1"));
        QCOMPARE(g->GetItemText(20, 3), QStringLiteral("0"));
        for (int r = 1; r < 30; ++r) {
            QVERIFY(g->GetItemText(r, 4).isEmpty());
            QVERIFY(g->GetItemText(r, 5).isEmpty());
        }
        // A breed of its own target row: the LL figures are the whole herd's but the boar.
        QVERIFY(db.exec(QStringLiteral("insert into 生产目标 select 'LL',基础母猪数,年更新率,年产窝数,产仔率,返情率,[活仔数/窝],[死胎数/窝],"
                                       "[木乃伊/窝],平均出生重,[0-1仔猪死亡数],[2-8仔猪死亡数],[8以上仔猪死亡数],后备母猪数,流产率,断奶日龄,"
                                       "断奶重,母猪最高胎次,窝最少产仔数,配种总数,公猪总数 from 生产目标 where 品种='所有品种'")));
        msgs.clear();
        s->exportSetBreed(QStringLiteral("LL"));
        QVERIFY(s->analyse());
        QVERIFY(msgs.shown().isEmpty());
        QCOMPARE(g->GetItemText(20, 3), QStringLiteral("3"));
        QCOMPARE(g->GetItemText(29, 3), QStringLiteral("0"));
        QCOMPARE(g->GetItemText(25, 5), QStringLiteral("166.67%"));
    }

    void refusesAShortBreedAndRunsTwiceAlike()
    {
        TempHerdDb db;
        addHerd(db);
        ScriptedMessages msgs;
        auto s = run(db, QStringLiteral("L"));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("品种选择错误")});
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        QVERIFY(s->grid()->GetItemText(1, 3).isEmpty());
        s->exportSetBreed(QStringLiteral("所有品种"));
        QVERIFY(s->analyse());
        QStringList first;
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 6; ++c)
                first << s->grid()->GetItemText(r, c);
        QVERIFY(s->analyse());
        QStringList second;
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 6; ++c)
                second << s->grid()->GetItemText(r, c);
        QCOMPARE(second, first);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 配种")), QStringLiteral("4"));
    }
};

QTEST_MAIN(TestProductionReport)
#include "test_productionreport.moc"
