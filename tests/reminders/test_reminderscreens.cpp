// The list screens: set-up, headers, colours, commands, find, the check confirmation,
// open failures, and the headless row count against what each screen shows.
#include "commandids.h"
#include "demofarm.h"
#include "pinlvscreen.h"
#include "reminderfarm.h"
#include "reminderscreen.h"
#include "dbrecordset.h"
#include "registerscreens.h"
#include "screenregistry.h"

#include <QApplication>
#include <QDir>
#include <memory>

namespace {
const QString kSow = QStringLiteral("LLAAAA125000101");

std::unique_ptr<CGridScreen> openScreen(int commandId, const QString& path)
{
    std::unique_ptr<CGridScreen> s;
    if (commandId == TPinLv)
        s = std::make_unique<CTPinLv>();
    else if (commandId == JPinLv)
        s = std::make_unique<CJPinLv>();
    else
        s = std::make_unique<CReminderScreen>(commandId, nullptr);
    s->setAttribute(Qt::WA_DeleteOnClose, false);
    s->exportSetUp(path);
    return s;
}
} // namespace

class TestReminderScreens : public QObject
{
    Q_OBJECT
private slots:
    void setUpEveryList_data();
    void setUpEveryList();
    void coloursAndFormats();
    void findByEarTagPrefix();
    void checkConfirmation();
    void checkRefusedWhileAnotherWindowWrites();
    void openFailures();
    void countsMatchScreensOnDemoFarm();
    void pictures();
};

void TestReminderScreens::setUpEveryList_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("columns");
    for (const ReminderLists::Definition& d : ReminderLists::definitions()) {
        static const QHash<int, int> columns = {{TDaiPei, 11}, {TShiPei, 13}, {TRenShen, 10}, {TJianCha, 9}, {TYuChan, 10},
                                                {TBuYu, 6},     {TDuanNai, 12}, {TPinLv, 0},   {JDaiPei, 11}, {JShiPei, 13},
                                                {JJianCha, 9},  {JYuChan, 10},  {JDuanNai, 12}, {JPinLv, 5}};
        QTest::newRow(qPrintable(d.title)) << d.commandId << d.title << columns.value(d.commandId);
    }
}

void TestReminderScreens::setUpEveryList()
{
    QFETCH(int, id);
    QFETCH(QString, title);
    QFETCH(int, columns);
    ReminderFarm farm;
    ScriptedMessages messages;
    registerScreens();
    // Every list is in the registry under its command.
    const ScreenEntry* entry = ScreenRegistry::find(id);
    QVERIFY(entry);
    std::unique_ptr<QWidget> w(entry->create(nullptr));
    auto* screen = dynamic_cast<CGridScreen*>(w.get());
    QVERIFY(screen);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(screen->exportSetUp(farm.db.path()));
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(screen->title(), title);
    QCOMPARE(screen->windowTitle(), title);
    QCOMPARE(screen->screenModule(), id >= JDaiPei ? 3 : 2);
    QCOMPARE(screen->grid()->GetColumnCount(), columns);
    if (columns > 0) {
        QCOMPARE(screen->grid()->GetRowCount(), 1);
        QCOMPARE(screen->grid()->GetFixedRowCount(), 1);
        QCOMPARE(screen->grid()->GetFixedColumnCount(), 2);
        QCOMPARE(screen->grid()->GetItemText(0, 0), QString("序号"));
    }
    // Read-only lists: copy always, find, freeze, lines, resizing, printing; no editing.
    for (int cmd : {int(Cmd::Copy), int(Cmd::Find), int(Cmd::FreezeCols), int(Cmd::FreezeRows), int(Cmd::HorzLines),
                    int(Cmd::VertLines), int(Cmd::RowResize), int(Cmd::ColResize), int(Cmd::Print), int(Cmd::PrintDirect),
                    int(Cmd::PrintPreview)})
        QVERIFY2(screen->commandEnabled(cmd, nullptr), qPrintable(QString::number(cmd)));
    for (int cmd : {int(Cmd::Save), int(Cmd::Cut), int(Cmd::Paste), int(Cmd::InsertRow), int(Cmd::Delete), int(Cmd::AddRows)})
        QVERIFY2(!screen->commandEnabled(cmd, nullptr), qPrintable(QString::number(cmd)));
    QVERIFY(screen->queryClose());
}

void TestReminderScreens::coloursAndFormats()
{
    ReminderFarm farm;
    farm.sow(kSow, farm.ago(20), QString());                       // back in heat: red
    farm.sow("LLAAAA125000102", QString(), farm.ago(6));           // weaned: black
    farm.mating(kSow, farm.ago(113) + "A", "2", "no", farm.ago(-1)); // due tomorrow: red
    ScriptedMessages messages;
    auto daiPei = openScreen(TDaiPei, farm.db.path());
    const CGridCtrl* g = daiPei->grid();
    QCOMPARE(g->GetRowCount(), 3);
    QCOMPARE(g->GetItemFormat(0, 3), 0x15u);
    for (int c = 0; c < g->GetColumnCount(); ++c) {
        QCOMPARE(g->GetItemFgColour(1, c), QColor(204, 0, 0));
        QVERIFY(g->GetItemFgColour(2, c) != QColor(204, 0, 0));
    }
    QCOMPARE(g->GetItemText(2, 0), QString("2"));
    auto yuChan = openScreen(TYuChan, farm.db.path());
    QCOMPARE(yuChan->grid()->GetItemFormat(0, 3), 0x11u);
    QCOMPARE(yuChan->grid()->GetItemFgColour(1, 9), QColor(255, 0, 0));
    // Auto-sized: no column is narrower than its header needs.
    QVERIFY(yuChan->grid()->GetColumnWidth(5) > 10);
}

void TestReminderScreens::findByEarTagPrefix()
{
    ReminderFarm farm;
    for (const char* tag : {"LLAAAA125000101", "YYAAAA125000101", "YYAAAA125000202"})
        farm.mating(tag, farm.ago(50) + "A", "1");
    auto screen = openScreen(TRenShen, farm.db.path());
    screen->runCommand(Cmd::Find);
    screen->findText(true, "YY");
    QCOMPARE(screen->grid()->GetSelectedRange().minRow, 2);
    screen->findText(true, "YY");
    QCOMPARE(screen->grid()->GetSelectedRange().minRow, 3);
    // Text inside an ear tag, not at its start, finds nothing.
    screen->findText(true, "AAAA");
    QCOMPARE(screen->grid()->GetSelectedRange().minRow, 3);
}

void TestReminderScreens::checkConfirmation()
{
    ReminderFarm farm;
    farm.mating(kSow, farm.ago(25) + "P", "2");
    farm.mating(kSow, farm.ago(25) + "P", "2"); // a second record of that day: the first is marked
    farm.mating("LLAAAA125000102", farm.ago(30) + "A", "1");
    ScriptedMessages messages;
    auto screen = openScreen(TJianCha, farm.db.path());
    CGridCtrl* g = screen->grid();
    QCOMPARE(g->GetRowCount(), 4);
    // Opening the list and giving it the focus ask nothing.
    screen->show();
    g->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QVERIFY(messages.shown().isEmpty());
    auto* list = static_cast<CReminderScreen*>(screen.get());

    // Rows by mating date: the older mating first.
    messages.queue(MsgAnswer::Cancel);
    list->confirmCheck(1);
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown()[0].text, QString("您确信母猪LLAAAA125000102第1胎已经检查吗？"));
    QCOMPARE(messages.shown()[0].caption, QString("妊娠检查"));
    QCOMPARE(messages.shown()[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(g->GetRowCount(), 4);
    QCOMPARE(farm.db.scalar("select count(*) from 配种 where 检查时间='no'"), QString("3"));

    messages.clear();
    messages.queue(MsgAnswer::Ok);
    list->confirmCheck(2);
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(farm.db.rows("select id,检查时间 from 配种 where 检查时间<>'no'"), QStringList{"1|" + farm.ago(0)});
    QCOMPARE(g->GetRowCount(), 3);
    // The rows left keep their numbers.
    QCOMPARE(g->GetItemText(2, 0), QString("3"));
    QCOMPARE(list->listedRows(), 2);
    // Reopened, the confirmed mating is gone.
    QCOMPARE(openScreen(TJianCha, farm.db.path())->grid()->GetRowCount(), 3);
    // Through the grid's selection: choosing a row asks.
    messages.clear();
    g->SetFocusCell(1, 3);
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.shown()[0].text.contains("LLAAAA125000102"));
}

void TestReminderScreens::checkRefusedWhileAnotherWindowWrites()
{
    ReminderFarm farm;
    farm.mating(kSow, farm.ago(25) + "A", "2");
    ScriptedMessages messages;
    auto screen = openScreen(TJianCha, farm.db.path());
    // Another window holds unsaved changes.
    CDbConnection other;
    QVERIFY(other.Open(farm.db.path()));
    other.SetOwnerName(QStringLiteral("配种记录"));
    QVERIFY(other.BeginTrans() > 0);
    CDbRecordset write(&other);
    write.Open(QStringLiteral("delete from 配种 where 母猪耳号='nobody'"));
    messages.queue(MsgAnswer::Ok);
    static_cast<CReminderScreen*>(screen.get())->confirmCheck(1);
    QCOMPARE(messages.shown().size(), 2);
    QVERIFY2(messages.shown()[1].text.contains("配种记录"), qPrintable(messages.shown()[1].text));
    QCOMPARE(screen->grid()->GetRowCount(), 2);
    other.RollbackTrans();
    QCOMPARE(farm.db.scalar("select 检查时间 from 配种"), QString("no"));
}

void TestReminderScreens::openFailures()
{
    ReminderFarm farm;
    QVERIFY(farm.db.exec("drop table 种猪卡"));
    QVERIFY(farm.db.exec("drop table 产仔记录"));
    ScriptedMessages messages;
    // The mating-due list and the nursing list say so; the others stay quietly empty.
    for (int id : {TDaiPei, TBuYu, JDaiPei}) {
        messages.clear();
        auto s = openScreen(id, farm.db.path());
        QCOMPARE(messages.texts(), QStringList{"打开数据库错误"});
        QCOMPARE(messages.shown()[0].caption, QString("错误"));
        QCOMPARE(messages.shown()[0].icon, MsgIcon::Stop);
        QCOMPARE(s->grid()->GetRowCount(), 1);
    }
    messages.clear();
    for (int id : {TShiPei, TDuanNai, JShiPei, JDuanNai})
        QCOMPARE(openScreen(id, farm.db.path())->grid()->GetRowCount(), 1);
    QVERIFY(messages.shown().isEmpty());
    // No database at all: "数据库连接失败!" and an empty grid.
    QVERIFY(QFile::remove(farm.db.path()));
    QFile junk(farm.db.path());
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("no herd database here, just text that is long enough to be read as a file header");
    junk.close();
    messages.clear();
    auto s = openScreen(TRenShen, farm.db.path());
    QCOMPARE(messages.texts(), QStringList{"数据库连接失败!"});
    QCOMPARE(s->grid()->GetColumnCount(), 0);
    QCOMPARE(ReminderLists::rowCount(TRenShen, farm.db.path()), -1);
}

// On the demo farm every list has rows, and the headless count is what the screen shows.
void TestReminderScreens::countsMatchScreensOnDemoFarm()
{
    QTemporaryDir dir;
    DemoFarm::Options o;
    o.path = dir.filePath("demo.db");
    o.today = QDate(2026, 12, 11);
    QVERIFY(DemoFarm::create(o));
    AppClock::setNow(QDateTime(o.today, QTime(8, 0)));
    ScriptedMessages messages;
    for (const ReminderLists::Definition& d : ReminderLists::definitions()) {
        const int count = ReminderLists::rowCount(d.commandId, o.path);
        QVERIFY2(count > 0, qPrintable(d.title));
        auto s = openScreen(d.commandId, o.path);
        int shown = 0;
        if (auto* list = dynamic_cast<CReminderScreen*>(s.get())) {
            shown = list->listedRows();
            QCOMPARE(s->grid()->GetRowCount() - 1, d.commandId == JJianCha ? s->grid()->GetRowCount() - 1 : shown);
        } else {
            s->exportAction();
            shown = s->grid()->GetRowCount() - s->grid()->GetFixedRowCount();
        }
        QCOMPARE(shown, count);
    }
    QVERIFY(messages.shown().isEmpty());
    AppClock::setNow(QDateTime());
}

// Pictures of some lists on the demo farm for a person to look at; only with TAMVO_SHOT_DIR set.
void TestReminderScreens::pictures()
{
    const QString out = qEnvironmentVariable("TAMVO_SHOT_DIR");
    if (out.isEmpty())
        QSKIP("set TAMVO_SHOT_DIR to take the pictures");
    QDir().mkpath(out);
    QTemporaryDir dir;
    DemoFarm::Options o;
    o.path = dir.filePath("demo.db");
    o.today = QDate(2026, 12, 11);
    QVERIFY(DemoFarm::create(o));
    AppClock::setNow(QDateTime(o.today, QTime(8, 0)));
    ScriptedMessages messages;
    for (int id : {TDaiPei, TYuChan, TDuanNai, JDuanNai, TPinLv, JPinLv}) {
        auto s = openScreen(id, o.path);
        s->exportAction();
        s->resize(1100, 560);
        s->show();
        QApplication::processEvents();
        QVERIFY(s->grab().save(QStringLiteral("%1/%2.png").arg(out).arg(id)));
    }
    AppClock::setNow(QDateTime());
}

QTEST_MAIN(TestReminderScreens)
#include "test_reminderscreens.moc"
