#include "dbconnection.h"
#include "entryrules.h"
#include "testsupport.h"

#include <QTest>

using namespace EntryRules;

class TestEntryRules : public QObject
{
    Q_OBJECT
private slots:
    void earTagsCountGbkBytes_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("ok");
        QTest::newRow("15 ascii") << "LLYY12345678901" << true;
        QTest::newRow("14") << "LLYY1234567890" << false;
        QTest::newRow("16") << "LLYY123456789012" << false;
        QTest::newRow("chinese counts two") << "长白1234567891" << false;
        QTest::newRow("chinese 15 bytes") << "长白12345678901" << true;
        QTest::newRow("empty") << "" << false;
    }
    void earTagsCountGbkBytes()
    {
        QFETCH(QString, tag);
        QFETCH(bool, ok);
        QCOMPARE(isEarTag(tag), ok);
    }

    void datesAndMatingTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("date");
        QTest::addColumn<bool>("matingTime");
        QTest::newRow("date") << "20250318" << true << false;
        QTest::newRow("leap day") << "20240229" << true << false;
        QTest::newRow("no leap day") << "20250229" << false << false;
        QTest::newRow("month 13") << "20251301" << false << false;
        QTest::newRow("letters") << "2025ab01" << false << false;
        QTest::newRow("7 long") << "2025031" << false << false;
        QTest::newRow("morning") << "20250318A" << false << true;
        QTest::newRow("afternoon") << "20250318P" << false << true;
        QTest::newRow("other letter") << "20250318B" << false << false;
        QTest::newRow("lower case") << "20250318a" << false << false;
        QTest::newRow("bad day + A") << "20250231A" << false << false;
    }
    void datesAndMatingTimes()
    {
        QFETCH(QString, text);
        QFETCH(bool, date);
        QFETCH(bool, matingTime);
        QCOMPARE(isDate(text), date);
        QCOMPARE(isMatingTime(text), matingTime);
    }

    void parity_data()
    {
        QTest::addColumn<bool>("has");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<QString>("returned");
        QTest::addColumn<int>("next");
        QTest::newRow("no matings") << false << "" << "" << 1;
        QTest::newRow("after a litter") << true << "3" << "N" << 4;
        QTest::newRow("after a return") << true << "3" << "Y" << 3;
        QTest::newRow("first parity returned") << true << "1" << "Y" << 1;
    }
    void parity()
    {
        QFETCH(bool, has);
        QFETCH(QString, parity);
        QFETCH(QString, returned);
        QFETCH(int, next);
        QCOMPARE(nextParity(has, parity, returned), next);
    }

    void parityFromTheLatestMating()
    {
        TempHerdDb db;
        const QString sow = QStringLiteral("LLYY00000000001");
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)]) values('%1','2','N','20240101A'),"
                                       "('%1','3','Y','20240601A')").arg(sow)));
        CDbConnection conn;
        QVERIFY(conn.Open(db.path()));
        QCOMPARE(nextParityFor(conn, sow), 3);
        const qint64 latest = db.scalar(QStringLiteral("select max(id) from 配种")).toLongLong();
        QCOMPARE(nextParityFor(conn, sow, latest), 3); // the one before: parity 2, "N"
        QCOMPARE(nextParityFor(conn, QStringLiteral("LLYY00000000009")), 1);
    }

    void expectedDateUsesTheBreedsGestation()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("delete from 生理周期")));
        CDbConnection conn;
        QVERIFY(conn.Open(db.path()));
        QCOMPARE(expectedFarrowingDate(conn, QStringLiteral("LL"), QStringLiteral("20030101")), QStringLiteral("20030425"));
        QVERIFY(db.exec(QStringLiteral("insert into 生理周期(品种,妊娠天数) values('LL','116')")));
        QCOMPARE(expectedFarrowingDate(conn, QStringLiteral("LL"), QStringLiteral("20030101")), QStringLiteral("20030427"));
        QCOMPARE(expectedFarrowingDate(conn, QStringLiteral("YY"), QStringLiteral("20031215")), QStringLiteral("20040407"));
    }

    void pigletTags()
    {
        QCOMPARE(pigletTagPrefix(QStringLiteral("DDAB00000000001"), QStringLiteral("LLYY00000000002"), QStringLiteral("AAAA"),
                                 QStringLiteral("1"), QStringLiteral("20250423"), QStringLiteral("0012")),
                 QStringLiteral("DLAAAA1250012"));
        QCOMPARE(litterNumberText(12), QStringLiteral("0012"));
        QCOMPARE(litterNumberText(0), QStringLiteral("0000"));
    }

    void pigletNumbers_data()
    {
        QTest::addColumn<QString>("a1");
        QTest::addColumn<QString>("a2");
        QTest::addColumn<QString>("a3");
        QTest::addColumn<QString>("next");
        const QString p = QStringLiteral("DLAAAA1250012");
        QTest::newRow("01 02 03") << p + "03" << p + "02" << p + "01" << "04";
        QTest::newRow("01 03 04") << p + "04" << p + "03" << p + "01" << "";
        QTest::newRow("even steps of two") << p + "06" << p + "04" << p + "02" << "07";
        QTest::newRow("to two digits") << p + "09" << p + "08" << p + "07" << "10";
    }
    void pigletNumbers()
    {
        QFETCH(QString, a1);
        QFETCH(QString, a2);
        QFETCH(QString, a3);
        QFETCH(QString, next);
        QCOMPARE(nextPigletNumber(a1, a2, a3), next);
    }

    void litterNumberCountsThePigletsOfTheYear()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(仔猪耳号,分娩日期) values('a','20250101'),('b','20250601'),"
                                       "('c','20241231')")));
        CDbConnection conn;
        QVERIFY(conn.Open(db.path()));
        QCOMPARE(newLitterNumber(conn, QStringLiteral("20250425")), QStringLiteral("0002"));
        QCOMPARE(newLitterNumber(conn, QStringLiteral("20260101")), QStringLiteral("0000"));
    }

    void correctedWeights_data()
    {
        QTest::addColumn<double>("weight");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("w20");
        QTest::addColumn<QString>("w28");
        QTest::newRow("21 days 6.0 kg") << 6.0 << 21 << "5.83" << "7.31";
        QTest::newRow("20 days: factor about 1") << 5.0 << 20 << "5.02" << "6.29";
        QTest::newRow("28 days: factor about 1") << 7.0 << 28 << "5.55" << "6.98";
    }
    void correctedWeights()
    {
        QFETCH(double, weight);
        QFETCH(int, age);
        QFETCH(QString, w20);
        QFETCH(QString, w28);
        const CorrectedWeights w = EntryRules::correctedWeights(weight, age);
        QCOMPARE(w.day20, w20);
        QCOMPARE(w.day28, w28);
    }

    void dayArithmetic()
    {
        QCOMPARE(daysBetween(QStringLiteral("20250101"), QStringLiteral("20250425")), 114);
        QCOMPARE(daysBetween(QStringLiteral("20250425"), QStringLiteral("20250101")), -114);
        QCOMPARE(daysBetween(QStringLiteral("x"), QStringLiteral("20250101")), 0);
        QCOMPARE(addDays(QStringLiteral("20250101"), -15), QStringLiteral("20241217"));
        QCOMPARE(matingDay(QStringLiteral("20250318P")), QStringLiteral("20250318"));
    }
};

QTEST_GUILESS_MAIN(TestEntryRules)
#include "test_entryrules.moc"
