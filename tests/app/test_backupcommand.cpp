#include "backupcommand.h"
#include "appclock.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "mainframe.h"
#include "tamvoapp.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sqlite3.h>

// Backups nobody has to remember: `Tamvo --backup PATH` beside a running program, and
// the daily backup the program writes when it closes.
class TestBackupCommand : public QObject
{
    Q_OBJECT

    static bool exec(CDbConnection& c, const char* sql)
    {
        return sqlite3_exec(c.handle(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    static QStringList tags(const QString& path)
    {
        CDbConnection c;
        if (!c.Open(path))
            return {QStringLiteral("<cannot open>")};
        return queryRows(path, QStringLiteral("select 耳号 from 种猪卡 order by 耳号"));
    }

    static int runTamvo(const QStringList& args, QString* out = nullptr)
    {
        QProcess p;
        p.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo"));
        p.setArguments(args);
        p.start();
        if (!p.waitForFinished(30000))
            return -1;
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitCode();
    }

private slots:
    void backupWhileAnotherProcessWrites()
    {
        TempHerdDb db;
        CDbConnection writer;
        QVERIFY(writer.Open(db.path()));
        QVERIFY(exec(writer, "insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')"));
        QVERIFY(writer.BeginTrans() > 0); // an open write transaction, as a screen with unsaved work holds
        QVERIFY(exec(writer, "insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000002','F','no')"));

        const QString target = db.dir() + QStringLiteral("/nightly");
        QString output;
        QCOMPARE(runTamvo({QStringLiteral("--backup"), target, QStringLiteral("--database"), db.path()}, &output), 0);
        QVERIFY2(output.contains(QStringLiteral("数据库备份成功!")), qPrintable(output));
        QCOMPARE(tags(target + QStringLiteral(".db")), QStringList{QStringLiteral("LLYY00000000001")});
        QVERIFY(writer.CommitTrans());
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("no target") << QStringList{QStringLiteral("--backup")} << 2;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--backup"), QStringLiteral("x.db"), QStringLiteral("--sows"), QStringLiteral("3")} << 2;
        QTest::newRow("missing database") << QStringList{QStringLiteral("--backup"), QStringLiteral("x.db"), QStringLiteral("--database"),
                                                         QStringLiteral("/nonexistent/lumbodata.db")}
                                          << 1;
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        QCOMPARE(BackupCommand::run(QStringList{QStringLiteral("Tamvo")} + args), code);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("x.db"))));
    }

    void damagedDatabaseIsNotCopiedOverAGoodBackup()
    {
        TempHerdDb db;
        CDbConnection c;
        QVERIFY(c.Open(db.path()));
        QVERIFY(exec(c, "with recursive n(i) as (select 1 union all select i+1 from n where i<400) "
                        "insert into 种猪卡(耳号,性别,不存在) select printf('LLYY%011d',i),'F','no' from n"));
        c.Close();
        const QString target = db.dir() + QStringLiteral("/nightly.db");
        QCOMPARE(BackupCommand::run({QStringLiteral("Tamvo"), QStringLiteral("--backup"), target, QStringLiteral("--database"), db.path()}), 0);
        // The card table's root page overwritten, as a failing disk would.
        const int root = db.scalar(QStringLiteral("select rootpage from sqlite_master where name='种猪卡'")).toInt();
        QFile f(db.path());
        QVERIFY(root > 1 && f.open(QIODevice::ReadWrite));
        f.seek(qint64(root - 1) * 4096);
        f.write(QByteArray(4096, '\x33'));
        f.close();
        QCOMPARE(BackupCommand::run({QStringLiteral("Tamvo"), QStringLiteral("--backup"), target, QStringLiteral("--database"), db.path()}), 1);
        QCOMPARE(tags(target).size(), 400);
    }

    void theProgramBacksUpAtTheDaysFirstClose()
    {
        TempHerdDb db;
        ScriptedMessages messages;
        AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(18, 0)));
        for (int run = 0; run < 2; ++run) {
            CTamvoApp app;
            CommandLine cl;
            cl.database = db.path();
            cl.noSplash = true;
            QVERIFY(app.InitInstance(cl));
            if (run == 1) // a record saved after the day's backup stays out of it
                QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000009','F','no')")));
            app.mainFrame()->close();
            app.ExitInstance();
        }
        AppClock::setNow(QDateTime());
        QVERIFY(messages.shown().isEmpty());
        const QString backup = DbBackup::newestBackup(db.path());
        QCOMPARE(backup, QDir(db.dir()).filePath(QStringLiteral("备份/lumbodata-20261211.db")));
        QCOMPARE(tags(backup), QStringList{});
        QCOMPARE(QDir(DbBackup::backupFolder(db.path())).entryList(QDir::Files).size(), 1);
    }

    void aFailedDailyBackupIsToldAndTheProgramEnds()
    {
        TempHerdDb db;
        // A file where the folder should be: the backup cannot be written.
        QFile blocker(DbBackup::backupFolder(db.path()));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ScriptedMessages messages;
        CTamvoApp app;
        CommandLine cl;
        cl.database = db.path();
        cl.noSplash = true;
        QVERIFY(app.InitInstance(cl));
        app.mainFrame()->close();
        QCOMPARE(app.ExitInstance(), 0);
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.shown().first().text.startsWith(QStringLiteral("每日备份没有成功")));
        QCOMPARE(messages.shown().first().caption, QStringLiteral("警告"));
    }
};

QTEST_MAIN(TestBackupCommand)
#include "test_backupcommand.moc"
