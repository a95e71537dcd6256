#pragma once
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The find window every grid screen shares: modeless, caption "查找", a prompt the
// screen sets, a text field that keeps its text, "向下查找" (the default) and "向上查找".
// A request goes to the main frame, which passes it to the active screen; without a
// frame (tests, a screen on its own) it goes straight to the owning screen.
class CFindDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CFindDlg(QWidget* owner);

    void setPrompt(const QString& prompt);
    QString prompt() const;
    QString text() const;
    void setText(const QString& text);
    QLineEdit* textField() const { return m_text; }
    QPushButton* downButton() const { return m_down; }
    QPushButton* upButton() const { return m_up; }

    // The frame's relay: (down, text) to the active screen. Empty: no frame.
    using Relay = std::function<void(bool down, const QString& text)>;
    static Relay setRelay(Relay relay);

    // The buttons' work: nothing while the text is empty.
    void requestFind(bool down);

signals:
    // Emitted when no frame relays the request.
    void findRequested(bool down, const QString& text);

private:
    QLabel* m_prompt;
    QLineEdit* m_text;
    QPushButton* m_down;
    QPushButton* m_up;
};
