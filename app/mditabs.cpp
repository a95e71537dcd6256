#include "mditabs.h"

#include <QMdiArea>
#include <QMdiSubWindow>

CMDITabs::CMDITabs(QMdiArea* area, QWidget* parent)
    : QTabBar(parent)
    , m_area(area)
{
    setDocumentMode(true);
    setExpanding(false);
    setElideMode(Qt::ElideRight);
    setUsesScrollButtons(true);
    connect(this, &QTabBar::currentChanged, this, &CMDITabs::onCurrentChanged);
    connect(area, &QMdiArea::subWindowActivated, this, &CMDITabs::refresh);
    refresh();
}

void CMDITabs::setWanted(bool wanted)
{
    m_wanted = wanted;
    refresh();
}

void CMDITabs::setOnTop(bool onTop)
{
    m_onTop = onTop;
    setShape(onTop ? QTabBar::RoundedNorth : QTabBar::RoundedSouth);
    refresh();
}

void CMDITabs::setImages(bool images)
{
    m_images = images;
    refresh();
}

void CMDITabs::setThreshold(int threshold)
{
    m_threshold = threshold;
    refresh();
}

void CMDITabs::setSuppressed(bool suppressed)
{
    m_suppressed = suppressed;
    refresh();
}

QMdiSubWindow* CMDITabs::subWindowAt(int index) const
{
    return index >= 0 && index < m_windows.size() ? m_windows.at(index).data() : nullptr;
}

void CMDITabs::refresh()
{
    m_refreshing = true;
    m_windows.clear();
    for (QMdiSubWindow* w : m_area->subWindowList(QMdiArea::CreationOrder)) {
        // A window that is closing is already out of the way.
        if (!w->isHidden() || !w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            m_windows.append(w);
    }
    while (count() > m_windows.size())
        removeTab(count() - 1);
    for (int i = 0; i < m_windows.size(); ++i) {
        QMdiSubWindow* w = m_windows.at(i);
        if (i >= count())
            addTab(QString());
        setTabText(i, w->windowTitle());
        setTabIcon(i, m_images ? w->windowIcon() : QIcon());
        setTabToolTip(i, w->windowTitle());
        if (w == m_area->activeSubWindow())
            setCurrentIndex(i);
    }
    setVisible(m_wanted && !m_suppressed && m_windows.size() >= m_threshold);
    m_refreshing = false;
}

void CMDITabs::onCurrentChanged(int index)
{
    if (m_refreshing)
        return;
    if (QMdiSubWindow* w = subWindowAt(index); w && w != m_area->activeSubWindow())
        m_area->setActiveSubWindow(w);
}
