#pragma once
#include "gridmodel.h"

#include <QFrame>
#include <QHash>
#include <QSet>
#include <QStringList>

class QScrollBar;
class QGridLayout;
class CGridPane;
class CGridDelegate;

// The grid's notification codes; each arrives as the signal named beside it.
enum : int {
    GVN_BEGINLABELEDIT = 0xFF97, // beginEdit
    GVN_ENDLABELEDIT = 0xFF96,   // endEdit
    NM_CLICK_GRID = 0xFFFE,      // cellClicked
    GVN_SELCHANGED = 0xFF90,     // selChanged
};

// Grid-line modes.
enum : int { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };

struct CCellID {
    int row = -1;
    int col = -1;
    bool IsValid() const { return row >= 0 && col >= 0; }
};

struct CCellRange {
    int minRow = -1, minCol = -1, maxRow = -1, maxCol = -1;
    bool IsValid() const { return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol; }
};

// The data grid of every screen (control id 1001). Rows and columns count from 0; the
// fixed (header) rows and columns come first and stay in view while the rest scrolls.
// The view is four table views over one model: the fixed corner, the fixed rows, the
// fixed columns and the scrolling body, kept in step by two shared scroll bars.
class CGridCtrl : public QFrame
{
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    CGridModel* model() const { return m_model; }

    // Shape. New rows and columns are empty; a fixed count larger than the grid grows it.
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    int GetRowCount() const { return m_model->rows(); }
    int GetColumnCount() const { return m_model->cols(); }
    bool SetFixedRowCount(int rows);
    bool SetFixedColumnCount(int cols);
    int GetFixedRowCount() const { return m_model->fixedRows(); }
    int GetFixedColumnCount() const { return m_model->fixedCols(); }
    bool IsCellFixed(int row, int col) const { return m_model->isFixed(row, col); }
    bool IsValid(int row, int col) const { return m_model->isValid(row, col); }

    // Cells
    bool SetItemText(int row, int col, const QString& text);
    QString GetItemText(int row, int col) const { return m_model->text(row, col); }
    bool SetItemFormat(int row, int col, unsigned format);
    unsigned GetItemFormat(int row, int col) const { return m_model->format(row, col); }
    bool SetItemState(int row, int col, unsigned state);
    unsigned GetItemState(int row, int col) const { return m_model->state(row, col); }
    // An invalid colour gives the cell back the grid's own colour.
    bool SetItemBkColour(int row, int col, const QColor& colour = QColor());
    bool SetItemFgColour(int row, int col, const QColor& colour = QColor());
    QColor GetItemBkColour(int row, int col) const { return m_model->background(row, col); }
    QColor GetItemFgColour(int row, int col) const { return m_model->foreground(row, col); }
    bool IsCellEditable(int row, int col) const { return m_model->cellEditable(row, col); }
    void SetEditable(bool editable);
    // Lets the data cells of the fixed columns from firstColumn on be edited (data-entry
    // screens, whose ear tag column stays in view); off by default.
    void SetFixedColumnsEditable(bool editable, int firstColumn = 1);
    bool IsEditable() const { return m_model->editable(); }

    // Sizes in pixels
    bool SetColumnWidth(int col, int width);
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    int GetRowHeight(int row) const;
    int GetDefaultRowHeight() const { return m_defaultRowHeight; }
    void AutoSize();
    bool AutoSizeColumn(int col);
    bool AutoSizeRow(int row);
    void AutoSizeColumns();
    void AutoSizeRows();

    // Rows: InsertRow returns the new row's index (-1 on failure); before -1 appends.
    int InsertRow(const QString& heading, int before = -1);
    bool DeleteRow(int row);
    void DeleteAllItems();

    // Focus, selection, scrolling
    void EnsureVisible(int row, int col);
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool redraw = true);
    void SetSelectedRange(const CCellRange& range, bool redraw = true);
    CCellRange GetSelectedRange() const;
    CCellID GetFocusCell() const;
    void SetFocusCell(int row, int col);
    bool IsCellVisible(int row, int col) const;
    void RedrawCell(int row, int col);
    void ResetScrollBars();
    void Refresh();

    // Merged cells: (row, col) is the top-left cell; the spans count the rows and
    // columns the merged cell covers (2, 1 merges a cell with the one below it).
    bool SetCellCombine(int row, int col, int rowSpan, int colSpan);
    bool SetFixedCellCombine(int row, int col, int rowSpan, int colSpan);

    // Lines and resizing by the user
    void SetGridLines(int mode);
    int GetGridLines() const { return m_gridLines; }
    void SetRowResize(bool allow) { m_rowResize = allow; }
    bool GetRowResize() const { return m_rowResize; }
    void SetColumnResize(bool allow) { m_columnResize = allow; }
    bool GetColumnResize() const { return m_columnResize; }

    // Clipboard: the selected cells as tab-separated text. Pasting and cutting go
    // through the same begin/end-edit path as typing, so a screen stores or refuses
    // every changed cell.
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    QString SelectedText() const;
    QString RangeText(const CCellRange& range) const;
    // Pastes text (tab-separated) with its top-left at the cell; false when nothing changed.
    bool PasteText(const QString& text, int row, int col);

    // Printing
    void SetPrintHead(const QString& head1, const QString& head2);
    QString GetPrintHead1() const { return m_printHead1; }
    QString GetPrintHead2() const { return m_printHead2; }
    // Rows that only separate blocks of rows (the farrowing report's black "换行" rows):
    // the printout never shows them; it starts a new page there, or leaves a blank gap
    // when the next block still fits on the page, and keeps a block on one page if it can.
    void SetPrintBreakRows(const QVector<int>& rows) { m_printBreaks = rows; }
    QVector<int> GetPrintBreakRows() const { return m_printBreaks; }
    // Prints the whole grid at once without asking (the shared printing path).
    void Print();

    // The one editing entry point, used by the in-place editors and by tests alike:
    // begin-edit notification, the text stored when the cell is editable, end-edit.
    bool EditCell(int row, int col, const QString& text);
    bool IsEditing() const { return m_editRow >= 0; }
    // Called from a beginEdit handler: the edit does not start.
    void RefuseEdit() { m_editRefused = true; }

    // Column kinds (set through CComboGridCtrl)
    QStringList comboItems(int col) const { return m_comboColumns.value(col); }
    bool isComboColumn(int col) const { return m_comboColumns.contains(col); }
    bool isNumColumn(int col) const { return m_numColumns.contains(col); }

    // Text widths as the grid measures them for auto-sizing.
    int textWidth(const QString& text) const;

    // For the printer and tests: the view showing the scrolling body.
    CGridPane* bodyView() const { return m_main; }

signals:
    void beginEdit(int row, int col);  // GVN_BEGINLABELEDIT
    void endEdit(int row, int col);    // GVN_ENDLABELEDIT
    void cellClicked(int row, int col); // NM_CLICK
    void selChanged(int row, int col); // GVN_SELCHANGED
    // A double click or Enter on a cell that is not being edited.
    void cellActivated(int row, int col);

protected:
    QHash<int, QStringList> m_comboColumns;
    QSet<int> m_numColumns;

private:
    friend class CGridPane;
    friend class CGridDelegate;

    struct StructureChange {
        explicit StructureChange(CGridCtrl* grid);
        ~StructureChange();
        CGridCtrl* m_grid;
    };

    void applyHidden();
    void applyMerges();
    void updatePanes();
    void syncScrollBars();
    void forEachPane(const std::function<void(CGridPane*)>& f) const;
    int fixedRowsHeight() const;
    int fixedColsWidth() const;
    int measureCell(int row, int col, bool height) const;
    // In-place editor hooks
    bool editorOpening(int row, int col);
    void editorCommitted(int row, int col, const QString& text);
    void editorClosed();

    CGridModel* m_model;
    CGridPane* m_main;
    CGridPane* m_top;
    CGridPane* m_left;
    CGridPane* m_corner;
    QScrollBar* m_hbar;
    QScrollBar* m_vbar;
    QGridLayout* m_layout;
    int m_gridLines = GVL_BOTH;
    bool m_rowResize = true;
    bool m_columnResize = true;
    int m_defaultRowHeight = 25;
    int m_defaultColumnWidth = 80;
    int m_hiddenRows = 0; // fixed rows hidden in the body views
    int m_hiddenCols = 0;
    int m_editRow = -1;
    int m_editCol = -1;
    bool m_editRefused = false;
    bool m_syncing = false;
    int m_structureChanges = 0;
    QString m_printHead1;
    QString m_printHead2;
    QVector<int> m_printBreaks;
    mutable QHash<QChar, int> m_charWidths;
};

// The grid with drop-down and numeric columns.
class CComboGridCtrl : public CGridCtrl
{
    Q_OBJECT
public:
    using CGridCtrl::CGridCtrl;
    // The column's cells are edited with a drop-down of these texts.
    void AddComboColumn(int col, const QStringList& items);
    // The column's cells accept digits only.
    void ADDNumColumn(int col);
};
