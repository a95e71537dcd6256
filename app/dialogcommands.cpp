#include "dialogcommands.h"

namespace {
QList<DialogCommand>& entries()
{
    static QList<DialogCommand> e;
    return e;
}
} // namespace

namespace DialogCommands {

void add(const DialogCommand& command)
{
    remove(command.commandId);
    entries().append(command);
}

void remove(int commandId)
{
    auto& e = entries();
    for (int i = e.size() - 1; i >= 0; --i)
        if (e.at(i).commandId == commandId)
            e.removeAt(i);
}

const DialogCommand* find(int commandId)
{
    for (const DialogCommand& d : entries())
        if (d.commandId == commandId)
            return &d;
    return nullptr;
}

QList<int> ids()
{
    QList<int> result;
    for (const DialogCommand& d : entries())
        result << d.commandId;
    return result;
}

} // namespace DialogCommands
