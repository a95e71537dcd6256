#pragma once
#include <QPixmap>
#include <QWidget>

// The start-up picture: shown for two seconds over the main window; a key press or a
// click hides it at once and goes nowhere else.
class CSplashWnd : public QWidget
{
    Q_OBJECT
public:
    static CSplashWnd* showSplash(QWidget* mainWindow, int milliseconds = 2000);
    static CSplashWnd* current();

    void hideSplash();

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CSplashWnd(QWidget* mainWindow);
    QPixmap m_picture;
    QWidget* m_main;
};
