#include "mainframe.h"
#include "appmessage.h"

#include <QMdiArea>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , m_mdi(new QMdiArea(this))
{
    setWindowTitle(appTitle());
    setCentralWidget(m_mdi);
    resize(1024, 768);
}

void CMainFrame::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    showMaximized();
    raise();
    activateWindow();
}
