#include "csortlistctrl.h"

#include <QCollator>
#include <QDataStream>
#include <QIODevice>
#include <QDate>
#include <QHeaderView>
#include <QSettings>

namespace {

bool isDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// dd/mm/yyyy: exactly ten characters, digits around the two slashes.
bool isDayMonthYear(const QString& text)
{
    if (text.size() != 10 || text.at(2) != QLatin1Char('/') || text.at(5) != QLatin1Char('/'))
        return false;
    return isDigits(text.mid(0, 2)) && isDigits(text.mid(3, 2)) && isDigits(text.mid(6, 4));
}

// Digit texts of any length compare as whole numbers without overflowing.
int compareNumbers(QString a, QString b)
{
    auto strip = [](QString& s) {
        int i = 0;
        while (i < s.size() - 1 && s.at(i) == QLatin1Char('0'))
            ++i;
        s = s.mid(i);
    };
    strip(a);
    strip(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareDates(const QString& a, const QString& b)
{
    // Year, then month, then day.
    const QString ka = a.mid(6, 4) + a.mid(3, 2) + a.mid(0, 2);
    const QString kb = b.mid(6, 4) + b.mid(3, 2) + b.mid(0, 2);
    return ka.compare(kb);
}

int kindOf(const QString& text)
{
    if (isDigits(text))
        return 0;
    if (isDayMonthYear(text))
        return 1;
    return 2;
}

class SortItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int col = treeWidget() ? treeWidget()->sortColumn() : 0;
        return CSortListCtrl::CompareTexts(text(col), other.text(col)) < 0;
    }
};

} // namespace

CSortListCtrl::CSortListCtrl(QWidget* parent, int controlId)
    : QTreeWidget(parent)
    , m_controlId(controlId)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &CSortListCtrl::ClickHeading);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        emit rowActivated(indexOfTopLevelItem(item));
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            emit rowActivated(indexOfTopLevelItem(item));
    });
}

bool CSortListCtrl::SetHeadings(const QString& headings)
{
    QStringList names;
    QList<int> widths;
    for (const QString& pair : headings.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int comma = pair.lastIndexOf(QLatin1Char(','));
        names << (comma < 0 ? pair : pair.left(comma));
        widths << (comma < 0 ? 100 : pair.mid(comma + 1).trimmed().toInt());
    }
    if (names.isEmpty())
        return false;
    clear();
    setColumnCount(names.size());
    setHeaderLabels(names);
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths.at(c) > 0 ? widths.at(c) : 100);
    m_sortColumn = -1;
    m_ascending = true;
    header()->setSortIndicatorShown(false);
    return true;
}

int CSortListCtrl::AddItem(const QStringList& texts)
{
    auto* item = new SortItem(QStringList(texts.mid(0, qMax(1, columnCount()))));
    addTopLevelItem(item);
    return indexOfTopLevelItem(item);
}

bool CSortListCtrl::DeleteItem(int row)
{
    if (row < 0 || row >= topLevelItemCount())
        return false;
    delete takeTopLevelItem(row);
    return true;
}

QString CSortListCtrl::GetItemText(int row, int col) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(col) : QString();
}

bool CSortListCtrl::SetItemText(int row, int col, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || col < 0 || col >= columnCount())
        return false;
    item->setText(col, text);
    return true;
}

int CSortListCtrl::FindItem(const QString& text, int col) const
{
    for (int r = 0; r < topLevelItemCount(); ++r)
        if (topLevelItem(r)->text(col) == text)
            return r;
    return -1;
}

int CSortListCtrl::GetSelectedItem() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void CSortListCtrl::SelectItem(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    setCurrentItem(item);
    item->setSelected(true);
    emit rowActivated(row);
}

void CSortListCtrl::ClickHeading(int column)
{
    const bool ascending = column == m_sortColumn ? !m_ascending : true;
    SortColumn(column, ascending);
}

void CSortListCtrl::SortColumn(int column, bool ascending)
{
    if (column < 0 || column >= columnCount())
        return;
    m_sortColumn = column;
    m_ascending = ascending;
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    sortItems(column, order);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
}

int CSortListCtrl::CompareTexts(const QString& a, const QString& b)
{
    // Texts of one kind follow the kind's rule; in a column that mixes kinds, numbers
    // come before dates and dates before other texts, so every sort is well ordered.
    const int ka = kindOf(a);
    const int kb = kindOf(b);
    if (ka != kb)
        return ka < kb ? -1 : 1;
    if (ka == 0)
        return compareNumbers(a, b);
    if (ka == 1)
        return compareDates(a, b);
    static const QCollator collator;
    return collator.compare(a, b);
}

QByteArray CSortListCtrl::ColumnLayout() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const int n = columnCount();
    out << qint32(n);
    for (int c = 0; c < n; ++c)
        out << qint32(header()->sectionSize(c));
    for (int c = 0; c < n; ++c)
        out << qint32(header()->visualIndex(c));
    return bytes;
}

bool CSortListCtrl::SetColumnLayout(const QByteArray& layout)
{
    QDataStream in(layout);
    qint32 n = 0;
    in >> n;
    if (in.status() != QDataStream::Ok || n != columnCount() || n <= 0)
        return false;
    QList<qint32> widths(n), visual(n);
    for (auto& w : widths)
        in >> w;
    for (auto& v : visual)
        in >> v;
    if (in.status() != QDataStream::Ok)
        return false;
    QList<bool> seen(n, false);
    for (qint32 v : visual) {
        if (v < 0 || v >= n || seen.at(v))
            return false;
        seen[v] = true;
    }
    for (int c = 0; c < n; ++c)
        if (widths.at(c) > 0)
            header()->resizeSection(c, widths.at(c));
    for (int target = 0; target < n; ++target) {
        const int logical = visual.indexOf(target);
        header()->moveSection(header()->visualIndex(logical), target);
    }
    return true;
}

QString CSortListCtrl::settingsKey(int controlId)
{
    return QStringLiteral("ListCtrls/%1").arg(controlId);
}

bool CSortListCtrl::LoadColumnInfo()
{
    const QByteArray layout = QSettings().value(settingsKey(m_controlId)).toByteArray();
    return !layout.isEmpty() && SetColumnLayout(layout);
}

void CSortListCtrl::SaveColumnInfo() const
{
    QSettings().setValue(settingsKey(m_controlId), ColumnLayout());
}
