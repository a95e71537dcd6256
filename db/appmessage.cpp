#include "appmessage.h"

#include <QApplication>
#include <QMessageBox>

namespace {

AppMessageHandler& handlerSlot()
{
    static AppMessageHandler h;
    return h;
}

MsgAnswer showBox(const AppMessage& m, QWidget* parent)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No windows in this process (command-line work): the message still reaches a person.
        fprintf(stderr, "%s: %s\n", qPrintable(m.caption), qPrintable(m.text));
        return m.buttons == MsgButtons::Ok || m.buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::No;
    }
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (m.icon) {
    case MsgIcon::Information: icon = QMessageBox::Information; break;
    case MsgIcon::Warning: icon = QMessageBox::Warning; break;
    case MsgIcon::Stop: icon = QMessageBox::Critical; break;
    case MsgIcon::Question: icon = QMessageBox::Question; break;
    case MsgIcon::None: break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (m.buttons) {
    case MsgButtons::Ok: buttons = QMessageBox::Ok; break;
    case MsgButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(icon, m.caption, m.text, buttons, parent);
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

} // namespace

QString appTitle()
{
    return QStringLiteral("塔沃种猪管理大师");
}

MsgAnswer AppMessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons,
                        QWidget* parent)
{
    const AppMessage m{text, caption, icon, buttons};
    if (handlerSlot())
        return handlerSlot()(m);
    return showBox(m, parent);
}

void AppStandardMessage(const QString& text, QWidget* parent)
{
    AppMessageBox(text, appTitle(), MsgIcon::Warning, MsgButtons::Ok, parent);
}

AppMessageHandler setAppMessageHandler(AppMessageHandler handler)
{
    AppMessageHandler old = handlerSlot();
    handlerSlot() = std::move(handler);
    return old;
}
