#include "tamvoresources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace TamvoResources {

QPixmap splashPicture()
{
    // Drawn rather than shipped as a bitmap: it stays sharp and costs no binary file.
    QPixmap pm(520, 320);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, pm.height());
    sky.setColorAt(0, QColor(0x2e, 0x7d, 0x32));
    sky.setColorAt(1, QColor(0x1b, 0x4d, 0x20));
    p.fillRect(pm.rect(), sky);

    // A pig in profile.
    p.setPen(QPen(QColor(0x8d, 0x3c, 0x4a), 3));
    p.setBrush(QColor(0xf8, 0xbb, 0xd0));
    p.drawEllipse(QRectF(60, 90, 170, 110));            // body
    p.drawEllipse(QRectF(200, 95, 80, 70));             // head
    p.drawEllipse(QRectF(262, 118, 34, 26));            // snout
    p.drawRect(QRectF(85, 185, 18, 35));                // legs
    p.drawRect(QRectF(185, 185, 18, 35));
    QPainterPath ear;
    ear.moveTo(220, 100);
    ear.lineTo(232, 70);
    ear.lineTo(248, 98);
    p.drawPath(ear);
    p.setBrush(QColor(0x5d, 0x27, 0x30));
    p.drawEllipse(QRectF(272, 126, 5, 7));
    p.drawEllipse(QRectF(283, 126, 5, 7));
    p.drawEllipse(QRectF(236, 115, 7, 7));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(40, 110, 30, 30), 90 * 16, 270 * 16); // tail

    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPointSize(26);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 235, pm.width(), 44), Qt::AlignCenter, QStringLiteral("塔沃种猪管理大师"));
    QFont small = p.font();
    small.setPointSize(11);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(0, 278, pm.width(), 28), Qt::AlignCenter, QStringLiteral("种猪档案 · 配种产仔 · 生产提醒 · 生产分析"));
    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    p.drawRect(pm.rect().adjusted(1, 1, -2, -2));
    return pm;
}

QImage appIcon(int size)
{
    // The splash picture's pig head on the program's green, drawn on a 64-unit grid so
    // every size comes out of the same strokes.
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient back(0, 0, 0, 64);
    back.setColorAt(0, QColor(0x43, 0xa0, 0x47));
    back.setColorAt(1, QColor(0x1b, 0x5e, 0x20));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setPen(QPen(QColor(0x8d, 0x3c, 0x4a), 2));
    p.setBrush(QColor(0xf8, 0xbb, 0xd0));
    QPainterPath ears;
    ears.moveTo(14, 24); ears.lineTo(12, 8); ears.lineTo(26, 16); ears.closeSubpath();
    ears.moveTo(50, 24); ears.lineTo(52, 8); ears.lineTo(38, 16); ears.closeSubpath();
    p.drawPath(ears);
    p.drawEllipse(QRectF(10, 12, 44, 42));  // head
    p.drawEllipse(QRectF(21, 33, 22, 15));  // snout
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5d, 0x27, 0x30));
    p.drawEllipse(QRectF(26, 38, 4, 6));    // nostrils
    p.drawEllipse(QRectF(34, 38, 4, 6));
    p.drawEllipse(QRectF(20, 24, 5, 5));    // eyes
    p.drawEllipse(QRectF(39, 24, 5, 5));
    return img;
}

QString manualPath()
{
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {dir.filePath(QStringLiteral("manual/index.html")),
                                     dir.filePath(QStringLiteral("../share/tamvo/manual/index.html"))}) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QString();
}

} // namespace TamvoResources
