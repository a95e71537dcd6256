// The --create-demo command line: its options, the refusal of an existing file, and the
// farm number taken from the code.ini beside the new database.
#include "appclock.h"
#include "democommand.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

class TestDemoCommand : public QObject
{
    Q_OBJECT

private:
    static int run(const QStringList& options)
    {
        return DemoCommand::run(QStringList{QStringLiteral("Tamvo")} + options);
    }
    static QString scalar(const QString& path, const char* sql)
    {
        sqlite3* db = nullptr;
        QString out;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }

private slots:
    void cleanup() { AppClock::setNow(QDateTime()); }

    void wantsOnlyItsOwnOption()
    {
        QVERIFY(DemoCommand::wants({QStringLiteral("Tamvo"), QStringLiteral("--create-demo"), QStringLiteral("x.db")}));
        QVERIFY(!DemoCommand::wants({QStringLiteral("Tamvo"), QStringLiteral("--database"), QStringLiteral("x.db")}));
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("no path") << QStringList{QStringLiteral("--create-demo")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--create-demo"), QStringLiteral("a.db"), QStringLiteral("--cows"), QStringLiteral("3")};
        QTest::newRow("profile") << QStringList{QStringLiteral("--create-demo"), QStringLiteral("a.db"), QStringLiteral("--profile"), QStringLiteral("best")};
        QTest::newRow("sows not a number") << QStringList{QStringLiteral("--create-demo"), QStringLiteral("a.db"), QStringLiteral("--sows"), QStringLiteral("many")};
        QTest::newRow("now") << QStringList{QStringLiteral("--create-demo"), QStringLiteral("a.db"), QStringLiteral("--now"), QStringLiteral("2026-12-11")};
    }
    void badOptions()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QCOMPARE(run(options), 2);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.db"))));
    }

    void createsFarmWithFarmNumberAndRefusesToOverwrite()
    {
        QTemporaryDir dir;
        QFile ini(dir.filePath(QStringLiteral("code.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("BJ07\r\n3");
        ini.close();
        const QString path = dir.filePath(QStringLiteral("farm.db"));
        QCOMPARE(run({QStringLiteral("--create-demo"), path, QStringLiteral("--sows"), QStringLiteral("20"), QStringLiteral("--years"),
                      QStringLiteral("1"), QStringLiteral("--profile"), QStringLiteral("high"), QStringLiteral("--seed"), QStringLiteral("5"),
                      QStringLiteral("--now"), QStringLiteral("20250301")}),
                 0);
        QCOMPARE(scalar(path, "select max(分娩日期) <= '20250301' from 产仔记录"), QStringLiteral("1"));
        QCOMPARE(scalar(path, "select count(*) from 产仔记录 where substr(仔猪耳号,3,5) <> 'BJ073'"), QStringLiteral("0"));
        QVERIFY(scalar(path, "select count(*) from 产仔记录").toInt() > 0);
        QCOMPARE(scalar(path, "select 哺乳天数 from 生理周期 where 品种='LL'"), QStringLiteral("28"));

        const qint64 size = QFile(path).size();
        QVERIFY(size > 0);
        QCOMPARE(run({QStringLiteral("--create-demo"), path}), 1);
        QCOMPARE(QFile(path).size(), size);
    }
};

QTEST_GUILESS_MAIN(TestDemoCommand)
#include "test_democommand.moc"
