#include "cadress.h"
#include "cbianhao.h"
#include "cchaodays.h"
#include "cman.h"
#include "cmaose.h"
#include "cparamgriddlg.h"
#include "cpinzhong.h"
#include "csettingsdlg.h"
#include "csortlistctrl.h"
#include "dbconnection.h"
#include "herdparams.h"
#include "registerscreens.h"
#include "dialogcommands.h"
#include "settingslists.h"
#include "tamvoapp.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <functional>

namespace {

// Answers the hub's dialogs with a function; restores exec() when it goes.
class ScriptedDialogs
{
public:
    explicit ScriptedDialogs(std::function<int(QDialog*)> answer)
    {
        m_previous = CSettingsDlg::setDialogRunner([this, answer](QDialog* d) {
            ++m_count;
            return answer(d);
        });
    }
    ~ScriptedDialogs() { CSettingsDlg::setDialogRunner(m_previous); }
    int count() const { return m_count; }

private:
    CSettingsDlg::DialogRunner m_previous;
    int m_count = 0;
};

// The texts of an editor's entries in use, each "code|name" for the breeds.
QStringList entriesOf(QDialog* d)
{
    QStringList out;
    if (auto* p = qobject_cast<CPinZhong*>(d)) {
        for (int i = 0; i < CPinZhong::kCapacity && !p->m_list[i][0].isEmpty(); ++i)
            out << p->m_list[i][0] + "|" + p->m_list[i][1];
    } else if (auto* m = qobject_cast<CMaoSe*>(d)) {
        for (int i = 0; i < CMaoSe::kCapacity && !m->m_list[i].isEmpty(); ++i)
            out << m->m_list[i];
    } else if (auto* m = qobject_cast<CMan*>(d)) {
        for (int i = 0; i < CMan::kCapacity && !m->m_list[i].isEmpty(); ++i)
            out << m->m_list[i];
    } else if (auto* a = qobject_cast<CAdress*>(d)) {
        for (int i = 0; i < CAdress::kCapacity && !a->m_list[i].isEmpty(); ++i)
            out << a->m_list[i];
    }
    return out;
}

QString titleOf(QDialog* d)
{
    if (auto* m = qobject_cast<CMan*>(d))
        return m->m_title;
    if (auto* a = qobject_cast<CAdress*>(d))
        return a->m_title;
    return d->windowTitle();
}

// Adds an entry through the editor's own buttons.
void addEntry(CListEditDlg* editor, const QString& code, const QString& name = QString())
{
    editor->OnAdd();
    editor->codeEdit()->setText(code);
    if (editor->nameEdit())
        editor->nameEdit()->setText(name);
    editor->OnConfirm();
}

void deleteRow(CListEditDlg* editor, int row, ScriptedMessages& messages)
{
    messages.queue(MsgAnswer::Yes);
    editor->list()->SelectItem(row);
    editor->OnDelete();
}

} // namespace

class TestSettingsHub : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hubButtons();
    void registeredAsDialogCommand();
    void listLoadAndStore_data();
    void listLoadAndStore();
    void cancelLeavesTableUntouched();
    void codeDifferingInCaseIsNewEntry();
    void loadStopsAtCapacity();
    void failedRewriteKeepsOldList_data();
    void failedRewriteKeepsOldList();
    void thresholdsMatchedByName();
    void thresholdsCancelled();
    void connectionFailure();
    void farmNumberRoundTrip();
};

void TestSettingsHub::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("tamvo-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_settingshub"));
}

void TestSettingsHub::hubButtons()
{
    CSettingsDlg hub;
    QCOMPARE(hub.windowTitle(), QStringLiteral("参数设置"));
    const QList<QPair<int, QString>> buttons = {
        {1013, "猪场编号"}, {1015, "警报设置"}, {1022, "生理参数"}, {1021, "年生产目标"},
        {1023, "品种设置"}, {1024, "毛色设置"}, {1025, "来源地点"}, {1026, "出售地点"},
        {1027, "配种员"},   {1028, "饲养员"},   {1029, "兽医"}};
    for (const auto& b : buttons) {
        QVERIFY2(hub.button(b.first), qPrintable(QString::number(b.first)));
        QCOMPARE(hub.button(b.first)->text(), b.second);
    }
    QCOMPARE(hub.findChildren<QPushButton*>().size(), 11); // no OK or Cancel
}

void TestSettingsHub::registeredAsDialogCommand()
{
    registerScreens();
    QVERIFY(DialogCommands::find(CSettingsDlg::kCommandId));
}

void TestSettingsHub::listLoadAndStore_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fixture");  // rows inserted, ';' between rows, '|' between fields
    QTest::addColumn<QStringList>("loaded"); // what the editor shows, in load order
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("breeds, ordered by code") << 1023 << "品种表" << "品种设置" << "YY|大白;LL|长白;DD|杜洛克"
                                             << QStringList{"DD|杜洛克", "LL|长白", "YY|大白"} << "PP|皮特兰"
                                             << QStringList{"LL|长白", "YY|大白", "PP|皮特兰"};
    QTest::newRow("coat colours") << 1024 << "毛色表" << "毛色种类设置" << "白;黑;花"
                                  << QStringList{"白", "黑", "花"} << "棕" << QStringList{"黑", "花", "棕"};
    QTest::newRow("origins") << 1025 << "来源" << "设置来源地点" << "本场;外购" << QStringList{"本场", "外购"} << "种猪场"
                             << QStringList{"外购", "种猪场"};
    QTest::newRow("sale places") << 1026 << "出售地点" << "设置出售地点" << "市场;屠宰场" << QStringList{"市场", "屠宰场"}
                                 << "客户" << QStringList{"屠宰场", "客户"};
    QTest::newRow("inseminators") << 1027 << "配种员表" << "设置配种员" << "张三;李四" << QStringList{"张三", "李四"}
                                  << "王五" << QStringList{"李四", "王五"};
    QTest::newRow("stockmen") << 1028 << "饲养员表" << "设置饲养员" << "赵六" << QStringList{"赵六"} << "钱七"
                              << QStringList{"钱七"};
    QTest::newRow("vets") << 1029 << "兽医表" << "设置兽医" << "孙八;周九;吴十" << QStringList{"孙八", "周九", "吴十"}
                          << "郑一" << QStringList{"周九", "吴十", "郑一"};
}

void TestSettingsHub::listLoadAndStore()
{
    QFETCH(int, button);
    QFETCH(QString, table);
    QFETCH(QString, title);
    QFETCH(QString, fixture);
    QFETCH(QStringList, loaded);
    QFETCH(QString, added);
    QFETCH(QStringList, stored);
    TempHerdDb db;
    QVERIFY(db.exec("delete from " + table));
    for (const QString& row : fixture.split(';')) {
        QStringList quoted;
        for (const QString& f : row.split('|'))
            quoted << "'" + f + "'";
        QVERIFY(db.exec("insert into " + table + " values(" + quoted.join(',') + ")"));
    }
    ScriptedMessages messages;
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* editor = qobject_cast<CListEditDlg*>(d);
        if (!editor)
            return int(QDialog::Rejected);
        [&] {
            QCOMPARE(entriesOf(d), loaded);
            QCOMPARE(titleOf(d), title);
        }();
        // Delete the first entry, then add one: the rest keep their order.
        deleteRow(editor, 0, messages);
        addEntry(editor, added.section('|', 0, 0), added.section('|', 1, 1));
        return int(QDialog::Accepted);
    });
    CSettingsDlg hub;
    QVERIFY(hub.setUp(db.path()));
    hub.button(button)->click();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(db.rows("select * from " + table + " order by rowid"), stored);
    QCOMPARE(messages.texts(), QStringList{"确认要删除吗？"});
}

void TestSettingsHub::cancelLeavesTableUntouched()
{
    TempHerdDb db;
    const QStringList before = db.rows("select * from 品种表 order by rowid");
    ScriptedMessages messages;
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* editor = qobject_cast<CPinZhong*>(d);
        addEntry(editor, "PP", "皮特兰");
        deleteRow(editor, 0, messages);
        editor->quitButton()->click();
        return editor->result();
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.OnBreeds();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(db.rows("select * from 品种表 order by rowid"), before);
}

void TestSettingsHub::codeDifferingInCaseIsNewEntry()
{
    TempHerdDb db;
    QVERIFY(db.exec("delete from 品种表"));
    QVERIFY(db.exec("insert into 品种表 values('LL','长白')"));
    ScriptedMessages messages;
    ScriptedDialogs dialogs([&](QDialog* d) {
        addEntry(qobject_cast<CListEditDlg*>(d), "ll", "小写");
        return int(QDialog::Accepted);
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.OnBreeds();
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(db.rows("select * from 品种表 order by rowid"), (QStringList{"LL|长白", "ll|小写"}));
}

void TestSettingsHub::loadStopsAtCapacity()
{
    TempHerdDb db;
    QVERIFY(db.exec("delete from 毛色表"));
    for (int i = 0; i < 35; ++i)
        QVERIFY(db.exec(QString("insert into 毛色表 values('色%1')").arg(i, 2, 10, QLatin1Char('0'))));
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    const auto entries = SettingsLists::load(conn, SettingsLists::definition(SettingsLists::List::CoatColours));
    QCOMPARE(entries.size(), 30);
    QCOMPARE(entries.first(), QStringList{"色00"});
    QCOMPARE(entries.last(), QStringList{"色29"});
}

void TestSettingsHub::failedRewriteKeepsOldList_data()
{
    QTest::addColumn<bool>("otherWindowWriting");
    QTest::newRow("a row the database refuses") << false;
    QTest::newRow("another window holds unsaved work") << true;
}

void TestSettingsHub::failedRewriteKeepsOldList()
{
    QFETCH(bool, otherWindowWriting);
    TempHerdDb db;
    QVERIFY(db.exec("delete from 毛色表"));
    QVERIFY(db.exec("insert into 毛色表 values('白')"));
    QVERIFY(db.exec("insert into 毛色表 values('黑')"));
    QVERIFY(db.exec("create trigger refuse before insert on 毛色表 when new.毛色='坏' "
                    "begin select raise(abort,'refused'); end"));
    CDbConnection other;
    if (otherWindowWriting) {
        QVERIFY(other.Open(db.path()));
        other.SetOwnerName("配种记录");
        QVERIFY(other.BeginTrans() >= 0);
    }
    ScriptedMessages messages;
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* editor = qobject_cast<CListEditDlg*>(d);
        addEntry(editor, "花");
        addEntry(editor, otherWindowWriting ? "棕" : "坏");
        return int(QDialog::Accepted);
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.OnCoatColours();
    if (otherWindowWriting)
        other.RollbackTrans();
    QCOMPARE(db.rows("select * from 毛色表 order by rowid"), (QStringList{"白", "黑"}));
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.texts().first().startsWith("保存失败"));
    if (otherWindowWriting)
        QVERIFY(messages.texts().first().contains("配种记录"));
    QCOMPARE(messages.shown().first().caption, QStringLiteral("错误"));
}

void TestSettingsHub::thresholdsMatchedByName()
{
    TempHerdDb db;
    // The rows in another id order: 星期超配数 first, 初配天数 last.
    QVERIFY(db.exec("update 参数 set id='9' where 名称='初配天数'"));
    QVERIFY(db.exec("update 参数 set id='0' where 名称='星期超配数'"));
    QVERIFY(db.exec("update 参数 set 参数='5x' where 名称='待配天数'")); // a decimal prefix
    QVERIFY(db.exec("update 参数 set 参数='' where 名称='预产天数'"));
    ScriptedMessages messages;
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* dlg = qobject_cast<CChaoDays*>(d);
        [&] {
            QVERIFY(dlg);
            // Fields in id order: 星期超配数, 待配天数, 预产天数, 断奶天数, 初配天数.
            QCOMPARE(dlg->m_values[0], 3);
            QCOMPARE(dlg->m_values[1], 5);
            QCOMPARE(dlg->m_values[2], 0);
            QCOMPARE(dlg->m_values[3], 2);
            QCOMPARE(dlg->m_values[4], 2);
        }();
        for (int i = 0; i < 5; ++i)
            dlg->field(i)->setText(QString::number(11 * (i + 1)));
        dlg->OnOK();
        return dlg->result();
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.button(CSettingsDlg::IDC_ALERT)->click();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(db.rows("select 名称,参数 from 参数 order by id"),
             (QStringList{"星期超配数|11", "待配天数|22", "预产天数|33", "断奶天数|44", "初配天数|55"}));
    // The reminders read the new values the next time they open.
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    QCOMPARE(HerdParams::threshold(conn, "初配天数", 2), 55);
    QCOMPARE(HerdParams::threshold(conn, "星期超配数", 3), 11);
}

void TestSettingsHub::thresholdsCancelled()
{
    TempHerdDb db;
    const QStringList before = db.rows("select * from 参数 order by id");
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* dlg = qobject_cast<CChaoDays*>(d);
        dlg->field(0)->setText("99");
        return int(QDialog::Rejected);
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.OnAlert();
    QCOMPARE(db.rows("select * from 参数 order by id"), before);
}

void TestSettingsHub::connectionFailure()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath("lumbodata.db");
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a database");
    }
    ScriptedMessages messages;
    int shown = 0;
    ScriptedDialogs dialogs([&](QDialog* d) {
        ++shown;
        if (auto* editor = qobject_cast<CListEditDlg*>(d)) {
            [&] { QCOMPARE(editor->entryCount(), 0); }(); // an empty list
            addEntry(editor, "XX", "新");
        }
        return int(QDialog::Accepted);
    });
    CSettingsDlg hub;
    QVERIFY(!hub.setUp(bad));
    QCOMPARE(messages.texts(), QStringList{"数据库连接失败!"});
    hub.OnBreeds(); // still usable, stores nothing
    QCOMPARE(shown, 1);
    QCOMPARE(messages.shown().size(), 1);
    QFile f(bad);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("not a database"));
}

void TestSettingsHub::farmNumberRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lumbodata.db");
    QVERIFY(CTamvoApp::writeCodeIni(dir.filePath("code.ini"), "BJZZ", "3"));
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = path;
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));
    registerScreens();

    QStringList seen;
    ScriptedDialogs dialogs([&](QDialog* d) {
        auto* dlg = qobject_cast<CBianHao*>(d);
        seen << dlg->farmEdit()->text() << dlg->subFarmEdit()->text();
        dlg->farmEdit()->setText("HN01");
        dlg->subFarmEdit()->setText("7");
        dlg->OnOK();
        return dlg->result();
    });
    CSettingsDlg hub;
    hub.setUp(path);
    hub.button(CSettingsDlg::IDC_FARM)->click();
    QCOMPARE(seen, (QStringList{"BJZZ", "3"}));
    QCOMPARE(app.farmNumber(), QStringLiteral("HN01"));
    QCOMPARE(app.subFarmNumber(), QStringLiteral("7"));
    QString farm, sub;
    QVERIFY(CTamvoApp::readCodeIni(dir.filePath("code.ini"), farm, sub));
    QCOMPARE(farm, QStringLiteral("HN01"));
    QCOMPARE(sub, QStringLiteral("7"));
    QVERIFY(messages.shown().isEmpty());
    app.ExitInstance();
}

QTEST_MAIN(TestSettingsHub)
#include "test_settingshub.moc"
