#include "pkmessage.h"

#include <QMessageBox>

namespace ParamKit {

namespace {
MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}
} // namespace

bool showMessage(const Message& message, QWidget* parent)
{
    if (handler())
        return handler()(message);
    QMessageBox box(parent);
    box.setWindowTitle(message.caption);
    box.setText(message.text);
    switch (message.kind) {
    case MessageKind::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Notice:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler previous = handler();
    handler() = std::move(h);
    return previous;
}

QString applicationTitle()
{
    return QStringLiteral("塔沃种猪管理大师");
}

} // namespace ParamKit
