#include "navigationbar.h"
#include "commandtable.h"
#include "toolbaricons.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {
constexpr int kIdRole = Qt::UserRole + 1;
}

CNavigationBar::CNavigationBar(QWidget* parent)
    : QDockWidget(QStringLiteral("导航条"), parent)
    , m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("NavigationBar"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setIconSize(QSize(20, 20));
    m_tree->setMinimumWidth(180);
    m_tree->setMouseTracking(true); // the status bar shows the item's prompt

    for (const ModuleInfo& m : CommandTable::modules()) {
        auto* group = new QTreeWidgetItem(m_tree, QStringList(m.popup));
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFlags(Qt::ItemIsEnabled);
        // The groups follow the module's popup of the default menu, so the bar and
        // the menus list the same things in the same order.
        const QVector<MenuItem> popup = CommandTable::menu(m.shortMenuId);
        std::function<void(const QVector<MenuItem>&)> add = [&](const QVector<MenuItem>& items) {
            for (const MenuItem& item : items) {
                if (item.isPopup()) {
                    add(item.items);
                    continue;
                }
                const CommandInfo* c = CommandTable::find(item.id);
                if (!c || c->navName.isEmpty())
                    continue;
                auto* leaf = new QTreeWidgetItem(group, QStringList(c->navName));
                leaf->setData(0, kIdRole, c->id);
                leaf->setIcon(0, ToolBarIcons::moduleIcon(m.module));
                leaf->setToolTip(0, c->navName);
                leaf->setStatusTip(0, c->statusPrompt());
            }
        };
        if (!popup.isEmpty())
            add(popup.first().items);
        group->setExpanded(true);
    }
    setWidget(m_tree);
    connect(m_tree, &QTreeWidget::itemClicked, this, &CNavigationBar::onItem);
    connect(m_tree, &QTreeWidget::itemActivated, this, &CNavigationBar::onItem);
}

void CNavigationBar::onItem(QTreeWidgetItem* item)
{
    if (item && item->parent() && (item->flags() & Qt::ItemIsEnabled))
        emit itemChosen(item->text(0));
}

void CNavigationBar::updateEnabled(const std::function<bool(int)>& enabled)
{
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = m_tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* leaf = group->child(i);
            const Qt::ItemFlags flags = enabled(leaf->data(0, kIdRole).toInt())
                                            ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                                            : Qt::NoItemFlags;
            // Only real changes: the frame asks often and repaints cost.
            if (leaf->flags() != flags)
                leaf->setFlags(flags);
        }
    }
}

QStringList CNavigationBar::names() const
{
    QStringList result;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = m_tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            result << group->child(i)->text(0);
    }
    return result;
}
