#include "registerscreens.h"
#include "commandtable.h"
#include "dialogcommands.h"
#include "screenregistry.h"

namespace {

// Screens add themselves here as they are built, one line each:
//   addScreen(Cmd::TDaiPei, [](QWidget* p) { return new CTDaiPei(p); });
// The caption comes from the command table, so the exporter finds screens by menu name.
[[maybe_unused]] void addScreen(int commandId, std::function<QWidget*(QWidget*)> create)
{
    const CommandInfo* info = CommandTable::find(commandId);
    ScreenRegistry::add({commandId, info ? info->menuText : QString(), std::move(create)});
}

} // namespace

void registerScreens()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Dialog commands: DialogCommands::add({Cmd::Settings, [](QWidget* frame) { ... }});
}
