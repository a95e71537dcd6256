#include "gridctrl.h"
#include "gridprinter.h"
#include "printservice.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// rows x cols, every column `width` pixels, every row the default height.
void shape(CGridCtrl& grid, int rows, int cols, int width, int fixedRows, int fixedCols)
{
    grid.SetColumnCount(cols);
    grid.SetRowCount(rows);
    grid.SetFixedRowCount(fixedRows);
    grid.SetFixedColumnCount(fixedCols);
    for (int c = 0; c < cols; ++c)
        grid.SetColumnWidth(c, width);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetItemText(r, c, QStringLiteral("%1-%2").arg(r).arg(c));
}

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(f.readAll()).count(page));
}

} // namespace

class TestGridPrinter : public QObject
{
    Q_OBJECT
private slots:
    void pagination_data();
    void pagination();
    void everyPageRepeatsTheFixedRowsAndColumns();
    void aVeryWideColumnStillGetsItsOwnBand();
    void emptyGridPrintsNoPage();
    void pdfHasOnePagePerPlannedPage();
    void slightlyWideGridsPrintLandscape_data();
    void slightlyWideGridsPrintLandscape();
    void printPagesRangeFromTheDialog();
};

void TestGridPrinter::pagination_data()
{
    // A page body of 800 x 1000 device pixels at 96 dpi: screen pixels one to one.
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("bands");
    QTest::addColumn<double>("scale");
    QTest::newRow("fits one page") << 10 << 5 << 100 << 1 << 1 << 1.0;
    QTest::newRow("long grid, several pages down") << 200 << 5 << 100 << -1 << 1 << 1.0;
    QTest::newRow("a bit too wide: shrunk to fit") << 10 << 10 << 100 << 1 << 1 << 0.8;
    QTest::newRow("far too wide: bands of columns") << 10 << 20 << 100 << 2 << 2 << CGridPrinter::kMinScale;
}

void TestGridPrinter::pagination()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, width);
    QFETCH(int, pages);
    QFETCH(int, bands);
    QFETCH(double, scale);
    CGridCtrl grid;
    shape(grid, rows, cols, width, 1, 1);
    CGridPrinter printer(&grid);
    const auto planned = printer.paginate(QSizeF(800, 1000), 96);
    QCOMPARE(printer.scale(), scale);
    if (pages > 0)
        QCOMPARE(int(planned.size()), pages);
    else
        QVERIFY(planned.size() > 2);
    // Bands: count the distinct first body column.
    QSet<int> firstCols;
    for (const auto& p : planned)
        firstCols.insert(p.cols.value(p.fixedCols));
    QCOMPARE(int(firstCols.size()), bands);
    // Every body row and column is printed exactly once per band.
    QMap<int, int> rowCount;
    for (const auto& p : planned)
        for (int i = p.fixedRows; i < p.rows.size(); ++i)
            ++rowCount[p.rows.at(i)];
    QCOMPARE(rowCount.size(), rows - 1);
    for (int n : rowCount)
        QCOMPARE(n, bands);
}

void TestGridPrinter::everyPageRepeatsTheFixedRowsAndColumns()
{
    CGridCtrl grid;
    shape(grid, 300, 30, 90, 2, 2);
    CGridPrinter printer(&grid);
    const auto pages = printer.paginate(QSizeF(800, 1000), 96);
    QVERIFY(pages.size() > 4);
    for (const auto& p : pages) {
        QCOMPARE(p.rows.mid(0, 2), (QVector<int>{0, 1}));
        QCOMPARE(p.cols.mid(0, 2), (QVector<int>{0, 1}));
        QVERIFY(p.rows.size() > 2);
        QVERIFY(p.cols.size() > 2);
    }
    // Down first, then across: the first pages hold the first band.
    QCOMPARE(pages.at(0).cols.at(2), 2);
    QCOMPARE(pages.at(1).cols.at(2), 2);
    QVERIFY(pages.at(1).rows.at(2) > pages.at(0).rows.last());
}

void TestGridPrinter::aVeryWideColumnStillGetsItsOwnBand()
{
    CGridCtrl grid;
    shape(grid, 5, 4, 100, 1, 1);
    grid.SetColumnWidth(2, 5000);
    CGridPrinter printer(&grid);
    const auto pages = printer.paginate(QSizeF(800, 1000), 96);
    QCOMPARE(int(pages.size()), 3);
    QCOMPARE(pages.at(1).cols, (QVector<int>{0, 2}));
}

void TestGridPrinter::emptyGridPrintsNoPage()
{
    CGridCtrl grid;
    CGridPrinter printer(&grid);
    QVERIFY(printer.paginate(QSizeF(800, 1000), 96).isEmpty());
}

void TestGridPrinter::pdfHasOnePagePerPlannedPage()
{
    CGridCtrl grid;
    shape(grid, 400, 12, 110, 1, 1);
    grid.SetFixedCellCombine(0, 2, 1, 3);
    grid.SetPrintHead(QStringLiteral("XXXXXX公司"), QStringLiteral("配种报表"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.pdf"));
    QVERIFY(CGridPrinter::printToPdf(&grid, path));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setPageLayout(PrintService::sharedPrinter()->pageLayout());
    CGridPrinter planner(&grid);
    if (planner.wantsLandscape(pdf.pageLayout()))
        pdf.setPageOrientation(QPageLayout::Landscape);
    const QRectF body = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const int planned = int(planner.paginate(body.size(), pdf.resolution()).size());
    QVERIFY(planned > 1);
    QCOMPARE(pdfPages(path), planned);
}

// A grid a little wider than the upright page turns the page rather than spill a
// column or two onto extra pages; a much wider one is still cut into bands.
void TestGridPrinter::slightlyWideGridsPrintLandscape_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("fits upright") << 6 << false;
    QTest::newRow("shrinks upright") << 9 << false;
    QTest::newRow("a little too wide") << 12 << true;
    QTest::newRow("far too wide") << 30 << false;
}
void TestGridPrinter::slightlyWideGridsPrintLandscape()
{
    QFETCH(int, columns);
    QFETCH(bool, landscape);
    CGridCtrl grid;
    shape(grid, 20, columns, 100, 1, 1);
    QPageLayout upright(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    QCOMPARE(CGridPrinter(&grid).wantsLandscape(upright), landscape);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.pdf"));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageLayout(upright);
    CGridPrinter(&grid).render(&pdf);
    QCOMPARE(pdf.pageLayout().orientation(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (landscape)
        QCOMPARE(pdfPages(path), 1); // every column on the one page
}

void TestGridPrinter::printPagesRangeFromTheDialog()
{
    CGridCtrl grid;
    shape(grid, 400, 5, 100, 1, 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("range.pdf"));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setFromTo(2, 3);
    CGridPrinter(&grid).render(&pdf);
    QCOMPARE(pdfPages(path), 2);
}

QTEST_MAIN(TestGridPrinter)
#include "test_gridprinter.moc"
