// The morning view: its counts against the lists' own rows, the counts filling in after
// the page shows, red alert rows, opening a list, the start-up choice, and the export.
#include "appclock.h"
#include "commandids.h"
#include "demofarm.h"
#include "mainframe.h"
#include "reminderlists.h"
#include "reminderscreen.h"
#include "registerscreens.h"
#include "screenregistry.h"
#include "testsupport.h"
#include "todaywork.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestTodayWork : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void countsAreTheListsRows();
    void countsFillInAfterThePageShows();
    void alertsWithAnimalsAreRed();
    void rowOpensItsList();
    void startUpChoiceIsRemembered();
    void exportWritesTheCounts();

private:
    QTemporaryDir m_dir;
    QString m_farm;
    const QDate m_today{2026, 12, 11};
};

void TestTodayWork::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("TamvoTests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_todaywork"));
    QSettings().clear();
    registerScreens();
    DemoFarm::Options o;
    o.path = m_farm = m_dir.filePath("demo.db");
    o.today = m_today;
    o.sows = 120;
    o.years = 2;
    QVERIFY(DemoFarm::create(o));
    AppClock::setNow(QDateTime(m_today, QTime(8, 0)));
}

void TestTodayWork::cleanupTestCase()
{
    AppClock::setNow(QDateTime());
    QSettings().clear();
}

// Every row names its list and shows exactly the rows that list computes today.
void TestTodayWork::countsAreTheListsRows()
{
    CTodayWork page;
    QVERIFY(page.exportSetUp(m_farm));
    QVERIFY(page.exportAction());
    QVERIFY(page.isComplete());
    const auto& defs = ReminderLists::definitions();
    QCOMPARE(page.grid()->GetRowCount(), 1 + defs.size());
    CDbConnection conn;
    QVERIFY(conn.Open(m_farm));
    for (int i = 0; i < defs.size(); ++i) {
        const int row = i + 1;
        const int rows = ReminderLists::compute(defs[i], conn, AppClock::now()).rows.size();
        QCOMPARE(page.commandOfRow(row), defs[i].commandId);
        QCOMPARE(page.countOfRow(row), rows);
        QCOMPARE(page.grid()->GetItemText(row, 3), QString::number(rows));
        QCOMPARE(page.grid()->GetItemText(row, 1), ScreenRegistry::plainCaption(ScreenRegistry::find(defs[i].commandId)->caption));
        QCOMPARE(page.grid()->GetItemText(row, 2), defs[i].alert ? QStringLiteral("警报") : QStringLiteral("提醒"));
    }
    // The page follows the program's clock: a year earlier the same farm has other work.
    AppClock::setNow(QDateTime(m_today.addYears(-1), QTime(8, 0)));
    page.exportAction();
    int differing = 0;
    for (int i = 0; i < defs.size(); ++i)
        differing += page.countOfRow(i + 1) != int(ReminderLists::compute(defs[i], conn, AppClock::now()).rows.size());
    QCOMPARE(differing, 0);
    AppClock::setNow(QDateTime(m_today, QTime(8, 0)));
}

// Opening shows the rows at once with "…"; the counts arrive one list per event-loop
// turn, and "刷新" starts over.
void TestTodayWork::countsFillInAfterThePageShows()
{
    CTodayWork page;
    page.setDatabasePath(m_farm);
    QVERIFY(page.initialUpdate());
    QVERIFY(!page.isComplete());
    QCOMPARE(page.grid()->GetItemText(1, 3), QStringLiteral("…"));
    QCOMPARE(page.countOfRow(1), -1);
    QSignalSpy done(&page, &CTodayWork::countsComplete);
    QVERIFY(done.wait(30000));
    QVERIFY(page.isComplete());
    for (int row = 1; row < page.grid()->GetRowCount(); ++row)
        QVERIFY(page.countOfRow(row) >= 0);

    page.refreshButton()->click();
    QVERIFY(!page.isComplete());
    QCOMPARE(page.grid()->GetItemText(14, 3), QStringLiteral("…"));
    QVERIFY(done.wait(30000));
    QCOMPARE(done.size(), 2);
}

void TestTodayWork::alertsWithAnimalsAreRed()
{
    CTodayWork page;
    QVERIFY(page.exportSetUp(m_farm));
    page.exportAction();
    int redRows = 0;
    for (int row = 1; row < page.grid()->GetRowCount(); ++row) {
        const bool alert = ReminderLists::find(page.commandOfRow(row))->alert;
        const bool red = page.grid()->GetItemFgColour(row, 3) == QColor(0xff, 0, 0);
        QCOMPARE(red, alert && page.countOfRow(row) > 0);
        redRows += red;
    }
    // The demo farm has work in every alert list at its date.
    QCOMPARE(redRows, 6);
}

// A double click or Enter opens the row's list in the frame.
void TestTodayWork::rowOpensItsList()
{
    ScriptedMessages messages;
    CGridScreen::setDefaultDatabasePath(m_farm);
    CMainFrame frame;
    QVERIFY(frame.runCommand(Cmd::TodayWork));
    auto* page = qobject_cast<CTodayWork*>(frame.screen(Cmd::TodayWork));
    QVERIFY(page);
    QVERIFY(page->openRow(9)); // 母猪待配警报
    QVERIFY(frame.screen(Cmd::JDaiPei));
    QCOMPARE(frame.activeScreen(), frame.screen(Cmd::JDaiPei));
    QVERIFY(!page->openRow(0)); // the header opens nothing

    // Enter on a row goes the same way.
    frame.runCommand(Cmd::TodayWork);
    page->grid()->SetFocusCell(2, 1);
    emit page->grid()->cellActivated(2, 1);
    QVERIFY(frame.screen(Cmd::TShiPei));
    CGridScreen::setDefaultDatabasePath(QString());
}

// The 查看 menu's check item turns the page off at start-up; the choice outlives the frame.
void TestTodayWork::startUpChoiceIsRemembered()
{
    QSettings().remove(QStringLiteral("Settings/TodayWorkAtStart"));
    QVERIFY(CMainFrame::todayWorkAtStart()); // on until turned off
    {
        CMainFrame frame;
        bool checked = false;
        QVERIFY(frame.isCommandEnabled(Cmd::TodayWorkAtStart, &checked));
        QVERIFY(checked);
        QVERIFY(frame.runCommand(Cmd::TodayWorkAtStart));
        QVERIFY(frame.isCommandEnabled(Cmd::TodayWorkAtStart, &checked));
        QVERIFY(!checked);
    }
    QVERIFY(!CMainFrame::todayWorkAtStart());
    CMainFrame again;
    QVERIFY(again.runCommand(Cmd::TodayWorkAtStart));
    QVERIFY(CMainFrame::todayWorkAtStart());
}

void TestTodayWork::exportWritesTheCounts()
{
    const QString csv = m_dir.filePath("today.csv");
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/Tamvo",
            {"--export", "今日工作", "--database", m_farm, "--now", "20261211", "--out", csv});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);
    QCOMPARE(lines[0], QStringLiteral("序号,工作,类别,头数"));
    CDbConnection conn;
    QVERIFY(conn.Open(m_farm));
    const auto& d = ReminderLists::definitions().first();
    const int rows = ReminderLists::compute(d, conn, QDateTime(m_today, QTime(0, 0))).rows.size();
    QVERIFY(lines[1].startsWith(QStringLiteral("1,母猪待配提醒,提醒,")));
    QCOMPARE(lines[1].section(',', 3), QString::number(rows));
}

QTEST_MAIN(TestTodayWork)
#include "test_todaywork.moc"
