#pragma once
#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

// How a cell looks, shared by the screen and the printed page so both show the same.
namespace GridPaint {
// Space between a cell's border and its text, in pixels at screen size.
constexpr int kTextMargin = 3;

QColor fixedBackground();
QColor fixedLine();
QColor dataLine();

// Text placed by the cell's DrawText-style format (centre, right, vertical centre,
// bottom, word wrap; a single line ends in "…" when it does not fit).
void drawText(QPainter* p, const QRect& cellRect, unsigned format, const QString& text, int margin = kTextMargin);
// Grid lines on the right and bottom edges of a cell, by line mode (0-3).
void drawLines(QPainter* p, const QRect& cellRect, int mode, const QColor& colour);
}
