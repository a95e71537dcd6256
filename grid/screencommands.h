#pragma once
#include <QString>

// What the main frame asks of the active screen. Every screen implements it (through
// the grid screen base); the frame routes menu and tool-bar commands here and keeps a
// command disabled when the active screen does not handle it.
class IScreenCommands
{
public:
    virtual ~IScreenCommands() = default;

    // The command id this screen was opened by (its registry slot).
    virtual int screenCommandId() const = 0;
    // The module whose menu the frame shows while this screen is active (1..6).
    virtual int screenModule() const = 0;
    // Whether the screen handles the command now, and its check mark.
    virtual bool commandEnabled(int commandId, bool* checked) const = 0;
    // Runs the command; false when the screen does not handle it.
    virtual bool runCommand(int commandId) = 0;
    // The find window's request: search downwards or upwards for text.
    virtual void findText(bool down, const QString& text) = 0;
    // Asked before the screen closes (the unsaved-changes question); false keeps it open.
    virtual bool queryClose() = 0;
};
