#include "splashwnd.h"
#include "tamvoresources.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {
QPointer<CSplashWnd> g_splash;
}

CSplashWnd::CSplashWnd(QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(TamvoResources::splashPicture())
    , m_main(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.size());
}

CSplashWnd* CSplashWnd::current()
{
    return g_splash;
}

CSplashWnd* CSplashWnd::showSplash(QWidget* mainWindow, int milliseconds)
{
    if (g_splash)
        return g_splash; // only once
    auto* w = new CSplashWnd(mainWindow);
    g_splash = w;
    if (QScreen* s = QGuiApplication::primaryScreen())
        w->move(s->geometry().center() - w->rect().center());
    qApp->installEventFilter(w);
    QTimer::singleShot(milliseconds, w, &CSplashWnd::hideSplash);
    w->show();
    return w;
}

void CSplashWnd::hideSplash()
{
    qApp->removeEventFilter(this);
    hide();
    if (m_main)
        m_main->update();
    close();
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

bool CSplashWnd::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        return true; // the key press that follows hides the picture
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        hideSplash();
        return true; // the key or click that hid the picture does nothing else
    default:
        return false;
    }
}
