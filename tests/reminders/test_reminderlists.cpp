// The rows of the twelve sow and gilt lists, worked out headless at a fixed clock: every
// window edge, the reminder/alert split on each boundary day, colours and defaults.
#include "reminderfarm.h"

namespace {
const QColor kDarkRed(204, 0, 0), kRed(255, 0, 0), kBlue(0, 0, 255);
const QString kSow = QStringLiteral("LLAAAA125000101"); // breed LL: heat 21 days after a return, 7 after weaning
const QString kNoBreed = QStringLiteral("ZZAAAA125000101"); // a breed without a 生理周期 row
}

class TestReminderLists : public QObject
{
    Q_OBJECT
private slots:
    void matingDueWindows_data();
    void matingDueWindows();
    void matingDueRowContents();
    void matingDueThresholds();
    void giltWindows_data();
    void giltWindows();
    void pregnancyList();
    void checkWindows_data();
    void checkWindows();
    void farrowingWindows_data();
    void farrowingWindows();
    void nursingList();
    void weaningWindows_data();
    void weaningWindows();
    void weaningDataErrorAndServedAgain();
};

// Weaned (or returned) d days ago at the given hour: in the reminder, in the alert.
void TestReminderLists::matingDueWindows_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("returned");
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<int>("hour");
    QTest::addColumn<bool>("inReminder");
    QTest::addColumn<bool>("inAlert");
    // Heat 7 days after weaning, N = 2.
    QTest::newRow("weaned 3 days ago") << kSow << false << 3 << 10 << false << false;
    QTest::newRow("weaned 4: heat 3 days ahead, -2.6 truncates to -2") << kSow << false << 4 << 10 << true << false;
    QTest::newRow("weaned 4 at midnight: exactly -3") << kSow << false << 4 << 0 << false << false;
    QTest::newRow("weaned 7: heat today") << kSow << false << 7 << 23 << true << false;
    QTest::newRow("weaned 9: heat 2 days past") << kSow << false << 9 << 10 << true << false;
    QTest::newRow("weaned 10: alert only") << kSow << false << 10 << 0 << false << true;
    QTest::newRow("weaned 28") << kSow << false << 28 << 10 << false << true;
    QTest::newRow("weaned 29: outside the reminder's read window") << kSow << false << 29 << 10 << false << true;
    // Heat 21 days after a return.
    QTest::newRow("returned 17") << kSow << true << 17 << 10 << false << false;
    QTest::newRow("returned 18") << kSow << true << 18 << 10 << true << false;
    QTest::newRow("returned 23") << kSow << true << 23 << 10 << true << false;
    QTest::newRow("returned 24") << kSow << true << 24 << 10 << false << true;
    // No physiology row: the heat is the weaning or return date itself.
    QTest::newRow("no breed row, weaned 3: alert does not read her") << kNoBreed << false << 3 << 10 << false << false;
    QTest::newRow("no breed row, weaned 4") << kNoBreed << false << 4 << 10 << false << true;
    QTest::newRow("no breed row, returned 3: alert reads her") << kNoBreed << true << 3 << 10 << false << true;
}

void TestReminderLists::matingDueWindows()
{
    QFETCH(QString, tag);
    QFETCH(bool, returned);
    QFETCH(int, daysAgo);
    QFETCH(int, hour);
    QFETCH(bool, inReminder);
    QFETCH(bool, inAlert);
    ReminderFarm farm(QDateTime(QDate(2026, 3, 2), QTime(hour, hour == 23 ? 59 : 0)));
    const QString date = farm.ago(daysAgo);
    farm.sow(tag, returned ? date : QString(), returned ? QString() : date);
    QCOMPARE(farm.tags(TDaiPei).contains(tag), inReminder);
    QCOMPARE(farm.tags(JDaiPei).contains(tag), inAlert);
    if (inReminder)
        QCOMPARE(farm.row(TDaiPei, tag).cells.value(2), QString::number(daysAgo));
}

void TestReminderLists::matingDueRowContents()
{
    ReminderFarm farm;
    // Both dates in the window: judged by the return (heat in 2 days), shown in red.
    const QString both = QStringLiteral("LLAAAA125000201");
    farm.sow(both, farm.ago(19), farm.ago(5));
    // Weaned, with two litters: the latest farrowing's parity, boar and piglets count.
    const QString weaned = QStringLiteral("YYAAAA125000301");
    farm.sow(weaned, QString(), farm.ago(6));
    for (int i = 0; i < 3; ++i)
        farm.piglet(weaned, "1", farm.ago(200), QString(), QString(), "DDSC01123000001");
    for (int i = 0; i < 2; ++i)
        farm.piglet(weaned, "2", farm.ago(30), QString(), QString(), "DDSC01123000002");
    // Without any litter; off the farm (never listed).
    const QString noLitter = QStringLiteral("YLAAAA125000401");
    farm.sow(noLitter, QString(), farm.ago(7));
    farm.insert("种猪卡", {{"耳号", "LYAAAA125000501"}, {"断奶日期", farm.ago(7)}, {"不存在", "yes"}});

    const ReminderTable t = farm.list(TDaiPei);
    QCOMPARE(t.headerFormat, 0x15u);
    QCOMPARE(t.headers, QStringList({"序号", "耳号", "断奶/返情时间", "间隔天数", "毛色", "奶头数", "出生日期", "上胎胎次",
                                     "上胎与配公猪", "上胎产活仔数", "备注"}));
    QCOMPARE(t.rows.size(), 3);
    // Ordered by ear tag.
    QCOMPARE(t.rows[0].cells, QStringList({both, farm.ago(19), "19", "白", "7-6", "20240101", "", "", "0", "备注01"}));
    QCOMPARE(t.rows[0].colour, kDarkRed);
    QCOMPARE(t.rows[1].cells, QStringList({noLitter, farm.ago(7), "7", "白", "7-6", "20240101", "", "", "0", "备注01"}));
    QVERIFY(!t.rows[1].colour.isValid());
    QCOMPARE(t.rows[2].cells.mid(6, 3), QStringList({"2", "DDSC01123000002", "2"}));

    // The alert's rows are never coloured.
    ReminderFarm late;
    late.sow(both, late.ago(30), QString());
    const ReminderTable a = late.list(JDaiPei);
    QCOMPARE(a.rows.size(), 1);
    QVERIFY(!a.rows[0].colour.isValid());
}

void TestReminderLists::matingDueThresholds()
{
    ReminderFarm farm;
    farm.sow(kSow, QString(), farm.ago(11)); // heat 4 days past
    QVERIFY(!farm.tags(TDaiPei).contains(kSow));
    QVERIFY(farm.tags(JDaiPei).contains(kSow));
    farm.setParam("待配天数", "4");
    QVERIFY(farm.tags(TDaiPei).contains(kSow));
    QVERIFY(!farm.tags(JDaiPei).contains(kSow));
    // A missing row means 2 days.
    farm.dropParam("待配天数");
    QVERIFY(!farm.tags(TDaiPei).contains(kSow));
    QVERIFY(farm.tags(JDaiPei).contains(kSow));
    // A date that is not 8 characters long: not due.
    farm.sow("LLAAAA125000999", QString(), farm.ago(7) + "1");
    QVERIFY(!farm.tags(TDaiPei).contains("LLAAAA125000999"));
}

// Age in days, the breed's first-mating age (-1: no row), N: reminder, alert.
void TestReminderLists::giltWindows_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("firstMating");
    QTest::addColumn<bool>("inReminder");
    QTest::addColumn<bool>("inAlert");
    QTest::newRow("180 at 180") << 180 << 180 << true << false;
    QTest::newRow("179: too young for both statements") << 179 << 177 << false << false;
    QTest::newRow("232 at 230") << 232 << 230 << true << false;
    QTest::newRow("233 at 230: alert") << 233 << 230 << false << true;
    QTest::newRow("228 at 230") << 228 << 230 << true << false;
    QTest::newRow("227 at 230") << 227 << 230 << false << false;
    QTest::newRow("240 at 237: alert reads 240") << 240 << 237 << false << true;
    QTest::newRow("245 at 245: reminder reads 250, alert 240") << 245 << 245 << true << false;
    QTest::newRow("245 at 242: past N but beyond the alert's window") << 245 << 242 << false << false;
    QTest::newRow("250 at 250") << 250 << 250 << true << false;
    QTest::newRow("251 at 251") << 251 << 251 << false << false;
    QTest::newRow("no physiology row: age 0 wanted") << 200 << -1 << false << true;
}

void TestReminderLists::giltWindows()
{
    QFETCH(int, age);
    QFETCH(int, firstMating);
    QFETCH(bool, inReminder);
    QFETCH(bool, inAlert);
    ReminderFarm farm;
    const QString tag = firstMating < 0 ? QStringLiteral("ZZAAAA126000101") : QStringLiteral("YYAAAA126000101");
    if (firstMating >= 0)
        farm.setPhysiology("YY", "初配日龄", firstMating);
    farm.gilt(tag, age);
    // A card made in the archive (dates NULL) is no gilt for these lists.
    farm.insert("种猪卡", {{"耳号", "YYAAAA126000202"}, {"出生日期", farm.ago(age)}, {"不存在", "no"}});
    QCOMPARE(farm.tags(TShiPei), inReminder ? QStringList{tag} : QStringList());
    QCOMPARE(farm.tags(JShiPei), inAlert ? QStringList{tag} : QStringList());
    if (inReminder)
        QCOMPARE(farm.row(TShiPei, tag).cells.mid(0, 3), QStringList({tag, QString::number(age), "本场"}));
}

void TestReminderLists::pregnancyList()
{
    ReminderFarm farm;
    farm.mating("LLAAAA125000102", farm.ago(40) + "P", "2", "no", farm.ago(-74));
    farm.mating("LLAAAA125000101", farm.ago(50) + "A", "1", "no", farm.ago(-64));
    farm.mating("LLAAAA125000103", farm.ago(60) + "A", "1", "yes");          // farrowed
    farm.mating("LLAAAA125000104", farm.ago(60) + "A", "1", "no", "", "no", "Y"); // returned
    farm.insert("配种", {{"母猪耳号", "LLAAAA125000105"}, {"配种日期(1)", farm.ago(30) + "A"}, {"已产", "no"}, {"返情否", "N"},
                         {"异常时间", farm.ago(3)}}); // aborted
    const ReminderTable t = farm.list(TRenShen);
    QCOMPARE(t.headers, QStringList({"序号", "耳号", "胎次", "妊娠天数", "配种日期", "与配公猪", "配种方式", "预产日期", "配种员", "备注"}));
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows[0].cells, QStringList({"LLAAAA125000101", "1", "50", farm.ago(50), "DDSC01123000001", "人工授精", farm.ago(-64), "王", "注"}));
    QCOMPARE(t.rows[1].cells.mid(0, 4), QStringList({"LLAAAA125000102", "2", "40", farm.ago(40)}));
}

// Days since the service, its half-day letter, the hour now: check reminder, check alert.
void TestReminderLists::checkWindows_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<QString>("half");
    QTest::addColumn<int>("hour");
    QTest::addColumn<bool>("inReminder");
    QTest::addColumn<bool>("inAlert");
    QTest::newRow("today, late") << 0 << "P" << 23 << false << false;
    QTest::newRow("20") << 20 << "A" << 23 << false << false;
    QTest::newRow("21 A") << 21 << "A" << 0 << true << false;
    QTest::newRow("21 P") << 21 << "P" << 0 << true << false;
    QTest::newRow("35") << 35 << "P" << 23 << true << false;
    QTest::newRow("36") << 36 << "A" << 0 << false << true;
    QTest::newRow("120") << 120 << "A" << 10 << false << true;
}

void TestReminderLists::checkWindows()
{
    QFETCH(int, daysAgo);
    QFETCH(QString, half);
    QFETCH(int, hour);
    QFETCH(bool, inReminder);
    QFETCH(bool, inAlert);
    ReminderFarm farm(QDateTime(QDate(2026, 1, 10), QTime(hour, hour == 23 ? 59 : 0)));
    farm.mating(kSow, farm.ago(daysAgo) + half, "3");
    farm.mating("LLAAAA125000102", farm.ago(daysAgo) + half, "3", "no", "", farm.ago(1)); // checked
    farm.mating("LLAAAA125000103", farm.ago(daysAgo) + half, "3", "no", "", QString());   // NULL: not checked
    const QStringList expected = {kSow, "LLAAAA125000103"};
    QCOMPARE(farm.tags(TJianCha), inReminder ? expected : QStringList());
    QCOMPARE(farm.tags(JJianCha), inAlert ? expected : QStringList());
    if (inReminder)
        QCOMPARE(farm.row(TJianCha, kSow).cells,
                 QStringList({kSow, "3", "DDSC01123000001", farm.ago(daysAgo), QString::number(daysAgo), "人工授精", "王", "注"}));
    // The alert's grid is as long as its statement.
    QCOMPARE(farm.list(JJianCha).dataRowsShown, 2);
    QCOMPARE(farm.list(TJianCha).dataRowsShown, -1);
}

// Expected farrowing `offset` days from today, N = 2: reminder, red, alert.
void TestReminderLists::farrowingWindows_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("inReminder");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("inAlert");
    QTest::newRow("due 4 days ago") << -4 << false << false << true;
    QTest::newRow("due 3 days ago") << -3 << false << false << true;
    QTest::newRow("due 2 days ago") << -2 << true << true << false;
    QTest::newRow("due today") << 0 << true << true << false;
    QTest::newRow("due in 2 days") << 2 << true << true << false;
    QTest::newRow("due in 3 days") << 3 << true << false << false;
    QTest::newRow("due in 60 days") << 60 << true << false << false;
}

void TestReminderLists::farrowingWindows()
{
    QFETCH(int, offset);
    QFETCH(bool, inReminder);
    QFETCH(bool, red);
    QFETCH(bool, inAlert);
    ReminderFarm farm;
    const QString due = farm.ago(-offset);
    // Two services in parity 2: the first ended in a return.
    farm.mating(kSow, farm.ago(140 + offset) + "A", "2", "no", farm.ago(-offset - 21), "no", "Y");
    farm.mating(kSow, farm.ago(114 - offset) + "P", "2", "no", due);
    farm.mating(kSow, farm.ago(300) + "A", "1", "yes", farm.ago(186));
    const ReminderRow r = farm.row(TYuChan, kSow);
    QCOMPARE(!r.cells.isEmpty(), inReminder);
    if (inReminder) {
        QCOMPARE(r.cells, QStringList({kSow, "DDSC01123000001", "2", farm.ago(114 - offset), due, "人工授精", "2", "王", "注"}));
        QCOMPARE(r.colour, red ? kRed : QColor());
    }
    QCOMPARE(farm.tags(JYuChan), inAlert ? QStringList{kSow} : QStringList());
    if (inAlert) {
        QVERIFY(!farm.row(JYuChan, kSow).colour.isValid());
        QCOMPARE(farm.row(JYuChan, kSow).cells.value(6), QString("2"));
    }
    // A wider tolerance moves both edges.
    farm.setParam("预产天数", "5");
    QCOMPARE(farm.tags(JYuChan).contains(kSow), offset < -5);
}

void TestReminderLists::nursingList()
{
    ReminderFarm farm;
    QVERIFY(farm.list(TBuYu).rows.isEmpty());
    QVERIFY(!farm.list(TBuYu).openFailed);
    farm.piglet("YYAAAA125000201", "2", "20260601");
    farm.piglet("YYAAAA125000201", "2", "20260601", "21"); // weaned: the litter is still there by the first
    farm.piglet("LLAAAA125000101", "1", "20260520");
    farm.piglet("LLAAAA125000301", "4", "20260501", "", "死亡"); // nobody left
    const ReminderTable t = farm.list(TBuYu);
    QCOMPARE(t.headers, QStringList({"序号", "母猪耳号", "胎次", "公猪耳号", "配种日期", "配种方式"}));
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows[0].cells, QStringList({"LLAAAA125000101", "1", "DDSC01123000001", "20260520", "本交"}));
    QCOMPARE(t.rows[1].cells.value(0), QString("YYAAAA125000201"));
}

// A litter born `age` days ago; the breed's nursing days (-1: no row, 28), N = 2.
void TestReminderLists::weaningWindows_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("nursing");
    QTest::addColumn<bool>("inReminder");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("inAlert");
    QTest::newRow("25 of 28") << 25 << 28 << true << false << false;
    QTest::newRow("26 of 28: L - N") << 26 << 28 << true << true << false;
    QTest::newRow("30 of 28: L + N") << 30 << 28 << true << true << false;
    QTest::newRow("31 of 28") << 31 << 28 << false << false << true;
    QTest::newRow("23 of 21") << 23 << 21 << true << true << false;
    QTest::newRow("24 of 21") << 24 << 21 << false << false << true;
    QTest::newRow("no breed row: 30") << 30 << -1 << true << true << false;
    QTest::newRow("no breed row: 31") << 31 << -1 << false << false << true;
}

void TestReminderLists::weaningWindows()
{
    QFETCH(int, age);
    QFETCH(int, nursing);
    QFETCH(bool, inReminder);
    QFETCH(bool, red);
    QFETCH(bool, inAlert);
    ReminderFarm farm;
    const QString tag = nursing < 0 ? kNoBreed : kSow;
    if (nursing >= 0)
        farm.setPhysiology("LL", "哺乳天数", nursing);
    farm.sow(tag, QString(), QString(), farm.ago(age));
    farm.mating(tag, farm.ago(age + 300) + "A", "1", "yes");
    farm.mating(tag, farm.ago(age + 114) + "P", "2", "yes");
    const QString born = farm.ago(age);
    farm.piglet(tag, "2", born);
    farm.piglet(tag, "2", born, "", "死亡");
    farm.piglet(tag, "2", born, "21");
    farm.piglet(tag, "2", born);
    farm.piglet(tag, "1", farm.ago(age + 200), "21");
    const ReminderRow r = farm.row(TDuanNai, tag);
    QCOMPARE(!r.cells.isEmpty(), inReminder);
    const QStringList expected = {tag, "2", born, QString::number(age), "DDSC01123000001", "人工授精", "4", "1", "2",
                                  QString::number(age + 114), "注"};
    if (inReminder) {
        QCOMPARE(r.cells, expected);
        QCOMPARE(r.colour, red ? kRed : QColor());
    }
    const ReminderRow a = farm.row(JDuanNai, tag);
    QCOMPARE(!a.cells.isEmpty(), inAlert);
    if (inAlert) {
        QCOMPARE(a.cells, expected);
        QVERIFY(!a.colour.isValid());
    }
}

void TestReminderLists::weaningDataErrorAndServedAgain()
{
    ReminderFarm farm;
    // Every piglet weaned or dead, yet the card has no weaning date: "数据错误!" in blue, in both lists.
    const QString empty = QStringLiteral("LLAAAA125000201");
    farm.sow(empty, QString(), QString(), farm.ago(10));
    farm.mating(empty, farm.ago(124) + "A", "1", "yes");
    farm.piglet(empty, "1", farm.ago(10), "9");
    farm.piglet(empty, "1", farm.ago(10), "", "死亡");
    const ReminderRow r = farm.row(TDuanNai, empty);
    QCOMPARE(r.cells.value(9), QString("数据错误!"));
    QCOMPARE(r.cells.value(8), QString("0"));
    QCOMPARE(r.colour, kBlue);
    const QString oldEmpty = QStringLiteral("LLAAAA125000202");
    farm.sow(oldEmpty, QString(), QString(), farm.ago(40));
    farm.mating(oldEmpty, farm.ago(154) + "A", "1", "yes");
    farm.piglet(oldEmpty, "1", farm.ago(40), "21");
    QCOMPARE(farm.row(JDuanNai, oldEmpty).cells.value(9), QString("数据错误!"));
    QCOMPARE(farm.row(JDuanNai, oldEmpty).colour, kBlue);
    QVERIFY(farm.row(TDuanNai, oldEmpty).cells.isEmpty());

    // Served again after her litter (the new service emptied no weaning date): the litter
    // was weaned in fact, so neither list shows her, however her piglets were recorded.
    for (const QString& tag : {QStringLiteral("LLAAAA125000301"), QStringLiteral("LLAAAA125000302")}) {
        farm.sow(tag, QString(), QString(), farm.ago(-100));
        farm.mating(tag, farm.ago(150) + "A", "1", "yes");
        farm.mating(tag, farm.ago(14) + "A", "2", "no", farm.ago(-100));
    }
    farm.piglet("LLAAAA125000301", "1", farm.ago(29), "21");       // all weaned: was "数据错误!"
    farm.piglet("LLAAAA125000302", "1", farm.ago(25));              // unweaned piglet left on record
    for (int id : {TDuanNai, JDuanNai}) {
        QVERIFY(!farm.tags(id).contains("LLAAAA125000301"));
        QVERIFY(!farm.tags(id).contains("LLAAAA125000302"));
    }
    // Without a farrowed mating, or when the card is weaned, or off the farm: not listed.
    farm.sow("LLAAAA125000401", QString(), QString(), farm.ago(5));
    farm.piglet("LLAAAA125000401", "1", farm.ago(5));
    farm.sow("LLAAAA125000402", QString(), farm.ago(1), farm.ago(20));
    farm.mating("LLAAAA125000402", farm.ago(134) + "A", "1", "yes");
    farm.piglet("LLAAAA125000402", "1", farm.ago(20));
    const QStringList listed = farm.tags(TDuanNai);
    QCOMPARE(listed, QStringList{empty});
}

QTEST_GUILESS_MAIN(TestReminderLists)
#include "test_reminderlists.moc"
