#include "appclock.h"
#include "ccleanupdlg.h"
#include "dbmaintenance.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QSet>
#include <QTest>

// The cleanup dialog: every category removes exactly its records before the cut-off
// day, one transaction at a time, and Cancel changes nothing.
class TestCleanupDlg : public QObject
{
    Q_OBJECT

    // Cut-off day 2025-06-10; see each row's note for what should take it.
    static void fill(const TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,出生日期,不存在) values"
            "('OLDSOW000000001','F','20200101','no'),('NEWSOW000000002','F','20250610','no'),('NODATE000000003','F',NULL,'no'),"
            "('DEADSOW00000004','F','20250610','yes'),('SOLDSOW00000005','F','20250610','yes'),('CULLBOAR0000007','M','20250610','yes');"
            "insert into 配种(母猪耳号,[配种日期(1)]) values"
            "('OLDSOW000000001','20250701A'),('NEWSOW000000002','20250609P'),('NEWSOW000000002','20250610A'),"
            "('NEWSOW000000002','20250610P'),('DEADSOW00000004','20250701A'),('SOLDSOW00000005','20250701A');"
            "insert into 产仔记录(母猪耳号,分娩日期,仔猪耳号) values"
            "('OLDSOW000000001','20250701','P1'),('NEWSOW000000002','20250609','P2'),('NEWSOW000000002','20250610','P3'),"
            "('DEADSOW00000004','20250701','P4'),('SOLDSOW00000005','20250701','P5');"
            "insert into 子猪管理(耳号,原状态,转群,转群时间,转出,转出时间) values"
            "('FAT1',NULL,'肥育猪','20250601',NULL,NULL),('RES1',NULL,'后备猪','20250601',NULL,NULL),"
            "('DIE1',NULL,'死亡','20250601',NULL,NULL),('DEADSOW00000004','F',NULL,NULL,'死亡','20250601'),"
            "('SOLDSOW00000005','F',NULL,NULL,'出售','20250601'),('SALE1',NULL,'肥育猪','20250612','出售','20250601'),"
            "('CULLBOAR0000007','M',NULL,NULL,'淘汰','20250601'),('LATE1','F',NULL,NULL,'出售','20250610')")));
    }

    static QSet<QString> contents(const TempHerdDb& db)
    {
        QSet<QString> keys;
        for (const QString& r : db.rows(QStringLiteral("select 耳号 from 种猪卡")))
            keys << QStringLiteral("card:") + r;
        for (const QString& r : db.rows(QStringLiteral("select 母猪耳号,[配种日期(1)] from 配种")))
            keys << QStringLiteral("mating:") + r;
        for (const QString& r : db.rows(QStringLiteral("select 仔猪耳号 from 产仔记录")))
            keys << QStringLiteral("litter:") + r;
        for (const QString& r : db.rows(QStringLiteral("select 耳号 from 子猪管理")))
            keys << QStringLiteral("pig:") + r;
        return keys;
    }

    static QStringList sorted(const QSet<QString>& s)
    {
        QStringList l(s.begin(), s.end());
        l.sort();
        return l;
    }

    static void choose(CCleanupDlg& dlg, int family, int index)
    {
        dlg.dateEdit(family)->setDate(QDate(2025, 6, 10));
        dlg.categoryList(family)->setCurrentIndex(index);
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void layoutAndLists()
    {
        CCleanupDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("数据库清理"));
        QCOMPARE(dlg.categoryList(1)->count(), 5);
        QCOMPARE(dlg.categoryList(2)->count(), 6);
        QCOMPARE(dlg.categoryList(1)->itemText(4), QStringLiteral("转群的转群数据(含种猪)"));
        QCOMPARE(dlg.categoryList(2)->itemText(2), QStringLiteral("死亡的猪群基本和转群数据"));
        QCOMPARE(dlg.dateEdit(1)->date(), QDate(2026, 12, 11));
        QCOMPARE(dlg.dateEdit(2)->date(), QDate(2026, 12, 11));
    }

    void eachCategoryRemovesItsRecords_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QStringList>("removed");
        QTest::newRow("1/0 all") << 1 << 0 << "发生的所有数据"
                                 << QStringList{"card:OLDSOW000000001", "litter:P1", "litter:P2", "mating:NEWSOW000000002|20250609P",
                                                "mating:OLDSOW000000001|20250701A", "pig:DIE1", "pig:FAT1", "pig:RES1"};
        QTest::newRow("1/1 cards") << 1 << 1 << "出生的种猪档案数据"
                                   << QStringList{"card:OLDSOW000000001", "litter:P1", "mating:OLDSOW000000001|20250701A"};
        // Matings of the day before go, "P" ones included; those of the cut-off day stay.
        QTest::newRow("1/2 matings") << 1 << 2 << "参加配种的配种数据" << QStringList{"mating:NEWSOW000000002|20250609P"};
        QTest::newRow("1/3 litters") << 1 << 3 << "生产的产仔数据" << QStringList{"litter:P2"};
        QTest::newRow("1/4 transfers") << 1 << 4 << "转群的转群数据" << QStringList{"pig:DIE1", "pig:FAT1", "pig:RES1"};
        QTest::newRow("2/0 fattening") << 2 << 0 << "转群的肥育猪转群数据" << QStringList{"pig:FAT1"};
        QTest::newRow("2/1 reserve") << 2 << 1 << "转群的后备猪转群数据" << QStringList{"pig:RES1"};
        QTest::newRow("2/2 dead") << 2 << 2 << "死亡的猪群的基本和转群数据"
                                  << QStringList{"card:DEADSOW00000004", "litter:P4", "mating:DEADSOW00000004|20250701A", "pig:DEADSOW00000004",
                                                 "pig:DIE1"};
        // Every sale goes, breeding pigs' included; their cards stay.
        QTest::newRow("2/3 sales") << 2 << 3 << "出售的仔猪转群数据" << QStringList{"pig:SALE1", "pig:SOLDSOW00000005"};
        QTest::newRow("2/4 sold stock") << 2 << 4 << "出售的种猪所有数据"
                                        << QStringList{"card:SOLDSOW00000005", "litter:P5", "mating:SOLDSOW00000005|20250701A",
                                                       "pig:SOLDSOW00000005"};
        QTest::newRow("2/5 culled stock") << 2 << 5 << "淘汰的种猪所有数据" << QStringList{"card:CULLBOAR0000007", "pig:CULLBOAR0000007"};
    }

    void eachCategoryRemovesItsRecords()
    {
        QFETCH(int, family);
        QFETCH(int, index);
        QFETCH(QString, confirmation);
        QFETCH(QStringList, removed);
        TempHerdDb db;
        fill(db);
        const QSet<QString> before = contents(db);
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Ok);
        CCleanupDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        choose(dlg, family, index);
        QVERIFY(dlg.cleanUp(family));
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).text, QStringLiteral("您将清理2025年06月10日之前") + confirmation + QStringLiteral("\n取消改项操作请按 '取消' "));
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("警告"));
        QCOMPARE(msgs.shown().at(0).buttons, MsgButtons::OkCancel);
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Warning);
        QCOMPARE(dlg.statusText(), QStringLiteral("  清理数据库完毕!"));
        QCOMPARE(sorted(before - contents(db)), removed);
        QCOMPARE(contents(db) - before, QSet<QString>{});
        QCOMPARE(db.scalar(QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
    }

    void cancelChangesNothing()
    {
        TempHerdDb db;
        fill(db);
        const QSet<QString> before = contents(db);
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Cancel);
        CCleanupDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        choose(dlg, 1, 0);
        QVERIFY(!dlg.cleanUp(1));
        QCOMPARE(dlg.statusText(), QStringLiteral("  取消清理数据库操作"));
        QCOMPARE(contents(db), before);
        // A screen that stays open at its own question stops the cleanup too.
        DbMaintenance::setScreenCloser([] { return false; });
        msgs.queue(MsgAnswer::Ok);
        QVERIFY(!dlg.cleanUp(2));
        DbMaintenance::setScreenCloser({});
        QCOMPARE(dlg.statusText(), QStringLiteral("  取消清理数据库操作"));
        QCOMPARE(contents(db), before);
    }

    void aFailureHalfWayRemovesNothing()
    {
        TempHerdDb db;
        fill(db);
        // The dead sow's litter cannot be deleted: by then her card and matings are gone.
        QVERIFY(db.exec(QStringLiteral("create trigger keep_p4 before delete on 产仔记录 when old.仔猪耳号='P4' begin select raise(abort,'kept'); end")));
        const QSet<QString> before = contents(db);
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Ok);
        CCleanupDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        choose(dlg, 2, 2);
        QVERIFY(!dlg.cleanUp(2));
        QCOMPARE(msgs.texts().last(), QStringLiteral("清理数据库失败，数据没有改变!"));
        QCOMPARE(msgs.shown().last().caption, QStringLiteral("错误"));
        QCOMPARE(dlg.statusText(), QStringLiteral("  清理数据库失败!"));
        QCOMPARE(contents(db), before);
        // The dialog goes on working.
        msgs.queue(MsgAnswer::Ok);
        choose(dlg, 2, 0);
        QVERIFY(dlg.cleanUp(2));
        QCOMPARE(sorted(before - contents(db)), QStringList{"pig:FAT1"});
    }
};

QTEST_MAIN(TestCleanupDlg)
#include "test_cleanupdlg.moc"
