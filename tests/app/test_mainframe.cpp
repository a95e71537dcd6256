#include "cfinddlg.h"
#include "childframe.h"
#include "cnumberdlg.h"
#include "commandtable.h"
#include "dialogcommands.h"
#include "fakescreen.h"
#include "framestatusbar.h"
#include "mainframe.h"
#include "helpwindow.h"
#include "mditabs.h"
#include "navigationbar.h"
#include "testsupport.h"

#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

namespace {

// A menu as text: commands by id, "-" for separators, popups as caption{...}.
QString dumpActions(const QList<QAction*>& actions)
{
    QStringList parts;
    for (QAction* a : actions) {
        if (a->isSeparator())
            parts << QStringLiteral("-");
        else if (QMenu* m = a->menu())
            parts << m->title() + QLatin1Char('{') + dumpActions(m->actions()) + QLatin1Char('}');
        else
            parts << QString::number(a->data().toInt());
    }
    return parts.join(QLatin1Char(' '));
}

QString dumpMenu(const QList<QMenu*>& popups)
{
    QList<QAction*> actions;
    for (QMenu* m : popups)
        actions << m->menuAction();
    return dumpActions(actions);
}

QString menuBarText(QMenuBar* bar)
{
    return dumpActions(bar->actions());
}

// The default menu's module popups, written out as the menus must read.
const QString P0 = QStringLiteral("32771 32772 32773");
const QString P1 = QStringLiteral("32813 32814 - 32815 32816 - 32817");
const QString P2 = QStringLiteral("32900 - 32819 32820 - 32821 32822 32823 32824 32825 - 32826");
const QString P3 = QStringLiteral("32827 32828 - 32829 32830 32831 32832");
const QString analysis(bool yearlyAtEnd)
{
    return QStringLiteral("32837 - 猪群品种分布{32838 32839 - 32840 32841") + (yearlyAtEnd ? "" : " - 32870 32871")
           + QStringLiteral("} 猪群年龄胎次分布{32842 - 32843 32844} 32845 - 发情分析{32846 32847} "
                            "配种分析{32848 32849 - 32850 32851 - 32852 - 32853 32854 - 32855} "
                            "妊娠分析{32856 32857 - 32858 32859 32872 32873} 分娩分析{32860 32861} "
                            "产仔分析{32862 32863 - 32864} 32869 - 死亡分析{32866 32867} 32868")
           + (yearlyAtEnd ? " - 32870 32871" : "");
}
const QString P4 = analysis(false);
const QString P5 = QStringLiteral("32874 32875 - 32879 32880 - 32881");
const QString kTools = QStringLiteral("工具(&T){32888 32889}");
const QString kMaintenance = QStringLiteral("数据维护{32887 - 32885 32886 32884}");
const QString kHelp = QStringLiteral("帮助(&H){32785 32894 32895 57664}");

QString popup(const QString& caption, const QString& items)
{
    return caption + QLatin1Char('{') + items + QLatin1Char('}');
}

struct Fixture {
    Fixture()
        : frame(std::make_unique<CMainFrame>())
    {
    }
    FakeScreen* fake(int id) const { return dynamic_cast<FakeScreen*>(frame->screen(id)); }
    int windows() const
    {
        int n = 0;
        for (QMdiSubWindow* w : frame->mdiArea()->subWindowList())
            n += w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide) ? 0 : 1;
        return n;
    }
    std::unique_ptr<CMainFrame> frame;
    FakeScreens screens;
};

// Runs queued calls and deferred deletions, twice: a queued close deletes later.
void flushDeletes()
{
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void menus_data();
    void menus();
    void captionsPromptsAndTips_data();
    void captionsPromptsAndTips();
    void toolBarButtonsInOrder();

    void oneScreenPerSlotAndModuleSwitch();
    void clickingAWindowDoesNotSwitchTheMenu();
    void defaultMenuReturnsAfterTheLastClose();
    void failedCreationLeavesNoSlot();
    void aScreenThatGoesTakesItsFrame();
    void commandsWithoutScreenOrDialogStayDisabled();
    void sharedCommandsGoToTheActiveScreen();
    void openWindowButtonAndItsDropDown();
    void newWindowOpensASecondViewOutsideTheSlot();

    void navigationNamesOpenTheirScreens_data();
    void navigationNamesOpenTheirScreens();
    void navigationBarGroupsAndToggle();

    void tabThresholdRule();
    void tabCommands();
    void printPreviewHidesTheTabs();

    void statusBarPanes();
    void findRelay();
    void closingTheFrameClosesEveryScreen();
    void aScreenThatStaysOpenKeepsTheFrameOpen();
    void frameGoesWithClosedScreensPending();
    void windowCommands();
    void secondCopyBringsTheFrameBackMaximised();
    void barStateIsSavedAndRestored();
    void helpWebAndAbout();
    void dialogCommandsRunFromTheRegistry();
    void keyboardShortcuts();

private:
    QTemporaryDir m_settingsDir;
};

void TestMainFrame::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("塔沃种猪管理大师"));
}

void TestMainFrame::init()
{
    QSettings().clear();
}

void TestMainFrame::menus_data()
{
    QTest::addColumn<int>("menuId");
    QTest::addColumn<QString>("expected");

    QTest::newRow("128") << 128
                         << QStringList{popup("数据输入", P0), popup("转群管理", P1), popup("日常提醒", P2),
                                        popup("系统警报", P3), popup("生产分析", P4), popup("报表统计", P5), kTools,
                                        popup("系统(&S)", "32882 " + kMaintenance + " - 32818"), kHelp}
                                .join(' ');

    const QString sixNew = QStringLiteral("32771 32772 32773 - 32774 32775");
    const QString edit = QStringLiteral("编辑(&E){32778 32779 32780}");
    const QString grid = QStringLiteral("表格(&G){32790 32791 - 32792 32793 - 32795 32796}");
    const QString tail = QStringList{QStringLiteral("查看(&V){59392 59393 - 32818 32901 标签条{32833 32836 - 32834 32835}}"),
                                     QStringLiteral("窗口(&W){57648 57650 57651 57649}"), kTools,
                                     popup("系统(&S)", "32882 " + kMaintenance), kHelp}
                             .join(' ');
    auto file = [](const QString& newItems) {
        return popup("文件(&F)", popup("新建", newItems) + " 57602 - 32777 32788 - 57607 57609 57606");
    };
    auto others = [](QStringList popups, bool extra) {
        return popup("模块(&M)", popups.join(' ') + (extra ? " - 32811 32812" : ""));
    };
    QTest::newRow("129") << 129
                         << QStringList{file(sixNew), popup("输入(&I)", P0),
                                        others({popup("转群管理", P1), popup("日常提醒", P2), popup("系统警报", P3),
                                                popup("生产分析", P4), popup("报表统计", P5)}, true),
                                        edit, grid, tail}
                                .join(' ');
    QTest::newRow("155") << 155
                         << QStringList{file(P1), popup("管理(&L)", P1),
                                        others({popup("数据输入", P0), popup("日常提醒", P2), popup("系统警报", P3),
                                                popup("生产分析", P4), popup("报表统计", P5)}, false),
                                        edit, grid, tail}
                                .join(' ');
    QTest::newRow("158") << 158
                         << QStringList{file(P2), popup("提醒(&T)", P2),
                                        others({popup("数据输入", P0), popup("转群管理", P1), popup("系统警报", P3),
                                                popup("生产分析", P4), popup("报表统计", P5)}, true),
                                        grid, tail}
                                .join(' ');
    QTest::newRow("159") << 159
                         << QStringList{file(P3), popup("警报(&J)", P3),
                                        others({popup("数据输入", P0), popup("转群管理", P1), popup("日常提醒", P2),
                                                popup("生产分析", analysis(true)), popup("报表统计", P5)}, false),
                                        grid, tail}
                                .join(' ');
    QTest::newRow("162") << 162
                         << QStringList{file(sixNew), popup("分析(&X)", P4),
                                        others({popup("数据输入", P0), popup("转群管理", P1), popup("日常提醒", P2),
                                                popup("系统警报", P3), popup("报表统计", P5)}, false),
                                        tail}
                                .join(' ');
    QTest::newRow("166") << 166
                         << QStringList{file(sixNew), popup("报表(&B)", P5),
                                        others({popup("数据输入", P0), popup("转群管理", P1), popup("日常提醒", P2),
                                                popup("系统警报", P3), popup("生产分析", P4)}, false),
                                        tail}
                                .join(' ');
    QTest::newRow("138") << 138 << popup("文件(&F)", P0);
    QTest::newRow("154") << 154 << popup("转群管理", P1);
    QTest::newRow("156") << 156 << popup("日常提醒", P2);
    QTest::newRow("160") << 160 << popup("系统警报", P3);
    QTest::newRow("161") << 161 << popup("生产分析", P4);
    QTest::newRow("165") << 165 << popup("报表统计", P5);
}

void TestMainFrame::menus()
{
    QFETCH(int, menuId);
    QFETCH(QString, expected);
    CMainFrame frame;
    QCOMPARE(dumpMenu(frame.menuPopups(menuId)), expected);
    if (menuId == 128)
        QCOMPARE(menuBarText(frame.menuBar()), expected);
}

void TestMainFrame::captionsPromptsAndTips_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("tip");
    QTest::newRow("种猪档案") << 32771 << "种猪档案" << "输入、修改本场种猪的档案资料" << "种猪档案输入";
    QTest::newRow("后备母猪适配提醒") << 32820 << "后备母猪适配提醒" << "" << "后备母猪适配提醒";
    QTest::newRow("按时段分析") << 32846 << "按时段分析" << "" << "按时段分析";
    QTest::newRow("打开窗口") << 32776 << "打开窗口" << "切换到不同输入窗口" << "打开窗口";
    QTest::newRow("保存") << 32777 << "保存\tCtrl+S" << "保存活动文档" << "保存";
    QTest::newRow("剪切") << 32778 << "剪切(&T)\tCtrl+X" << "剪切被选对象并将其置于剪贴板上" << "剪切";
    QTest::newRow("复制") << 32779 << "复制(&C)\tCtrl+C" << "复制被选对象并将其置于剪贴板上" << "复制";
    QTest::newRow("粘贴") << 32780 << "粘贴(&P)\tCtrl+V" << "插入剪贴板内容" << "粘贴";
    QTest::newRow("插入") << 32781 << "插入" << "在当前位置插入一行" << "插入";
    QTest::newRow("删除") << 32782 << "删除" << "删除当前数据" << "删除";
    QTest::newRow("增加") << 32783 << "增加" << "增加表格空间" << "增加";
    QTest::newRow("查找") << 32784 << "查找" << "查找指定的正文" << "查找";
    QTest::newRow("帮助主题") << 32785 << "帮助主题" << "打开帮助文件" << "帮助";
    QTest::newRow("全部保存") << 32788 << "全部保存" << "保存全部活动文档" << "保存所有";
    QTest::newRow("导航条") << 32818 << "导航条(&D)" << "关闭、开启导航条窗口" << "导航条";
    QTest::newRow("标签显示") << 32833 << "显示/隐藏" << "显示、隐藏标签视图" << "显示";
    QTest::newRow("标签位置") << 32834 << "顶部/底部" << "标签置于顶部或者底部" << "重置";
    QTest::newRow("标签图标") << 32835 << "显示图标" << "标签是否显示图像" << "显示图像";
    QTest::newRow("标签页数") << 32836 << "开始显示页数" << "设置显示标签的文档页数" << "设置显示";
    QTest::newRow("打印") << 57607 << "打印 ...\tCtrl+P" << "打印活动文档" << "打印";
    QTest::newRow("打印预览") << 57609 << "打印预览 ..." << "显示整页" << "打印预览";
    QTest::newRow("打印设置") << 57606 << "打印设置 ..." << "更改打印机选项" << "打印设置";
    QTest::newRow("关闭窗口") << 57602 << "关闭窗口" << "关闭活动文档" << "关闭";
    QTest::newRow("新建窗口") << 57648 << "新建窗口(&N)" << "为活动文档打开另一个窗口" << "新建窗口";
    QTest::newRow("层叠") << 57650 << "层叠(&C)" << "以重叠方式排列窗口" << "层叠窗口";
    QTest::newRow("平铺") << 57651 << "平铺(&T)" << "以互不重叠的方式平铺窗口" << "平铺窗口";
    QTest::newRow("排列图标") << 57649 << "排列图标(&A)" << "在窗口底部排列图标" << "排列图标";
    QTest::newRow("工具栏") << 59392 << "工具栏(&T)" << "显示或隐藏工具栏" << "显隐工具栏";
    QTest::newRow("状态栏") << 59393 << "状态栏(&S)" << "显示或隐藏状态栏" << "显隐状态栏";
    QTest::newRow("关于") << 57664 << "关于 Tamvo(&A)..." << "显示程序信息、版本号和版权" << "关于";
}

void TestMainFrame::captionsPromptsAndTips()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, prompt);
    QFETCH(QString, tip);
    CMainFrame frame;
    QAction* a = frame.commandAction(id);
    QVERIFY(a);
    QCOMPARE(a->text(), text);
    QCOMPARE(a->statusTip(), prompt);
    QCOMPARE(a->toolTip(), tip);
}

void TestMainFrame::toolBarButtonsInOrder()
{
    CMainFrame frame;
    QCOMPARE(frame.toolBar()->iconSize(), QSize(32, 32));
    QStringList order;
    for (QAction* a : frame.toolBar()->actions()) {
        order << (a->isSeparator() ? QStringLiteral("-") : QString::number(a->data().toInt()));
        if (!a->isSeparator())
            QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
    }
    QCOMPARE(order.join(' '), QStringLiteral("32776 32777 - 32779 32778 32780 - 32783 32782 32781 - 32784 - "
                                             "57607 57609 - 32785 57664"));
    auto* button = qobject_cast<QToolButton*>(frame.toolBar()->widgetForAction(frame.commandAction(32776)));
    QVERIFY(button);
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    QCOMPARE(button->menu(), frame.openWindowMenu());
}

void TestMainFrame::oneScreenPerSlotAndModuleSwitch()
{
    Fixture f;
    f.screens.add({32772, 32820, 32879});
    QCOMPARE(f.frame->currentMenuId(), 128);
    QCOMPARE(f.frame->currentShortMenuId(), 0);

    QVERIFY(f.frame->runCommand(32772));
    FakeScreen* mating = f.fake(32772);
    QVERIFY(mating);
    QVERIFY(f.screens.waitCursor.value(32772));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(f.frame->screenFrame(32772)->isMaximized());
    QCOMPARE(f.frame->screenFrame(32772)->windowTitle(), QStringLiteral("配种记录"));
    QCOMPARE(f.frame->currentMenuId(), 129);
    QCOMPARE(f.frame->currentShortMenuId(), 138);
    QCOMPARE(f.frame->currentModule(), 0);
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("数据输入模块 - [配种记录]"));
    QCOMPARE(dumpActions(f.frame->menuBar()->actions()), dumpMenu(f.frame->menuPopups(129)));

    QVERIFY(f.frame->runCommand(32820));
    QCOMPARE(f.frame->currentMenuId(), 158);
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("生产提醒模块 - [后备母猪适配提醒]"));
    QCOMPARE(f.frame->activeScreen(), f.frame->screen(32820));

    // Choosing it again only brings the window back and switches the menu.
    QVERIFY(f.frame->runCommand(32772));
    QCOMPARE(f.screens.created.value(32772), 1);
    QCOMPARE(f.frame->screen(32772), mating);
    QCOMPARE(f.frame->activeScreen(), mating);
    QVERIFY(f.frame->screenFrame(32772)->isMaximized());
    QCOMPARE(f.frame->currentMenuId(), 129);
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("数据输入模块 - [配种记录]"));
    QCOMPARE(f.windows(), 2);

    // Module 5 has no name: the caption stays.
    QVERIFY(f.frame->runCommand(32879));
    QCOMPARE(f.frame->currentMenuId(), 166);
    QCOMPARE(f.frame->currentModule(), 5);
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("数据输入模块 - [配种报表]"));
}

void TestMainFrame::clickingAWindowDoesNotSwitchTheMenu()
{
    Fixture f;
    f.screens.add({32772, 32820});
    f.frame->runCommand(32772);
    f.frame->runCommand(32820);
    f.frame->mdiArea()->setActiveSubWindow(f.frame->screenFrame(32772));
    QCOMPARE(f.frame->activeScreen(), f.frame->screen(32772));
    QCOMPARE(f.frame->currentMenuId(), 158);
    // The tab strip likewise.
    CMDITabs* tabs = f.frame->tabStrip();
    QCOMPARE(tabs->count(), 2);
    tabs->setCurrentIndex(1);
    QCOMPARE(f.frame->activeScreen(), f.frame->screen(32820));
    QCOMPARE(f.frame->currentMenuId(), 158);
}

void TestMainFrame::defaultMenuReturnsAfterTheLastClose()
{
    Fixture f;
    f.screens.add({32772, 32820});
    f.frame->runCommand(32772);
    f.frame->runCommand(32820);
    QVERIFY(f.frame->runCommand(57602));
    QCOMPARE(f.frame->currentMenuId(), 158); // one screen still open
    flushDeletes();
    QVERIFY(!f.frame->screen(32820));
    QVERIFY(f.frame->screen(32772));
    QVERIFY(f.frame->runCommand(57602));
    flushDeletes();
    QVERIFY(!f.frame->screen(32772));
    QCOMPARE(f.frame->currentMenuId(), 128);
    QCOMPARE(f.frame->currentShortMenuId(), 0);
    QCOMPARE(menuBarText(f.frame->menuBar()), dumpMenu(f.frame->menuPopups(128)));
    QVERIFY(!f.frame->commandAction(57602)->isEnabled());

    // Opened again, it is a new screen in the emptied slot, and the menu switches back.
    QVERIFY(f.frame->runCommand(32772));
    QCOMPARE(f.screens.created.value(32772), 2);
    QCOMPARE(f.frame->currentMenuId(), 129);
}

void TestMainFrame::aScreenThatGoesTakesItsFrame()
{
    Fixture f;
    f.screens.add({32819});
    f.frame->runCommand(32819);
    delete f.frame->screen(32819);
    flushDeletes();
    QVERIFY(!f.frame->screenFrame(32819));
    QCOMPARE(f.windows(), 0);
    QCOMPARE(f.frame->currentMenuId(), 128);
    QVERIFY(f.frame->runCommand(32819));
    QCOMPARE(f.screens.created.value(32819), 2);
}

void TestMainFrame::failedCreationLeavesNoSlot()
{
    Fixture f;
    bool fail = true;
    ScreenRegistry::add({32821, QStringLiteral("母猪妊娠提醒"), [&](QWidget* parent) -> QWidget* {
                             return fail ? nullptr : new FakeScreen(32821, parent);
                         }});
    QVERIFY(f.frame->runCommand(32821));
    QVERIFY(!f.frame->screen(32821));
    QVERIFY(!f.frame->screenFrame(32821));
    QCOMPARE(f.windows(), 0);
    fail = false;
    QVERIFY(f.frame->runCommand(32821));
    QVERIFY(f.frame->screen(32821));
    QCOMPARE(f.windows(), 1);
    ScreenRegistry::remove(32821);
}

void TestMainFrame::commandsWithoutScreenOrDialogStayDisabled()
{
    Fixture f;
    ScreenRegistry::remove(32773);
    f.frame->updateCommandStates();
    for (int id : {32773, 32811, 32812, 32788, 32777, 32795, 57607, 57602, 57648}) {
        QVERIFY2(!f.frame->commandAction(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(!f.frame->runCommand(id));
    }
    QCOMPARE(f.windows(), 0);
    // Still in their menus.
    QVERIFY(dumpMenu(f.frame->menuPopups(128)).contains(QStringLiteral("32773")));
    for (int id : {32818, 32833, 32836, 32785, 57664, 32894, 57606, 57650, 57651, 57649, 59392, 59393})
        QVERIFY2(f.frame->commandAction(id)->isEnabled(), qPrintable(QString::number(id)));
}

void TestMainFrame::sharedCommandsGoToTheActiveScreen()
{
    Fixture f;
    f.screens.add({32771, 32772});
    f.frame->runCommand(32771);
    f.frame->runCommand(32772);
    FakeScreen* active = f.fake(32772);
    active->handled = {32777, 32779, 32790};
    active->checkedCommands = {32790};
    f.frame->updateCommandStates();
    QVERIFY(f.frame->commandAction(32777)->isEnabled());
    QVERIFY(!f.frame->commandAction(32778)->isEnabled());
    QVERIFY(f.frame->commandAction(32790)->isChecked());
    QVERIFY(!f.frame->commandAction(32791)->isChecked());
    QVERIFY(f.frame->runCommand(32779));
    QVERIFY(!f.frame->runCommand(32778));
    QCOMPARE(active->ran, QList<int>{32779});
    QVERIFY(f.fake(32771)->ran.isEmpty());
}

void TestMainFrame::openWindowButtonAndItsDropDown()
{
    Fixture f;
    f.screens.add({32771, 32813, 32819, 32881});
    // Module 0 is current from the start, so the button opens 种猪档案 at once, though
    // the drop-down stays empty until a module menu shows.
    f.frame->updateCommandStates();
    QVERIFY(f.frame->commandAction(32776)->isEnabled());
    emit f.frame->openWindowMenu()->aboutToShow();
    QVERIFY(f.frame->openWindowMenu()->actions().isEmpty());
    QVERIFY(f.frame->runCommand(32776));
    QVERIFY(f.frame->screen(32771));

    f.frame->runCommand(32813);
    emit f.frame->openWindowMenu()->aboutToShow();
    QCOMPARE(dumpActions(f.frame->openWindowMenu()->actions()), P1);
    f.frame->runCommand(57602);
    flushDeletes();
    // Module 1 is still current although the data-entry screen is the one in front.
    QVERIFY(f.frame->runCommand(32776));
    QCOMPARE(f.frame->activeScreen(), f.frame->screen(32813));

    f.frame->runCommand(32881); // reports: no first screen
    f.frame->updateCommandStates();
    QVERIFY(!f.frame->commandAction(32776)->isEnabled());
    emit f.frame->openWindowMenu()->aboutToShow();
    QCOMPARE(dumpActions(f.frame->openWindowMenu()->actions()), P5);
}

void TestMainFrame::newWindowOpensASecondViewOutsideTheSlot()
{
    Fixture f;
    f.screens.add({32819});
    f.frame->runCommand(32819);
    QWidget* first = f.frame->screen(32819);
    QVERIFY(f.frame->runCommand(57648));
    QCOMPARE(f.windows(), 2);
    QCOMPARE(f.screens.created.value(32819), 2);
    QVERIFY(f.frame->activeScreen() != first);
    QCOMPARE(f.frame->screen(32819), first);
    // Closing the second window leaves the first in its slot.
    f.frame->runCommand(57602);
    flushDeletes();
    QCOMPARE(f.frame->screen(32819), first);
}

void TestMainFrame::navigationNamesOpenTheirScreens_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("opens"); // 0: nothing
    QTest::newRow("后备适配母猪提醒") << "后备适配母猪提醒" << 32820;
    QTest::newRow("母猪待配警告") << "母猪待配警告" << 32827;
    QTest::newRow("胎数、窝数分析") << "胎数、窝数分析" << 32864;
    QTest::newRow("死亡率时段分析") << "死亡率时段分析" << 32866;
    QTest::newRow("menu caption is not a name") << "后备母猪适配提醒" << 0;
    QTest::newRow("unknown") << "不存在的画面" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestMainFrame::navigationNamesOpenTheirScreens()
{
    QFETCH(QString, name);
    QFETCH(int, opens);
    Fixture f;
    f.screens.add({32820, 32827, 32864, 32866, 32846});
    ScriptedMessages messages;
    f.frame->navigate(name);
    QVERIFY(messages.shown().isEmpty());
    if (opens == 0) {
        QCOMPARE(f.windows(), 0);
        QCOMPARE(f.frame->currentMenuId(), 128);
        return;
    }
    QCOMPARE(f.windows(), 1);
    QVERIFY(f.frame->screen(opens));
    QCOMPARE(f.frame->currentModule(), CommandTable::find(opens)->module);
}

void TestMainFrame::navigationBarGroupsAndToggle()
{
    Fixture f;
    f.screens.add({32820});
    QTreeWidget* tree = f.frame->navigationBar()->tree();
    QCOMPARE(f.frame->navigationBar()->windowTitle(), QStringLiteral("导航条"));
    QStringList groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        groups << tree->topLevelItem(i)->text(0) + ':' + QString::number(tree->topLevelItem(i)->childCount());
    QCOMPARE(groups, (QStringList{"数据输入:3", "转群管理:5", "日常提醒:9", "系统警报:6", "生产分析:36", "报表统计:5"}));
    QCOMPARE(f.frame->navigationBar()->names().value(10), QStringLiteral("后备适配母猪提醒"));
    QVERIFY(!f.frame->navigationBar()->names().contains(QStringLiteral("屠宰测定")));

    // A click on the item opens its screen; an item without a screen is greyed.
    f.frame->updateCommandStates();
    QTreeWidgetItem* item = tree->topLevelItem(2)->child(2);
    QVERIFY(item->flags() & Qt::ItemIsEnabled);
    QVERIFY(!(tree->topLevelItem(2)->child(1)->flags() & Qt::ItemIsEnabled));
    emit tree->itemClicked(item, 0);
    QVERIFY(f.frame->screen(32820));

    QVERIFY(f.frame->commandAction(32818)->isChecked());
    QVERIFY(f.frame->runCommand(32818));
    QVERIFY(f.frame->navigationBar()->isHidden());
    QVERIFY(!f.frame->commandAction(32818)->isChecked());
    QVERIFY(f.frame->runCommand(32818));
    QVERIFY(!f.frame->navigationBar()->isHidden());
    QVERIFY(f.frame->commandAction(32818)->isChecked());
}

void TestMainFrame::tabThresholdRule()
{
    Fixture f;
    f.screens.add({32771, 32772, 32819});
    QList<NumberRequest> asked;
    const auto previous = CNumberDlg::setAnswerer([&](const NumberRequest& r) -> std::optional<int> {
        asked << r;
        return 3;
    });
    QVERIFY(f.frame->runCommand(32836));
    CNumberDlg::setAnswerer(previous);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].prompt, QStringLiteral("设置开始显示标签的文档数量"));
    QCOMPARE(asked[0].value, 2);
    QVERIFY(asked[0].tabTitle);
    QCOMPARE(f.frame->tabStrip()->threshold(), 3);

    CMDITabs* tabs = f.frame->tabStrip();
    f.frame->runCommand(32771);
    QVERIFY(tabs->isHidden());
    f.frame->runCommand(32772);
    QVERIFY(tabs->isHidden());
    f.frame->runCommand(32819);
    QVERIFY(!tabs->isHidden());
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(2), QStringLiteral("母猪待配提醒"));
    QCOMPARE(tabs->currentIndex(), 2);
    f.frame->runCommand(57602);
    flushDeletes();
    QVERIFY(tabs->isHidden());

    // Cancel keeps the threshold.
    CNumberDlg::setAnswerer([](const NumberRequest&) { return std::optional<int>(); });
    f.frame->runCommand(32836);
    CNumberDlg::setAnswerer(previous);
    QCOMPARE(tabs->threshold(), 3);
}

void TestMainFrame::tabCommands()
{
    Fixture f;
    f.screens.add({32771});
    f.frame->runCommand(32771);
    CMDITabs* tabs = f.frame->tabStrip();
    // Threshold 1 at the start: one screen already shows its tab, on top, without images.
    QVERIFY(!tabs->isHidden());
    QVERIFY(f.frame->commandAction(32833)->isChecked());
    QVERIFY(f.frame->commandAction(32834)->isChecked());
    QVERIFY(!f.frame->commandAction(32835)->isChecked());
    QVERIFY(tabs->tabIcon(0).isNull());
    auto* layout = f.frame->centralWidget()->layout();
    QCOMPARE(layout->indexOf(tabs), 0);

    f.frame->runCommand(32833);
    QVERIFY(tabs->isHidden());
    QVERIFY(!f.frame->commandAction(32833)->isChecked());
    f.frame->runCommand(32833);
    QVERIFY(!tabs->isHidden());

    f.frame->runCommand(32834);
    QCOMPARE(tabs->shape(), QTabBar::RoundedSouth);
    QCOMPARE(layout->indexOf(tabs), 1);
    QVERIFY(!f.frame->commandAction(32834)->isChecked());
    f.frame->runCommand(32834);
    QCOMPARE(layout->indexOf(tabs), 0);

    f.frame->runCommand(32835);
    QVERIFY(!tabs->tabIcon(0).isNull());
    QVERIFY(f.frame->commandAction(32835)->isChecked());
}

void TestMainFrame::printPreviewHidesTheTabs()
{
    Fixture f;
    f.screens.add({32771, 32772});
    f.frame->runCommand(32771);
    f.frame->runCommand(32772);
    FakeScreen* s = f.fake(32772);
    s->handled = {57609};
    bool tabsDuringPreview = true;
    s->onRun = [&](int) { tabsDuringPreview = !f.frame->tabStrip()->isHidden(); };
    QVERIFY(!f.frame->tabStrip()->isHidden());
    QVERIFY(f.frame->runCommand(57609));
    QVERIFY(!tabsDuringPreview);
    QVERIFY(!f.frame->tabStrip()->isHidden());
}

void TestMainFrame::statusBarPanes()
{
    CMainFrame frame;
    CFrameStatusBar* bar = frame.frameStatusBar();
    QCOMPARE(bar->messageText(), QStringLiteral("就绪"));
    QCOMPARE(bar->indicator(0)->text(), QStringLiteral("大写"));
    QCOMPARE(bar->indicator(1)->text(), QStringLiteral("数字"));
    QCOMPARE(bar->indicator(2)->text(), QStringLiteral("滚动"));
    frame.commandAction(32771)->showStatusText(&frame);
    QCOMPARE(bar->messageText(), QStringLiteral("输入、修改本场种猪的档案资料"));
    frame.commandAction(32818)->showStatusText(&frame);
    QCOMPARE(bar->messageText(), QStringLiteral("关闭、开启导航条窗口"));
    frame.commandAction(32773)->showStatusText(&frame); // no prompt of its own
    QCOMPARE(bar->messageText(), QStringLiteral("就绪"));

    QVERIFY(frame.runCommand(59393));
    QVERIFY(bar->isHidden());
    QVERIFY(!frame.commandAction(59393)->isChecked());
    QVERIFY(frame.runCommand(59392));
    QVERIFY(frame.toolBar()->isHidden());
    QVERIFY(frame.runCommand(59392));
    QVERIFY(!frame.toolBar()->isHidden());
}

void TestMainFrame::findRelay()
{
    Fixture f;
    f.screens.add({32771, 32772});
    ScriptedMessages messages;
    f.frame->findRequest(true, QStringLiteral("LY"));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("没有发现视图")});
    QCOMPARE(messages.shown().at(0).caption, QStringLiteral("塔沃种猪管理大师"));
    f.frame->runCommand(32771);
    f.frame->runCommand(32772);
    f.frame->findRequest(false, QStringLiteral("DD01"));
    f.frame->findRequest(true, QStringLiteral("DD02"));
    QCOMPARE(f.fake(32772)->finds, (QStringList{"0DD01", "1DD02"}));
    QVERIFY(f.fake(32771)->finds.isEmpty());
    QCOMPARE(messages.shown().size(), 1);

    // The find window's buttons go the same way: to the screen in front, whoever
    // opened the window.
    CFindDlg find(f.frame.get());
    find.setText(QStringLiteral("LY01"));
    f.frame->mdiArea()->setActiveSubWindow(f.frame->screenFrame(32771));
    find.requestFind(true);
    QCOMPARE(f.fake(32771)->finds, QStringList{"1LY01"});
}

void TestMainFrame::closingTheFrameClosesEveryScreen()
{
    Fixture f;
    f.screens.add({32771, 32772, 32813});
    for (int id : {32771, 32772, 32813}) {
        f.frame->runCommand(id);
        f.fake(id)->modified = true;
    }
    ScriptedMessages messages;
    QVERIFY(f.frame->close());
    QCOMPARE(messages.shown().size(), 3);
    QStringList captions;
    for (const AppMessage& m : messages.shown())
        captions << m.caption;
    // The screen in front first.
    QCOMPARE(captions, (QStringList{"仔猪管理", "配种记录", "种猪档案"}));
    flushDeletes();
    QCOMPARE(f.windows(), 0);
}

void TestMainFrame::windowCommands()
{
    Fixture f;
    f.screens.add({32771, 32772});
    f.frame->resize(1000, 700);
    f.frame->show();
    f.frame->runCommand(32771);
    f.frame->runCommand(32772);
    CChildFrame* a = f.frame->screenFrame(32771);
    CChildFrame* b = f.frame->screenFrame(32772);

    QVERIFY(f.frame->runCommand(57650)); // cascade
    QVERIFY(!a->isMaximized() && !b->isMaximized());
    QVERIFY(a->pos() != b->pos());

    QVERIFY(f.frame->runCommand(57651)); // tile
    QVERIFY(!a->geometry().intersects(b->geometry()));

    a->showMinimized();
    b->showMinimized();
    QVERIFY(f.frame->runCommand(57649)); // arrange icons along the bottom
    const int bottom = f.frame->mdiArea()->viewport()->height();
    QCOMPARE(a->geometry().bottom() + 1, bottom);
    QCOMPARE(b->geometry().bottom() + 1, bottom);
    QCOMPARE(a->x(), 0);
    QCOMPARE(b->x(), a->width());

    // Choosing a screen again shows it maximised.
    f.frame->runCommand(32771);
    QVERIFY(a->isMaximized());
}

void TestMainFrame::secondCopyBringsTheFrameBackMaximised()
{
    CMainFrame frame;
    frame.showMinimized();
    frame.bringToFront();
    QVERIFY(frame.isMaximized());
    QVERIFY(!frame.isMinimized());
    QVERIFY(frame.isVisible());
}

void TestMainFrame::frameGoesWithClosedScreensPending()
{
    // Closed child frames wait for their deferred deletion; the frame may go first.
    auto f = std::make_unique<Fixture>();
    f->screens.add({32771, 32772});
    f->frame->runCommand(32771);
    f->frame->runCommand(32772);
    QVERIFY(f->frame->runCommand(57602));
    QPointer<CChildFrame> closed = f->frame->screenFrame(32772);
    f->frame.reset();
    QVERIFY(closed.isNull());
}

void TestMainFrame::aScreenThatStaysOpenKeepsTheFrameOpen()
{
    Fixture f;
    f.screens.add({32771, 32772});
    f.frame->runCommand(32771);
    f.frame->runCommand(32772);
    f.fake(32771)->mayClose = false;
    f.frame->show();
    QVERIFY(!f.frame->close());
    QVERIFY(f.frame->isVisible());
    flushDeletes();
    QVERIFY(f.frame->screen(32771));
    QVERIFY(!f.frame->screen(32772));
    // The close box of the child frame asks the same question.
    QVERIFY(!f.frame->screenFrame(32771)->close());
    QCOMPARE(f.fake(32771)->closeQuestions, 2);
}

void TestMainFrame::barStateIsSavedAndRestored()
{
    {
        CMainFrame frame;
        frame.show();
        frame.runCommand(32818);
        frame.addToolBar(Qt::LeftToolBarArea, frame.toolBar());
        QVERIFY(frame.close());
    }
    QVERIFY(QSettings().contains(QStringLiteral("BarState/Layout")));
    CMainFrame frame;
    frame.show();
    QVERIFY(frame.navigationBar()->isHidden());
    QCOMPARE(frame.toolBarArea(frame.toolBar()), Qt::LeftToolBarArea);
    QVERIFY(!frame.commandAction(32818)->isChecked());

    // Damaged settings are ignored.
    QSettings().setValue(QStringLiteral("BarState/Layout"), QByteArray("garbage"));
    CMainFrame fresh;
    QVERIFY(!fresh.navigationBar()->isHidden());
    QCOMPARE(fresh.toolBarArea(fresh.toolBar()), Qt::TopToolBarArea);
}

void TestMainFrame::helpWebAndAbout()
{
    CMainFrame frame;
    QList<QUrl> opened;
    const auto oldOpener = CMainFrame::setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    QStringList dialogs;
    const auto oldRunner = CMainFrame::setDialogRunner([&](QDialog* d) {
        dialogs << QString::fromLatin1(d->metaObject()->className());
        return 0;
    });
    QVERIFY(frame.runCommand(32785));
    QVERIFY(frame.runCommand(32894));
    QVERIFY(frame.runCommand(32895));
    QVERIFY(frame.runCommand(57664));
    QVERIFY(frame.runCommand(57606));
    CMainFrame::setUrlOpener(oldOpener);
    CMainFrame::setDialogRunner(oldRunner);

    // The manual shows in the program's own window; only the web sites go to the browser.
    QVERIFY(frame.helpWindow());
    QVERIFY(frame.helpWindow()->isVisible());
    QVERIFY(frame.helpWindow()->currentUrl().toLocalFile().endsWith(QStringLiteral("manual/index.html")));
    QVERIFY(QFile::exists(frame.helpWindow()->currentUrl().toLocalFile()));
    CHelpWindow* const help = frame.helpWindow();
    QVERIFY(frame.runCommand(32785));
    QCOMPARE(frame.helpWindow(), help); // asked again: the same window comes forward
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0], QUrl(CommandTable::webAddress(32894)));
    QCOMPARE(opened[1], QUrl(CommandTable::webAddress(32895)));
    QVERIFY(opened[0] != opened[1]);
    QCOMPARE(dialogs, (QStringList{"CFlash", "QPageSetupDialog"}));
}

void TestMainFrame::dialogCommandsRunFromTheRegistry()
{
    CMainFrame frame;
    DialogCommands::remove(32889);
    frame.updateCommandStates();
    QVERIFY(!frame.commandAction(32889)->isEnabled());
    QWidget* seenParent = nullptr;
    DialogCommands::add({32889, [&](QWidget* parent) { seenParent = parent; }});
    QVERIFY(frame.runCommand(32889));
    QCOMPARE(seenParent, &frame);
    DialogCommands::remove(32889);
    QVERIFY(!frame.runCommand(32889));
}

void TestMainFrame::keyboardShortcuts()
{
    Fixture f;
    f.screens.add({32772});
    f.frame->show();
    QApplication::setActiveWindow(f.frame.get());
    QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
    f.frame->runCommand(32772);
    FakeScreen* s = f.fake(32772);
    s->handled = {32777, 57607};
    f.frame->updateCommandStates();
    QTest::keyClick(f.frame.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(f.frame.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(s->ran, (QList<int>{32777, 57607}));
}

QTEST_MAIN(TestMainFrame)
#include "test_mainframe.moc"
