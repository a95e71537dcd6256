#include "dbbackup.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Backups of the herd database: the online copy holds what is saved and nothing else,
// a failure never spoils an older file, damage is told, and the daily backups rotate.
class TestDbBackup : public QObject
{
    Q_OBJECT

    static bool addCard(CDbConnection& c, const QString& tag)
    {
        CDbRecordset rs(&c);
        return rs.Open(QStringLiteral("select 耳号,性别,不存在 from 种猪卡 where 1=0")) && rs.AddNew() && rs.SetFieldText(0, tag) &&
               rs.SetFieldText(1, QStringLiteral("F")) && rs.SetFieldText(2, QStringLiteral("no")) && rs.Update();
    }

    static QStringList cards(const QString& path)
    {
        CDbConnection c;
        QStringList tags;
        CDbRecordset rs(&c);
        if (!c.Open(path) || !rs.Open(QStringLiteral("select 耳号 from 种猪卡 order by 耳号")))
            return {QStringLiteral("<cannot open>")};
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QString t;
            rs.GetFieldText(0, t);
            tags << t;
        }
        return tags;
    }

    // Overwrites the card table's root page, as a failing disk would.
    static void damage(const QString& path)
    {
        int root = 0;
        {
            CDbConnection c;
            QVERIFY(c.Open(path));
            CDbRecordset rs(&c);
            QVERIFY(rs.Open(QStringLiteral("select rootpage from sqlite_master where name='种猪卡'")));
            QVERIFY(rs.GetFieldInt(0, root));
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(root > 1 && f.size() >= qint64(root) * 4096);
        f.seek(qint64(root - 1) * 4096);
        f.write(QByteArray(4096, '\x5a'));
        f.close();
    }

private slots:
    void copyHoldsSavedWorkOnly()
    {
        TempHerdDb db;
        CDbConnection saved;
        QVERIFY(saved.Open(db.path()));
        QVERIFY(addCard(saved, QStringLiteral("LLYY00000000001"))); // committed, still in the WAL file
        CDbConnection pending;
        QVERIFY(pending.Open(db.path()));
        QVERIFY(pending.BeginTrans() > 0);
        QVERIFY(addCard(pending, QStringLiteral("LLYY00000000002"))); // unsaved work of an open window

        const QString copy = db.dir() + QStringLiteral("/copy.db");
        QString error;
        QVERIFY2(DbBackup::copyDatabase(db.path(), copy, &error), qPrintable(error));
        QCOMPARE(cards(copy), QStringList{QStringLiteral("LLYY00000000001")});
        QCOMPARE(QFile::permissions(copy), QFile::permissions(db.path()));
        QString why;
        QVERIFY2(DbBackup::isIntact(copy, true, &why), qPrintable(why));
        // The window's work is untouched and can still be saved.
        QVERIFY(pending.CommitTrans());
        QCOMPARE(cards(db.path()), (QStringList{QStringLiteral("LLYY00000000001"), QStringLiteral("LLYY00000000002")}));
        // No temporary file is left beside the copy.
        QCOMPARE(QDir(db.dir()).entryList(QStringList{QStringLiteral(".copy.db*")}, QDir::Files | QDir::Hidden), QStringList{});
    }

    void failedCopyKeepsTheOlderFile()
    {
        TempHerdDb db;
        const QString copy = db.dir() + QStringLiteral("/copy.db");
        QVERIFY(DbBackup::copyDatabase(db.path(), copy));
        const QByteArray before = [&] { QFile f(copy); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        const QString stranger = db.dir() + QStringLiteral("/notes.txt");
        {
            QFile f(stranger);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, 'x'));
        }
        QString error;
        QVERIFY(!DbBackup::copyDatabase(stranger, copy, &error));
        QVERIFY(!error.isEmpty());
        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        // The database is never its own backup target.
        QVERIFY(!DbBackup::copyDatabase(db.path(), db.dir() + QStringLiteral("/./lumbodata.db")));
        QVERIFY(DbBackup::isIntact(db.path()));
    }

    void damageIsTold()
    {
        TempHerdDb db;
        CDbConnection c;
        QVERIFY(c.Open(db.path()));
        for (int i = 0; i < 400; ++i)
            QVERIFY(addCard(c, QStringLiteral("LLYY%1").arg(i, 11, 10, QLatin1Char('0'))));
        c.Close();
        const QString copy = db.dir() + QStringLiteral("/copy.db");
        QVERIFY(DbBackup::copyDatabase(db.path(), copy));
        QVERIFY(DbBackup::isIntact(copy, false));
        damage(copy);
        QString error;
        QVERIFY(!DbBackup::isIntact(copy, true, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!DbBackup::isIntact(db.dir() + QStringLiteral("/missing.db")));
    }

    void dailyBackupsRotate()
    {
        TempHerdDb db;
        QCOMPARE(DbBackup::newestBackup(db.path()), QString());
        const QDate first(2026, 12, 1);
        for (int d = 0; d < 9; ++d)
            QCOMPARE(DbBackup::dailyBackup(db.path(), first.addDays(d)), DbBackup::DailyResult::Written);
        // The second close of a day writes nothing.
        QCOMPARE(DbBackup::dailyBackup(db.path(), first.addDays(8)), DbBackup::DailyResult::AlreadyDone);
        const QDir folder(DbBackup::backupFolder(db.path()));
        QCOMPARE(folder.dirName(), QStringLiteral("备份"));
        QCOMPARE(QFileInfo(folder.path()).absolutePath(), QFileInfo(db.path()).absolutePath());
        // A file of the user's own in the folder is left alone.
        QFile own(folder.filePath(QStringLiteral("我的备份.db")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.close();
        QCOMPARE(DbBackup::dailyBackup(db.path(), first.addDays(9)), DbBackup::DailyResult::Written);
        QStringList expected;
        for (int d = 9; d >= 3; --d)
            expected << DbBackup::dailyBackupName(db.path(), first.addDays(d));
        expected << QStringLiteral("我的备份.db");
        QStringList names = folder.entryList(QDir::Files);
        names.sort();
        expected.sort();
        QCOMPARE(names, expected);
        QCOMPARE(DbBackup::newestBackup(db.path()), folder.filePath(QStringLiteral("lumbodata-20261210.db")));
        QVERIFY(DbBackup::isIntact(DbBackup::newestBackup(db.path()), true));
    }

    void damagedDatabaseIsNotBackedUp()
    {
        TempHerdDb db;
        CDbConnection c;
        QVERIFY(c.Open(db.path()));
        for (int i = 0; i < 400; ++i)
            QVERIFY(addCard(c, QStringLiteral("LLYY%1").arg(i, 11, 10, QLatin1Char('0'))));
        c.Close();
        const QDate day(2026, 12, 1);
        QCOMPARE(DbBackup::dailyBackup(db.path(), day), DbBackup::DailyResult::Written);
        damage(db.path());
        QString error;
        QCOMPARE(DbBackup::dailyBackup(db.path(), day.addDays(1), &error), DbBackup::DailyResult::Damaged);
        QVERIFY(!error.isEmpty());
        QCOMPARE(DbBackup::newestBackup(db.path()), QDir(DbBackup::backupFolder(db.path())).filePath(QStringLiteral("lumbodata-20261201.db")));
    }
};

QTEST_MAIN(TestDbBackup)
#include "test_dbbackup.moc"
