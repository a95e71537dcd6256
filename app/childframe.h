#pragma once
#include <QMdiSubWindow>

class IScreenCommands;

// The child window of one screen. Closing it (close box or "关闭窗口") first asks the
// screen whether it may close (the screen's own unsaved-changes question).
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit CChildFrame(int commandId, QWidget* parent = nullptr);

    // The command that opened the screen: its slot in the frame.
    int commandId() const { return m_commandId; }
    // The screen's command interface, or nullptr when the screen has none.
    IScreenCommands* screenCommands() const;

signals:
    // The frame has closed (the screen accepted); it is deleted soon after.
    void frameClosed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int m_commandId;
};
