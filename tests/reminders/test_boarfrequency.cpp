// Boar use week by week: the default period, the period checks, the month labels, the
// week model (every mating in exactly one week) and the alert's threshold.
#include "boarfrequency.h"
#include "exportcommand.h"
#include "pinlvscreen.h"
#include "reminderfarm.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>

namespace {
const QString kBoarA = QStringLiteral("DDSC01123000001");
const QString kBoarB = QStringLiteral("DDSC01123000002");

// count matings of a boar on one day
void matings(ReminderFarm& farm, const QString& boar, const QDate& day, int count)
{
    for (int i = 0; i < count; ++i)
        farm.mating(QStringLiteral("LLAAAA1250001%1").arg(i, 2, 10, QLatin1Char('0')), TextUtil::dateText(day) + (i % 2 ? "P" : "A"),
                    "1", "no", "", "no", "N", boar);
}

QStringList gridRow(const CGridCtrl* g, int row)
{
    QStringList out;
    for (int c = 0; c < g->GetColumnCount(); ++c)
        out << g->GetItemText(row, c);
    return out;
}
} // namespace

class TestBoarFrequency : public QObject
{
    Q_OBJECT
private slots:
    void defaultStart_data();
    void defaultStart();
    void monthsAndLabels_data();
    void monthsAndLabels();
    void weekModel();
    void reminderScreen();
    void alertThreshold_data();
    void alertThreshold();
    void alertCoversEndMonth();
    void periodChecks();
    void exportWithPeriod();
};

void TestBoarFrequency::defaultStart_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("start");
    QTest::newRow("mid-year") << QDate(2026, 9, 15) << QDate(2026, 3, 15);
    QTest::newRow("into last year") << QDate(2026, 3, 15) << QDate(2025, 9, 15);
    QTest::newRow("June to December") << QDate(2026, 6, 30) << QDate(2025, 12, 30);
    QTest::newRow("31 August: no 31 February") << QDate(2026, 8, 31) << QDate(2026, 2, 28);
    QTest::newRow("31 August of a leap year") << QDate(2024, 8, 31) << QDate(2024, 2, 29);
    QTest::newRow("31 December: no 31 June") << QDate(2026, 12, 31) << QDate(2026, 6, 30);
}

void TestBoarFrequency::defaultStart()
{
    QFETCH(QDate, today);
    QFETCH(QDate, start);
    QCOMPARE(BoarFrequency::defaultStart(today), start);
    // Never a long period.
    QVERIFY(!BoarFrequency::isLong(start, today));
}

void TestBoarFrequency::monthsAndLabels_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("months");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("15 Jan to 10 Mar") << QDate(2026, 1, 15) << QDate(2026, 3, 10) << 2 << "2026年1月" << "2026年2月";
    QTest::newRow("same month") << QDate(2026, 1, 1) << QDate(2026, 1, 31) << 0 << "" << "";
    QTest::newRow("backwards") << QDate(2026, 5, 1) << QDate(2026, 2, 1) << -3 << "" << "";
    QTest::newRow("November, 15 months") << QDate(2025, 11, 20) << QDate(2027, 2, 3) << 15 << "2025年11月" << "2027年1月";
}

void TestBoarFrequency::monthsAndLabels()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(int, months);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QCOMPARE(BoarFrequency::monthCount(start, end), months);
    if (months <= 0)
        return;
    QCOMPARE(BoarFrequency::monthLabel(start, 0), first);
    QCOMPARE(BoarFrequency::monthLabel(start, months - 1), last);
    for (int k = 0; k < months; ++k) {
        const QString label = BoarFrequency::monthLabel(start, k);
        const int month = label.section(QStringLiteral("年"), 1).chopped(1).toInt();
        QVERIFY2(month >= 1 && month <= 12, qPrintable(label));
    }
}

void TestBoarFrequency::weekModel()
{
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    // The edge days of each week of January, and February's first and last days.
    for (int day : {1, 7, 8, 14, 15, 21, 22, 31})
        matings(farm, kBoarA, QDate(2026, 1, day), 1);
    matings(farm, kBoarA, QDate(2026, 2, 1), 2);
    matings(farm, kBoarA, QDate(2026, 2, 28), 3);
    matings(farm, kBoarB, QDate(2026, 3, 1), 1); // the end month's first day: listed, counted nowhere
    matings(farm, kBoarB, QDate(2025, 12, 31), 1);
    CDbConnection conn;
    QVERIFY(conn.Open(farm.db.path()));
    const BoarFrequency::Table t = BoarFrequency::reminder(conn, QDate(2026, 1, 15), QDate(2026, 3, 10));
    QCOMPARE(t.monthLabels, QStringList({"2026年1月", "2026年2月"}));
    QCOMPARE(t.boars.size(), 2);
    QCOMPARE(t.boars[0].boar, kBoarA);
    QCOMPARE(t.boars[0].counts, QVector<int>({2, 2, 2, 2, 2, 0, 0, 3}));
    QCOMPARE(t.boars[1].boar, kBoarB);
    QCOMPARE(t.boars[1].counts, QVector<int>(8, 0));
    // Week spans.
    QCOMPARE(BoarFrequency::week(QDate(2026, 2, 1), 3), qMakePair(QDate(2026, 2, 22), QDate(2026, 2, 28)));
    QCOMPARE(BoarFrequency::week(QDate(2026, 2, 1), 1), qMakePair(QDate(2026, 2, 8), QDate(2026, 2, 14)));
}

void TestBoarFrequency::reminderScreen()
{
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    matings(farm, kBoarA, QDate(2026, 2, 8), 2);
    ScriptedMessages messages;
    CTPinLv screen;
    QVERIFY(screen.exportSetUp(farm.db.path()));
    // Nothing is filled before "刷新"; the default period runs six months back to today.
    QCOMPARE(screen.grid()->GetRowCount(), 0);
    QCOMPARE(screen.startDate(), QDate(2025, 9, 10));
    QCOMPARE(screen.endDate(), QDate(2026, 3, 10));
    screen.setPeriod(QDate(2026, 1, 15), QDate(2026, 3, 10));
    screen.refreshButton()->click();
    QVERIFY(messages.shown().isEmpty());
    const CGridCtrl* g = screen.grid();
    QCOMPARE(g->GetRowCount(), 3);
    QCOMPARE(g->GetColumnCount(), 10);
    QCOMPARE(g->GetFixedRowCount(), 2);
    QCOMPARE(g->GetFixedColumnCount(), 2);
    QCOMPARE(gridRow(g, 0).mid(0, 3), QStringList({"序号", "公猪耳号", "2026年1月"}));
    QCOMPARE(g->GetItemText(0, 6), QString("2026年2月"));
    QCOMPARE(gridRow(g, 1).mid(2), QStringList({"一周", "二周", "三周", "四周", "一周", "二周", "三周", "四周"}));
    QCOMPARE(gridRow(g, 2), QStringList({"1", kBoarA, "0", "0", "0", "0", "0", "2", "0", "0"}));
    QCOMPARE(g->model()->mergeAt(0, 2), QRect(2, 0, 4, 1));
    QCOMPARE(g->model()->mergeAt(1, 0), QRect(0, 0, 1, 2));
    QCOMPARE(g->GetItemFormat(0, 2), 0x11u);
    QVERIFY(screen.refreshButton()->isEnabled());
}

// Matings of one boar in one week against the threshold row: listed in the alert?
void TestBoarFrequency::alertThreshold_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<bool>("listed");
    QTest::newRow("3, T 3") << 3 << "3" << false;
    QTest::newRow("4, T 3") << 4 << "3" << true;
    QTest::newRow("4, T 4") << 4 << "4" << false;
    QTest::newRow("5, T 4") << 5 << "4" << true;
    QTest::newRow("3, no row: T 3") << 3 << QString() << false;
    QTest::newRow("4, no row: T 3") << 4 << QString() << true;
}

void TestBoarFrequency::alertThreshold()
{
    QFETCH(int, count);
    QFETCH(QString, threshold);
    QFETCH(bool, listed);
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    if (threshold.isNull())
        farm.dropParam("星期超配数");
    else
        farm.setParam("星期超配数", threshold);
    // Split over the week's first and last days: still one week.
    matings(farm, kBoarA, QDate(2026, 2, 15), count / 2);
    matings(farm, kBoarA, QDate(2026, 2, 21), count - count / 2);
    matings(farm, kBoarB, QDate(2026, 2, 22), 1);
    ScriptedMessages messages;
    CJPinLv screen;
    QVERIFY(screen.exportSetUp(farm.db.path()));
    const CGridCtrl* g = screen.grid();
    QCOMPARE(gridRow(g, 0), QStringList({"序号", "公猪耳号", "时间", "星期", "配种次数"}));
    QCOMPARE(g->GetRowCount(), 1);
    screen.setPeriod(QDate(2026, 1, 20), QDate(2026, 3, 1));
    QVERIFY(screen.exportAction());
    QCOMPARE(g->GetRowCount(), listed ? 2 : 1);
    if (listed)
        QCOMPARE(gridRow(g, 1), QStringList({"1", kBoarA, "2026年02月", "第三星期", QString::number(count)}));
}

void TestBoarFrequency::alertCoversEndMonth()
{
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    matings(farm, kBoarA, QDate(2026, 1, 1), 4);
    matings(farm, kBoarB, QDate(2026, 3, 2), 5);
    CDbConnection conn;
    QVERIFY(conn.Open(farm.db.path()));
    // The end date's month counts when the end date is past its first day.
    QVector<ReminderRow> rows = BoarFrequency::alert(conn, QDate(2026, 1, 31), QDate(2026, 3, 2), 3);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].cells, QStringList({kBoarA, "2026年01月", "第一星期", "4"}));
    QCOMPARE(rows[1].cells, QStringList({kBoarB, "2026年03月", "第一星期", "5"}));
    rows = BoarFrequency::alert(conn, QDate(2026, 1, 31), QDate(2026, 3, 1), 3);
    QCOMPARE(rows.size(), 1);
}

void TestBoarFrequency::periodChecks()
{
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    matings(farm, kBoarA, QDate(2025, 10, 8), 1);
    ScriptedMessages messages;
    CTPinLv screen;
    QVERIFY(screen.exportSetUp(farm.db.path()));
    screen.setPeriod(QDate(2025, 10, 1), QDate(2025, 11, 5));
    screen.refresh();
    QCOMPARE(screen.grid()->GetRowCount(), 3);

    // Start and end in one month: refused, grid unchanged.
    screen.setPeriod(QDate(2026, 1, 1), QDate(2026, 1, 31));
    screen.refresh();
    QCOMPARE(messages.texts(), QStringList{"时间选择错误"});
    QCOMPARE(screen.grid()->GetRowCount(), 3);
    QCOMPARE(screen.grid()->GetColumnCount(), 6);

    // 201 days asks; No leaves the grid, Yes runs.
    messages.clear();
    screen.setPeriod(QDate(2025, 3, 1), QDate(2025, 3, 1).addDays(201));
    messages.queue(MsgAnswer::No);
    screen.refresh();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown()[0].caption, QString("警告"));
    QCOMPARE(messages.shown()[0].buttons, MsgButtons::YesNo);
    QVERIFY(messages.shown()[0].text.startsWith("您选择分析的时间过长"));
    QCOMPARE(screen.grid()->GetColumnCount(), 6);
    messages.clear();
    messages.queue(MsgAnswer::Yes);
    screen.refresh();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(screen.grid()->GetColumnCount(), 2 + 4 * 6);
    // 200 days asks nothing.
    messages.clear();
    screen.setPeriod(QDate(2025, 3, 1), QDate(2025, 3, 1).addDays(200));
    screen.refresh();
    QVERIFY(messages.shown().isEmpty());
}

void TestBoarFrequency::exportWithPeriod()
{
    ReminderFarm farm(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    matings(farm, kBoarA, QDate(2026, 1, 9), 4);
    const QString out = farm.db.dir() + QStringLiteral("/pinlv.csv");
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "32832", "--database", farm.db.path(), "--now", "20260310", "--from",
                                  "20260101", "--to", "20260201", "--out", out}),
             0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), QString("序号,公猪耳号,时间,星期,配种次数\r\n1,%1,2026年01月,第二星期,4\r\n").arg(kBoarA));
}

QTEST_MAIN(TestBoarFrequency)
#include "test_boarfrequency.moc"
