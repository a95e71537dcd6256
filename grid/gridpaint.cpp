#include "gridpaint.h"
#include "gridmodel.h"

#include <QFontMetrics>
#include <QPainter>

namespace GridPaint {

QColor fixedBackground()
{
    return QColor(0xEC, 0xEC, 0xE8);
}

QColor fixedLine()
{
    return QColor(0xA0, 0xA0, 0xA0);
}

QColor dataLine()
{
    return QColor(0xD0, 0xD0, 0xD0);
}

void drawText(QPainter* p, const QRect& cellRect, unsigned format, const QString& text, int margin)
{
    if (text.isEmpty())
        return;
    const QRect r = cellRect.adjusted(margin, 1, -margin, -1);
    int flags = (format & GridFormat::Center) ? Qt::AlignHCenter : (format & GridFormat::Right) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (format & GridFormat::VCenter) ? Qt::AlignVCenter : (format & GridFormat::Bottom) ? Qt::AlignBottom : Qt::AlignTop;
    if (format & GridFormat::WordBreak) {
        flags |= Qt::TextWordWrap;
        p->drawText(r, flags, text);
        return;
    }
    const QFontMetrics fm = p->fontMetrics();
    if ((format & GridFormat::EndEllipsis) && !text.contains(QLatin1Char('\n')) && fm.horizontalAdvance(text) > r.width()) {
        p->drawText(r, flags | Qt::TextSingleLine, fm.elidedText(text, Qt::ElideRight, r.width()));
        return;
    }
    if (format & GridFormat::SingleLine)
        flags |= Qt::TextSingleLine;
    p->drawText(r, flags, text);
}

void drawLines(QPainter* p, const QRect& cellRect, int mode, const QColor& colour)
{
    if (mode == 0)
        return;
    p->save();
    p->setPen(QPen(colour, 0));
    if (mode & 1)
        p->drawLine(cellRect.bottomLeft(), cellRect.bottomRight());
    if (mode & 2)
        p->drawLine(cellRect.topRight(), cellRect.bottomRight());
    p->restore();
}

} // namespace GridPaint
