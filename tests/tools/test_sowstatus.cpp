#include "dbconnection.h"
#include "sowstatus.h"
#include "testsupport.h"

#include <QTest>

using SowStatus::State;
Q_DECLARE_METATYPE(SowStatus::State)

class TestSowStatus : public QObject
{
    Q_OBJECT

    static QString sql(const QString& v) { return v.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + v + QLatin1Char('\''); }

private slots:
    void cardRule_data()
    {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("w");
        QTest::addColumn<QString>("p");
        QTest::addColumn<State>("state");
        QTest::newRow("reserve gilt") << "none" << "none" << "" << State::Reserve;
        QTest::newRow("none wins over dates") << "none" << "20250101" << "20250501" << State::Reserve;
        QTest::newRow("weaning none alone") << "" << "none" << "" << State::Reserve;
        QTest::newRow("pregnant") << "" << "" << "20250425" << State::Pregnant;
        QTest::newRow("weaned") << "" << "20250301" << "" << State::EmptyWeaned;
        QTest::newRow("returned") << "20250320" << "" << "" << State::EmptyReturned;
        QTest::newRow("never touched") << "" << "" << "" << State::Undetermined;
        QTest::newRow("returned and weaned") << "20250320" << "20250301" << "" << State::Undetermined;
        QTest::newRow("weaned and due") << "" << "20250301" << "20250425" << State::Undetermined;
    }
    void cardRule()
    {
        QFETCH(QString, r);
        QFETCH(QString, w);
        QFETCH(QString, p);
        QFETCH(State, state);
        QCOMPARE(SowStatus::stateFromCard({r, w, p}), state);
    }

    // The whole query against a farm: every sentence, with NULL read as empty.
    void query_data()
    {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("w");
        QTest::addColumn<QString>("p");
        QTest::addColumn<QString>("litterDue"); // 预产日期 of a litter row of hers, or null
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("sentence");
        const QString n; // NULL
        QTest::newRow("reserve") << "none" << "none" << n << n << State::Reserve << "尚未参加配种，为后备母猪！";
        QTest::newRow("pregnant") << n << n << "20250425" << n << State::Pregnant << "处于妊娠状态，预计生产日期为20250425";
        QTest::newRow("pregnant, older litter only")
            << "" << "" << "20250425" << "20240101" << State::Pregnant << "处于妊娠状态，预计生产日期为20250425";
        QTest::newRow("nursing") << n << n << "20250425" << "20250425" << State::Nursing << "处于哺育状态，生产日期为20250423";
        QTest::newRow("weaned") << n << "20250520" << n << n << State::EmptyWeaned << "处于空怀状态，上一次断奶日期为20250520";
        QTest::newRow("returned") << "20250320" << "" << "" << n << State::EmptyReturned
                                  << "处于空怀状态，前一次配种返情，返情日期为20250320";
        QTest::newRow("archive card") << n << n << n << n << State::Undetermined << "";
        QTest::newRow("both dates") << "20250320" << "20250301" << n << n << State::Undetermined << "";
    }
    void query()
    {
        QFETCH(QString, r);
        QFETCH(QString, w);
        QFETCH(QString, p);
        QFETCH(QString, litterDue);
        QFETCH(State, state);
        QFETCH(QString, sentence);
        TempHerdDb db;
        const QString tag = QStringLiteral("LLYY12345678901");
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,返情日期,断奶日期,预产日期,不存在) values('%1','F',%2,%3,%4,'no')")
                            .arg(tag, sql(r), sql(w), sql(p))));
        if (!litterDue.isNull())
            QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,预产日期,分娩日期,仔猪耳号) values('%1','1','%2','20250423','DLAAAA125000101')")
                                .arg(tag, litterDue)));
        CDbConnection conn;
        QVERIFY(conn.Open(db.path()));
        const SowStatus::Status s = SowStatus::query(conn, tag);
        QCOMPARE(s.state, state);
        QCOMPARE(s.text, QStringLiteral("母猪") + tag + sentence);
    }

    void missingCardAndBadTag()
    {
        TempHerdDb db;
        CDbConnection conn;
        QVERIFY(conn.Open(db.path()));
        const SowStatus::Status missing = SowStatus::query(conn, QStringLiteral("LLYY00000000000"));
        QCOMPARE(missing.state, State::NoCard);
        QCOMPARE(missing.text, QStringLiteral("母猪LLYY00000000000没有找到！"));
        // 14 characters: refused before any look-up, no text.
        const SowStatus::Status bad = SowStatus::query(conn, QStringLiteral("LLYY0000000000"));
        QCOMPARE(bad.state, State::BadTag);
        QVERIFY(bad.text.isEmpty());
        // A quote in the tag cannot break the statement.
        QCOMPARE(SowStatus::query(conn, QStringLiteral("LL'Y00000000000")).state, State::NoCard);
    }
};

QTEST_GUILESS_MAIN(TestSowStatus)
#include "test_sowstatus.moc"
