#include "gridctrl.h"
#include "gridpane.h"
#include "gridprinter.h"
#include "tabletext.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <algorithm>

CGridCtrl::CGridCtrl(QWidget* parent)
    : QFrame(parent)
    , m_model(new CGridModel(this))
{
    setObjectName(QStringLiteral("1001"));
    setFrameShape(QFrame::StyledPanel);
    m_main = new CGridPane(this, CGridPane::Body);
    m_top = new CGridPane(this, CGridPane::Top);
    m_left = new CGridPane(this, CGridPane::Left);
    m_corner = new CGridPane(this, CGridPane::Corner);
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_vbar = new QScrollBar(Qt::Vertical, this);

    const QFontMetrics fm(font());
    m_defaultRowHeight = fm.height() + 8;
    m_defaultColumnWidth = fm.horizontalAdvance(QLatin1Char('0')) * 10 + 2 * 3;
    forEachPane([this](CGridPane* p) {
        p->setModel(m_model);
        // One delegate per view: an editor's commit must reach only the view it lives in.
        p->setItemDelegate(new CGridDelegate(this));
        p->verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
        p->horizontalHeader()->setDefaultSectionSize(m_defaultColumnWidth);
        if (p != m_main) {
            p->setSelectionModel(m_main->selectionModel());
            connect(p, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
        }
        connect(p, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { emit cellActivated(i.row(), i.column()); });
    });
    connect(m_main, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
    // Rows inserted or deleted move the focus cell by themselves; that is no selection
    // by the user (a screen that deletes the row it was moved to would go on deleting).
    connect(m_main->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& i) {
        if (i.isValid() && m_structureChanges == 0)
            emit selChanged(i.row(), i.column());
        // The headers of the focus cell's row and column show where it is.
        m_top->viewport()->update();
        m_left->viewport()->update();
    });

    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_corner, 0, 0);
    m_layout->addWidget(m_top, 0, 1);
    m_layout->addWidget(m_left, 1, 0);
    m_layout->addWidget(m_main, 1, 1);
    m_layout->addWidget(m_vbar, 0, 2, 2, 1);
    m_layout->addWidget(m_hbar, 2, 0, 1, 2);
    m_layout->setRowStretch(1, 1);
    m_layout->setColumnStretch(1, 1);
    setFocusProxy(m_main);

    // The shared bars drive the body and the panes that follow it.
    connect(m_vbar, &QScrollBar::valueChanged, this, [this](int v) {
        m_main->verticalScrollBar()->setValue(v);
        m_left->verticalScrollBar()->setValue(v);
    });
    connect(m_hbar, &QScrollBar::valueChanged, this, [this](int v) {
        m_main->horizontalScrollBar()->setValue(v);
        m_top->horizontalScrollBar()->setValue(v);
    });
    connect(m_main->verticalScrollBar(), &QScrollBar::valueChanged, m_vbar, &QScrollBar::setValue);
    connect(m_main->horizontalScrollBar(), &QScrollBar::valueChanged, m_hbar, &QScrollBar::setValue);
    connect(m_main->verticalScrollBar(), &QScrollBar::rangeChanged, this, &CGridCtrl::syncScrollBars);
    connect(m_main->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &CGridCtrl::syncScrollBars);
    connect(m_main, &CGridPane::geometriesUpdated, this, &CGridCtrl::syncScrollBars);
    connect(m_model, &CGridModel::mergesChanged, this, &CGridCtrl::applyMerges);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { applyHidden(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { applyHidden(); });
    updatePanes();
}

CGridCtrl::~CGridCtrl() = default;

CGridCtrl::StructureChange::StructureChange(CGridCtrl* grid)
    : m_grid(grid)
{
    ++m_grid->m_structureChanges;
}

CGridCtrl::StructureChange::~StructureChange()
{
    --m_grid->m_structureChanges;
}

void CGridCtrl::forEachPane(const std::function<void(CGridPane*)>& f) const
{
    f(m_main);
    f(m_top);
    f(m_left);
    f(m_corner);
}

// ---- shape ----

bool CGridCtrl::SetRowCount(int rows)
{
    const StructureChange change(this);
    if (rows < 0)
        return false;
    m_model->setRowCount(rows);
    applyHidden();
    updatePanes();
    return true;
}

bool CGridCtrl::SetColumnCount(int cols)
{
    const StructureChange change(this);
    if (cols < 0)
        return false;
    m_model->setColumnCount(cols);
    applyHidden();
    updatePanes();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int rows)
{
    if (rows < 0)
        return false;
    if (rows > GetRowCount())
        SetRowCount(rows);
    m_model->setFixed(rows, GetFixedColumnCount());
    applyHidden();
    applyMerges();
    updatePanes();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int cols)
{
    if (cols < 0)
        return false;
    if (cols > GetColumnCount())
        SetColumnCount(cols);
    m_model->setFixed(GetFixedRowCount(), cols);
    applyHidden();
    applyMerges();
    updatePanes();
    return true;
}

void CGridCtrl::applyHidden()
{
    // The body and the fixed-column pane hide the fixed rows; the body and the
    // fixed-row pane hide the fixed columns. Only those few sections are touched.
    const int fr = GetFixedRowCount();
    const int fc = GetFixedColumnCount();
    const int rowsToVisit = std::min(GetRowCount(), std::max(fr, m_hiddenRows) + 1);
    for (int r = 0; r < rowsToVisit; ++r) {
        const bool hide = r < fr;
        if (m_main->isRowHidden(r) != hide)
            m_main->setRowHidden(r, hide);
        if (m_left->isRowHidden(r) != hide)
            m_left->setRowHidden(r, hide);
    }
    const int colsToVisit = std::min(GetColumnCount(), std::max(fc, m_hiddenCols) + 1);
    for (int c = 0; c < colsToVisit; ++c) {
        const bool hide = c < fc;
        if (m_main->isColumnHidden(c) != hide)
            m_main->setColumnHidden(c, hide);
        if (m_top->isColumnHidden(c) != hide)
            m_top->setColumnHidden(c, hide);
    }
    m_hiddenRows = fr;
    m_hiddenCols = fc;
}

void CGridCtrl::applyMerges()
{
    const int fr = GetFixedRowCount();
    const int fc = GetFixedColumnCount();
    forEachPane([&](CGridPane* p) {
        p->clearSpans();
        // A pane that hides the fixed rows or columns gets only the part of a merge it
        // shows: a caption over a frozen column and the one beside it is drawn once, in
        // the frozen pane, instead of again (cut off) beside it.
        const bool hidesFixedCols = p->kind() == CGridPane::Top || p->kind() == CGridPane::Body;
        const bool hidesFixedRows = p->kind() == CGridPane::Left || p->kind() == CGridPane::Body;
        for (QRect m : m_model->merges()) {
            if (hidesFixedCols && m.left() < fc && m.right() >= fc)
                m.setLeft(fc);
            if (hidesFixedRows && m.top() < fr && m.bottom() >= fr)
                m.setTop(fr);
            if (m.width() > 1 || m.height() > 1)
                p->setSpan(m.top(), m.left(), m.height(), m.width());
        }
    });
}

int CGridCtrl::fixedRowsHeight() const
{
    int h = 0;
    for (int r = 0; r < GetFixedRowCount(); ++r)
        h += m_corner->rowHeight(r);
    return h;
}

int CGridCtrl::fixedColsWidth() const
{
    int w = 0;
    for (int c = 0; c < GetFixedColumnCount(); ++c)
        w += m_corner->columnWidth(c);
    return w;
}

void CGridCtrl::updatePanes()
{
    const int h = fixedRowsHeight();
    const int w = fixedColsWidth();
    m_top->setVisible(h > 0);
    m_corner->setVisible(h > 0 && w > 0);
    m_left->setVisible(w > 0);
    m_top->setFixedHeight(h);
    m_corner->setFixedSize(w, h);
    m_left->setFixedWidth(w);
    m_layout->setRowMinimumHeight(0, h);
    m_layout->setColumnMinimumWidth(0, w);
    syncScrollBars();
}

void CGridCtrl::syncScrollBars()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const QScrollBar* v = m_main->verticalScrollBar();
    const QScrollBar* hb = m_main->horizontalScrollBar();
    m_vbar->setRange(v->minimum(), v->maximum());
    m_vbar->setPageStep(v->pageStep());
    m_vbar->setSingleStep(std::max(1, m_defaultRowHeight));
    m_vbar->setValue(v->value());
    m_vbar->setVisible(v->maximum() > v->minimum());
    m_hbar->setRange(hb->minimum(), hb->maximum());
    m_hbar->setPageStep(hb->pageStep());
    m_hbar->setSingleStep(20);
    m_hbar->setValue(hb->value());
    m_hbar->setVisible(hb->maximum() > hb->minimum());
    m_left->verticalScrollBar()->setValue(v->value());
    m_top->horizontalScrollBar()->setValue(hb->value());
    m_syncing = false;
}

// ---- cells ----

bool CGridCtrl::SetItemText(int row, int col, const QString& text)
{
    return m_model->setText(row, col, text);
}

bool CGridCtrl::SetItemFormat(int row, int col, unsigned format)
{
    return m_model->setFormat(row, col, format);
}

bool CGridCtrl::SetItemState(int row, int col, unsigned state)
{
    return m_model->setState(row, col, state);
}

bool CGridCtrl::SetItemBkColour(int row, int col, const QColor& colour)
{
    return m_model->setBackground(row, col, colour);
}

bool CGridCtrl::SetItemFgColour(int row, int col, const QColor& colour)
{
    return m_model->setForeground(row, col, colour);
}

void CGridCtrl::SetEditable(bool editable)
{
    m_model->setEditable(editable);
    Refresh();
}

void CGridCtrl::SetFixedColumnsEditable(bool editable, int firstColumn)
{
    m_model->setFixedColumnsEditable(editable, firstColumn);
    m_left->setEditTriggers(editable ? m_main->editTriggers() : QAbstractItemView::NoEditTriggers);
    m_left->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    Refresh();
}

// ---- sizes ----

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= GetColumnCount() || width < 0)
        return false;
    forEachPane([&](CGridPane* p) { p->setColumnWidth(col, width); });
    if (col < GetFixedColumnCount())
        updatePanes();
    return true;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return col >= 0 && col < GetColumnCount() ? m_corner->columnWidth(col) : 0;
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= GetRowCount() || height < 0)
        return false;
    forEachPane([&](CGridPane* p) { p->setRowHeight(row, height); });
    if (row < GetFixedRowCount())
        updatePanes();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < GetRowCount() ? m_corner->rowHeight(row) : 0;
}

int CGridCtrl::textWidth(const QString& text) const
{
    // Sum of cached character widths: exact for the CJK and digit texts of the herd
    // grids and fast enough to fit columns of hundreds of thousands of rows.
    const QFontMetrics fm(font());
    int widest = 0;
    int w = 0;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n')) {
            widest = std::max(widest, w);
            w = 0;
            continue;
        }
        auto it = m_charWidths.constFind(ch);
        if (it == m_charWidths.constEnd())
            it = m_charWidths.insert(ch, fm.horizontalAdvance(ch));
        w += it.value();
    }
    return std::max(widest, w);
}

int CGridCtrl::measureCell(int row, int col, bool height) const
{
    const QString text = m_model->text(row, col);
    const int margin = 2 * 3 + 2;
    if (!height)
        return textWidth(text) + margin;
    const QFontMetrics fm(font());
    const unsigned format = m_model->format(row, col);
    if (text.isEmpty())
        return m_defaultRowHeight;
    if (format & GridFormat::WordBreak) {
        const int width = std::max(1, GetColumnWidth(col) - margin);
        const QRect r = fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text);
        return std::max(m_defaultRowHeight, r.height() + 8);
    }
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;
    return std::max(m_defaultRowHeight, lines * fm.lineSpacing() + 8);
}

bool CGridCtrl::AutoSizeColumn(int col)
{
    if (col < 0 || col >= GetColumnCount())
        return false;
    int width = 8;
    const bool merged = !m_model->merges().isEmpty();
    for (int r = 0; r < GetRowCount(); ++r) {
        if (m_model->isEmpty(r, col))
            continue;
        // A merged cell's text spreads over its columns; it does not widen one of them.
        if (merged && m_model->mergeAt(r, col).width() > 1)
            continue;
        width = std::max(width, measureCell(r, col, false));
    }
    return SetColumnWidth(col, width);
}

void CGridCtrl::AutoSizeColumns()
{
    for (int c = 0; c < GetColumnCount(); ++c)
        AutoSizeColumn(c);
}

bool CGridCtrl::AutoSizeRow(int row)
{
    if (row < 0 || row >= GetRowCount())
        return false;
    int height = m_defaultRowHeight;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (m_model->isEmpty(row, c))
            continue;
        if (!m_model->merges().isEmpty() && m_model->mergeAt(row, c).height() > 1)
            continue;
        height = std::max(height, measureCell(row, c, true));
    }
    if (height != GetRowHeight(row))
        SetRowHeight(row, height);
    return true;
}

void CGridCtrl::AutoSizeRows()
{
    // Only rows with several lines (or wrapped texts) grow; the rest keep the default.
    for (int r = 0; r < GetRowCount(); ++r) {
        bool tall = false;
        for (int c = 0; c < GetColumnCount() && !tall; ++c) {
            if (m_model->isEmpty(r, c))
                continue;
            tall = (m_model->format(r, c) & GridFormat::WordBreak) || m_model->text(r, c).contains(QLatin1Char('\n'));
        }
        if (tall)
            AutoSizeRow(r);
        else if (GetRowHeight(r) != m_defaultRowHeight)
            SetRowHeight(r, m_defaultRowHeight);
    }
}

void CGridCtrl::AutoSize()
{
    AutoSizeColumns();
    AutoSizeRows();
}

// ---- rows ----

int CGridCtrl::InsertRow(const QString& heading, int before)
{
    const StructureChange change(this);
    if (GetColumnCount() == 0)
        return -1;
    if (before < 0 || before > GetRowCount())
        before = GetRowCount();
    if (!m_model->insertRowBefore(before))
        return -1;
    m_model->setText(before, 0, heading);
    updatePanes();
    return before;
}

bool CGridCtrl::DeleteRow(int row)
{
    const StructureChange change(this);
    if (!m_model->removeRowAt(row))
        return false;
    updatePanes();
    return true;
}

void CGridCtrl::DeleteAllItems()
{
    const StructureChange change(this);
    // Combo and numeric columns stay: screens set them once and reload many times.
    m_model->clearAll();
    m_hiddenRows = m_hiddenCols = 0;
    forEachPane([](CGridPane* p) {
        p->clearSpans();
    });
    updatePanes();
}

// ---- focus, selection, scrolling ----

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col))
        return;
    // Fixed rows and columns are always in view; scroll only along the other axis.
    const int r = std::max(row, GetFixedRowCount());
    int c = std::max(col, GetFixedColumnCount());
    if (col < GetFixedColumnCount()) {
        const int shown = m_main->columnAt(0);
        c = shown >= 0 ? shown : c;
    }
    if (r < GetRowCount() && c < GetColumnCount())
        m_main->scrollTo(m_model->index(r, c), QAbstractItemView::EnsureVisible);
    syncScrollBars();
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool redraw)
{
    QItemSelectionModel* sel = m_main->selectionModel();
    if (minRow < 0 || minCol < 0 || maxRow < minRow || maxCol < minCol || maxRow >= GetRowCount() || maxCol >= GetColumnCount()) {
        sel->clearSelection();
        return;
    }
    sel->select(QItemSelection(m_model->index(minRow, minCol), m_model->index(maxRow, maxCol)),
                QItemSelectionModel::ClearAndSelect);
    if (redraw)
        Refresh();
}

void CGridCtrl::SetSelectedRange(const CCellRange& range, bool redraw)
{
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, redraw);
}

CCellRange CGridCtrl::GetSelectedRange() const
{
    // From the selection's ranges, not its cells: a selected column of 200,000 rows is one range.
    CCellRange range;
    const QItemSelection selection = m_main->selectionModel()->selection();
    if (selection.isEmpty()) {
        const CCellID f = GetFocusCell();
        if (f.IsValid() && !IsCellFixed(f.row, f.col))
            range = {f.row, f.col, f.row, f.col};
        return range;
    }
    range = {INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange& r : selection) {
        range.minRow = std::min(range.minRow, r.top());
        range.minCol = std::min(range.minCol, r.left());
        range.maxRow = std::max(range.maxRow, r.bottom());
        range.maxCol = std::max(range.maxCol, r.right());
    }
    return range;
}

CCellID CGridCtrl::GetFocusCell() const
{
    const QModelIndex i = m_main->selectionModel()->currentIndex();
    return i.isValid() ? CCellID{i.row(), i.column()} : CCellID{};
}

void CGridCtrl::SetFocusCell(int row, int col)
{
    if (!IsValid(row, col)) {
        m_main->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    m_main->selectionModel()->setCurrentIndex(m_model->index(row, col), QItemSelectionModel::NoUpdate);
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    if (!IsValid(row, col))
        return false;
    if (IsCellFixed(row, col) && row < GetFixedRowCount() && col < GetFixedColumnCount())
        return true;
    const QRect area = m_main->viewport()->rect();
    const int y = row < GetFixedRowCount() ? 0 : m_main->rowViewportPosition(row);
    const int x = col < GetFixedColumnCount() ? 0 : m_main->columnViewportPosition(col);
    return y >= 0 && y < area.height() && x >= 0 && x < area.width();
}

void CGridCtrl::RedrawCell(int row, int col)
{
    if (!IsValid(row, col))
        return;
    const QModelIndex i = m_model->index(row, col);
    forEachPane([&](CGridPane* p) { p->update(i); });
}

void CGridCtrl::ResetScrollBars()
{
    updatePanes();
}

void CGridCtrl::Refresh()
{
    forEachPane([](CGridPane* p) { p->viewport()->update(); });
}

// ---- merges, lines ----

bool CGridCtrl::SetCellCombine(int row, int col, int rowSpan, int colSpan)
{
    return m_model->addMerge(row, col, rowSpan, colSpan);
}

bool CGridCtrl::SetFixedCellCombine(int row, int col, int rowSpan, int colSpan)
{
    return m_model->addMerge(row, col, rowSpan, colSpan);
}

void CGridCtrl::SetGridLines(int mode)
{
    m_gridLines = std::clamp(mode, 0, 3);
    Refresh();
}

// ---- editing ----

bool CGridCtrl::editorOpening(int row, int col)
{
    if (!IsCellEditable(row, col))
        return false;
    m_editRefused = false;
    m_editRow = row;
    m_editCol = col;
    emit beginEdit(row, col);
    if (m_editRefused || !IsCellEditable(row, col)) {
        m_editRow = m_editCol = -1;
        return false;
    }
    return true;
}

void CGridCtrl::editorCommitted(int row, int col, const QString& text)
{
    if (row == m_editRow && col == m_editCol) {
        m_model->setText(row, col, text);
        RedrawCell(row, col);
    }
}

void CGridCtrl::editorClosed()
{
    const int row = m_editRow;
    const int col = m_editCol;
    if (row < 0)
        return;
    m_editRow = m_editCol = -1;
    emit endEdit(row, col);
    RedrawCell(row, col);
}

bool CGridCtrl::EditCell(int row, int col, const QString& text)
{
    if (!editorOpening(row, col))
        return false;
    editorCommitted(row, col, text);
    editorClosed();
    return true;
}

// ---- clipboard ----

QString CGridCtrl::RangeText(const CCellRange& range) const
{
    if (!range.IsValid())
        return QString();
    TableText::Rows rows;
    for (int r = range.minRow; r <= range.maxRow && r < GetRowCount(); ++r) {
        QStringList fields;
        for (int c = range.minCol; c <= range.maxCol && c < GetColumnCount(); ++c)
            fields << GetItemText(r, c);
        rows << fields;
    }
    return TableText::toTsv(rows);
}

QString CGridCtrl::SelectedText() const
{
    return RangeText(GetSelectedRange());
}

void CGridCtrl::OnEditCopy()
{
    const QString text = SelectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void CGridCtrl::OnEditCut()
{
    const CCellRange range = GetSelectedRange();
    if (!range.IsValid())
        return;
    OnEditCopy();
    for (int r = range.minRow; r <= range.maxRow; ++r)
        for (int c = range.minCol; c <= range.maxCol; ++c)
            if (!m_model->isEmpty(r, c))
                EditCell(r, c, QString());
}

void CGridCtrl::OnEditPaste()
{
    const CCellID f = GetFocusCell();
    if (!f.IsValid())
        return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText())
        return;
    PasteText(mime->text(), f.row, f.col);
}

bool CGridCtrl::PasteText(const QString& text, int row, int col)
{
    if (!IsValid(row, col) || IsCellFixed(row, col))
        return false;
    const TableText::Rows rows = TableText::parseTsv(text);
    bool changed = false;
    for (int i = 0; i < rows.size() && row + i < GetRowCount(); ++i) {
        const QStringList& fields = rows.at(i);
        for (int j = 0; j < fields.size() && col + j < GetColumnCount(); ++j) {
            const int r = row + i;
            const int c = col + j;
            if (!IsCellEditable(r, c) || GetItemText(r, c) == fields.at(j))
                continue;
            changed = EditCell(r, c, fields.at(j)) || changed;
        }
    }
    return changed;
}

// ---- printing ----

void CGridCtrl::SetPrintHead(const QString& head1, const QString& head2)
{
    m_printHead1 = head1;
    m_printHead2 = head2;
}

void CGridCtrl::Print()
{
    CGridPrinter::print(this, PrintService::Mode::Direct, this);
}

// ---- combo grid ----

void CComboGridCtrl::AddComboColumn(int col, const QStringList& items)
{
    if (col < 0)
        return;
    m_numColumns.remove(col);
    m_comboColumns.insert(col, items);
}

void CComboGridCtrl::ADDNumColumn(int col)
{
    if (col < 0)
        return;
    m_comboColumns.remove(col);
    m_numColumns.insert(col);
}
