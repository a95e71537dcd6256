#pragma once
#include "paramkit_global.h"

#include <QString>
#include <functional>

class QWidget;

// The library's own message boxes. The program routes them to its message function, so
// its tests answer the library's questions like every other one.
namespace ParamKit {

enum class MessageKind {
    Notice,   // OK button, no icon
    Question, // Yes/No, question icon
    Warning,  // OK button, exclamation icon
};

struct Message {
    QString text;
    QString caption;
    MessageKind kind = MessageKind::Notice;
};

// Answers true for Yes (and for OK).
using MessageHandler = std::function<bool(const Message&)>;

PARAMKIT_EXPORT bool showMessage(const Message& message, QWidget* parent = nullptr);
// Replaces how messages are answered; returns the handler it replaced. An empty handler
// restores the real message box.
PARAMKIT_EXPORT MessageHandler setMessageHandler(MessageHandler handler);

// The program's title, the caption of the editors' notices.
PARAMKIT_EXPORT QString applicationTitle();

} // namespace ParamKit
