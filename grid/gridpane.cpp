#include "gridpane.h"
#include "gridctrl.h"
#include "gridpaint.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace {
// How close (pixels) the pointer must be to a border to drag it.
constexpr int kEdgeSlack = 3;
} // namespace

CGridPane::CGridPane(CGridCtrl* grid, Kind kind)
    : QTableView(grid)
    , m_grid(grid)
    , m_kind(kind)
{
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false); // lines follow the grid's line mode, drawn by the delegate
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(true);
    if (kind == Body) {
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                        | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    } else {
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setFocusPolicy(Qt::NoFocus);
        setAutoScroll(false);
    }
    viewport()->setMouseTracking(kind != Body);
}

void CGridPane::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The fixed panes never scroll by themselves; the shared scroll bars move them.
    if (m_kind == Body)
        QTableView::scrollTo(index, hint);
}

void CGridPane::updateGeometries()
{
    QTableView::updateGeometries();
    emit geometriesUpdated();
}

void CGridPane::finishEditor(QWidget* editor, bool commit)
{
    if (commit)
        commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void CGridPane::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (m_grid->m_editor == editor) {
        m_grid->m_editor = nullptr;
        m_grid->m_editorPane = nullptr;
    }
    // Close first, then tell the screen: a message it shows from the end-edit
    // notification must not find a half-closed editor. Tab moves on afterwards.
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_grid->editorClosed();
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem) {
        const QModelIndex next = moveCursor(hint == QAbstractItemDelegate::EditNextItem ? MoveNext : MovePrevious, Qt::NoModifier);
        if (next.isValid()) {
            setCurrentIndex(next);
            if (next.flags() & Qt::ItemIsEditable)
                edit(next);
        }
    }
}

void CGridPane::wheelEvent(QWheelEvent* event)
{
    if (m_kind == Body) {
        QTableView::wheelEvent(event);
        return;
    }
    // The fixed panes hand the wheel to the shared scroll bars.
    const bool horizontal = qAbs(event->angleDelta().x()) > qAbs(event->angleDelta().y());
    QScrollBar* bar = horizontal || (event->modifiers() & Qt::ShiftModifier) ? m_grid->m_hbar : m_grid->m_vbar;
    QApplication::sendEvent(bar, event);
}

void CGridPane::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        m_grid->OnEditCopy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        m_grid->OnEditCut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        m_grid->OnEditPaste();
        return;
    }
    QTableView::keyPressEvent(event);
}

namespace {
// The section whose far border lies under pos: the one at pos when pos is near its end,
// the visible one before it when pos is near its start; -1 otherwise.
int sectionEdgeAt(int pos, int section, int start, int length, const std::function<bool(int)>& hidden)
{
    if (section < 0)
        return -1;
    if (qAbs(pos - (start + length)) <= kEdgeSlack)
        return section;
    if (qAbs(pos - start) <= kEdgeSlack)
        for (int s = section - 1; s >= 0; --s)
            if (!hidden(s))
                return s;
    return -1;
}
} // namespace

int CGridPane::columnEdgeAt(int x) const
{
    if (!m_grid->GetColumnResize() || (m_kind != Top && m_kind != Corner))
        return -1;
    const int col = columnAt(x);
    return sectionEdgeAt(x, col, columnViewportPosition(col), columnWidth(col), [this](int c) { return isColumnHidden(c); });
}

int CGridPane::rowEdgeAt(int y) const
{
    if (!m_grid->GetRowResize() || (m_kind != Left && m_kind != Corner))
        return -1;
    const int row = rowAt(y);
    return sectionEdgeAt(y, row, rowViewportPosition(row), rowHeight(row), [this](int r) { return isRowHidden(r); });
}

void CGridPane::mousePressEvent(QMouseEvent* event)
{
    if (m_kind != Body && event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const int col = columnEdgeAt(pos.x());
        const int row = col < 0 ? rowEdgeAt(pos.y()) : -1;
        if (col >= 0 || row >= 0) {
            m_dragColumn = col;
            m_dragRow = row;
            m_dragOrigin = col >= 0 ? pos.x() : pos.y();
            m_dragStartSize = col >= 0 ? columnWidth(col) : rowHeight(row);
            return;
        }
        // Fixed cells never become the focus cell: a click on one selects the data it
        // heads (the row, the column, or everything from the corner).
        const QModelIndex index = indexAt(pos);
        if (index.isValid()) {
            const int fr = m_grid->GetFixedRowCount();
            const int fc = m_grid->GetFixedColumnCount();
            const int lastRow = m_grid->GetRowCount() - 1;
            const int lastCol = m_grid->GetColumnCount() - 1;
            const int row = index.row();
            const int col = index.column();
            // An editable cell of a fixed column (a screen's ear tag) takes the focus
            // and is edited like any data cell.
            if (row >= fr && col < fc && m_grid->IsCellEditable(row, col)) {
                QTableView::mousePressEvent(event);
                return;
            }
            if (row >= fr && col < fc) {
                m_grid->SetFocusCell(row, fc);
                m_grid->SetSelectedRange(row, fc, row, lastCol);
            } else if (row < fr && col >= fc) {
                m_grid->SetSelectedRange(fr, col, lastRow, col);
            } else if (row < fr && col < fc) {
                m_grid->SetSelectedRange(fr, fc, lastRow, lastCol);
            }
            m_grid->m_main->setFocus();
            emit clicked(index);
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void CGridPane::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragColumn >= 0) {
        m_grid->SetColumnWidth(m_dragColumn, qMax(4, m_dragStartSize + pos.x() - m_dragOrigin));
        return;
    }
    if (m_dragRow >= 0) {
        m_grid->SetRowHeight(m_dragRow, qMax(4, m_dragStartSize + pos.y() - m_dragOrigin));
        return;
    }
    if (m_kind != Body) {
        if (columnEdgeAt(pos.x()) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (rowEdgeAt(pos.y()) >= 0)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
    }
    QTableView::mouseMoveEvent(event);
}

void CGridPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragColumn >= 0 || m_dragRow >= 0) {
        m_dragColumn = m_dragRow = -1;
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void CGridPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_kind != Body) {
        // A double click on a border fits the column (or row) to its texts.
        const QPoint pos = event->position().toPoint();
        const int col = columnEdgeAt(pos.x());
        if (col >= 0) {
            m_grid->AutoSizeColumn(col);
            return;
        }
        const int row = rowEdgeAt(pos.y());
        if (row >= 0) {
            m_grid->AutoSizeRow(row);
            return;
        }
    }
    QTableView::mouseDoubleClickEvent(event);
}

void CGridPane::focusInEvent(QFocusEvent* event)
{
    // Taking the focus does not pick a focus cell (the item view would choose the first
    // one and report a selection nobody made).
    if (!currentIndex().isValid()) {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
        return;
    }
    QTableView::focusInEvent(event);
}

void CGridPane::leaveEvent(QEvent* event)
{
    viewport()->unsetCursor();
    QTableView::leaveEvent(event);
}

// ---- delegate ----

CGridDelegate::CGridDelegate(CGridCtrl* grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{
}

void CGridDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const CGridModel* m = m_grid->model();
    const int row = index.row();
    const int col = index.column();
    const bool fixed = m->isFixed(row, col);
    const QRect rect = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) && !fixed;
    QColor bg = m->background(row, col);
    QColor fg = m->foreground(row, col);
    if (selected) {
        bg = option.palette.color(QPalette::Active, QPalette::Highlight);
        fg = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        if (!bg.isValid())
            bg = fixed ? GridPaint::fixedBackground() : option.palette.color(QPalette::Base);
        const CCellID focus = m_grid->GetFocusCell();
        if (fixed && focus.IsValid() && !m_grid->IsCellFixed(focus.row, focus.col)
            && ((col < m->fixedCols() && row == focus.row) || (row < m->fixedRows() && col == focus.col)))
            bg = bg.darker(112);
        if (!fg.isValid())
            fg = option.palette.color(QPalette::Text);
    }
    p->fillRect(rect, bg);
    p->setPen(fg);
    p->setFont(option.font);
    GridPaint::drawText(p, rect, m->format(row, col), m->text(row, col));
    if (fixed)
        GridPaint::drawLines(p, rect, GVL_BOTH, GridPaint::fixedLine());
    else
        GridPaint::drawLines(p, rect, m_grid->GetGridLines(), GridPaint::dataLine());
    if ((option.state & QStyle::State_HasFocus) && !fixed) {
        p->save();
        p->setPen(QPen(option.palette.color(QPalette::Active, QPalette::Highlight).darker(140), 1));
        p->drawRect(rect.adjusted(0, 0, -1, -1));
        p->restore();
    }
}

QWidget* CGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int row = index.row();
    const int col = index.column();
    if (!m_grid->editorOpening(row, col))
        return nullptr;
    QWidget* editor = createCellEditor(parent, col);
    m_grid->m_editor = editor;
    m_grid->m_editorPane = qobject_cast<CGridPane*>(parent->parentWidget());
    return editor;
}

QWidget* CGridDelegate::createCellEditor(QWidget* parent, int col) const
{
    if (m_grid->isComboColumn(col)) {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(m_grid->comboItems(col));
        // Picking an entry ends the edit at once, as a drop-down cell does.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            emit const_cast<CGridDelegate*>(this)->commitData(combo);
            emit const_cast<CGridDelegate*>(this)->closeEditor(combo);
        });
        return combo;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (m_grid->isNumColumn(col))
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

void CGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = m_grid->GetItemText(index.row(), index.column());
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int i = combo->findText(text);
        combo->setCurrentIndex(i);
        combo->setEditText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->selectAll();
    }
}

void CGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        text = edit->text();
    m_grid->editorCommitted(index.row(), index.column(), text);
}

void CGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    QRect r = option.rect.adjusted(1, 1, -1, -1);
    // A drop-down in a narrow column still shows its text beside the arrow.
    if (qobject_cast<QComboBox*>(editor))
        r.setWidth(std::max(r.width(), editor->minimumSizeHint().width() + 8));
    editor->setGeometry(r);
}
