// Start-up: the farm number file, the command line, where the database lives, the
// database test and the hand-over to a running copy.
#include "commandids.h"
#include "commandline.h"
#include "mainframe.h"
#include "singleinstance.h"
#include "splashwnd.h"
#include "tamvoapp.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void codeIniRead_data();
    void codeIniRead();
    void codeIniWrite();
    void commandLine_data();
    void commandLine();
    void newFarmIsCreatedOnFirstStart();
    void strangerDatabaseEndsStartup();
    void secondCopyHandsOver();
    void chineseFrameworkTexts();
    void splashSwallowsTheKeyThatHidesIt();
    void splashHidesItselfAfterTwoSeconds();
    void programRefusesBadOptions_data();
    void programRefusesBadOptions();
};

void TestStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestStartup::codeIniRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("farm");
    QTest::addColumn<QString>("subFarm");
    QTest::newRow("two lines") << QByteArray("BJZZ\n2") << true << "BJZZ" << "2";
    QTest::newRow("trailing line end") << QByteArray("BJZZ\n2\n") << true << "BJZZ" << "2";
    QTest::newRow("windows line ends") << QByteArray("BJZZ\r\n2\r\n") << true << "BJZZ" << "2";
    QTest::newRow("one line") << QByteArray("BJZZ") << true << "BJZZ" << "";
    QTest::newRow("empty file") << QByteArray() << true << "" << "";
    QTest::newRow("missing file") << QByteArray() << false << "AAAA" << "1";
}

void TestStartup::codeIniRead()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(QString, farm);
    QFETCH(QString, subFarm);
    QTemporaryDir dir;
    const QString path = dir.filePath("code.ini");
    if (exists) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QString f = "AAAA", s = "1";
    QCOMPARE(CTamvoApp::readCodeIni(path, f, s), exists);
    QCOMPARE(f, farm);
    QCOMPARE(s, subFarm);
}

void TestStartup::codeIniWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("code.ini");
    QVERIFY(CTamvoApp::writeCodeIni(path, "OLDX", "9"));
    QVERIFY(CTamvoApp::writeCodeIni(path, "BJZZ", "2")); // replaces the old file
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("BJZZ\n2")); // no line end after the sub-farm number
    QString farm, sub;
    QVERIFY(CTamvoApp::readCodeIni(path, farm, sub));
    QCOMPARE(farm + sub, QStringLiteral("BJZZ2"));
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("noSplash");
    QTest::newRow("nothing") << QStringList() << true << "" << false;
    QTest::newRow("database") << QStringList({"--database", "/tmp/x.db"}) << true << "/tmp/x.db" << false;
    QTest::newRow("nosplash") << QStringList({"--nosplash"}) << true << "" << true;
    QTest::newRow("now") << QStringList({"--now", "20261211"}) << true << "" << false;
    QTest::newRow("now with time") << QStringList({"--now", "202612110830"}) << true << "" << false;
    QTest::newRow("bad now") << QStringList({"--now", "2026-12-11"}) << false << "" << false;
    QTest::newRow("missing value") << QStringList({"--database"}) << false << "" << false;
    QTest::newRow("unknown") << QStringList({"--frobnicate"}) << false << "" << false;
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, database);
    QFETCH(bool, noSplash);
    const CommandLine cl = CommandLine::parse(QStringList("Tamvo") + args);
    QCOMPARE(cl.error.isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(cl.database, database);
    QCOMPARE(cl.noSplash, noSplash);
}

void TestStartup::newFarmIsCreatedOnFirstStart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("farm/lumbodata.db");
    QVERIFY(QDir().mkpath(dir.filePath("farm")));
    QVERIFY(CTamvoApp::writeCodeIni(dir.filePath("farm/code.ini"), "BJZZ", "3"));
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = path;
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));
    QVERIFY(messages.shown().isEmpty());
    QVERIFY(QFile::exists(path));
    QCOMPARE(app.databasePath(), path);
    QCOMPARE(app.farmNumber(), QStringLiteral("BJZZ"));
    QCOMPARE(app.subFarmNumber(), QStringLiteral("3"));
    QCOMPARE(app.ownerName(), QStringLiteral("XXXXXX公司"));
    QVERIFY(app.mainFrame());
    // The morning view opens at start-up unless the user turned it off.
    if (CMainFrame::todayWorkAtStart()) {
        QVERIFY(app.mainFrame()->screen(Cmd::TodayWork));
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("生产提醒模块 - [今日工作]"));
    } else {
        QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("塔沃种猪管理大师"));
    }
    QVERIFY(app.mainFrame()->windowState() & Qt::WindowMaximized);
    app.mainFrame()->close();
    app.ExitInstance();
}

void TestStartup::strangerDatabaseEndsStartup()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lumbodata.db");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("accounts of another program");
    f.close();
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = path;
    cl.noSplash = true;
    QVERIFY(!app.InitInstance(cl));
    QCOMPARE(app.exitCode(), 1);
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().text, QStringLiteral("数据库连接失败!"));
    QCOMPARE(messages.shown().first().caption, QStringLiteral("塔沃种猪管理大师"));
    QCOMPARE(messages.shown().first().icon, MsgIcon::Warning);
    app.ExitInstance();
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("accounts of another program"));
}

void TestStartup::secondCopyHandsOver()
{
    // The running copy is this test; the second is the real program with the same key.
    TempHerdDb db;
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = db.path();
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));
    CMainFrame* frame = app.mainFrame();
    frame->showMinimized();

    SingleInstance other;
    QVERIFY(!other.acquire()); // the lock is held

    QProcess second;
    second.setProgram(QCoreApplication::applicationDirPath() + "/Tamvo");
    second.setArguments({"--nosplash", "--database", db.path()});
    second.start();
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
    QCOMPARE(second.exitCode(), 0);
    // A minimised window may keep its maximised flag: wait for the hand-over itself.
    QTRY_VERIFY_WITH_TIMEOUT(!(frame->windowState() & Qt::WindowMinimized), 5000);
    QVERIFY(frame->windowState() & Qt::WindowMaximized);
    frame->close();
    app.ExitInstance();
}

void TestStartup::chineseFrameworkTexts()
{
    // Qt's own buttons and dialogs speak Chinese, and a CJK font is chosen.
    CTamvoApp::setupLocale(*qApp);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QVERIFY(QFontDatabase::families().contains(qApp->font().family()));
    QVERIFY(QFontMetrics(qApp->font()).inFont(QChar(0x732A))); // 猪
}

void TestStartup::splashSwallowsTheKeyThatHidesIt()
{
    QWidget main;
    auto* edit = new QLineEdit(&main);
    main.show();
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QPointer<CSplashWnd> splash = CSplashWnd::showSplash(&main, 60000);
    QVERIFY(splash && splash->isVisible());
    QCOMPARE(CSplashWnd::showSplash(&main), splash.data()); // only once
    QTest::keyClick(edit, Qt::Key_A);
    QTRY_VERIFY(splash.isNull());
    QCOMPARE(edit->text(), QString()); // the key went nowhere
    QTest::keyClick(edit, Qt::Key_B);
    QCOMPARE(edit->text(), QStringLiteral("b"));
}

void TestStartup::splashHidesItselfAfterTwoSeconds()
{
    QWidget main;
    main.show();
    QPointer<CSplashWnd> splash = CSplashWnd::showSplash(&main);
    QVERIFY(splash);
    QTest::qWait(1500);
    QVERIFY(splash);
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 2000);
}

void TestStartup::programRefusesBadOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("unknown option") << QStringList({"--frobnicate"}) << 2;
    QTest::newRow("bad date") << QStringList({"--now", "20261340"}) << 2;
    QTest::newRow("help") << QStringList({"--help"}) << 0;
    QTest::newRow("version") << QStringList({"--version"}) << 0;
}

void TestStartup::programRefusesBadOptions()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/Tamvo", args);
    QVERIFY(p.waitForFinished(15000));
    QCOMPARE(p.exitCode(), exitCode);
    if (exitCode == 2)
        QVERIFY(p.readAllStandardError().contains("--"));
    else
        QVERIFY(!p.readAllStandardOutput().isEmpty());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
