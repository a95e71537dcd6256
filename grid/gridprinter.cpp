#include "gridprinter.h"
#include "gridctrl.h"
#include "gridpaint.h"

#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <functional>

namespace {
constexpr double kScreenDpi = 96.0;

// Consecutive indexes first..end-1 cut into runs whose sizes add up to at most limit.
QVector<QVector<int>> runs(int first, int end, double limit, const std::function<int(int)>& size)
{
    QVector<QVector<int>> out;
    QVector<int> run;
    double used = 0;
    for (int i = first; i < end; ++i) {
        const int s = size(i);
        if (!run.isEmpty() && used + s > limit + 0.5) {
            out << run;
            run.clear();
            used = 0;
        }
        run << i;
        used += s;
    }
    if (!run.isEmpty() || out.isEmpty())
        out << run;
    return out;
}

QFont scaledFont(QFont f, double pointSize, bool bold)
{
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}
} // namespace

CGridPrinter::CGridPrinter(const CGridCtrl* grid)
    : m_grid(grid)
{
}

QFont CGridPrinter::cellFont() const
{
    // Cells are drawn in screen pixels scaled to the page, so the font is sized in pixels.
    QFont f = m_grid->font();
    const double pt = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
    f.setPixelSize(std::max(1, int(pt * kScreenDpi / 72.0 + 0.5)));
    return f;
}

int CGridPrinter::headingHeight(int dpi) const
{
    if (m_grid->GetPrintHead1().isEmpty() && m_grid->GetPrintHead2().isEmpty())
        return 0;
    const double px = dpi / 72.0;
    return int((16 + 10) * px * 1.4 + 8 * dpi / 25.4 / 2);
}

int CGridPrinter::footerHeight(int dpi) const
{
    return int(9 * dpi / 72.0 * 2.2);
}

QVector<QVector<int>> CGridPrinter::rowChunks(int first, int end, double limit) const
{
    auto height = [this](int r) { return m_grid->GetRowHeight(r); };
    const QVector<int> breaks = m_grid->GetPrintBreakRows();
    if (breaks.isEmpty())
        return runs(first, end, limit, height);

    // Blocks between break rows. A block goes on the current page when it fits there
    // (after a blank gap the height of the break row), else on a new page; a block
    // taller than a page is cut into whole pages of rows.
    QVector<QVector<int>> blocks(1);
    QVector<int> gapBefore(1, 0);
    for (int r = first; r < end; ++r) {
        if (breaks.contains(r)) {
            blocks << QVector<int>();
            gapBefore << r;
            continue;
        }
        blocks.last() << r;
    }
    QVector<QVector<int>> out;
    QVector<int> page;
    double used = 0;
    for (int b = 0; b < blocks.size(); ++b) {
        const QVector<int>& block = blocks.at(b);
        if (block.isEmpty())
            continue;
        double h = 0;
        for (int r : block)
            h += height(r);
        const int gap = page.isEmpty() ? 0 : height(gapBefore.at(b));
        if (!page.isEmpty() && used + gap + h <= limit + 0.5) {
            page << gapBefore.at(b) << block;
            used += gap + h;
            continue;
        }
        if (!page.isEmpty())
            out << page;
        page.clear();
        used = 0;
        QVector<QVector<int>> parts = runs(block.first(), block.last() + 1, limit, height);
        page = parts.takeLast();
        out << parts;
        for (int r : page)
            used += height(r);
    }
    if (!page.isEmpty() || out.isEmpty())
        out << page;
    return out;
}

QVector<CGridPrinter::Page> CGridPrinter::paginate(const QSizeF& pageSize, int dpi) const
{
    QVector<Page> pages;
    const int rows = m_grid->GetRowCount();
    const int cols = m_grid->GetColumnCount();
    if (rows == 0 || cols == 0)
        return pages;
    const int fr = m_grid->GetFixedRowCount();
    const int fc = m_grid->GetFixedColumnCount();
    const double toDevice = dpi / kScreenDpi;

    int fixedW = 0;
    int totalW = 0;
    for (int c = 0; c < cols; ++c) {
        totalW += m_grid->GetColumnWidth(c);
        if (c < fc)
            fixedW += m_grid->GetColumnWidth(c);
    }
    const double availW = pageSize.width() / toDevice;
    m_scale = totalW <= availW ? 1.0 : std::max(kMinScale, availW / totalW);
    const double bandW = availW / m_scale - fixedW;

    // Bands of whole columns, pages of whole rows; each holds at least one however large.
    const QVector<QVector<int>> bands = runs(fc, cols, bandW, [this](int c) { return m_grid->GetColumnWidth(c); });
    int fixedH = 0;
    for (int r = 0; r < fr; ++r)
        fixedH += m_grid->GetRowHeight(r);
    const double availH = (pageSize.height() - headingHeight(dpi) - footerHeight(dpi)) / toDevice / m_scale - fixedH;
    const QVector<QVector<int>> chunks = rowChunks(fr, rows, availH);

    for (const QVector<int>& b : bands) {
        for (const QVector<int>& ch : chunks) {
            Page page;
            for (int r = 0; r < fr; ++r)
                page.rows << r;
            page.rows << ch;
            for (int c = 0; c < fc; ++c)
                page.cols << c;
            page.cols << b;
            page.fixedRows = fr;
            page.fixedCols = fc;
            pages << page;
        }
    }
    return pages;
}

void CGridPrinter::paintHeading(QPainter& p, const QRectF& area, int dpi) const
{
    const QString h1 = m_grid->GetPrintHead1();
    const QString h2 = m_grid->GetPrintHead2();
    p.save();
    const double px = dpi / 72.0;
    QRectF line1(area.left(), area.top(), area.width(), 16 * px * 1.4);
    p.setFont(scaledFont(m_grid->font(), 16, true));
    p.drawText(line1, Qt::AlignCenter, h1);
    QRectF line2(area.left(), line1.bottom(), area.width(), 10 * px * 1.4);
    p.setFont(scaledFont(m_grid->font(), 10, false));
    p.drawText(line2, Qt::AlignCenter, h2);
    p.restore();
}

void CGridPrinter::paintPage(QPainter& p, const Page& page, const QPointF& origin) const
{
    const CGridModel* m = m_grid->model();
    // Where each row and column of the page starts, and which part (fixed or not) it
    // belongs to: a merged cell is drawn once per part it shows in.
    QHash<int, int> rowY, colX;
    int y = 0;
    for (int r : page.rows) {
        rowY.insert(r, y);
        y += m_grid->GetRowHeight(r);
    }
    int x = 0;
    for (int c : page.cols) {
        colX.insert(c, x);
        x += m_grid->GetColumnWidth(c);
    }
    auto rowPart = [&](int r) { return r < page.fixedRows ? 0 : 1; };
    auto colPart = [&](int c) { return c < page.fixedCols ? 0 : 1; };

    p.save();
    p.translate(origin);
    p.setFont(cellFont());
    const int lines = m_grid->GetGridLines();
    const QVector<int> breaks = m_grid->GetPrintBreakRows();
    for (int r : page.rows) {
        if (breaks.contains(r))
            continue; // a blank gap between two blocks
        for (int c : page.cols) {
            const QRect merge = m->mergeAt(r, c);
            // Anchor: the merge's first row and column that this page shows in this part.
            int ar = r, ac = c;
            for (int rr = merge.top(); rr < r; ++rr)
                if (rowY.contains(rr) && rowPart(rr) == rowPart(r)) {
                    ar = rr;
                    break;
                }
            for (int cc = merge.left(); cc < c; ++cc)
                if (colX.contains(cc) && colPart(cc) == colPart(c)) {
                    ac = cc;
                    break;
                }
            if (ar != r || ac != c)
                continue;
            int right = colX.value(c) + m_grid->GetColumnWidth(c);
            for (int cc = c + 1; cc <= merge.right(); ++cc)
                if (colX.contains(cc) && colPart(cc) == colPart(c))
                    right = colX.value(cc) + m_grid->GetColumnWidth(cc);
            int bottom = rowY.value(r) + m_grid->GetRowHeight(r);
            for (int rr = r + 1; rr <= merge.bottom(); ++rr)
                if (rowY.contains(rr) && rowPart(rr) == rowPart(r))
                    bottom = rowY.value(rr) + m_grid->GetRowHeight(rr);
            // The merge's text lives in its top-left cell even when that is on another page.
            const int tr = merge.top();
            const int tc = merge.left();
            const QRect rect(colX.value(c), rowY.value(r), right - colX.value(c), bottom - rowY.value(r));
            const bool fixed = m->isFixed(tr, tc);
            QColor bg = m->background(tr, tc);
            if (!bg.isValid() && fixed)
                bg = GridPaint::fixedBackground();
            if (bg.isValid())
                p.fillRect(rect, bg);
            const QColor fg = m->foreground(tr, tc);
            p.setPen(fg.isValid() ? fg : QColor(Qt::black));
            GridPaint::drawText(&p, rect, m->format(tr, tc), m->text(tr, tc));
            const int mode = fixed ? GVL_BOTH : lines;
            const QColor lineColour = fixed ? QColor(0x60, 0x60, 0x60) : QColor(0x80, 0x80, 0x80);
            GridPaint::drawLines(&p, rect, mode, lineColour);
            p.setPen(QPen(lineColour, 0));
            if (mode & GVL_HORZ)
                p.drawLine(rect.topLeft(), rect.topRight());
            if (mode & GVL_VERT)
                p.drawLine(rect.topLeft(), rect.bottomLeft());
        }
    }
    p.restore();
}

void CGridPrinter::render(QPrinter* printer)
{
    const int dpi = printer->resolution();
    const QRectF paper = printer->pageLayout().paintRectPixels(dpi);
    const QSizeF body(paper.width(), paper.height());
    const QVector<Page> pages = paginate(body, dpi);
    QPainter p;
    if (!p.begin(printer))
        return;
    const int first = printer->fromPage() > 0 ? printer->fromPage() : 1;
    const int last = printer->toPage() > 0 ? std::min<int>(printer->toPage(), pages.size()) : pages.size();
    const double toDevice = dpi / kScreenDpi * m_scale;
    const int heading = headingHeight(dpi);
    bool firstPage = true;
    for (int i = first; i <= last; ++i) {
        if (!firstPage)
            printer->newPage();
        firstPage = false;
        if (heading > 0)
            paintHeading(p, QRectF(0, 0, body.width(), heading), dpi);
        p.save();
        p.translate(0, heading);
        p.scale(toDevice, toDevice);
        paintPage(p, pages.at(i - 1), QPointF(0, 0));
        p.restore();
        p.save();
        p.setFont(scaledFont(m_grid->font(), 9, false));
        p.setPen(Qt::black);
        const QRectF foot(0, body.height() - footerHeight(dpi), body.width(), footerHeight(dpi));
        p.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("第 %1 页  共 %2 页").arg(i).arg(pages.size()));
        p.restore();
    }
    p.end();
}

void CGridPrinter::print(const CGridCtrl* grid, PrintService::Mode mode, QWidget* parent)
{
    PrintService::run(mode, [grid](QPrinter* printer) { CGridPrinter(grid).render(printer); }, parent);
}

bool CGridPrinter::printToPdf(const CGridCtrl* grid, const QString& path)
{
    return PrintService::toPdf([grid](QPrinter* printer) { CGridPrinter(grid).render(printer); }, path);
}
