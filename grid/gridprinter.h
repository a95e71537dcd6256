#pragma once
#include "printservice.h"

#include <QFont>
#include <QVector>

class CGridCtrl;
class QPainter;

// Lays a grid out on printed pages: the heading lines on top, the fixed rows repeated
// on every page (and the fixed columns on every band of a wide grid), page numbers at
// the foot. A grid a little too wide is shrunk to fit (down to 70 %); a wider one is
// cut into bands of whole columns, each printed top to bottom before the next.
class CGridPrinter
{
public:
    struct Page {
        QVector<int> rows; // fixed rows first, then this page's rows
        QVector<int> cols; // fixed columns first, then this band's columns
        int fixedRows = 0;
        int fixedCols = 0;
    };

    explicit CGridPrinter(const CGridCtrl* grid);

    // Pages for a page body of the given size in device pixels at the given resolution.
    QVector<Page> paginate(const QSizeF& pageSize, int dpi) const;
    double scale() const { return m_scale; }
    void render(QPrinter* printer);

    // The shared path: the screen's print, print-at-once and preview commands.
    static void print(const CGridCtrl* grid, PrintService::Mode mode, QWidget* parent = nullptr);
    static bool printToPdf(const CGridCtrl* grid, const QString& path);

    static constexpr double kMinScale = 0.7;

private:
    // Rows first..end-1 cut into pages of at most limit pixels, keeping the blocks
    // between the grid's print break rows whole where they fit.
    QVector<QVector<int>> rowChunks(int first, int end, double limit) const;
    int headingHeight(int dpi) const;
    int footerHeight(int dpi) const;
    void paintHeading(QPainter& p, const QRectF& area, int dpi) const;
    void paintPage(QPainter& p, const Page& page, const QPointF& origin) const;
    QFont cellFont() const;

    const CGridCtrl* m_grid;
    mutable double m_scale = 1.0;
};
