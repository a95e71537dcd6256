#include "appclock.h"
#include "ccleanupdlg.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "dbmaintenance.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

// Backup, restore and compaction as the system menu runs them: the file the user names,
// a foreign or damaged file refused before anything changes, the current database kept
// before a restore, and a compaction that never leaves half a database.
class TestDbMaintenance : public QObject
{
    Q_OBJECT

    static bool exec(CDbConnection& c, const QString& sql)
    {
        return sqlite3_exec(c.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    static QStringList tags(const QString& path)
    {
        CDbConnection c;
        if (!c.Open(path))
            return {QStringLiteral("<cannot open>")};
        return queryRows(path, QStringLiteral("select 耳号 from 种猪卡 order by 耳号"));
    }

    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Answers the file dialog with the given name and counts the screens asked to close.
    struct Fixture {
        QString answer;
        int closeRequests = 0;
        bool screensClose = true;
        Fixture()
        {
            DbMaintenance::setFileChooser([this](bool, const QString&, QWidget*) { return answer; });
            DbMaintenance::setScreenCloser([this] {
                ++closeRequests;
                return screensClose;
            });
        }
        ~Fixture()
        {
            DbMaintenance::setFileChooser({});
            DbMaintenance::setScreenCloser({});
        }
    };

private slots:
    void extension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << "/tmp/farm" << "/tmp/farm.db";
        QTest::newRow("present") << "/tmp/farm.db" << "/tmp/farm.db";
        QTest::newRow("capitals") << "/tmp/farm.DB" << "/tmp/farm.DB.db";
        QTest::newRow("other") << "/tmp/farm.bak" << "/tmp/farm.bak.db";
    }

    void extension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, file);
        QCOMPARE(DbMaintenance::withExtension(typed), file);
    }

    void backupHoldsTheSavedDataWhileAWindowHasUnsavedWork()
    {
        TempHerdDb db;
        Fixture fx;
        ScriptedMessages msgs;
        CDbConnection window; // a data-entry window: its edits wait in its transaction
        QVERIFY(window.Open(db.path()));
        QVERIFY(exec(window, QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        QVERIFY(window.BeginTrans() > 0);
        QVERIFY(exec(window, QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000002','F','no')")));
        fx.answer = db.dir() + QStringLiteral("/星期五");
        QVERIFY(DbMaintenance::run(DbMaintenance::Backup, db.path()));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库备份成功!")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("成功"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Information);
        QCOMPARE(tags(fx.answer + QStringLiteral(".db")), QStringList{QStringLiteral("LLYY00000000001")});
        QCOMPARE(fx.closeRequests, 0); // a backup closes no window
        QVERIFY(window.CommitTrans());

        // A place that cannot be written to.
        msgs.clear();
        fx.answer = QStringLiteral("/nonexistent/folder/farm.db");
        QVERIFY(!DbMaintenance::run(DbMaintenance::Backup, db.path()));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库备份错误!")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        // Cancelled file dialog: nothing at all.
        msgs.clear();
        fx.answer.clear();
        QVERIFY(!DbMaintenance::run(DbMaintenance::Backup, db.path()));
        QVERIFY(msgs.shown().isEmpty());
    }

    void foreignOrDamagedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << "text";
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("herd database without a column") << "column";
        QTest::newRow("damaged herd database") << "damaged";
        QTest::newRow("missing file") << "missing";
        QTest::newRow("the database itself") << "itself";
    }

    void foreignOrDamagedFilesAreRefused()
    {
        QFETCH(QString, kind);
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        TempHerdDb other;
        QString file = other.dir() + QStringLiteral("/file.db");
        if (kind == QLatin1String("text")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(10000, 'x'));
        } else if (kind == QLatin1String("foreign")) {
            CDbConnection c;
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            QVERIFY(c.Open(file));
            QVERIFY(exec(c, QStringLiteral("create table accounts(id, amount)")));
        } else if (kind == QLatin1String("column")) {
            QVERIFY(other.exec(QStringLiteral("alter table 配种 drop column 预产日期")));
            file = other.path();
        } else if (kind == QLatin1String("damaged")) {
            QVERIFY(other.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<400) "
                                              "insert into 种猪卡(耳号,性别,不存在) select printf('LLYY%011d',i),'F','no' from n")));
            const int root = other.scalar(QStringLiteral("select rootpage from sqlite_master where name='种猪卡'")).toInt();
            QFile f(other.path());
            QVERIFY(root > 1 && f.open(QIODevice::ReadWrite));
            f.seek(qint64(root - 1) * 4096);
            f.write(QByteArray(4096, '\x5a'));
            file = other.path();
        } else if (kind == QLatin1String("missing")) {
            file = other.dir() + QStringLiteral("/nothing.db");
        } else {
            file = db.path();
        }
        const QStringList before = tags(db.path());
        Fixture fx;
        fx.answer = file;
        ScriptedMessages msgs;
        QVERIFY(!DbMaintenance::run(DbMaintenance::Restore, db.path()));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库恢复错误!")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        QCOMPARE(fx.closeRequests, 0); // refused before any window was closed
        QCOMPARE(tags(db.path()), before);
        // No copy of the current database was needed.
        QCOMPARE(QDir(db.dir()).entryList(QStringList{QStringLiteral("*还原前*")}), QStringList{});
    }

    void restoreGivesBackTheBackupsRecords()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        const QString backup = db.dir() + QStringLiteral("/monday.db");
        QVERIFY(DbBackup::copyDatabase(db.path(), backup));
        QVERIFY(db.exec(QStringLiteral("delete from 种猪卡; insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000002','F','no')")));
        CDbConnection reader; // an idle reading connection does not stop the restore
        QVERIFY(reader.Open(db.path()));

        AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(17, 5, 9)));
        Fixture fx;
        fx.answer = db.dir() + QStringLiteral("/monday"); // typed without the extension
        ScriptedMessages msgs;
        QVERIFY(DbMaintenance::run(DbMaintenance::Restore, db.path()));
        AppClock::setNow(QDateTime());
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库恢复成功!")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("成功"));
        QCOMPARE(fx.closeRequests, 1);
        QCOMPARE(tags(db.path()), QStringList{QStringLiteral("LLYY00000000001")});
        QCOMPARE(db.scalar(QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
        QVERIFY(DbBackup::isIntact(db.path(), true));
        // What was there before is kept beside the database.
        const QString kept = db.dir() + QStringLiteral("/lumbodata-还原前-20261211-170509.db");
        QCOMPARE(tags(kept), QStringList{QStringLiteral("LLYY00000000002")});
        reader.Close();

        // A window that stays open at its question stops the restore; nothing changes.
        msgs.clear();
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000003','F','no')")));
        fx.screensClose = false;
        QVERIFY(!DbMaintenance::run(DbMaintenance::Restore, db.path()));
        QVERIFY(msgs.shown().isEmpty());
        QCOMPARE(tags(db.path()).size(), 2);
    }

    void restoreReplacesADatabaseDamagedBeyondReading()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        const QString backup = db.dir() + QStringLiteral("/monday.db");
        QVERIFY(DbBackup::copyDatabase(db.path(), backup));
        {
            QFile f(db.path());
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(QByteArray(100, '\0')); // the header is gone
        }
        QString kept, error;
        QVERIFY2(DbMaintenance::restore(db.path(), backup, &kept, &error), qPrintable(error));
        QCOMPARE(tags(db.path()), QStringList{QStringLiteral("LLYY00000000001")});
        QVERIFY(QFileInfo(kept).size() > 0);
        QCOMPARE(bytes(kept).left(100), QByteArray(100, '\0'));
    }

    void compactionShrinksAfterCleanup()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<20000) "
                                       "insert into 配种(母猪耳号,[配种日期(1)],配种员) select printf('LLYY%011d',i % 300),'20200101A',"
                                       "printf('%0200d',i) from n")));
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,[配种日期(1)]) values('LLYY00000000001','20261201A')")));
        // A temporary file left by an interrupted run does not block the compaction.
        QFile stale(DbMaintenance::compactTempPath(db.path()));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("half a database");
        stale.close();
        const qint64 before = QFileInfo(db.path()).size() + QFileInfo(db.path() + QStringLiteral("-wal")).size();

        AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Ok);
        {
            CCleanupDlg dlg;
            QVERIFY(dlg.setUp(db.path()));
            dlg.dateEdit(1)->setDate(QDate(2025, 1, 1));
            dlg.categoryList(1)->setCurrentIndex(2);
            QVERIFY(dlg.cleanUp(1));
            QCOMPARE(dlg.statusText(), QStringLiteral("  清理数据库完毕!"));
        }
        AppClock::setNow(QDateTime());
        const qint64 after = QFileInfo(db.path()).size() + QFileInfo(db.path() + QStringLiteral("-wal")).size();
        QVERIFY2(after * 4 < before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QVERIFY(!QFileInfo::exists(DbMaintenance::compactTempPath(db.path())));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 配种")), QStringLiteral("1"));
        QCOMPARE(db.scalar(QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
        QVERIFY(DbBackup::isIntact(db.path(), true));
    }

    void compactionFromTheMenu()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no')")));
        Fixture fx;
        ScriptedMessages msgs;
        QVERIFY(DbMaintenance::run(DbMaintenance::Compact, db.path()));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库压缩成功！")});
        QCOMPARE(msgs.shown().at(0).caption, appTitle());
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::None);
        QCOMPARE(fx.closeRequests, 1);

        // Another connection still open: the compaction is refused and says so; the
        // database is untouched and keeps its WAL mode.
        msgs.clear();
        CDbConnection other;
        QVERIFY(other.Open(db.path()));
        const QByteArray before = bytes(db.path());
        QVERIFY(!DbMaintenance::run(DbMaintenance::Compact, db.path()));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库压缩失败!")});
        QCOMPARE(bytes(db.path()), before);
        QVERIFY(!QFileInfo::exists(DbMaintenance::compactTempPath(db.path())));
        other.Close();
        QCOMPARE(db.scalar(QStringLiteral("pragma journal_mode")), QStringLiteral("wal"));
        QCOMPARE(tags(db.path()), QStringList{QStringLiteral("LLYY00000000001")});
        // A window that stays open: nothing happens.
        msgs.clear();
        fx.screensClose = false;
        QVERIFY(!DbMaintenance::run(DbMaintenance::Compact, db.path()));
        QVERIFY(msgs.shown().isEmpty());
    }
};

QTEST_MAIN(TestDbMaintenance)
#include "test_dbmaintenance.moc"
