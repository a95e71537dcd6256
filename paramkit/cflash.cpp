#include "cflash.h"

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

void CFlash::mousePressEvent(QMouseEvent*)
{
    accept();
}
