#include "mainframe.h"
#include "appmessage.h"
#include "cfinddlg.h"
#include "childframe.h"
#include "cfinddlg.h"
#include "cnumberdlg.h"
#include "dialogcommands.h"
#include "framestatusbar.h"
#include "helpwindow.h"
#include "mditabs.h"
#include "navigationbar.h"
#include "printservice.h"
#include "registerscreens.h"
#include "screencommands.h"
#include "screenregistry.h"
#include "tamvoresources.h"
#include "toolbaricons.h"
#include "cflash.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

CMainFrame::UrlOpener& urlOpener()
{
    static CMainFrame::UrlOpener opener;
    return opener;
}

CMainFrame::DialogRunner& dialogRunner()
{
    static CMainFrame::DialogRunner runner;
    return runner;
}

// The wait cursor for as long as a screen is being opened.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

const QString kBarState = QStringLiteral("BarState");

// Commands whose menu item carries a check mark.
bool isCheckable(int id)
{
    switch (id) {
    case Cmd::NavigationBar: case Cmd::TabsShow: case Cmd::TabsTopBottom: case Cmd::TabsImages:
    case Cmd::ViewToolBar: case Cmd::ViewStatusBar: case Cmd::TodayWorkAtStart:
    case Cmd::HorzLines: case Cmd::VertLines: case Cmd::RowResize: case Cmd::ColResize:
        return true;
    }
    return false;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , m_mdi(new QMdiArea)
    , m_centre(new QWidget(this))
{
    setObjectName(QStringLiteral("MainFrame"));
    m_caption = appTitle();
    setWindowTitle(appTitle());
    registerScreens();
    // The find window's requests go to whichever screen is active.
    CFindDlg::setRelay([this](bool down, const QString& text) { findRequest(down, text); });

    m_mdi->setActivationOrder(QMdiArea::CreationOrder);
    auto* layout = new QVBoxLayout(m_centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_mdi, 1);
    setCentralWidget(m_centre);

    m_status = new CFrameStatusBar(this);
    setStatusBar(m_status);
    createActions();
    createMenus();
    createToolBar();
    createDockAndTabs();
    setDockNestingEnabled(true);
    restoreBarState();
    showMenu(CommandTable::DefaultMenu);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        applyCaption();
        updateCommandStates();
    });
    // Screens change what they can do as the user moves about their grids; a light poll
    // keeps the tool bar's buttons honest between clicks.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] {
        if (isActiveWindow()) {
            updateCommandStates();
            m_status->updateIndicators();
        }
    });
    poll->start(300);
    // A screen that opens another (the morning view opens its lists) goes through the frame.
    ScreenRegistry::setCommandOpener([this](int commandId) { return runCommand(commandId); });
    // Every find window reports to the frame, which asks the screen in front.
    m_previousFindRelay = CFindDlg::setRelay([this](bool down, const QString& text) { findRequest(down, text); });
    updateCommandStates();
    resize(1024, 768);
}

CMainFrame::~CMainFrame()
{
    // The screens go while the frame's members still exist: their slots empty as they go.
    // Closed frames still waiting for their deferred deletion count too.
    m_closing = true;
    CFindDlg::setRelay({});
    ScreenRegistry::setCommandOpener({});
    qDeleteAll(m_mdi->findChildren<CChildFrame*>());
}

// ---------------------------------------------------------------- construction

void CMainFrame::createActions()
{
    for (const CommandInfo& c : CommandTable::commands()) {
        auto* a = new QAction(c.menuText, this);
        a->setStatusTip(c.statusPrompt());
        a->setToolTip(c.toolTip().isEmpty() ? ScreenRegistry::plainCaption(c.menuText) : c.toolTip());
        a->setCheckable(isCheckable(c.id));
        a->setData(c.id);
        if (c.isScreen())
            a->setIcon(ToolBarIcons::screenIcon(c.icon));
        const QIcon icon = ToolBarIcons::commandIcon(c.id);
        if (!icon.isNull())
            a->setIcon(icon);
        // The menus show no pictures; the tool bar does.
        a->setIconVisibleInMenu(false);
        connect(a, &QAction::triggered, this, [this, id = c.id] { onCommand(id); });
        m_actions.insert(c.id, a);
        addAction(a); // shortcuts work whichever menu is shown
    }
    m_actions.value(Cmd::Save)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_actions.value(Cmd::Print)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
}

QMenu* CMainFrame::buildPopup(const MenuItem& item, QWidget* parent)
{
    auto* menu = new QMenu(item.popup, parent);
    for (const MenuItem& child : item.items) {
        if (child.isSeparator())
            menu->addSeparator();
        else if (child.isPopup())
            menu->addMenu(buildPopup(child, menu));
        else if (QAction* a = m_actions.value(child.id))
            menu->addAction(a);
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    return menu;
}

void CMainFrame::createMenus()
{
    for (int id : CommandTable::menuIds()) {
        QList<QMenu*> popups;
        for (const MenuItem& item : CommandTable::menu(id))
            popups << buildPopup(item, this);
        m_menus.insert(id, popups);
    }
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("工具栏"), this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const int buttons[] = {Cmd::OpenWindow, Cmd::Save, 0, Cmd::Copy, Cmd::Cut, Cmd::Paste, 0, Cmd::AddRows,
                           Cmd::Delete, Cmd::InsertRow, 0, Cmd::Find, 0, Cmd::Print, Cmd::PrintPreview, 0,
                           Cmd::HelpTopics, Cmd::About};
    for (int id : buttons) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.value(id));
    }
    // "打开窗口" opens the module's first screen; its arrow lists the module's screens.
    m_dropMenu = new QMenu(this);
    connect(m_dropMenu, &QMenu::aboutToShow, this, &CMainFrame::fillOpenWindowMenu);
    if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(m_actions.value(Cmd::OpenWindow)))) {
        button->setMenu(m_dropMenu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::createDockAndTabs()
{
    m_nav = new CNavigationBar(this);
    m_nav->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::LeftDockWidgetArea, m_nav);
    connect(m_nav, &CNavigationBar::itemChosen, this, &CMainFrame::navigate);

    m_tabs = new CMDITabs(m_mdi, m_centre);
    m_tabs->setThreshold(m_userThreshold);
    placeTabs();
}

void CMainFrame::placeTabs()
{
    auto* layout = static_cast<QVBoxLayout*>(m_centre->layout());
    layout->removeWidget(m_tabs);
    layout->insertWidget(m_tabs->isOnTop() ? 0 : 1, m_tabs);
}

void CMainFrame::fillOpenWindowMenu()
{
    m_dropMenu->clear();
    const QList<QMenu*> popups = m_menus.value(m_shortMenuId);
    if (m_shortMenuId == 0 || popups.isEmpty())
        return;
    for (QAction* a : popups.first()->actions())
        m_dropMenu->addAction(a);
    updateCommandStates();
}

// ---------------------------------------------------------------- menus and modules

void CMainFrame::showMenu(int menuId)
{
    if (menuId == m_menuId)
        return;
    m_menuId = menuId;
    menuBar()->clear();
    for (QMenu* popup : m_menus.value(menuId))
        menuBar()->addMenu(popup);
}

void CMainFrame::switchModule(const ModuleInfo& module)
{
    if (module.shortMenuId == m_shortMenuId)
        return;
    m_shortMenuId = module.shortMenuId;
    showMenu(module.menuId);
    m_module = module.module;
    if (!module.name.isEmpty())
        m_caption = module.name;
    applyCaption();
    update();
}

// The caption is the module's name, followed by the screen's title while a maximised
// screen is in front. The MDI area decorates the caption by itself, but it remembers the
// caption of the moment the first screen was maximised; here the module always wins.
void CMainFrame::applyCaption()
{
    QString wanted = m_caption;
    if (QMdiSubWindow* child = m_mdi->activeSubWindow(); child && child->isMaximized() && !child->windowTitle().isEmpty())
        wanted = QStringLiteral("%1 - [%2]").arg(m_caption, child->windowTitle());
    if (windowTitle() == wanted)
        return;
    m_settingCaption = true;
    setWindowTitle(wanted);
    m_settingCaption = false;
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && !m_settingCaption)
        applyCaption();
}

void CMainFrame::restoreDefaultMenu()
{
    if (m_closing)
        return;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isHidden())
            return;
    }
    showMenu(CommandTable::DefaultMenu);
    m_shortMenuId = 0;
    m_tabs->refresh();
    updateCommandStates();
}

// ---------------------------------------------------------------- commands

QAction* CMainFrame::commandAction(int commandId) const
{
    return m_actions.value(commandId);
}

bool CMainFrame::todayWorkAtStart()
{
    return QSettings().value(QStringLiteral("Settings/TodayWorkAtStart"), true).toBool();
}

void CMainFrame::setTodayWorkAtStart(bool open)
{
    QSettings().setValue(QStringLiteral("Settings/TodayWorkAtStart"), open);
}

CHelpWindow* CMainFrame::helpWindow() const
{
    return m_help.data();
}

bool CMainFrame::runCommand(int commandId)
{
    QAction* a = m_actions.value(commandId);
    if (!a)
        return false;
    updateCommandStates();
    if (!a->isEnabled())
        return false;
    a->trigger();
    return true;
}

CChildFrame* CMainFrame::activeChild() const
{
    return qobject_cast<CChildFrame*>(m_mdi->activeSubWindow());
}

IScreenCommands* CMainFrame::activeCommands() const
{
    CChildFrame* child = activeChild();
    return child ? child->screenCommands() : nullptr;
}

bool CMainFrame::isCommandEnabled(int commandId, bool* checked) const
{
    bool dummy = false;
    bool& mark = checked ? *checked : dummy;
    mark = false;
    const CommandInfo* info = CommandTable::find(commandId);
    if (info && info->isScreen())
        return ScreenRegistry::find(commandId) != nullptr;
    if (DialogCommands::find(commandId))
        return true;
    switch (commandId) {
    case Cmd::OpenWindow: {
        const ModuleInfo* m = CommandTable::module(m_module);
        return m && m->firstScreen && ScreenRegistry::find(m->firstScreen);
    }
    case Cmd::ModuleSettings: case Cmd::ModuleMaintenance: case Cmd::SaveAll:
        return false;
    case Cmd::NavigationBar: mark = !m_nav->isHidden(); return true;
    case Cmd::TabsShow: mark = m_tabs->isWanted(); return true;
    case Cmd::TabsTopBottom: mark = m_tabs->isOnTop(); return true;
    case Cmd::TabsImages: mark = m_tabs->hasImages(); return true;
    case Cmd::ViewToolBar: mark = !m_toolBar->isHidden(); return true;
    case Cmd::ViewStatusBar: mark = !m_status->isHidden(); return true;
    case Cmd::TodayWorkAtStart: mark = todayWorkAtStart(); return true;
    case Cmd::TabsThreshold: case Cmd::HelpTopics: case Cmd::About: case Cmd::WebSite: case Cmd::WebSite2:
    case Cmd::PrintSetup: case Cmd::WindowCascade: case Cmd::WindowTile: case Cmd::WindowArrange:
        return true;
    case Cmd::CloseWindow:
        return activeChild() && activeChild()->widget();
    case Cmd::WindowNew:
        return activeChild() && ScreenRegistry::find(activeChild()->commandId());
    }
    // Everything else belongs to the active screen, which says whether it handles it.
    IScreenCommands* screen = activeCommands();
    return screen && screen->commandEnabled(commandId, &mark);
}

void CMainFrame::updateCommandStates()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        bool checked = false;
        const bool enabled = isCommandEnabled(it.key(), &checked);
        QAction* a = it.value();
        if (a->isEnabled() != enabled)
            a->setEnabled(enabled);
        if (a->isCheckable() && a->isChecked() != checked)
            a->setChecked(checked);
    }
    if (m_nav)
        m_nav->updateEnabled([this](int id) { return isCommandEnabled(id); });
}

void CMainFrame::onCommand(int commandId)
{
    const CommandInfo* info = CommandTable::find(commandId);
    if (info && info->isScreen())
        openScreen(commandId);
    else if (const DialogCommand* dialog = DialogCommands::find(commandId))
        dialog->run(this);
    else if (!runFrameCommand(commandId))
        routeToScreen(commandId);
    updateCommandStates();
}

bool CMainFrame::runFrameCommand(int commandId)
{
    switch (commandId) {
    case Cmd::OpenWindow:
        if (const ModuleInfo* m = CommandTable::module(m_module); m && m->firstScreen)
            openScreen(m->firstScreen);
        return true;
    case Cmd::NavigationBar:
        m_nav->setVisible(m_nav->isHidden());
        return true;
    case Cmd::TabsShow:
        m_tabs->setWanted(!m_tabs->isWanted());
        return true;
    case Cmd::TabsTopBottom:
        m_tabs->setOnTop(!m_tabs->isOnTop());
        placeTabs();
        return true;
    case Cmd::TabsImages:
        m_tabs->setImages(!m_tabs->hasImages());
        return true;
    case Cmd::TabsThreshold: {
        const auto n = CNumberDlg::askNumber(
            {QStringLiteral("设置开始显示标签的文档数量"), 2, true}, this);
        if (n) {
            m_userThreshold = *n;
            m_tabs->setThreshold(*n);
        }
        return true;
    }
    case Cmd::ViewToolBar:
        m_toolBar->setVisible(m_toolBar->isHidden());
        return true;
    case Cmd::ViewStatusBar:
        m_status->setVisible(m_status->isHidden());
        return true;
    case Cmd::TodayWorkAtStart:
        setTodayWorkAtStart(!todayWorkAtStart());
        updateCommandStates();
        return true;
    case Cmd::HelpTopics: {
        // The manual opens in the program's own window, so help works without a web
        // browser; without the manual help quietly does nothing.
        const QString manual = TamvoResources::manualPath();
        if (manual.isEmpty())
            return true;
        if (!m_help)
            m_help = new CHelpWindow(manual, this);
        m_help->show();
        m_help->raise();
        m_help->activateWindow();
        return true;
    }
    case Cmd::WebSite:
    case Cmd::WebSite2: {
        const QUrl url(CommandTable::webAddress(commandId));
        urlOpener() ? urlOpener()(url) : QDesktopServices::openUrl(url);
        return true;
    }
    case Cmd::About: {
        CFlash flash(TamvoResources::splashPicture(), this);
        runDialog(&flash);
        return true;
    }
    case Cmd::PrintSetup: {
        QPageSetupDialog dialog(PrintService::sharedPrinter(), this);
        runDialog(&dialog);
        return true;
    }
    case Cmd::CloseWindow:
        if (CChildFrame* child = activeChild())
            child->close();
        return true;
    case Cmd::WindowNew:
        if (CChildFrame* child = activeChild()) {
            const int id = child->commandId();
            WaitCursor wait;
            createScreen(id, false);
        }
        return true;
    case Cmd::WindowCascade:
        m_mdi->cascadeSubWindows();
        return true;
    case Cmd::WindowTile:
        m_mdi->tileSubWindows();
        return true;
    case Cmd::WindowArrange:
        arrangeIcons();
        return true;
    }
    return false;
}

void CMainFrame::routeToScreen(int commandId)
{
    IScreenCommands* screen = activeCommands();
    if (!screen)
        return;
    if (commandId != Cmd::PrintPreview) {
        screen->runCommand(commandId);
        return;
    }
    // The preview covers the screens: no tabs while it shows.
    m_printPreview = true;
    m_tabs->setSuppressed(true);
    screen->runCommand(commandId);
    m_printPreview = false;
    m_tabs->setSuppressed(false);
}

void CMainFrame::arrangeIcons()
{
    // Minimised screens line up along the bottom edge, left to right.
    int x = 0;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        w->move(x, m_mdi->viewport()->height() - s.height());
        x += s.width();
    }
}

void CMainFrame::navigate(const QString& navName)
{
    if (const CommandInfo* c = CommandTable::findByNavName(navName))
        runCommand(c->id);
}

void CMainFrame::findRequest(bool down, const QString& text)
{
    IScreenCommands* screen = activeCommands();
    if (!screen || m_shortMenuId == 0) {
        AppStandardMessage(QStringLiteral("没有发现视图"), this);
        return;
    }
    screen->findText(down, text);
}

// ---------------------------------------------------------------- screens

QWidget* CMainFrame::screen(int commandId) const
{
    CChildFrame* child = m_slots.value(commandId);
    return child ? child->widget() : nullptr;
}

CChildFrame* CMainFrame::screenFrame(int commandId) const
{
    return m_slots.value(commandId);
}

QWidget* CMainFrame::activeScreen() const
{
    CChildFrame* child = activeChild();
    return child ? child->widget() : nullptr;
}

QWidget* CMainFrame::openScreen(int commandId)
{
    const CommandInfo* info = CommandTable::find(commandId);
    const ModuleInfo* module = info ? CommandTable::module(info->module) : nullptr;
    if (!module)
        return nullptr;
    WaitCursor wait;
    switchModule(*module);
    if (CChildFrame* child = m_slots.value(commandId)) {
        m_mdi->setActiveSubWindow(child);
        child->showMaximized();
        applyCaption();
        return child->widget();
    }
    return createScreen(commandId, true);
}

QWidget* CMainFrame::createScreen(int commandId, bool intoSlot)
{
    const ScreenEntry* entry = ScreenRegistry::find(commandId);
    const CommandInfo* info = CommandTable::find(commandId);
    if (!entry || !entry->create || !info)
        return nullptr;
    QWidget* view = entry->create(nullptr);
    if (!view)
        return nullptr; // nothing to show, and the slot stays empty
    auto* child = new CChildFrame(commandId);
    child->setWidget(view);
    child->setWindowIcon(ToolBarIcons::screenIcon(info->icon));
    if (view->windowTitle().isEmpty())
        child->setWindowTitle(ScreenRegistry::plainCaption(info->menuText));
    m_mdi->addSubWindow(child);
    if (intoSlot)
        m_slots.insert(commandId, child);
    connect(child, &CChildFrame::frameClosed, this, [this] { restoreDefaultMenu(); });
    // A screen that goes by itself takes its child frame along (queued: the frame may
    // itself be the one deleting the screen).
    connect(view, &QObject::destroyed, child, &QWidget::close, Qt::QueuedConnection);
    connect(child, &QWidget::windowTitleChanged, m_tabs, &CMDITabs::refresh);
    connect(child, &QObject::destroyed, this, [this, commandId, child] {
        // The slot empties with its screen; a second window of the screen never held it.
        if (m_slots.value(commandId) == child || m_slots.value(commandId).isNull())
            m_slots.remove(commandId);
        m_tabs->refresh();
    });
    // The screen may close itself during set-up (it could not open what it shows).
    QPointer<CChildFrame> guard(child);
    child->showMaximized();
    if (!guard || !guard->widget()) {
        m_slots.remove(commandId);
        return nullptr;
    }
    m_mdi->setActiveSubWindow(child);
    m_tabs->refresh();
    applyCaption();
    return view;
}

// ---------------------------------------------------------------- frame life

void CMainFrame::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    showMaximized();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The preview is closed first; the program stays.
    if (m_printPreview) {
        event->ignore();
        return;
    }
    // Every screen closes in turn, the most recently used first, each asking its own
    // question; a screen that stays open keeps the program open.
    QList<QPointer<QMdiSubWindow>> windows;
    const QList<QMdiSubWindow*> order = m_mdi->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = order.crbegin(); it != order.crend(); ++it)
        windows << *it;
    m_closing = true;
    for (const QPointer<QMdiSubWindow>& w : std::as_const(windows)) {
        if (w && !w->close()) {
            m_closing = false;
            event->ignore();
            return;
        }
    }
    saveBarState();
    event->accept();
}

void CMainFrame::saveBarState()
{
    QSettings settings;
    settings.beginGroup(kBarState);
    settings.setValue(QStringLiteral("Layout"), saveState());
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.endGroup();
}

void CMainFrame::restoreBarState()
{
    QSettings settings;
    settings.beginGroup(kBarState);
    const QByteArray layout = settings.value(QStringLiteral("Layout")).toByteArray();
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    settings.endGroup();
    // A damaged or foreign layout is simply not used.
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    if (!layout.isEmpty())
        restoreState(layout);
}

// ---------------------------------------------------------------- seams

CMainFrame::UrlOpener CMainFrame::setUrlOpener(UrlOpener opener)
{
    UrlOpener old = urlOpener();
    urlOpener() = std::move(opener);
    return old;
}

CMainFrame::DialogRunner CMainFrame::setDialogRunner(DialogRunner runner)
{
    DialogRunner old = dialogRunner();
    dialogRunner() = std::move(runner);
    return old;
}

int CMainFrame::runDialog(QDialog* dialog)
{
    return dialogRunner() ? dialogRunner()(dialog) : dialog->exec();
}
