#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QRect>
#include <QVector>
#include <functional>
#include <algorithm>
#include <limits>
#include <vector>

// DrawText-style format flags of a cell, as screens pass them to SetItemFormat.
namespace GridFormat {
enum : unsigned {
    Left = 0x0000,
    Center = 0x0001,
    Right = 0x0002,
    VCenter = 0x0004,
    Bottom = 0x0008,
    WordBreak = 0x0010,
    SingleLine = 0x0020,
    NoPrefix = 0x0800,
    EndEllipsis = 0x8000,
    // What a cell has until a screen sets its own.
    Default = VCenter | SingleLine | NoPrefix | EndEllipsis,
};
}

// Cell state bits; screens set and clear only the read-only bit.
enum : unsigned { GVIS_FOCUSED = 0x0001, GVIS_SELECTED = 0x0002, GVIS_DROPHILITED = 0x0004, GVIS_READONLY = 0x0008 };

// The grid's cells in a compact form: every cell is 8 bytes (a slice of one shared text
// pool plus an index into a small table of distinct looks), so a grid of millions of
// cells costs its text and little more. Merged cells are kept as a short list of
// rectangles (x = column, y = row).
class CGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { FormatRole = Qt::UserRole + 1, FixedRole, StateRole, MergeRole };

    explicit CGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    void setRowCount(int rows);
    void setColumnCount(int cols);
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    void setFixed(int rows, int cols);
    bool isFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }
    bool isValid(int row, int col) const { return row >= 0 && col >= 0 && row < m_rows && col < m_cols; }

    // Direct access without per-cell signals: the views are told once, after the
    // current burst of changes (a screen filling 200,000 rows repaints once).
    QString text(int row, int col) const;
    bool setText(int row, int col, const QString& text);
    bool isEmpty(int row, int col) const;
    unsigned format(int row, int col) const;
    bool setFormat(int row, int col, unsigned format);
    unsigned state(int row, int col) const;
    bool setState(int row, int col, unsigned state);
    QColor background(int row, int col) const;
    bool setBackground(int row, int col, const QColor& colour);
    QColor foreground(int row, int col) const;
    bool setForeground(int row, int col, const QColor& colour);

    // Grid-wide switch: a read-only grid accepts no edits at all.
    void setEditable(bool editable) { m_editable = editable; }
    bool editable() const { return m_editable; }
    bool cellEditable(int row, int col) const;
    // The data cells of the fixed columns from firstColumn on (an ear tag that stays in
    // view) may be edited on the screens that ask for it; header rows never are.
    void setFixedColumnsEditable(bool editable, int firstColumn = 1)
    {
        m_editableFixedFrom = editable ? std::max(0, firstColumn) : std::numeric_limits<int>::max();
    }
    bool fixedColumnsEditable() const { return m_editableFixedFrom != std::numeric_limits<int>::max(); }

    bool insertRowBefore(int before);
    bool removeRowAt(int row);
    void clearAll(); // no rows, no columns, no merges

    // Merges: a later merge that overlaps earlier ones replaces them.
    bool addMerge(int row, int col, int rowSpan, int colSpan);
    const QVector<QRect>& merges() const { return m_merges; }
    // The merged rectangle holding the cell, or the cell alone.
    QRect mergeAt(int row, int col) const;

    // Bytes the cell storage holds (for the benchmark's memory figure).
    qint64 storageBytes() const;

signals:
    void mergesChanged();

private:
    struct Cell {
        quint32 off = 0;
        quint16 len = 0;
        quint16 style = 0;
    };
    struct Style {
        quint32 format = GridFormat::Default;
        quint32 state = 0;
        QRgb fg = 0; // alpha 0: the grid's own colour
        QRgb bg = 0;
        bool operator==(const Style& o) const { return format == o.format && state == o.state && fg == o.fg && bg == o.bg; }
    };
    friend size_t qHash(const Style& s, size_t seed) { return qHashMulti(seed, s.format, s.state, s.fg, s.bg); }

    Cell& cell(int row, int col) { return m_cells[size_t(row) * size_t(m_cols) + size_t(col)]; }
    const Cell& cell(int row, int col) const { return m_cells[size_t(row) * size_t(m_cols) + size_t(col)]; }
    const Style& styleOf(int row, int col) const { return m_styles.at(cell(row, col).style); }
    bool changeStyle(int row, int col, const std::function<void(Style&)>& change);
    quint16 styleIndex(const Style& s);
    void compactPool();
    void markDirty(int row, int col);
    void flushDirty();
    void shiftMergesForInsert(int before);
    void shiftMergesForRemove(int row);
    void dropSingleCellMerges();

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    bool m_editable = true;
    int m_editableFixedFrom = std::numeric_limits<int>::max();
    std::vector<Cell> m_cells;
    std::vector<QChar> m_pool;
    size_t m_garbage = 0;
    QVector<Style> m_styles;
    QHash<Style, quint16> m_styleIndex;
    QVector<QRect> m_merges;
    int m_dirtyTop = -1; // -1: nothing to repaint
    int m_dirtyBottom = -1;
    int m_dirtyLeft = -1;
    int m_dirtyRight = -1;
    bool m_flushQueued = false;
};
