#include "gridctrl.h"
#include "gridpane.h"
#include "tabletext.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QValidator>

namespace {

// A shown grid of the common screen shape: one fixed row, one fixed column, data below.
struct ShownGrid {
    CComboGridCtrl grid;
    explicit ShownGrid(int rows = 10, int cols = 5, int fixedRows = 1, int fixedCols = 1)
    {
        grid.SetColumnCount(cols);
        grid.SetRowCount(rows);
        grid.SetFixedRowCount(fixedRows);
        grid.SetFixedColumnCount(fixedCols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid.SetItemText(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
};

// Begin and end notifications as "b r c" / "e r c: text-at-end".
struct EditLog {
    QStringList events;
    explicit EditLog(CGridCtrl& grid)
    {
        QObject::connect(&grid, &CGridCtrl::beginEdit, [this](int r, int c) { events << QStringLiteral("b %1 %2").arg(r).arg(c); });
        QObject::connect(&grid, &CGridCtrl::endEdit, [this, &grid](int r, int c) {
            events << QStringLiteral("e %1 %2: %3").arg(r).arg(c).arg(grid.GetItemText(r, c));
        });
    }
};

} // namespace

class TestGridCtrl : public QObject
{
    Q_OBJECT
private slots:
    void modelPassesTheItemModelTester();
    void shapeAndTextOfCells();
    void newRowsAreEmptyAndFixedCountsGrowTheGrid();
    void formatsStatesAndColoursAreKeptPerCell();
    void readOnlyBitAndFixedCellsRefuseEdits_data();
    void readOnlyBitAndFixedCellsRefuseEdits();
    void editCellNotifiesBeginThenEnd();
    void beginEditHandlerMayRefuseOrChangeTheText();
    void inPlaceEditorsFollowTheColumnKind();
    void typingInTheEditorEndsWithTheEndNotification();
    void escapeStillSendsTheEndNotification();
    void insertAndDeleteRowsMoveTheRowsBelow();
    void mergesMoveWithInsertedAndDeletedRows();
    void fixedRowsAndColumnsStayInViewWhileScrolling();
    void ensureVisibleScrollsOnlyTheScrollingPart();
    void selectedRangeAndFocusCell();
    void autoSizeFitsTheTexts();
    void gridLineModeAndResizeFlags();
    void tableTextRoundTrip_data();
    void tableTextRoundTrip();
    void copyPutsTheSelectionOnTheClipboardAsTabText();
    void pasteGoesThroughTheEditNotifications();
    void pasteSkipsReadOnlyAndStopsAtTheGridEdge();
    void cutEmptiesTheCellsThroughTheEditPath();
    void selectionChangeAndClickSignals();
    void longTextsAndManyRewritesKeepEveryCellIntact();
    void deletingTheRowTheSelectionMovedToDeletesOnlyThatRow();
    void takingTheFocusPicksNoFocusCell();
    void clickingAFixedCellSelectsWhatItHeads_data();
    void clickingAFixedCellSelectsWhatItHeads();
    void draggingABorderResizesWhenAllowed_data();
    void draggingABorderResizesWhenAllowed();
    void screenshotScrolledWithFixedPanes();
};

void TestGridCtrl::modelPassesTheItemModelTester()
{
    CGridCtrl grid;
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.SetColumnCount(4);
    grid.SetRowCount(6);
    grid.SetFixedRowCount(1);
    grid.SetItemText(2, 2, QStringLiteral("x"));
    grid.InsertRow(QStringLiteral("*"), 3);
    grid.DeleteRow(1);
    grid.SetCellCombine(0, 1, 1, 2);
    grid.model()->setData(grid.model()->index(2, 2), QStringLiteral("y"));
    grid.SetColumnCount(2);
    grid.SetRowCount(2);
    grid.DeleteAllItems();
    QCoreApplication::processEvents();
}

void TestGridCtrl::shapeAndTextOfCells()
{
    CGridCtrl grid;
    grid.SetRowCount(3);
    grid.SetColumnCount(2);
    QCOMPARE(grid.GetRowCount(), 3);
    QCOMPARE(grid.GetColumnCount(), 2);
    QVERIFY(grid.SetItemText(2, 1, QStringLiteral("猪")));
    QCOMPARE(grid.GetItemText(2, 1), QStringLiteral("猪"));
    QVERIFY(!grid.SetItemText(3, 0, QStringLiteral("x")));
    QVERIFY(!grid.SetItemText(0, 2, QStringLiteral("x")));
    QCOMPARE(grid.GetItemText(5, 5), QString());
    // Shrinking and growing keeps what stays inside and empties the rest.
    grid.SetItemText(0, 0, QStringLiteral("a"));
    grid.SetColumnCount(1);
    grid.SetColumnCount(3);
    QCOMPARE(grid.GetItemText(0, 0), QStringLiteral("a"));
    QCOMPARE(grid.GetItemText(2, 1), QString());
}

void TestGridCtrl::newRowsAreEmptyAndFixedCountsGrowTheGrid()
{
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(2);
    grid.SetItemText(1, 1, QStringLiteral("b"));
    grid.SetRowCount(1);
    grid.SetRowCount(4);
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid.GetItemText(r, c), QString());
    grid.SetFixedRowCount(6);
    QCOMPARE(grid.GetRowCount(), 6);
    QCOMPARE(grid.GetFixedRowCount(), 6);
    grid.SetFixedColumnCount(4);
    QCOMPARE(grid.GetColumnCount(), 4);
}

void TestGridCtrl::formatsStatesAndColoursAreKeptPerCell()
{
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(3);
    QCOMPARE(grid.GetItemFormat(1, 1), unsigned(GridFormat::Default));
    grid.SetItemFormat(1, 1, GridFormat::Center | GridFormat::WordBreak);
    grid.SetItemBkColour(1, 1, QColor(255, 0, 0));
    grid.SetItemFgColour(2, 2, QColor(0, 0, 255));
    grid.SetItemState(2, 1, GVIS_READONLY);
    QCOMPARE(grid.GetItemFormat(1, 1), 0x11u);
    QCOMPARE(grid.GetItemFormat(1, 2), unsigned(GridFormat::Default));
    QCOMPARE(grid.GetItemBkColour(1, 1), QColor(255, 0, 0));
    QVERIFY(!grid.GetItemBkColour(1, 2).isValid());
    QCOMPARE(grid.GetItemFgColour(2, 2), QColor(0, 0, 255));
    QCOMPARE(grid.GetItemState(2, 1), unsigned(GVIS_READONLY));
    QCOMPARE(grid.model()->data(grid.model()->index(1, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignHCenter | Qt::AlignTop);
    // Clearing the bit and the colour gives the cell back its defaults.
    grid.SetItemState(2, 1, grid.GetItemState(2, 1) & ~GVIS_READONLY);
    grid.SetItemBkColour(1, 1);
    QCOMPARE(grid.GetItemState(2, 1), 0u);
    QVERIFY(!grid.GetItemBkColour(1, 1).isValid());
}

void TestGridCtrl::readOnlyBitAndFixedCellsRefuseEdits_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("readOnlyBit");
    QTest::addColumn<bool>("gridEditable");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("data cell") << 2 << 2 << false << true << true;
    QTest::newRow("read-only bit") << 2 << 2 << true << true << false;
    QTest::newRow("fixed row") << 0 << 2 << false << true << false;
    QTest::newRow("fixed column") << 2 << 0 << false << true << false;
    QTest::newRow("read-only grid") << 2 << 2 << false << false << false;
}

void TestGridCtrl::readOnlyBitAndFixedCellsRefuseEdits()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(bool, readOnlyBit);
    QFETCH(bool, gridEditable);
    QFETCH(bool, accepted);
    CGridCtrl grid;
    grid.SetColumnCount(4);
    grid.SetRowCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetItemText(row, col, QStringLiteral("old"));
    if (readOnlyBit)
        grid.SetItemState(row, col, GVIS_READONLY);
    grid.SetEditable(gridEditable);
    EditLog log(grid);
    QCOMPARE(grid.EditCell(row, col, QStringLiteral("new")), accepted);
    QCOMPARE(grid.GetItemText(row, col), accepted ? QStringLiteral("new") : QStringLiteral("old"));
    QCOMPARE(log.events.isEmpty(), !accepted);
    QCOMPARE(bool(grid.model()->flags(grid.model()->index(row, col)) & Qt::ItemIsEditable), accepted);
}

void TestGridCtrl::editCellNotifiesBeginThenEnd()
{
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(3);
    grid.SetFixedRowCount(1);
    EditLog log(grid);
    QVERIFY(grid.EditCell(1, 2, QStringLiteral("LL")));
    QCOMPARE(log.events, (QStringList{QStringLiteral("b 1 2"), QStringLiteral("e 1 2: LL")}));
    QVERIFY(!grid.IsEditing());
}

void TestGridCtrl::beginEditHandlerMayRefuseOrChangeTheText()
{
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(3);
    // A screen refuses edits of column 1 and proposes today's date in column 2.
    connect(&grid, &CGridCtrl::beginEdit, &grid, [&grid](int r, int c) {
        if (c == 1)
            grid.RefuseEdit();
        if (c == 2 && grid.GetItemText(r, c).isEmpty())
            grid.SetItemText(r, c, QStringLiteral("20261211"));
    });
    QVERIFY(!grid.EditCell(1, 1, QStringLiteral("x")));
    QCOMPARE(grid.GetItemText(1, 1), QString());
    QStringList ends;
    connect(&grid, &CGridCtrl::endEdit, &grid, [&](int r, int c) { ends << grid.GetItemText(r, c); });
    // Through the real editor, the proposal is what the editor starts with.
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    CGridPane* body = grid.bodyView();
    const QModelIndex idx = grid.model()->index(1, 2);
    body->setCurrentIndex(idx);
    body->edit(idx);
    auto* editor = body->findChild<QLineEdit*>();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("20261211"));
}

void TestGridCtrl::inPlaceEditorsFollowTheColumnKind()
{
    ShownGrid g;
    g.grid.AddComboColumn(2, {QStringLiteral("M"), QStringLiteral("F")});
    g.grid.ADDNumColumn(3);
    CGridPane* body = g.grid.bodyView();

    const QModelIndex combo = g.grid.model()->index(2, 2);
    body->setCurrentIndex(combo);
    body->edit(combo);
    auto* cb = body->findChild<QComboBox*>();
    QVERIFY(cb);
    QCOMPARE(cb->count(), 2);
    QCOMPARE(cb->itemText(0), QStringLiteral("M"));
    QCOMPARE(cb->itemText(1), QStringLiteral("F"));
    cb->setCurrentIndex(1);
    emit cb->activated(1);
    QTRY_COMPARE(g.grid.GetItemText(2, 2), QStringLiteral("F"));

    const QModelIndex num = g.grid.model()->index(2, 3);
    body->setCurrentIndex(num);
    body->edit(num);
    QLineEdit* le = nullptr;
    QTRY_VERIFY((le = body->findChild<QLineEdit*>()) && le->isVisible());
    QVERIFY(le->validator());
    int pos = 0;
    QString digits = QStringLiteral("20260101");
    QString letters = QStringLiteral("2026a");
    QCOMPARE(le->validator()->validate(digits, pos), QValidator::Acceptable);
    QCOMPARE(le->validator()->validate(letters, pos), QValidator::Invalid);
}

void TestGridCtrl::typingInTheEditorEndsWithTheEndNotification()
{
    ShownGrid g;
    EditLog log(g.grid);
    CGridPane* body = g.grid.bodyView();
    body->setFocus();
    body->setCurrentIndex(g.grid.model()->index(3, 2));
    QTest::keyClick(body, Qt::Key_A);
    QLineEdit* le = body->findChild<QLineEdit*>();
    QVERIFY(le);
    QTest::keyClicks(le, QStringLiteral("bc"));
    QTest::keyClick(le, Qt::Key_Return);
    QTRY_COMPARE(log.events, (QStringList{QStringLiteral("b 3 2"), QStringLiteral("e 3 2: abc")}));
}

void TestGridCtrl::escapeStillSendsTheEndNotification()
{
    ShownGrid g;
    EditLog log(g.grid);
    CGridPane* body = g.grid.bodyView();
    const QModelIndex idx = g.grid.model()->index(4, 1);
    body->setCurrentIndex(idx);
    body->edit(idx);
    QLineEdit* le = body->findChild<QLineEdit*>();
    QVERIFY(le);
    le->setText(QStringLiteral("typed"));
    QTest::keyClick(le, Qt::Key_Escape);
    QTRY_COMPARE(log.events, (QStringList{QStringLiteral("b 4 1"), QStringLiteral("e 4 1: 4,1")}));
}

void TestGridCtrl::insertAndDeleteRowsMoveTheRowsBelow()
{
    CGridCtrl grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(4);
    grid.SetFixedRowCount(1);
    for (int r = 0; r < 4; ++r)
        grid.SetItemText(r, 1, QString::number(r));
    QCOMPARE(grid.InsertRow(QStringLiteral("*"), 2), 2);
    QCOMPARE(grid.GetRowCount(), 5);
    QCOMPARE(grid.GetItemText(2, 0), QStringLiteral("*"));
    QCOMPARE(grid.GetItemText(2, 1), QString());
    QCOMPARE(grid.GetItemText(3, 1), QStringLiteral("2"));
    QCOMPARE(grid.InsertRow(QStringLiteral("end")), 5);
    QCOMPARE(grid.GetItemText(5, 0), QStringLiteral("end"));
    QVERIFY(grid.DeleteRow(1));
    QCOMPARE(grid.GetItemText(1, 0), QStringLiteral("*"));
    QCOMPARE(grid.GetItemText(2, 1), QStringLiteral("2"));
    QVERIFY(!grid.DeleteRow(9));
    QCOMPARE(grid.GetFixedRowCount(), 1);
    grid.DeleteAllItems();
    QCOMPARE(grid.GetRowCount(), 0);
    QCOMPARE(grid.GetColumnCount(), 0);
    QCOMPARE(grid.InsertRow(QStringLiteral("x")), -1);
}

void TestGridCtrl::mergesMoveWithInsertedAndDeletedRows()
{
    CGridCtrl grid;
    grid.SetColumnCount(6);
    grid.SetRowCount(8);
    grid.SetFixedRowCount(2);
    // Header cells merged down over both fixed rows and across a group of columns.
    QVERIFY(grid.SetFixedCellCombine(0, 0, 2, 1));
    QVERIFY(grid.SetFixedCellCombine(0, 2, 1, 3));
    QVERIFY(grid.SetCellCombine(4, 1, 2, 1));
    CGridModel* m = grid.model();
    QCOMPARE(m->mergeAt(1, 0), QRect(0, 0, 1, 2));
    QCOMPARE(m->mergeAt(0, 4), QRect(2, 0, 3, 1));
    QCOMPARE(m->mergeAt(5, 1), QRect(1, 4, 1, 2));
    QCOMPARE(m->mergeAt(3, 3), QRect(3, 3, 1, 1));
    grid.InsertRow(QString(), 3);
    QCOMPARE(m->mergeAt(5, 1), QRect(1, 5, 1, 2));
    QCOMPARE(m->mergeAt(0, 0), QRect(0, 0, 1, 2));
    grid.DeleteRow(5);
    QCOMPARE(m->mergeAt(5, 1), QRect(1, 5, 1, 1)); // shrunk to one cell: no merge left
    // A new merge over an old one replaces it.
    grid.SetCellCombine(0, 3, 2, 3);
    QCOMPARE(m->mergeAt(0, 2), QRect(2, 0, 1, 1));
    QCOMPARE(m->mergeAt(1, 5), QRect(3, 0, 3, 2));
    // The views show the merges as spans.
    QCOMPARE(grid.bodyView()->rowSpan(0, 0), 2);
}

void TestGridCtrl::fixedRowsAndColumnsStayInViewWhileScrolling()
{
    ShownGrid g(400, 30, 2, 2);
    CGridPane* body = g.grid.bodyView();
    auto panes = g.grid.findChildren<CGridPane*>();
    QCOMPARE(panes.size(), 4);
    CGridPane *top = nullptr, *left = nullptr, *corner = nullptr;
    for (CGridPane* p : panes) {
        if (p->kind() == CGridPane::Top)
            top = p;
        if (p->kind() == CGridPane::Left)
            left = p;
        if (p->kind() == CGridPane::Corner)
            corner = p;
    }
    QVERIFY(top && left && corner);
    // The body shows neither fixed rows nor fixed columns; the panes show them.
    QVERIFY(body->isRowHidden(0) && body->isRowHidden(1) && !body->isRowHidden(2));
    QVERIFY(body->isColumnHidden(1) && !body->isColumnHidden(2));
    QCOMPARE(top->height(), g.grid.GetRowHeight(0) + g.grid.GetRowHeight(1));
    QCOMPARE(left->width(), g.grid.GetColumnWidth(0) + g.grid.GetColumnWidth(1));

    // Scrolling both ways moves the body and keeps the panes in step with it.
    const auto bars = g.grid.findChildren<QScrollBar*>(QString(), Qt::FindDirectChildrenOnly);
    QScrollBar *v = nullptr, *h = nullptr;
    for (QScrollBar* b : bars)
        (b->orientation() == Qt::Vertical ? v : h) = b;
    QVERIFY(v && h && v->isVisible() && h->isVisible());
    v->setValue(v->maximum() / 2);
    h->setValue(h->maximum() / 2);
    QCOMPARE(body->verticalScrollBar()->value(), v->value());
    QCOMPARE(left->verticalScrollBar()->value(), v->value());
    QCOMPARE(body->horizontalScrollBar()->value(), h->value());
    QCOMPARE(top->horizontalScrollBar()->value(), h->value());
    QCOMPARE(corner->verticalScrollBar()->value(), 0);
    QCOMPARE(top->verticalScrollBar()->value(), 0);
    // The row at the top of the body and of the fixed column pane is the same.
    QCOMPARE(body->rowAt(0), left->rowAt(0));
    QVERIFY(body->rowAt(0) > 100);
    QCOMPARE(body->columnAt(0), top->columnAt(0));

    // Freezing one column less shows it again in the body.
    g.grid.SetFixedColumnCount(1);
    QVERIFY(!body->isColumnHidden(1));
    QCOMPARE(left->width(), g.grid.GetColumnWidth(0));
    g.grid.SetFixedRowCount(0);
    QVERIFY(!top->isVisible());
    QVERIFY(!body->isRowHidden(0));
}

void TestGridCtrl::ensureVisibleScrollsOnlyTheScrollingPart()
{
    ShownGrid g(500, 8, 1, 2);
    CGridPane* body = g.grid.bodyView();
    g.grid.EnsureVisible(450, 1);
    QVERIFY(g.grid.IsCellVisible(450, 1));
    QVERIFY(body->rowAt(0) <= 450 && body->rowAt(body->viewport()->height() - 1) >= 450);
    QCOMPARE(body->horizontalScrollBar()->value(), 0);
    g.grid.EnsureVisible(1, 3);
    QVERIFY(g.grid.IsCellVisible(1, 3));
}

void TestGridCtrl::selectedRangeAndFocusCell()
{
    ShownGrid g;
    g.grid.SetSelectedRange(2, 1, 3, 4);
    const CCellRange r = g.grid.GetSelectedRange();
    QCOMPARE(r.minRow, 2);
    QCOMPARE(r.minCol, 1);
    QCOMPARE(r.maxRow, 3);
    QCOMPARE(r.maxCol, 4);
    g.grid.SetFocusCell(5, 2);
    QCOMPARE(g.grid.GetFocusCell().row, 5);
    QCOMPARE(g.grid.GetFocusCell().col, 2);
    // An impossible range clears the selection; the focus cell alone is then the range.
    g.grid.SetSelectedRange(3, 1, 2, 4);
    const CCellRange f = g.grid.GetSelectedRange();
    QCOMPARE(f.minRow, 5);
    QCOMPARE(f.maxCol, 2);
}

void TestGridCtrl::autoSizeFitsTheTexts()
{
    CGridCtrl grid;
    grid.SetColumnCount(3);
    grid.SetRowCount(3);
    grid.SetItemText(1, 0, QStringLiteral("DD0123456789012"));
    grid.SetItemText(2, 0, QStringLiteral("x"));
    grid.SetItemText(1, 1, QStringLiteral("第一行\n第二行\n第三行"));
    grid.SetItemText(0, 1, QStringLiteral("长长长长长长长长长长长长长长长长长长长长长长"));
    grid.SetCellCombine(0, 1, 1, 2); // a merged text does not widen its first column
    grid.AutoSize();
    const QFontMetrics fm(grid.font());
    QVERIFY(grid.GetColumnWidth(0) >= fm.horizontalAdvance(QStringLiteral("DD0123456789012")));
    QVERIFY(grid.GetColumnWidth(0) < fm.horizontalAdvance(QStringLiteral("DD0123456789012")) + 30);
    QVERIFY(grid.GetColumnWidth(1) >= fm.horizontalAdvance(QStringLiteral("第一行")));
    QVERIFY(grid.GetColumnWidth(1) < fm.horizontalAdvance(QStringLiteral("长长长长长长长长长长")));
    QVERIFY(grid.GetRowHeight(1) >= 3 * fm.lineSpacing());
    QCOMPARE(grid.GetRowHeight(2), grid.GetDefaultRowHeight());
    grid.SetItemText(1, 1, QString());
    grid.AutoSizeRows();
    QCOMPARE(grid.GetRowHeight(1), grid.GetDefaultRowHeight());
}

void TestGridCtrl::gridLineModeAndResizeFlags()
{
    CGridCtrl grid;
    QCOMPARE(grid.GetGridLines(), int(GVL_BOTH));
    for (int mode : {GVL_NONE, GVL_HORZ, GVL_VERT, GVL_BOTH}) {
        grid.SetGridLines(mode);
        QCOMPARE(grid.GetGridLines(), mode);
    }
    grid.SetGridLines(7);
    QCOMPARE(grid.GetGridLines(), int(GVL_BOTH));
    grid.SetRowResize(false);
    grid.SetColumnResize(false);
    QVERIFY(!grid.GetRowResize());
    QVERIFY(!grid.GetColumnResize());
}

void TestGridCtrl::tableTextRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TableText::Rows>("rows");
    QTest::addColumn<QString>("written");
    using R = TableText::Rows;
    QTest::newRow("plain") << QStringLiteral("a\tb\r\nc\td\r\n") << R{{"a", "b"}, {"c", "d"}} << QStringLiteral("a\tb\r\nc\td\r\n");
    QTest::newRow("LF line ends, no final end") << QStringLiteral("a\tb\nc\td") << R{{"a", "b"}, {"c", "d"}}
                                                << QStringLiteral("a\tb\r\nc\td\r\n");
    QTest::newRow("empty fields") << QStringLiteral("\t\tx\r\n") << R{{"", "", "x"}} << QStringLiteral("\t\tx\r\n");
    QTest::newRow("one empty cell") << QStringLiteral("\r\n") << R{{""}} << QStringLiteral("\r\n");
    QTest::newRow("quoted line break and tab (spreadsheet)")
        << QStringLiteral("\"a\nb\"\t\"x\ty\"\r\n") << R{{"a\nb", "x\ty"}} << QStringLiteral("\"a\nb\"\t\"x\ty\"\r\n");
    QTest::newRow("doubled quotes") << QStringLiteral("\"say \"\"hi\"\"\"\tz\r\n") << R{{"say \"hi\"", "z"}}
                                    << QStringLiteral("\"say \"\"hi\"\"\"\tz\r\n");
    QTest::newRow("quote inside a field is text") << QStringLiteral("5\"\tb\r\n") << R{{"5\"", "b"}}
                                                  << QStringLiteral("\"5\"\"\"\tb\r\n");
    QTest::newRow("chinese") << QStringLiteral("耳号\t品种\r\nLL0001\t长白\r\n") << R{{"耳号", "品种"}, {"LL0001", "长白"}}
                             << QStringLiteral("耳号\t品种\r\nLL0001\t长白\r\n");
}

void TestGridCtrl::tableTextRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(TableText::Rows, rows);
    QFETCH(QString, written);
    QCOMPARE(TableText::parseTsv(text), rows);
    QCOMPARE(TableText::toTsv(rows), written);
    QCOMPARE(TableText::parseTsv(written), rows);
}

void TestGridCtrl::copyPutsTheSelectionOnTheClipboardAsTabText()
{
    ShownGrid g;
    g.grid.SetItemText(2, 2, QStringLiteral("two\nlines"));
    g.grid.SetSelectedRange(1, 1, 2, 2);
    g.grid.OnEditCopy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1,1\t1,2\r\n2,1\t\"two\nlines\"\r\n"));
    // Nothing selected: the focus cell alone.
    g.grid.SetSelectedRange(-1, -1, -1, -1);
    g.grid.SetFocusCell(3, 3);
    QCOMPARE(g.grid.SelectedText(), QStringLiteral("3,3\r\n"));
}

void TestGridCtrl::pasteGoesThroughTheEditNotifications()
{
    ShownGrid g;
    EditLog log(g.grid);
    // A screen that refuses the text "bad" by restoring the cell.
    QString old;
    connect(&g.grid, &CGridCtrl::beginEdit, &g.grid, [&](int r, int c) { old = g.grid.GetItemText(r, c); });
    connect(&g.grid, &CGridCtrl::endEdit, &g.grid, [&](int r, int c) {
        if (g.grid.GetItemText(r, c) == QLatin1String("bad"))
            g.grid.SetItemText(r, c, old);
    });
    QGuiApplication::clipboard()->setText(QStringLiteral("A\tbad\r\nC\tD\r\n"));
    g.grid.SetFocusCell(2, 2);
    g.grid.OnEditPaste();
    QCOMPARE(g.grid.GetItemText(2, 2), QStringLiteral("A"));
    QCOMPARE(g.grid.GetItemText(2, 3), QStringLiteral("2,3"));
    QCOMPARE(g.grid.GetItemText(3, 2), QStringLiteral("C"));
    QCOMPARE(g.grid.GetItemText(3, 3), QStringLiteral("D"));
    QCOMPARE(log.events.size(), 8);
    QCOMPARE(log.events.first(), QStringLiteral("b 2 2"));
}

void TestGridCtrl::pasteSkipsReadOnlyAndStopsAtTheGridEdge()
{
    ShownGrid g(4, 4);
    g.grid.SetItemState(2, 3, GVIS_READONLY);
    QVERIFY(g.grid.PasteText(QStringLiteral("p\tq\tr\ns\tt\tu\nv\tw\tx\n"), 2, 2));
    QCOMPARE(g.grid.GetItemText(2, 2), QStringLiteral("p"));
    QCOMPARE(g.grid.GetItemText(2, 3), QStringLiteral("2,3"));
    QCOMPARE(g.grid.GetItemText(3, 2), QStringLiteral("s"));
    QCOMPARE(g.grid.GetItemText(3, 3), QStringLiteral("t"));
    QCOMPARE(g.grid.GetRowCount(), 4);
    QCOMPARE(g.grid.GetColumnCount(), 4);
    QVERIFY(!g.grid.PasteText(QStringLiteral("x"), 0, 2)); // a fixed cell
}

void TestGridCtrl::cutEmptiesTheCellsThroughTheEditPath()
{
    ShownGrid g;
    EditLog log(g.grid);
    g.grid.SetSelectedRange(1, 1, 1, 2);
    g.grid.OnEditCut();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1,1\t1,2\r\n"));
    QCOMPARE(g.grid.GetItemText(1, 1), QString());
    QCOMPARE(g.grid.GetItemText(1, 2), QString());
    QCOMPARE(log.events, (QStringList{"b 1 1", "e 1 1: ", "b 1 2", "e 1 2: "}));
}

void TestGridCtrl::selectionChangeAndClickSignals()
{
    ShownGrid g;
    QSignalSpy sel(&g.grid, &CGridCtrl::selChanged);
    QSignalSpy click(&g.grid, &CGridCtrl::cellClicked);
    g.grid.SetFocusCell(3, 2);
    QCOMPARE(sel.count(), 1);
    QCOMPARE(sel.at(0).at(0).toInt(), 3);
    QCOMPARE(sel.at(0).at(1).toInt(), 2);
    CGridPane* body = g.grid.bodyView();
    const QRect cell = body->visualRect(g.grid.model()->index(4, 3));
    QTest::mouseClick(body->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(click.count(), 1);
    QCOMPARE(click.at(0).at(0).toInt(), 4);
    QCOMPARE(click.at(0).at(1).toInt(), 3);
    QCOMPARE(g.grid.GetFocusCell().row, 4);
}

void TestGridCtrl::longTextsAndManyRewritesKeepEveryCellIntact()
{
    CGridCtrl grid;
    grid.SetColumnCount(4);
    grid.SetRowCount(3000);
    // Many rewrites of growing texts force the text store to compact itself.
    for (int round = 0; round < 6; ++round)
        for (int r = 0; r < 3000; ++r)
            for (int c = 0; c < 4; ++c)
                grid.SetItemText(r, c, QString(round * 20 + 1, QLatin1Char('a' + c)) + QString::number(r));
    for (int r = 0; r < 3000; r += 97)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(grid.GetItemText(r, c), QString(101, QLatin1Char('a' + c)) + QString::number(r));
    grid.SetItemText(5, 1, QString(70000, QLatin1Char('z')));
    QCOMPARE(grid.GetItemText(5, 1).size(), 0xFFFF);
    QCOMPARE(grid.GetItemText(5, 2), QString(101, QLatin1Char('c')) + QStringLiteral("5"));
}

void TestGridCtrl::deletingTheRowTheSelectionMovedToDeletesOnlyThatRow()
{
    // As the planner does: the row the user moves to leaves the list.
    ShownGrid g(8, 3);
    QStringList deleted;
    connect(&g.grid, &CGridCtrl::selChanged, &g.grid, [&](int r, int) {
        deleted << g.grid.GetItemText(r, 1);
        g.grid.DeleteRow(r);
    });
    CGridPane* body = g.grid.bodyView();
    QTest::mouseClick(body->viewport(), Qt::LeftButton, Qt::NoModifier, body->visualRect(g.grid.model()->index(3, 1)).center());
    QCOMPARE(deleted, QStringList{QStringLiteral("3,1")});
    QCOMPARE(g.grid.GetRowCount(), 7);
    QCOMPARE(g.grid.GetItemText(3, 1), QStringLiteral("4,1"));
    g.grid.DeleteAllItems();
    QCOMPARE(deleted.size(), 1);
}

void TestGridCtrl::takingTheFocusPicksNoFocusCell()
{
    ShownGrid g;
    QSignalSpy sel(&g.grid, &CGridCtrl::selChanged);
    QWidget other(&g.grid);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setFocus(Qt::OtherFocusReason);
    g.grid.bodyView()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QVERIFY(!g.grid.GetFocusCell().IsValid());
    QCOMPARE(sel.count(), 0);
}

void TestGridCtrl::clickingAFixedCellSelectsWhatItHeads_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("range"); // minRow,minCol,maxRow,maxCol
    QTest::addColumn<int>("focusRow");
    QTest::newRow("row header") << int(CGridPane::Left) << 4 << 0 << QStringLiteral("4,1,4,4") << 4;
    QTest::newRow("column header") << int(CGridPane::Top) << 0 << 3 << QStringLiteral("1,3,9,3") << -1;
    QTest::newRow("corner") << int(CGridPane::Corner) << 0 << 0 << QStringLiteral("1,1,9,4") << -1;
}

void TestGridCtrl::clickingAFixedCellSelectsWhatItHeads()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, range);
    QFETCH(int, focusRow);
    ShownGrid g;
    QSignalSpy click(&g.grid, &CGridCtrl::cellClicked);
    QSignalSpy sel(&g.grid, &CGridCtrl::selChanged);
    CGridPane* pane = nullptr;
    for (CGridPane* p : g.grid.findChildren<CGridPane*>())
        if (p->kind() == kind)
            pane = p;
    QVERIFY(pane);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, pane->visualRect(g.grid.model()->index(row, col)).center());
    const CCellRange r = g.grid.GetSelectedRange();
    QCOMPARE(QStringLiteral("%1,%2,%3,%4").arg(r.minRow).arg(r.minCol).arg(r.maxRow).arg(r.maxCol), range);
    QCOMPARE(g.grid.GetFocusCell().row, focusRow);
    QCOMPARE(click.count(), 1);
    QCOMPARE(sel.count(), focusRow < 0 ? 0 : 1);
}

void TestGridCtrl::draggingABorderResizesWhenAllowed_data()
{
    QTest::addColumn<bool>("columns");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("column allowed") << true << true;
    QTest::newRow("column not allowed") << true << false;
    QTest::newRow("row allowed") << false << true;
    QTest::newRow("row not allowed") << false << false;
}

void TestGridCtrl::draggingABorderResizesWhenAllowed()
{
    QFETCH(bool, columns);
    QFETCH(bool, allowed);
    ShownGrid g(20, 6, 1, 1);
    g.grid.SetColumnResize(columns ? allowed : true);
    g.grid.SetRowResize(columns ? true : allowed);
    CGridPane* pane = nullptr;
    for (CGridPane* p : g.grid.findChildren<CGridPane*>())
        if (p->kind() == (columns ? CGridPane::Top : CGridPane::Left))
            pane = p;
    QVERIFY(pane);
    // The border between column 2 and 3 in the fixed row, or below row 3 in the fixed column.
    const int before = columns ? g.grid.GetColumnWidth(2) : g.grid.GetRowHeight(3);
    const QModelIndex cell = g.grid.model()->index(columns ? 0 : 3, columns ? 2 : 0);
    const QRect r = pane->visualRect(cell);
    const QPoint edge = columns ? QPoint(r.right() + 1, r.center().y()) : QPoint(r.center().x(), r.bottom() + 1);
    const QPoint moved = edge + (columns ? QPoint(40, 0) : QPoint(0, 15));
    QTest::mousePress(pane->viewport(), Qt::LeftButton, Qt::NoModifier, edge);
    QMouseEvent move(QEvent::MouseMove, moved, pane->viewport()->mapToGlobal(moved), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &move);
    QTest::mouseRelease(pane->viewport(), Qt::LeftButton, Qt::NoModifier, moved);
    const int after = columns ? g.grid.GetColumnWidth(2) : g.grid.GetRowHeight(3);
    QCOMPARE(after, allowed ? before + (columns ? 40 : 15) : before);
}

void TestGridCtrl::screenshotScrolledWithFixedPanes()
{
    // With TAMVO_SHOTS set, leaves a picture of a scrolled grid: the fixed rows and
    // columns must line up with the body.
    ShownGrid g(300, 20, 2, 2);
    g.grid.SetFixedCellCombine(0, 0, 2, 1);
    g.grid.SetFixedCellCombine(0, 4, 1, 3);
    g.grid.SetItemText(0, 4, QStringLiteral("合并的表头"));
    g.grid.SetItemFormat(0, 4, GridFormat::Center | GridFormat::VCenter | GridFormat::SingleLine);
    g.grid.SetItemBkColour(150, 5, QColor(255, 220, 220));
    g.grid.SetItemFgColour(151, 5, QColor(200, 0, 0));
    g.grid.SetItemText(152, 5, QStringLiteral("很长很长的文字会被省略号截断"));
    g.grid.SetGridLines(GVL_HORZ);
    g.grid.resize(640, 360);
    g.grid.EnsureVisible(150, 8);
    QCoreApplication::processEvents();
    CGridPane* body = g.grid.bodyView();
    QVERIFY(body->rowAt(0) > 100);
    const QString dir = qEnvironmentVariable("TAMVO_SHOTS");
    if (!dir.isEmpty())
        QVERIFY(g.grid.grab().save(dir + QStringLiteral("/gridscrolled.png")));
}

QTEST_MAIN(TestGridCtrl)
#include "test_gridctrl.moc"
