// Shared text rules: GBK lengths, quoting, date texts and the day difference.
#include "appclock.h"
#include "textutil.h"

#include <QTest>

using namespace TextUtil;

class TestTextUtil : public QObject
{
    Q_OBJECT
private slots:
    void gbkLength_data();
    void gbkLength();
    void dates_data();
    void dates();
    void matingTimes_data();
    void matingTimes();
    void daysSinceTruncates_data();
    void daysSinceTruncates();
    void quoting();
    void nowOption();
};

void TestTextUtil::gbkLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::newRow("ear tag") << "LL0000000000001" << 15;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("chinese") << "长白" << 4;
    QTest::newRow("mixed") << "LL长白01" << 8;
    QTest::newRow("14 ascii + 1 chinese = 16") << "LL000000000001猪" << 16;
}

void TestTextUtil::gbkLength()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QCOMPARE(TextUtil::gbkLength(text), bytes);
}

void TestTextUtil::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ordinary") << "20050318" << true;
    QTest::newRow("leap day") << "20240229" << true;
    QTest::newRow("no leap day") << "20230229" << false;
    QTest::newRow("month 13") << "20051301" << false;
    QTest::newRow("day 0") << "20050300" << false;
    QTest::newRow("too short") << "2005031" << false;
    QTest::newRow("too long") << "200503181" << false;
    QTest::newRow("letters") << "2005O318" << false;
    QTest::newRow("separators") << "2005-3-1" << false;
    QTest::newRow("none") << "none" << false;
}

void TestTextUtil::dates()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidDateText(text), valid);
    if (valid)
        QCOMPARE(dateText(parseDateText(text)), text);
}

void TestTextUtil::matingTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("A") << "20050318A" << true;
    QTest::newRow("P") << "20050318P" << true;
    QTest::newRow("lower case") << "20050318a" << false;
    QTest::newRow("other letter") << "20050318B" << false;
    QTest::newRow("bad date") << "20050231A" << false;
    QTest::newRow("date only") << "20050318" << false;
}

void TestTextUtil::matingTimes()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidMatingTime(text), valid);
}

void TestTextUtil::daysSinceTruncates_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("days");
    QTest::newRow("same day") << "200503182359" << "20050318" << 0;
    QTest::newRow("next morning") << "200503190001" << "20050318" << 1;
    QTest::newRow("a year") << "200603180800" << "20050318" << 365;
    QTest::newRow("future truncates toward zero") << "200503171200" << "20050318" << 0;
    QTest::newRow("two days ahead") << "200503161200" << "20050318" << -1;
    QTest::newRow("mating time text") << "200503201200" << "20050318P" << 2;
    QTest::newRow("not a date") << "200503201200" << "none" << 0;
}

void TestTextUtil::daysSinceTruncates()
{
    QFETCH(QString, now);
    QFETCH(QString, date);
    QFETCH(int, days);
    AppClock::setNow(AppClock::parseNowOption(now));
    QCOMPARE(daysSince(date), days);
    AppClock::setNow(QDateTime());
}

void TestTextUtil::quoting()
{
    QCOMPARE(sqlQuote("LL0001"), QStringLiteral("'LL0001'"));
    QCOMPARE(sqlQuote("a'b''c"), QStringLiteral("'a''b''''c'"));
    QCOMPARE(sqlEscape("'"), QStringLiteral("''"));
    QCOMPARE(intPrefix("12kg"), 12);
    QCOMPARE(intPrefix(""), 0);
    QCOMPARE(doublePrefix("6.0公斤"), 6.0);
}

void TestTextUtil::nowOption()
{
    QCOMPARE(AppClock::parseNowOption("20261211").date(), QDate(2026, 12, 11));
    QCOMPARE(AppClock::parseNowOption("202612110830").time(), QTime(8, 30));
    QVERIFY(!AppClock::parseNowOption("20261311").isValid());
    QVERIFY(!AppClock::parseNowOption("yesterday").isValid());
    AppClock::setNow(AppClock::parseNowOption("20050318"));
    QCOMPARE(todayText(), QStringLiteral("20050318"));
    AppClock::setNow(QDateTime());
    QCOMPARE(AppClock::today(), QDate::currentDate());
}

QTEST_GUILESS_MAIN(TestTextUtil)
#include "test_textutil.moc"
