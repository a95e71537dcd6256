#include "toolbaricons.h"
#include "commandids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

using Painter = std::function<void(QPainter&)>;

// Every picture is drawn on a 32 x 32 canvas and rendered at two scales.
QIcon draw(const Painter& paint)
{
    QIcon icon;
    for (int size : {32, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kBlue(0x2f, 0x6f, 0xc4);
const QColor kGreen(0x2e, 0x9e, 0x44);
const QColor kRed(0xd3, 0x2f, 0x2f);
const QColor kPaper(0xfb, 0xfb, 0xf8);

void page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    const qreal fold = 6;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter& p, const QRectF& r, int lines)
{
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 1.4));
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + 4 + i * 4;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3 - (i % 2) * 4, y));
    }
}

void table(QPainter& p, const QRectF& r, int rows, int highlightRow = -1, const QColor& highlight = {})
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    const qreal rowH = r.height() / rows;
    p.setBrush(QColor(0xd6, 0xe4, 0xf5));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), rowH));
    if (highlightRow >= 0) {
        p.setBrush(highlight);
        p.drawRect(QRectF(r.left(), r.top() + highlightRow * rowH, r.width(), rowH));
    }
    for (int i = 1; i < rows; ++i)
        p.drawLine(QPointF(r.left(), r.top() + i * rowH), QPointF(r.right(), r.top() + i * rowH));
    p.drawLine(QPointF(r.left() + r.width() / 3, r.top()), QPointF(r.left() + r.width() / 3, r.bottom()));
}

void badge(QPainter& p, const QPointF& centre, const QColor& colour)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(centre, 7, 7);
}

void plus(QPainter& p, const QPointF& c)
{
    badge(p, c, kGreen);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
    p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
}

void cross(QPainter& p, const QPointF& c)
{
    badge(p, c, kRed);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
    p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
}

void magnifier(QPainter& p, const QPointF& c, qreal radius)
{
    p.setPen(QPen(QColor(0x6d, 0x4c, 0x2f), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(radius * 0.7, radius * 0.7), c + QPointF(radius * 1.9, radius * 1.9));
    p.setPen(QPen(kInk, 2.2));
    p.setBrush(QColor(0xcf, 0xe8, 0xfa, 220));
    p.drawEllipse(c, radius, radius);
}

void circleMark(QPainter& p, const QColor& colour, const QString& mark)
{
    p.setPen(QPen(colour.darker(130), 1.5));
    p.setBrush(colour);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont f = p.font();
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, mark);
}

void openWindow(QPainter& p)
{
    for (int i = 0; i < 2; ++i) {
        const QRectF r(2 + i * 7, 3 + i * 7, 21, 18);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kPaper);
        p.drawRect(r);
        p.setBrush(kBlue);
        p.drawRect(QRectF(r.left(), r.top(), r.width(), 4));
    }
    textLines(p, QRectF(9, 14, 21, 12), 2);
}

void save(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 4, 16, 10)); // label
    p.setBrush(QColor(0xb8, 0xc2, 0xcc));
    p.drawRect(QRectF(10, 19, 12, 9)); // shutter
    p.setBrush(kInk);
    p.drawRect(QRectF(17, 21, 3, 5));
    textLines(p, QRectF(8, 4, 16, 10), 2);
}

void copy(QPainter& p)
{
    page(p, QRectF(4, 3, 16, 20));
    textLines(p, QRectF(4, 5, 16, 18), 3);
    page(p, QRectF(12, 9, 16, 20));
    textLines(p, QRectF(12, 11, 16, 18), 3);
}

void cut(QPainter& p)
{
    p.setPen(QPen(QColor(0x70, 0x78, 0x82), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 19), QPointF(22, 3));
    p.drawLine(QPointF(21, 19), QPointF(10, 3));
    p.setPen(QPen(kRed, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 24), 4.5, 4.5);
    p.drawEllipse(QPointF(23, 24), 4.5, 4.5);
}

void paste(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xb0, 0x7a, 0x44));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(0x9a, 0xa4, 0xb0));
    p.drawRoundedRect(QRectF(9, 2, 10, 6), 1.5, 1.5);
    page(p, QRectF(13, 11, 16, 19));
    textLines(p, QRectF(13, 13, 16, 17), 3);
}

void print(QPainter& p)
{
    page(p, QRectF(9, 2, 14, 12));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xc9, 0xd0, 0xd8));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 20, 16, 10));
    textLines(p, QRectF(8, 20, 16, 10), 2);
    p.setBrush(kGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
}

void preview(QPainter& p)
{
    page(p, QRectF(3, 2, 20, 26));
    textLines(p, QRectF(3, 4, 20, 24), 5);
    magnifier(p, QPointF(19, 18), 5.5);
}

void screenPicture(QPainter& p, int iconId)
{
    switch (iconId) {
    case 133: // archive cards
        page(p, QRectF(4, 3, 22, 26));
        p.setPen(QPen(QColor(0x8d, 0x3c, 0x4a), 1.2));
        p.setBrush(QColor(0xf8, 0xbb, 0xd0));
        p.drawEllipse(QPointF(15, 13), 6, 5);
        p.setBrush(QColor(0x8d, 0x3c, 0x4a));
        p.drawEllipse(QPointF(13.5, 14), 1, 1.2);
        p.drawEllipse(QPointF(16.5, 14), 1, 1.2);
        textLines(p, QRectF(4, 18, 22, 10), 2);
        break;
    case 134: // records
        table(p, QRectF(3, 5, 26, 22), 5, 2, QColor(0xf8, 0xbb, 0xd0));
        break;
    case 135: // lists and transfers
        table(p, QRectF(3, 5, 26, 22), 5, 2, QColor(0xc8, 0xe6, 0xc9));
        break;
    case 136: // more lists
        table(p, QRectF(3, 5, 26, 22), 5, 2, QColor(0xff, 0xe0, 0xb2));
        break;
    default: // analyses
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(4, 28), QPointF(29, 28));
        p.drawLine(QPointF(4, 4), QPointF(4, 28));
        const QColor bars[] = {kBlue, kGreen, QColor(0xff, 0x8f, 0x00), kRed};
        const qreal heights[] = {10, 18, 13, 22};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(bars[i]);
            p.drawRect(QRectF(7 + i * 5.5, 28 - heights[i], 4.5, heights[i]));
        }
        break;
    }
}

void warning(QPainter& p)
{
    QPainterPath tri;
    tri.moveTo(16, 3);
    tri.lineTo(30, 28);
    tri.lineTo(2, 28);
    tri.closeSubpath();
    p.setPen(QPen(QColor(0x9c, 0x5b, 0x00), 1.4));
    p.setBrush(QColor(0xff, 0xb3, 0x00));
    p.drawPath(tri);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 11), QPointF(16, 20));
    p.drawPoint(QPointF(16, 24.5));
}

void bell(QPainter& p)
{
    QPainterPath body;
    body.moveTo(6, 24);
    body.cubicTo(9, 20, 8, 8, 16, 6);
    body.cubicTo(24, 8, 23, 20, 26, 24);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x6d, 0x00), 1.4));
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawPath(body);
    p.drawEllipse(QPointF(16, 26.5), 2.5, 2.5);
    p.drawLine(QPointF(16, 3), QPointF(16, 6));
}

void transfer(QPainter& p)
{
    table(p, QRectF(2, 3, 18, 22), 4, 2, QColor(0xc8, 0xe6, 0xc9));
    p.setPen(QPen(kBlue, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 21), QPointF(29, 21));
    p.drawLine(QPointF(24, 16), QPointF(29, 21));
    p.drawLine(QPointF(24, 26), QPointF(29, 21));
}

} // namespace

namespace ToolBarIcons {

QIcon commandIcon(int commandId)
{
    switch (commandId) {
    case Cmd::OpenWindow: return draw(openWindow);
    case Cmd::Save: return draw(save);
    case Cmd::Copy: return draw(copy);
    case Cmd::Cut: return draw(cut);
    case Cmd::Paste: return draw(paste);
    case Cmd::AddRows: return draw([](QPainter& p) { table(p, QRectF(2, 3, 24, 22), 4); plus(p, QPointF(23, 23)); });
    case Cmd::Delete:
        return draw([](QPainter& p) { table(p, QRectF(2, 3, 24, 22), 4, 2, QColor(0xff, 0xcd, 0xd2)); cross(p, QPointF(23, 23)); });
    case Cmd::InsertRow:
        return draw([](QPainter& p) {
            table(p, QRectF(8, 3, 22, 24), 4, 2, QColor(0xc8, 0xe6, 0xc9));
            p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(2, 17), QPointF(10, 17));
            p.drawLine(QPointF(7, 13), QPointF(11, 17));
            p.drawLine(QPointF(7, 21), QPointF(11, 17));
        });
    case Cmd::Find: return draw([](QPainter& p) { magnifier(p, QPointF(13, 13), 8); });
    case Cmd::Print: return draw(print);
    case Cmd::PrintPreview: return draw(preview);
    case Cmd::HelpTopics: return draw([](QPainter& p) { circleMark(p, kBlue, QStringLiteral("?")); });
    case Cmd::About: return draw([](QPainter& p) { circleMark(p, kGreen, QStringLiteral("i")); });
    }
    return QIcon();
}

QIcon moduleIcon(int module)
{
    switch (module) {
    case 0: return screenIcon(133);
    case 1: return draw(transfer);
    case 2: return draw(bell);
    case 3: return draw(warning);
    case 4: return screenIcon(137);
    }
    return draw(print);
}

QIcon screenIcon(int iconId)
{
    return draw([iconId](QPainter& p) { screenPicture(p, iconId); });
}

} // namespace ToolBarIcons
