// Data-entry screens when the database ends their transaction by itself (a commit or a
// write that fails on a full disk or an I/O error): the user is told that the unsaved
// changes were not stored, the grid shows what the file holds, and later edits are kept
// in a new transaction that "否" can still undo.
#include "appclock.h"
#include "cinpeiview.h"
#include "cinzaiview.h"
#include "ctamvoview.h"
#include "entryfixture.h"
#include "litterbook.h"

#include <QTest>
#include <sqlite3.h>

namespace {
const QString gilt = QStringLiteral("LLYY00000000001");
const QString gilt2 = QStringLiteral("LLYY00000000002");
const QString boar = QStringLiteral("DDAB00000000009");
const QString lostText = QStringLiteral("尚未保存的修改没有存入数据库");

int refuseCommit(void*)
{
    return 1; // the commit becomes a rollback, as one that fails on the disk
}
} // namespace

class TestEntryFaults : public QObject
{
    Q_OBJECT
private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2003, 1, 1), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void archiveFailedSaveShowsTheFileAndKeepsLaterEditsUndoable()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,出生重,不存在) values('%1','F','1.3','no')").arg(gilt)));
        ScriptedMessages msgs;
        auto v = openScreen<CTamvoView>(db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, 9, QStringLiteral("1.6")));
        QVERIFY(v->runCommand(Add));
        QVERIFY(g->EditCell(2, 1, gilt2));
        QVERIFY(v->isModified());
        QCOMPARE(g->GetRowCount(), 7);

        sqlite3_commit_hook(v->connection().handle(), refuseCommit, nullptr);
        msgs.clear();
        QVERIFY(v->runCommand(Save));
        sqlite3_commit_hook(v->connection().handle(), nullptr, nullptr);
        QCOMPARE(msgs.shown().size(), 1);
        QVERIFY(msgs.shown().at(0).text.contains(lostText));
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        // The grid shows what is stored: the old weight, no new card.
        QVERIFY(!v->isModified());
        QCOMPARE(g->GetRowCount(), 2);
        QCOMPARE(g->GetItemText(1, 9), QStringLiteral("1.3"));
        QCOMPARE(v->connection().TransLevel(), 0);

        // A later edit opens a new transaction; "否" at closing undoes it.
        QVERIFY(g->EditCell(1, 9, QStringLiteral("1.8")));
        QCOMPARE(v->connection().TransLevel(), 1);
        QCOMPARE(db.scalar(QStringLiteral("select 出生重 from 种猪卡")), QStringLiteral("1.3"));
        msgs.queue(MsgAnswer::No);
        QVERIFY(v->queryClose());
        QCOMPARE(db.rows(QStringLiteral("select 耳号,出生重 from 种猪卡")), QStringList{gilt + "|1.3"});
    }

    // Yes at the close question with a commit that fails: the screen stays, shows the
    // file, and closes without a question next time.
    void matingFailedSaveAtClosing()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','F','no'),('%2','M','no')").arg(gilt, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInPeiView>(db);
        QVERIFY(v->runCommand(Add));
        QVERIFY(v->grid()->EditCell(2, 1, gilt));
        QVERIFY(v->isModified());
        sqlite3_commit_hook(v->connection().handle(), refuseCommit, nullptr);
        msgs.queue(MsgAnswer::Yes);
        QVERIFY(!v->queryClose());
        sqlite3_commit_hook(v->connection().handle(), nullptr, nullptr);
        QVERIFY(msgs.shown().last().text.contains(lostText));
        QVERIFY(!v->isModified());
        QCOMPARE(v->grid()->GetItemText(2, 1), QString());
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 配种")), QStringLiteral("0"));
        msgs.clear();
        QVERIFY(v->queryClose());
        QVERIFY(msgs.shown().isEmpty());
    }

    // A write that takes the transaction down is told after the edit, and the grid
    // reloads; nothing of the lost edits is left in the file or on the screen.
    void writeThatEndsTheTransaction()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,出生重,不存在) values('%1','F','1.3','no')").arg(gilt)));
        ScriptedMessages msgs;
        auto v = openScreen<CTamvoView>(db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, 9, QStringLiteral("1.6")));
        QCOMPARE(v->connection().TransLevel(), 1);
        // SQLite rolls the whole transaction back under the screen (an I/O error).
        QCOMPARE(sqlite3_exec(v->connection().handle(), "rollback", nullptr, nullptr, nullptr), SQLITE_OK);
        msgs.clear();
        QVERIFY(g->EditCell(1, 10, QStringLiteral("7.5")));
        QTRY_VERIFY(!msgs.shown().isEmpty() && msgs.shown().last().text.contains(lostText));
        QVERIFY(!v->isModified());
        QCOMPARE(g->GetItemText(1, 9), QStringLiteral("1.3"));
        QCOMPARE(g->GetItemText(1, 10), QString());
        QCOMPARE(v->connection().TransLevel(), 0);
        QCOMPARE(db.rows(QStringLiteral("select 出生重, 断奶重 from 种猪卡")), QStringList{"1.3|<null>"});
    }

    void farrowingFailedSaveShowsTheStoredLitter()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],胎次,配种方式,返情否,预产日期,已产) values"
                                       "('%1','%2','20250101A','1','本交','N','20250425','yes')").arg(gilt, boar)));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种方式,配种日期,预产日期,分娩日期,妊娠天数,饲养员,仔猪耳号,仔猪状态,初生重,带奶) values"
            "('%1','1','%2','本交','20250101','20250425','20250423','112','王五','DLAAAA125001201','正常','1.2','正常')").arg(gilt, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(gilt);
        v->chooseParity(QStringLiteral("1"));
        CComboGridCtrl* g = v->grid();
        QCOMPARE(g->GetItemText(1, LitterBook::ColBirthWeight), QStringLiteral("1.2"));
        QVERIFY(g->EditCell(1, LitterBook::ColBirthWeight, QStringLiteral("1.5")));
        QVERIFY(v->isModified());
        sqlite3_commit_hook(v->connection().handle(), refuseCommit, nullptr);
        msgs.clear();
        QVERIFY(v->runCommand(Save));
        sqlite3_commit_hook(v->connection().handle(), nullptr, nullptr);
        QVERIFY(!msgs.shown().isEmpty());
        QVERIFY(msgs.shown().last().text.contains(lostText));
        QVERIFY(!v->isModified());
        QCOMPARE(g->GetItemText(1, LitterBook::ColBirthWeight), QStringLiteral("1.2"));
        QCOMPARE(g->GetItemText(1, LitterBook::ColTag), QStringLiteral("DLAAAA125001201"));
        QCOMPARE(db.scalar(QStringLiteral("select 初生重 from 产仔记录")), QStringLiteral("1.2"));
    }

    // A read-only database: the edit is refused with a plain reason and undone.
    void readOnlyDatabaseRefusesEdits()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,出生重,不存在) values('%1','F','1.3','no')").arg(gilt)));
        ScriptedMessages msgs;
        CDbConnection::SetForceReadOnly(true);
        auto v = openScreen<CTamvoView>(db);
        CDbConnection::SetForceReadOnly(false);
        QVERIFY(v->connection().IsReadOnly());
        QCOMPARE(v->grid()->GetItemText(1, 9), QStringLiteral("1.3"));
        QVERIFY(v->grid()->EditCell(1, 9, QStringLiteral("1.6")));
        QCOMPARE(v->grid()->GetItemText(1, 9), QStringLiteral("1.3"));
        QCOMPARE(msgs.shown().size(), 1);
        QVERIFY(msgs.shown().at(0).text.contains(QStringLiteral("修改不能保存")));
        QVERIFY(!v->isModified());
    }
};

QTEST_MAIN(TestEntryFaults)
#include "test_entryfaults.moc"
