#include "cflash.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

CFlash::CFlash(const QPixmap& picture, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_picture(picture)
{
    setFixedSize(m_picture.size());
}

void CFlash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

void CFlash::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        accept();
}

void CFlash::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
