#pragma once
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QVector>
#include <QWidget>

class QScrollBar;
class QSizeGrip;

// A point of the view's client area given in percent of its width and height.
struct ResizeAnchor {
    int h = 0;
    int v = 0;
    bool isNone() const { return h < 0 || v < 0; }
    bool operator==(const ResizeAnchor& o) const { return h == o.h && v == o.v; }
};

namespace Anchor {
constexpr ResizeAnchor TopLeft{0, 0};
constexpr ResizeAnchor TopCenter{50, 0};
constexpr ResizeAnchor TopRight{100, 0};
constexpr ResizeAnchor MiddleLeft{0, 50};
constexpr ResizeAnchor MiddleCenter{50, 50};
constexpr ResizeAnchor MiddleRight{100, 50};
constexpr ResizeAnchor BottomLeft{0, 100};
constexpr ResizeAnchor BottomCenter{50, 100};
constexpr ResizeAnchor BottomRight{100, 100};
// As the bottom-right anchor: the control keeps its size and only moves.
constexpr ResizeAnchor None{-1, -1};
}

// The base of every screen: the form's controls stay attached to the view's edges while
// the child window is resized. Below the form's template size the controls stop at their
// template positions and the view scrolls; a size grip sits in the bottom-right corner
// whenever dragging it would actually resize the child window.
//
// A screen sets its template size, creates its controls at their template positions
// and registers them once; everything else follows resizes by itself.
class CResizableFormView : public QWidget
{
    Q_OBJECT
public:
    explicit CResizableFormView(QWidget* parent = nullptr);
    ~CResizableFormView() override;

    // The size the form was designed at. Also resizes the view to it while it is not
    // shown yet, so controls placed afterwards register against the template.
    void setTemplateSize(const QSize& size);
    QSize templateSize() const { return m_template; }

    // Registers a child control with the anchors of its top-left and bottom-right
    // corners. The margins are taken from its current geometry and the current client
    // area. Registering it again replaces its entry.
    void addAnchor(QWidget* control, ResizeAnchor topLeft, ResizeAnchor bottomRight = Anchor::None);
    void removeAnchor(QWidget* control);
    int anchorCount() const { return m_entries.size(); }

    // Recomputes every registered control's rectangle from the current client area.
    void arrangeLayout();

    // The smallest and largest size the child frame may be dragged to (none by default).
    void setMinTrackSize(const QSize& size);
    void setMaxTrackSize(const QSize& size);
    QSize minTrackSize() const { return m_minTrack; }
    QSize maxTrackSize() const { return m_maxTrack; }

    QSizeGrip* sizeGrip() const { return m_grip; }
    bool isSizeGripShown() const;
    // The scroll offset while the view is smaller than its template.
    QPoint scrollPosition() const;

protected:
    // The area the anchors refer to: the visible client area, or the template size
    // where the view is smaller (then shifted by the scroll position).
    virtual QRect layoutClientRect() const;

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> control;
        ResizeAnchor topLeft;
        ResizeAnchor bottomRight;
        QPoint marginTopLeft;
        QPoint marginBottomRight;
    };

    void updateScrollBars();
    void updateSizeGrip();
    void applyTrackSizes();
    QWidget* childFrame() const;
    QRect rectFor(const Entry& e, const QRect& client) const;

    QSize m_template;
    QSize m_minTrack;
    QSize m_maxTrack;
    QVector<Entry> m_entries;
    QSizeGrip* m_grip;
    QScrollBar* m_hbar;
    QScrollBar* m_vbar;
    QPointer<QWidget> m_watchedFrame;
    bool m_inLayout = false;
};
