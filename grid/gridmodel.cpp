#include "gridmodel.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace {
// A cell keeps at most this many characters; a grid cell never needs more.
constexpr int kMaxCellText = 0xFFFF;

QRgb packColour(const QColor& c)
{
    return c.isValid() ? (c.rgb() | 0xFF000000u) : 0u;
}

QColor unpackColour(QRgb v)
{
    return qAlpha(v) ? QColor::fromRgb(v) : QColor();
}
} // namespace

CGridModel::CGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_styles.append(Style());
    m_styleIndex.insert(Style(), 0);
}

int CGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isValid(index.row(), index.column()))
        return QVariant();
    const int r = index.row();
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(r, c);
    case Qt::TextAlignmentRole: {
        const unsigned f = format(r, c);
        Qt::Alignment a = (f & GridFormat::Center) ? Qt::AlignHCenter : (f & GridFormat::Right) ? Qt::AlignRight : Qt::AlignLeft;
        a |= (f & GridFormat::VCenter) ? Qt::AlignVCenter : (f & GridFormat::Bottom) ? Qt::AlignBottom : Qt::AlignTop;
        return QVariant::fromValue(a);
    }
    case Qt::BackgroundRole: {
        const QColor bg = background(r, c);
        return bg.isValid() ? QVariant(bg) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor fg = foreground(r, c);
        return fg.isValid() ? QVariant(fg) : QVariant();
    }
    case FormatRole:
        return format(r, c);
    case FixedRole:
        return isFixed(r, c);
    case StateRole:
        return state(r, c);
    case MergeRole:
        return mergeAt(r, c);
    default:
        return QVariant();
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !isValid(index.row(), index.column()))
        return false;
    if (!setText(index.row(), index.column(), value.toString()))
        return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !isValid(index.row(), index.column()))
        return Qt::NoItemFlags;
    if (isFixed(index.row(), index.column()) && !cellEditable(index.row(), index.column()))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (cellEditable(index.row(), index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool CGridModel::cellEditable(int row, int col) const
{
    if (!m_editable || !isValid(row, col) || row < m_fixedRows || (state(row, col) & GVIS_READONLY))
        return false;
    return col >= m_fixedCols || col >= m_editableFixedFrom;
}

void CGridModel::setRowCount(int rows)
{
    rows = std::max(0, rows);
    if (rows == m_rows)
        return;
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_cells.resize(size_t(rows) * size_t(m_cols));
        m_rows = rows;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_cells.resize(size_t(rows) * size_t(m_cols));
        m_rows = rows;
        m_fixedRows = std::min(m_fixedRows, m_rows);
        endRemoveRows();
        const int before = m_merges.size();
        m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(), [&](const QRect& m) { return m.top() >= rows; }),
                       m_merges.end());
        for (QRect& m : m_merges)
            m.setBottom(std::min(m.bottom(), rows - 1));
        dropSingleCellMerges();
        if (before || !m_merges.isEmpty())
            emit mergesChanged();
        m_garbage = m_pool.size(); // cheap upper bound; the next compaction recounts
    }
}

void CGridModel::setColumnCount(int cols)
{
    cols = std::max(0, cols);
    if (cols == m_cols)
        return;
    std::vector<Cell> cells(size_t(m_rows) * size_t(cols));
    const int keep = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r)
        std::copy_n(m_cells.begin() + ptrdiff_t(size_t(r) * size_t(m_cols)), keep, cells.begin() + ptrdiff_t(size_t(r) * size_t(cols)));
    if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        m_cells.swap(cells);
        m_cols = cols;
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
        m_cells.swap(cells);
        m_cols = cols;
        m_fixedCols = std::min(m_fixedCols, m_cols);
        endRemoveColumns();
        m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(), [&](const QRect& m) { return m.left() >= cols; }),
                       m_merges.end());
        for (QRect& m : m_merges)
            m.setRight(std::min(m.right(), cols - 1));
        dropSingleCellMerges();
        emit mergesChanged();
    }
}

void CGridModel::setFixed(int rows, int cols)
{
    rows = std::clamp(rows, 0, m_rows);
    cols = std::clamp(cols, 0, m_cols);
    if (rows == m_fixedRows && cols == m_fixedCols)
        return;
    m_fixedRows = rows;
    m_fixedCols = cols;
    if (m_rows && m_cols)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
}

QString CGridModel::text(int row, int col) const
{
    if (!isValid(row, col))
        return QString();
    const Cell& c = cell(row, col);
    return c.len ? QString(m_pool.data() + c.off, c.len) : QString();
}

bool CGridModel::isEmpty(int row, int col) const
{
    return !isValid(row, col) || cell(row, col).len == 0;
}

bool CGridModel::setText(int row, int col, const QString& text)
{
    if (!isValid(row, col))
        return false;
    Cell& c = cell(row, col);
    const int len = std::min<int>(text.size(), kMaxCellText);
    if (len <= c.len) {
        // Shorter or equal text overwrites in place.
        std::copy_n(text.constData(), len, m_pool.begin() + c.off);
        m_garbage += c.len - len;
        c.len = quint16(len);
    } else {
        m_garbage += c.len;
        if (m_pool.size() + size_t(len) > 0xFFFFFFF0u || (m_garbage > (1u << 20) && m_garbage * 2 > m_pool.size())) {
            compactPool();
        }
        Cell& cc = cell(row, col);
        cc.off = quint32(m_pool.size());
        cc.len = quint16(len);
        m_pool.insert(m_pool.end(), text.constData(), text.constData() + len);
    }
    markDirty(row, col);
    return true;
}

void CGridModel::compactPool()
{
    std::vector<QChar> pool;
    pool.reserve(m_pool.size() - std::min(m_garbage, m_pool.size()) + 1024);
    for (Cell& c : m_cells) {
        if (!c.len)
            continue;
        const quint32 off = quint32(pool.size());
        pool.insert(pool.end(), m_pool.begin() + c.off, m_pool.begin() + c.off + c.len);
        c.off = off;
    }
    m_pool.swap(pool);
    m_garbage = 0;
}

quint16 CGridModel::styleIndex(const Style& s)
{
    auto it = m_styleIndex.constFind(s);
    if (it != m_styleIndex.constEnd())
        return it.value();
    if (m_styles.size() >= 0xFFFF)
        return 0; // more looks than a grid can show; keep the default rather than fail
    const quint16 i = quint16(m_styles.size());
    m_styles.append(s);
    m_styleIndex.insert(s, i);
    return i;
}

bool CGridModel::changeStyle(int row, int col, const std::function<void(Style&)>& change)
{
    if (!isValid(row, col))
        return false;
    Style s = styleOf(row, col);
    change(s);
    cell(row, col).style = styleIndex(s);
    markDirty(row, col);
    return true;
}

unsigned CGridModel::format(int row, int col) const
{
    return isValid(row, col) ? styleOf(row, col).format : unsigned(GridFormat::Default);
}

bool CGridModel::setFormat(int row, int col, unsigned format)
{
    return changeStyle(row, col, [format](Style& s) { s.format = format; });
}

unsigned CGridModel::state(int row, int col) const
{
    return isValid(row, col) ? styleOf(row, col).state : 0u;
}

bool CGridModel::setState(int row, int col, unsigned state)
{
    return changeStyle(row, col, [state](Style& s) { s.state = state; });
}

QColor CGridModel::background(int row, int col) const
{
    return isValid(row, col) ? unpackColour(styleOf(row, col).bg) : QColor();
}

bool CGridModel::setBackground(int row, int col, const QColor& colour)
{
    const QRgb v = packColour(colour);
    return changeStyle(row, col, [v](Style& s) { s.bg = v; });
}

QColor CGridModel::foreground(int row, int col) const
{
    return isValid(row, col) ? unpackColour(styleOf(row, col).fg) : QColor();
}

bool CGridModel::setForeground(int row, int col, const QColor& colour)
{
    const QRgb v = packColour(colour);
    return changeStyle(row, col, [v](Style& s) { s.fg = v; });
}

void CGridModel::markDirty(int row, int col)
{
    // Plain bounds instead of rectangle unions: this runs once per cell of a fill.
    if (m_dirtyTop < 0) {
        m_dirtyTop = m_dirtyBottom = row;
        m_dirtyLeft = m_dirtyRight = col;
    } else {
        m_dirtyTop = std::min(m_dirtyTop, row);
        m_dirtyBottom = std::max(m_dirtyBottom, row);
        m_dirtyLeft = std::min(m_dirtyLeft, col);
        m_dirtyRight = std::max(m_dirtyRight, col);
    }
    if (m_flushQueued)
        return;
    m_flushQueued = true;
    QMetaObject::invokeMethod(this, &CGridModel::flushDirty, Qt::QueuedConnection);
}

void CGridModel::flushDirty()
{
    m_flushQueued = false;
    if (m_dirtyTop < 0)
        return;
    const int top = m_dirtyTop;
    const int bottom = std::min(m_dirtyBottom, m_rows - 1);
    const int left = m_dirtyLeft;
    const int right = std::min(m_dirtyRight, m_cols - 1);
    m_dirtyTop = -1;
    if (top > bottom || left > right)
        return;
    emit dataChanged(index(top, left), index(bottom, right));
}

bool CGridModel::insertRowBefore(int before)
{
    if (before < 0 || before > m_rows || m_cols == 0)
        return false;
    beginInsertRows(QModelIndex(), before, before);
    m_cells.insert(m_cells.begin() + ptrdiff_t(size_t(before) * size_t(m_cols)), size_t(m_cols), Cell());
    ++m_rows;
    if (before < m_fixedRows)
        ++m_fixedRows;
    endInsertRows();
    if (m_dirtyTop >= 0 && m_dirtyBottom >= before)
        ++m_dirtyBottom;
    shiftMergesForInsert(before);
    return true;
}

bool CGridModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    auto first = m_cells.begin() + ptrdiff_t(size_t(row) * size_t(m_cols));
    for (auto it = first; it != first + m_cols; ++it)
        m_garbage += it->len;
    m_cells.erase(first, first + m_cols);
    --m_rows;
    if (row < m_fixedRows)
        --m_fixedRows;
    endRemoveRows();
    shiftMergesForRemove(row);
    return true;
}

void CGridModel::clearAll()
{
    beginResetModel();
    m_rows = m_cols = m_fixedRows = m_fixedCols = 0;
    std::vector<Cell>().swap(m_cells);
    std::vector<QChar>().swap(m_pool);
    m_garbage = 0;
    m_merges.clear();
    m_dirtyTop = -1;
    endResetModel();
    emit mergesChanged();
}

void CGridModel::shiftMergesForInsert(int before)
{
    bool changed = false;
    for (QRect& m : m_merges) {
        if (m.top() >= before) {
            m.translate(0, 1);
            changed = true;
        } else if (m.bottom() >= before) {
            m.setBottom(m.bottom() + 1); // a row inserted inside a merge joins it
            changed = true;
        }
    }
    if (changed)
        emit mergesChanged();
}

void CGridModel::shiftMergesForRemove(int row)
{
    bool changed = false;
    for (int i = m_merges.size() - 1; i >= 0; --i) {
        QRect& m = m_merges[i];
        if (m.top() > row) {
            m.translate(0, -1);
            changed = true;
        } else if (m.bottom() >= row) {
            m.setBottom(m.bottom() - 1);
            if (m.height() <= 0 || (m.height() == 1 && m.width() == 1))
                m_merges.removeAt(i);
            changed = true;
        }
    }
    if (changed)
        emit mergesChanged();
}

bool CGridModel::addMerge(int row, int col, int rowSpan, int colSpan)
{
    if (!isValid(row, col) || rowSpan < 1 || colSpan < 1)
        return false;
    const QRect m(col, row, std::min(colSpan, m_cols - col), std::min(rowSpan, m_rows - row));
    m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(), [&](const QRect& o) { return o.intersects(m); }),
                   m_merges.end());
    if (m.width() > 1 || m.height() > 1)
        m_merges.append(m);
    emit mergesChanged();
    markDirty(m.top(), m.left());
    markDirty(m.bottom(), m.right());
    return true;
}

void CGridModel::dropSingleCellMerges()
{
    m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(), [](const QRect& m) { return m.width() == 1 && m.height() == 1; }),
                   m_merges.end());
}

QRect CGridModel::mergeAt(int row, int col) const
{
    for (const QRect& m : m_merges)
        if (m.contains(col, row))
            return m;
    return QRect(col, row, 1, 1);
}

qint64 CGridModel::storageBytes() const
{
    return qint64(m_cells.capacity() * sizeof(Cell) + m_pool.capacity() * sizeof(QChar)
                  + size_t(m_styles.capacity()) * sizeof(Style));
}
