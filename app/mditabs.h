#pragma once
#include <QPointer>
#include <QTabBar>
#include <QVector>

class QMdiArea;
class QMdiSubWindow;

// The strip of tabs over the open screens. It shows only while the user wants it and
// at least `threshold` screens are open; a click activates the screen (the menu bar
// stays as it is: only commands switch modules).
class CMDITabs : public QTabBar
{
    Q_OBJECT
public:
    explicit CMDITabs(QMdiArea* area, QWidget* parent = nullptr);

    void setWanted(bool wanted);
    bool isWanted() const { return m_wanted; }
    void setOnTop(bool onTop);
    bool isOnTop() const { return m_onTop; }
    void setImages(bool images);
    bool hasImages() const { return m_images; }
    void setThreshold(int threshold);
    int threshold() const { return m_threshold; }
    // Print preview hides the tabs whatever the threshold.
    void setSuppressed(bool suppressed);

    // Rebuilds the tabs from the open child windows and shows or hides the strip.
    void refresh();
    QMdiSubWindow* subWindowAt(int index) const;

private:
    void onCurrentChanged(int index);

    QMdiArea* m_area;
    QVector<QPointer<QMdiSubWindow>> m_windows;
    bool m_wanted = true;
    bool m_onTop = true;
    bool m_images = false;
    bool m_suppressed = false;
    int m_threshold = 1;
    bool m_refreshing = false;
};
