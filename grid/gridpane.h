#pragma once
#include <QStyledItemDelegate>
#include <QTableView>

class CGridCtrl;

// One of the grid's four views: the scrolling body, the fixed rows above it, the fixed
// columns beside it, or the fixed corner. Only the body takes the focus and scrolls on
// its own; the others follow the grid's shared scroll bars.
class CGridPane : public QTableView
{
    Q_OBJECT
public:
    enum Kind { Body, Top, Left, Corner };
    CGridPane(CGridCtrl* grid, Kind kind);
    Kind kind() const { return m_kind; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Closes the pane's open editor, taking its text first when commit is set.
    void finishEditor(QWidget* editor, bool commit);

signals:
    void geometriesUpdated();

protected:
    void updateGeometries() override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The column whose right edge (or row whose bottom edge) is under the pointer, -1 if none.
    int columnEdgeAt(int x) const;
    int rowEdgeAt(int y) const;

    CGridCtrl* m_grid;
    Kind m_kind;
    int m_dragColumn = -1;
    int m_dragRow = -1;
    int m_dragOrigin = 0;
    int m_dragStartSize = 0;
};

// Paints cells by the grid's own look and opens the in-place editors.
class CGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CGridDelegate(CGridCtrl* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QWidget* createCellEditor(QWidget* parent, int col) const;

    CGridCtrl* m_grid;
};
