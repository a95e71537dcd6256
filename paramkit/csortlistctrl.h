#pragma once
#include "paramkit_global.h"

#include <QByteArray>
#include <QStringList>
#include <QTreeWidget>

// A report list whose columns come from one heading text, sort by a click on their
// heading (digits as numbers, dd/mm/yyyy as dates, other texts in the locale's order)
// and keep their widths and order between sessions under "ListCtrls" in the settings.
class PARAMKIT_EXPORT CSortListCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CSortListCtrl(QWidget* parent = nullptr, int controlId = 12002);

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Pairs of heading and width in pixels, separated by semicolons: "代号,60;名称,150".
    // Replaces the columns and the rows; false when no column could be read.
    bool SetHeadings(const QString& headings);
    int GetColumnCount() const { return columnCount(); }

    // Adds a row at the end and answers its index.
    int AddItem(const QStringList& texts);
    bool DeleteItem(int row);
    void DeleteAllItems() { clear(); }
    int GetItemCount() const { return topLevelItemCount(); }
    QString GetItemText(int row, int col) const;
    bool SetItemText(int row, int col, const QString& text);
    // First row whose column holds exactly this text; -1 when none.
    int FindItem(const QString& text, int col = 0) const;
    int GetSelectedItem() const;
    void SelectItem(int row);

    // A click on a column's heading: a new column sorts ascending, the same column again
    // reverses the direction.
    void ClickHeading(int column);
    void SortColumn(int column, bool ascending);
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_ascending; }

    // Negative, zero or positive as a sorts before, with or after b.
    static int CompareTexts(const QString& a, const QString& b);

    // Column widths and order as raw bytes; a layout for another number of columns is
    // refused, so one control id can serve lists of different shapes.
    QByteArray ColumnLayout() const;
    bool SetColumnLayout(const QByteArray& layout);
    // Read and write the layout in the settings, section "ListCtrls", entry "%d" of the id.
    bool LoadColumnInfo();
    void SaveColumnInfo() const;
    static QString settingsKey(int controlId);

signals:
    // A row was clicked (or chosen with the keyboard).
    void rowActivated(int row);

private:
    int m_controlId;
    int m_sortColumn = -1;
    bool m_ascending = true;
};
