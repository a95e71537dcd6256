#pragma once
#include <QDockWidget>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The docked navigation bar "导航条": the screens and card printing grouped by module.
// A click reports the item's navigation name; the frame decides what it opens.
class CNavigationBar : public QDockWidget
{
    Q_OBJECT
public:
    explicit CNavigationBar(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    // Greys out the items whose command cannot run now.
    void updateEnabled(const std::function<bool(int commandId)>& enabled);
    // The names under each group, in order (for tests and the manual).
    QStringList names() const;

signals:
    void itemChosen(const QString& navName);

private:
    void onItem(QTreeWidgetItem* item);
    QTreeWidget* m_tree;
};
