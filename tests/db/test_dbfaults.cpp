// The connection when the disk or the file lets it down: commits that fail, writes on a
// full disk, a lock that passes while the file opens, a damaged file, a read-only place.
#include "dbconnection.h"
#include "dbfilecheck.h"
#include "dbrecordset.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

class TestDbFaults : public QObject
{
    Q_OBJECT
private slots:
    void failedCommitThatRolledBackEndsTheTransaction();
    void failedReleaseOfASavepointFollowsSqlite();
    void fullDiskKeepsLevelAndFileInStep();
    void openWaitsForALockThatPasses();
    void quickCheckFindsOverwrittenBytes();
    void readOnlyOpenReadsButNeverWrites();
    void readOnlyFolderOpensForReading();
};

namespace {

int refuseCommit(void*)
{
    return 1; // turns the COMMIT into a ROLLBACK, as a commit that fails on the disk
}

bool addCard(CDbConnection& conn, const QString& tag)
{
    CDbRecordset rs;
    rs.SetConnection(&conn);
    return rs.Open(QStringLiteral("select 耳号, 不存在 from 种猪卡 where 1=0")) && rs.AddNew() && rs.SetFieldText(0, tag)
           && rs.SetFieldText(1, QStringLiteral("no")) && rs.Update();
}

// Runs fn in a child process without root's right to write anywhere (the tests may run
// as root, which a folder's permissions do not stop). Gives the child's exit code.
int asPlainUser(const std::function<int()>& fn)
{
    if (geteuid() != 0)
        return fn();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(90);
        _exit(fn());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

} // namespace

void TestDbFaults::failedCommitThatRolledBackEndsTheTransaction()
{
    TempHerdDb db;
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    int lostCalls = 0;
    conn.SetTransactionLostHandler([&] { ++lostCalls; });
    QCOMPARE(conn.BeginTrans(), 1);
    QVERIFY(addCard(conn, QStringLiteral("LL0000000000001")));
    sqlite3_commit_hook(conn.handle(), refuseCommit, nullptr);
    QVERIFY(!conn.CommitTrans());
    sqlite3_commit_hook(conn.handle(), nullptr, nullptr);
    // SQLite rolled back: the connection must not go on as if the edits were pending.
    QCOMPARE(conn.TransLevel(), 0);
    QVERIFY(conn.TransactionLost());
    QCOMPARE(lostCalls, 1);
    QVERIFY(conn.OtherWriteLockHolder().isEmpty());
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));
    QVERIFY(conn.TakeTransactionLost());
    QVERIFY(!conn.TransactionLost());

    // The next write opens a new transaction, so a rollback undoes it.
    QCOMPARE(conn.BeginTrans(), 1);
    QVERIFY(addCard(conn, QStringLiteral("LL0000000000002")));
    QVERIFY(conn.RollbackTrans());
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));
    QCOMPARE(lostCalls, 1);
}

void TestDbFaults::failedReleaseOfASavepointFollowsSqlite()
{
    TempHerdDb db;
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    QCOMPARE(conn.BeginTrans(), 1);
    QCOMPARE(conn.BeginTrans(), 2);
    // Behind the connection's back the transaction ends (as SQLite does on an I/O error).
    QCOMPARE(sqlite3_exec(conn.handle(), "rollback", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY(!conn.CommitTrans());
    QCOMPARE(conn.TransLevel(), 0);
    QVERIFY(conn.TransactionLost());
    QVERIFY(!conn.RollbackTrans()); // nothing left to roll back
    QCOMPARE(conn.BeginTrans(), 1);
    QVERIFY(conn.RollbackTrans());

    // A nested begin after SQLite rolled back starts nothing that its release would commit.
    QCOMPARE(conn.BeginTrans(), 1);
    QCOMPARE(sqlite3_exec(conn.handle(), "rollback", nullptr, nullptr, nullptr), SQLITE_OK);
    QCOMPARE(conn.BeginTrans(), -1);
    QCOMPARE(conn.TransLevel(), 0);
    QVERIFY(sqlite3_get_autocommit(conn.handle()));

    // A rollback that fails the same way leaves the level at 0 too.
    QCOMPARE(conn.BeginTrans(), 1);
    QCOMPARE(conn.BeginTrans(), 2);
    QCOMPARE(sqlite3_exec(conn.handle(), "rollback", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY(!conn.RollbackTrans());
    QCOMPARE(conn.TransLevel(), 0);
    QCOMPARE(conn.BeginTrans(), 1);
    QVERIFY(conn.CommitTrans());
}

void TestDbFaults::fullDiskKeepsLevelAndFileInStep()
{
    TempHerdDb db;
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    QCOMPARE(conn.BeginTrans(), 1);
    QVERIFY(addCard(conn, QStringLiteral("LL0000000000001")));
    // A full disk: the file may not grow by a single page.
    QVERIFY(sqlite3_exec(conn.handle(), "pragma max_page_count=1", nullptr, nullptr, nullptr) == SQLITE_OK);
    bool failed = false;
    for (int i = 0; i < 2000 && !failed; ++i)
        failed = !addCard(conn, QStringLiteral("LL%1").arg(i + 2, 13, 10, QLatin1Char('0')));
    QVERIFY(failed);
    // Whatever SQLite did with the transaction, the connection says the same.
    QCOMPARE(conn.TransLevel() == 0, sqlite3_get_autocommit(conn.handle()) != 0);
    QCOMPARE(conn.TransactionLost(), conn.TransLevel() == 0);
    if (conn.TransLevel() > 0)
        QVERIFY(conn.RollbackTrans());
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));
}

void TestDbFaults::openWaitsForALockThatPasses()
{
    TempHerdDb db;
    // Another program holds the file exclusively for a moment (as when it closes its
    // connection and checkpoints).
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(db.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "pragma locking_mode=exclusive; begin exclusive; delete from 参数 where 1=0;", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    {
        CDbConnection blocked;
        QVERIFY2(!blocked.Open(db.path()), "the lock is in place");
    }
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    });
    CDbConnection conn;
    const bool opened = conn.Open(db.path());
    release.join();
    QVERIFY2(opened, qPrintable(conn.LastError()));
}

void TestDbFaults::quickCheckFindsOverwrittenBytes()
{
    TempHerdDb db;
    for (int i = 0; i < 300; ++i)
        db.exec(QStringLiteral("insert into 种猪卡(耳号, 备注) values ('LL%1', '%2')")
                    .arg(i, 13, 10, QLatin1Char('0'))
                    .arg(QString(200, QLatin1Char('x'))));
    {
        CDbFileCheck check(db.path());
        QString problem;
        QVERIFY(check.wait(&problem));
        QVERIFY(problem.isEmpty());
    }
    // Overwrite a stretch in the middle of the file, as a failing disk would.
    QFile f(db.path());
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.size() > 8 * 4096);
    f.seek(f.size() / 2 / 4096 * 4096);
    f.write(QByteArray(3000, '\x5a'));
    f.close();

    CDbConnection conn;
    QVERIFY(conn.Open(db.path())); // the first page is whole: the file opens
    // On its own thread, told by a signal.
    CDbFileCheck check(db.path());
    QSignalSpy finished(&check, &CDbFileCheck::finished);
    check.start();
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().at(0).toBool(), false);
    QVERIFY2(!finished.first().at(1).toString().isEmpty(), "the check says what it found");
    QVERIFY(!CDbFileCheck::check(db.path()));
}

void TestDbFaults::readOnlyOpenReadsButNeverWrites()
{
    TempHerdDb db;
    CDbConnection::SetForceReadOnly(true);
    CDbConnection conn;
    const bool opened = conn.Open(db.path());
    CDbConnection::SetForceReadOnly(false);
    QVERIFY(opened);
    QVERIFY(conn.IsReadOnly());
    CDbRecordset rs;
    rs.SetConnection(&conn);
    QVERIFY(rs.Open(QStringLiteral("select 名称 from 参数")));
    QCOMPARE(rs.GetRecordCount(), 5);
    QCOMPARE(conn.BeginTrans(), -1);
    QVERIFY(!addCard(conn, QStringLiteral("LL0000000000001")));
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));

    CDbConnection normal;
    QVERIFY(normal.Open(db.path()));
    QVERIFY(!normal.IsReadOnly());
}

void TestDbFaults::readOnlyFolderOpensForReading()
{
    TempHerdDb db;
    db.exec(QStringLiteral("insert into 种猪卡(耳号) values ('LL0000000000001')"));
    // The folder of a CD or a read-only share: no -wal or -shm can be made beside the file.
    QFile::setPermissions(db.dir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther
                                        | QFile::ReadGroup | QFile::ExeGroup);
    QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadOther | QFile::ReadGroup);
    const QString path = db.path();
    const int rc = asPlainUser([&] {
        CDbConnection conn;
        if (!conn.Open(path))
            return 1;
        if (!conn.IsReadOnly())
            return 2;
        CDbRecordset rs;
        rs.SetConnection(&conn);
        QString tag;
        if (!rs.Open(QStringLiteral("select 耳号 from 种猪卡")) || !rs.GetFieldText(0, tag) || tag != QLatin1String("LL0000000000001"))
            return 3;
        if (conn.BeginTrans() != -1)
            return 4;
        return 0;
    });
    QFile::setPermissions(db.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(rc, 0);
    QVERIFY(!QFile::exists(path + QStringLiteral("-shm")));
}

QTEST_GUILESS_MAIN(TestDbFaults)
#include "test_dbfaults.moc"
