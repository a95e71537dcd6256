#pragma once
#include "commandtable.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class CChildFrame;
class CHelpWindow;
class CFrameStatusBar;
class CMDITabs;
class CNavigationBar;
class IScreenCommands;
class QAction;
class QDialog;
class QMdiArea;
class QMenu;
class QToolBar;
class QUrl;

// The program's main window: menus, tool bar, status bar, navigation bar and tab strip
// around the MDI area where every screen lives in its own child frame. It is the only
// place that creates screens (one slot per screen, through ScreenRegistry) and routes
// every command: screens open here, dialogs run here, the rest goes to the active screen.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* mdiArea() const { return m_mdi; }

    // Runs a command as a click on its menu item or button would; false when the
    // command is disabled now or unknown.
    bool runCommand(int commandId);
    bool isCommandEnabled(int commandId, bool* checked = nullptr) const;
    // The one action of a command, shared by menus, tool bar and shortcuts.
    QAction* commandAction(int commandId) const;
    // Brings the mark and enabled state of every command up to date.
    void updateCommandStates();

    // The open screen of a slot (the view inside its child frame), or nullptr.
    QWidget* screen(int commandId) const;
    CChildFrame* screenFrame(int commandId) const;
    QWidget* activeScreen() const;

    int currentModule() const { return m_module; }
    // 128 while no screen has switched the menu, else the module menu shown.
    int currentMenuId() const { return m_menuId; }
    // The module's short screen menu, 0 while the default menu shows.
    int currentShortMenuId() const { return m_shortMenuId; }
    // The popups of a menu (128, the module menus and the short menus) as built.
    QList<QMenu*> menuPopups(int menuId) const { return m_menus.value(menuId); }

    QToolBar* toolBar() const { return m_toolBar; }
    CFrameStatusBar* frameStatusBar() const { return m_status; }
    CNavigationBar* navigationBar() const { return m_nav; }
    CMDITabs* tabStrip() const { return m_tabs; }
    // The manual's window once help has been asked for, else nullptr.
    CHelpWindow* helpWindow() const;
    // Whether start-up opens the morning view 今日工作 (remembered; on until turned off).
    static bool todayWorkAtStart();
    static void setTodayWorkAtStart(bool open);
    // The drop-down menu of the tool bar's "打开窗口" button.
    QMenu* openWindowMenu() const { return m_dropMenu; }

    // The navigation bar's click: runs the first command with that navigation name.
    // Unknown names are ignored.
    void navigate(const QString& navName);

    // How web pages and the manual are opened, and how the frame's own modal dialogs
    // run; tests replace them. Each returns the one it replaced; empty restores.
    using UrlOpener = std::function<bool(const QUrl&)>;
    static UrlOpener setUrlOpener(UrlOpener opener);
    using DialogRunner = std::function<int(QDialog*)>;
    static DialogRunner setDialogRunner(DialogRunner runner);
    static int runDialog(QDialog* dialog);

public slots:
    // A second copy of the program asked this one to show itself.
    void bringToFront();
    // The find window's request, passed on to the active screen.
    void findRequest(bool down, const QString& text);
    // Called after a child frame closed: the default menu returns with the last one.
    void restoreDefaultMenu();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createDockAndTabs();
    QMenu* buildPopup(const MenuItem& item, QWidget* parent);
    void showMenu(int menuId);
    void switchModule(const ModuleInfo& module);

    void onCommand(int commandId);
    bool runFrameCommand(int commandId);
    void routeToScreen(int commandId);
    QWidget* openScreen(int commandId);
    QWidget* createScreen(int commandId, bool intoSlot);
    void fillOpenWindowMenu();
    void placeTabs();
    void arrangeIcons();
    IScreenCommands* activeCommands() const;
    CChildFrame* activeChild() const;

    void applyCaption();
    void saveBarState();
    void restoreBarState();

    QMdiArea* m_mdi;
    QWidget* m_centre;
    CMDITabs* m_tabs = nullptr;
    QToolBar* m_toolBar = nullptr;
    CFrameStatusBar* m_status = nullptr;
    CNavigationBar* m_nav = nullptr;
    QMenu* m_dropMenu = nullptr;
    QHash<int, QAction*> m_actions;
    QHash<int, QList<QMenu*>> m_menus;
    QHash<int, QPointer<CChildFrame>> m_slots;
    QPointer<CHelpWindow> m_help;
    int m_module = 0;
    int m_menuId = 0;
    int m_shortMenuId = 0;
    int m_userThreshold = 1;
    bool m_printPreview = false;
    bool m_closing = false;
    std::function<void(bool, const QString&)> m_previousFindRelay;
    QString m_caption;          // the module's name, or the program's title
    bool m_settingCaption = false;
};
