#pragma once
#include <QString>
#include <functional>

class QWidget;

// Every message the program shows goes through AppMessageBox, so a test (or the
// headless exporter) can answer it without a person.
enum class MsgIcon { None, Information, Warning, Stop, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct AppMessage {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

using AppMessageHandler = std::function<MsgAnswer(const AppMessage&)>;

// The program title, the caption of the application's standard message box.
QString appTitle();

MsgAnswer AppMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                        MsgButtons buttons = MsgButtons::Ok, QWidget* parent = nullptr);
// The application's standard box: title as caption, exclamation icon, OK.
void AppStandardMessage(const QString& text, QWidget* parent = nullptr);

// Replaces how messages are answered; returns the handler it replaced. An empty
// handler restores the real message box.
AppMessageHandler setAppMessageHandler(AppMessageHandler handler);
