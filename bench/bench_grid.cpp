// Grid figures: filling 200,000 rows x 17 columns, what the cells cost in memory,
// fitting the columns, scrolling (one repaint per step) and paginating for print.
#include "gridctrl.h"
#include "gridpane.h"
#include "gridprinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QStandardItemModel>
#include <cstdio>

namespace {

long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Texts like a herd list's: ear tags, dates, breeds, numbers.
QString cellText(int r, int c)
{
    switch (c) {
    case 0: return QString::number(r);
    case 1: return QStringLiteral("LL%1").arg(r, 13, 10, QLatin1Char('0'));
    case 2: return (r & 1) ? QStringLiteral("F") : QStringLiteral("M");
    case 3: return QStringLiteral("2026%1%2").arg(r % 12 + 1, 2, 10, QLatin1Char('0')).arg(r % 28 + 1, 2, 10, QLatin1Char('0'));
    case 4: return QStringLiteral("长白");
    default: return QString::number((r * 31 + c * 7) % 1000);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 200000;
    const int cols = 17;

    CGridCtrl grid;
    grid.resize(1400, 900);
    grid.show();
    QCoreApplication::processEvents();

    // The texts are made first so the fill figure is the grid's own cost.
    std::vector<QString> texts;
    texts.reserve(size_t(rows) * cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            texts.push_back(r == 0 ? QStringLiteral("表头%1").arg(c) : cellText(r, c));

    const long rssBefore = rssKb();
    QElapsedTimer t;
    t.start();
    grid.SetColumnCount(cols);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(2);
    const double shapeMs = t.nsecsElapsed() / 1e6;
    t.restart();
    size_t k = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetItemText(r + (r == 0 ? 0 : 1), c, texts[k++]);
    const double fillMs = t.nsecsElapsed() / 1e6;
    t.restart();
    QCoreApplication::processEvents();
    const double repaintMs = t.nsecsElapsed() / 1e6;
    const long rssAfter = rssKb();

    t.restart();
    grid.AutoSizeColumns();
    const double autoMs = t.nsecsElapsed() / 1e6;

    // Scrolling: 200 steps down the whole grid, then 50 sideways, one repaint each.
    QScrollBar* v = nullptr;
    QScrollBar* h = nullptr;
    for (QScrollBar* b : grid.findChildren<QScrollBar*>(QString(), Qt::FindDirectChildrenOnly))
        (b->orientation() == Qt::Vertical ? v : h) = b;
    QWidget* body = grid.bodyView()->viewport();
    t.restart();
    const int steps = 200;
    for (int i = 0; i < steps; ++i) {
        v->setValue(int(qint64(v->maximum()) * i / steps));
        body->repaint();
    }
    const double scrollMs = t.nsecsElapsed() / 1e6 / steps;
    t.restart();
    for (int i = 0; i < 50; ++i) {
        h->setValue(h->maximum() * i / 50);
        body->repaint();
    }
    const double hscrollMs = t.nsecsElapsed() / 1e6 / 50;

    t.restart();
    CGridPrinter printer(&grid);
    const auto pages = printer.paginate(QSizeF(9000, 13000), 1200);
    const double pageMs = t.nsecsElapsed() / 1e6;

    // For comparison: one object per cell (a standard item model), on a tenth of the rows.
    const long rssItems = rssKb();
    t.restart();
    auto* items = new QStandardItemModel(rows / 10 + 1, cols);
    for (int r = 0; r < rows / 10; ++r)
        for (int c = 0; c < cols; ++c)
            items->setItem(r, c, new QStandardItem(texts[size_t(r) * cols + c]));
    const double itemsMs = t.nsecsElapsed() / 1e6;
    const long itemsKb = rssKb() - rssItems;
    delete items;

    printf("grid %d rows x %d columns (%lld cells)\n", rows + 1, cols, qint64(rows + 1) * cols);
    printf("  shape (rows, columns, fixed):   %8.1f ms\n", shapeMs);
    printf("  fill (SetItemText every cell):  %8.1f ms  (%.0f ns per cell)\n", fillMs, fillMs * 1e6 / (double(rows) * cols));
    printf("  first repaint after the fill:   %8.1f ms\n", repaintMs);
    printf("  cell storage:                   %8.1f MB  (%.1f bytes per cell, text included)\n",
           grid.model()->storageBytes() / 1048576.0, double(grid.model()->storageBytes()) / (double(rows) * cols));
    printf("  process memory growth:          %8.1f MB\n", (rssAfter - rssBefore) / 1024.0);
    printf("  auto-size 17 columns:           %8.1f ms\n", autoMs);
    printf("  scroll step + repaint (down):   %8.2f ms per step\n", scrollMs);
    printf("  scroll step + repaint (across): %8.2f ms per step\n", hscrollMs);
    printf("  paginate for A4 at 1200 dpi:    %8.1f ms  (%d pages)\n", pageMs, int(pages.size()));
    printf("one object per cell, %d rows (QStandardItemModel), for comparison:\n", rows / 10);
    printf("  fill:                           %8.1f ms\n", itemsMs);
    printf("  process memory growth:          %8.1f MB  (%.0f bytes per cell)\n", itemsKb / 1024.0,
           itemsKb * 1024.0 / (double(rows / 10) * cols));
    return 0;
}
