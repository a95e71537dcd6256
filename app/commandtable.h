#pragma once
#include "commandids.h"

#include <QString>
#include <QVector>

// What the frame knows about each command: its menu text, the screen it opens (module,
// class, icon), the name the navigation bar reports for it, and its status-bar prompt
// with the tool tip after the line break. The one table of the program's commands.
struct CommandInfo {
    int id = 0;
    QString menuText;    // with mnemonic and shortcut, e.g. "保存\tCtrl+S"
    int module = -1;     // 0..5 for screens, -1 for everything else
    QString className;   // the screen class, for screens
    int icon = 0;        // icon resource of the screen's child frame (133..137)
    QString navName;     // empty: not on the navigation bar
    QString prompt;      // status-bar prompt, "\n", tool tip

    bool isScreen() const { return module >= 0; }
    QString statusPrompt() const { return prompt.section(QLatin1Char('\n'), 0, 0); }
    QString toolTip() const { return prompt.section(QLatin1Char('\n'), 1); }
};

struct ModuleInfo {
    int module = 0;
    QString name;        // the frame caption while the module is active (empty for 5)
    int menuId = 0;      // the module menu
    int shortMenuId = 0; // the one-popup screen menu (tool-bar drop-down)
    int firstScreen = 0; // opened by the tool bar's "打开窗口"; 0 for none
    QString popup;       // the module's popup caption in the default menu
    QString ownPopup;    // its own popup caption in the module menu
};

// A menu item: a command, a separator (id 0, no caption) or a popup (caption and items).
struct MenuItem {
    int id = 0;
    QString popup;
    QVector<MenuItem> items;

    bool isSeparator() const { return id == 0 && popup.isEmpty(); }
    bool isPopup() const { return !popup.isEmpty(); }
};

namespace CommandTable {
constexpr int DefaultMenu = 128;

// Every command, screens first in the registry's order (the navigation bar's search order).
const QVector<CommandInfo>& commands();
const CommandInfo* find(int id);
// The first command whose navigation-bar name is the name; nullptr when none is.
const CommandInfo* findByNavName(const QString& name);

const QVector<ModuleInfo>& modules();
const ModuleInfo* module(int module);
// The module whose module menu or short menu has this id, or nullptr.
const ModuleInfo* moduleOfMenu(int menuId);

// The popups of a menu bar (128 and the six module menus) or of a short screen menu.
QVector<MenuItem> menu(int menuId);
QList<int> menuIds(); // 128, the module menus, the short menus

// The web addresses behind the two web-site commands.
QString webAddress(int id);
}
