#pragma once
#include <QList>
#include <functional>

class QWidget;

// The commands the frame runs as modal dialogs (settings, maintenance, tools, card
// printing). Each dialog registers here when it exists; until then its command stays
// disabled.
struct DialogCommand {
    int commandId = 0;
    std::function<void(QWidget* frame)> run;
};

namespace DialogCommands {
void add(const DialogCommand& command); // replaces one with the same id
void remove(int commandId);
const DialogCommand* find(int commandId);
QList<int> ids();
}
