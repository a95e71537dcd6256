#include "childframe.h"
#include "screencommands.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(int commandId, QWidget* parent)
    : QMdiSubWindow(parent)
    , m_commandId(commandId)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

IScreenCommands* CChildFrame::screenCommands() const
{
    return dynamic_cast<IScreenCommands*>(widget());
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (IScreenCommands* screen = screenCommands(); screen && !screen->queryClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit frameClosed(this);
}
