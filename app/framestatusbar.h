#pragma once
#include <QStatusBar>

class QLabel;

// The status bar: the message pane ("就绪" when idle, a command's prompt while its menu
// item or button is highlighted) and the caps-lock, num-lock and scroll-lock panes.
class CFrameStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit CFrameStatusBar(QWidget* parent = nullptr);

    // The text the message pane shows now.
    QString messageText() const;
    QLabel* indicator(int index) const; // 0 caps, 1 num, 2 scroll
    // Reads the keyboard's lock lights again.
    void updateIndicators();

private:
    QLabel* m_idle;
    QLabel* m_locks[3];
};
