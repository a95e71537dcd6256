// Pictures of the main window for a person to look at. A program, not a test (it checks
// nothing a machine could judge): run it under a real X server with a folder, e.g.
//   TAMVO_SHOT_DIR=/tmp/shots xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/shots_framescreenshots
#include "fakescreen.h"
#include "gridscreen.h"
#include "testsupport.h"
#include "childframe.h"
#include "cnumberdlg.h"
#include "mainframe.h"

#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestFrameScreenshots : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shots();
    void realScreens();
    void numberDialog();

private:
    void shoot(const QString& name);
    QString m_dir;
    QTemporaryDir m_settings;
};

void TestFrameScreenshots::initTestCase()
{
    m_dir = qEnvironmentVariable("TAMVO_SHOT_DIR");
    if (m_dir.isEmpty() || QGuiApplication::platformName() == QLatin1String("offscreen"))
        QFAIL("set TAMVO_SHOT_DIR and run under an X server to take the pictures");
    QDir().mkpath(m_dir);
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
}

void TestFrameScreenshots::shoot(const QString& name)
{
    QTest::qWait(400);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    QVERIFY(shot.save(QDir(m_dir).filePath(name + QStringLiteral(".png"))));
}

void TestFrameScreenshots::shots()
{
    CMainFrame frame;
    FakeScreens screens;
    screens.add({32819, 32827, 32837});
    frame.setGeometry(0, 0, 1280, 800);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    // The default menu with "生产分析" open and its first sub-menu.
    QMenuBar* bar = frame.menuBar();
    bar->setActiveAction(bar->actions().at(4));
    QTest::qWait(300);
    QMenu* analysis = bar->actions().at(4)->menu();
    analysis->setActiveAction(analysis->actions().at(2));
    QTest::qWait(300);
    shoot(QStringLiteral("frame-default-menu"));
    analysis->close();
    bar->setActiveAction(nullptr);
    QTest::qWait(200);

    shoot(QStringLiteral("frame-navigation-bar"));

    frame.runCommand(32819);
    frame.runCommand(32827);
    // The screen in front offers every shared command, so the tool bar shows in colour.
    if (auto* screen = dynamic_cast<FakeScreen*>(frame.screen(32827)))
        screen->handled = {32777, 32778, 32779, 32780, 32781, 32782, 32783, 32784, 57607, 57609};
    frame.updateCommandStates();
    shoot(QStringLiteral("frame-two-screens-tabs"));

    // The module menu of the alerts with "模块" open.
    bar->setActiveAction(bar->actions().at(2));
    QTest::qWait(300);
    shoot(QStringLiteral("frame-module-menu"));
    bar->setActiveAction(nullptr);
    QTest::qWait(200);
}

void TestFrameScreenshots::numberDialog()
{
    CMainFrame frame;
    frame.setGeometry(0, 0, 1280, 800);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    CNumberDlg dlg(&frame);
    dlg.setTitleFlag(true);
    dlg.setPrompt(QStringLiteral("设置开始显示标签的文档数量"));
    dlg.setValue(2);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    shoot(QStringLiteral("frame-number-dialog"));
}

void TestFrameScreenshots::realScreens()
{
    TempHerdDb db;
    CGridScreen::setDefaultDatabasePath(db.path());
    ScriptedMessages messages; // nothing here may wait for a person
    CMainFrame frame;
    frame.setGeometry(0, 0, 1280, 800);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.runCommand(32772));
    QVERIFY(frame.runCommand(32771));
    shoot(QStringLiteral("frame-real-entry-screens"));
    // A screen in a normal (not maximised) child frame, smaller than its form.
    frame.screenFrame(32771)->showNormal();
    frame.screenFrame(32771)->setGeometry(20, 20, 520, 380);
    shoot(QStringLiteral("frame-real-screen-normal"));
    frame.close();
}

QTEST_MAIN(TestFrameScreenshots)
#include "shots_framescreenshots.moc"
