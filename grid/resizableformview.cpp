#include "resizableformview.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>
#include <QWheelEvent>

namespace {

int scrollBarExtent(const QWidget* w)
{
    return w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
}

// Percent of a length, truncated toward zero as the margins were measured.
int percentOf(int percent, int length)
{
    return percent * length / 100;
}

} // namespace

CResizableFormView::CResizableFormView(QWidget* parent)
    : QWidget(parent)
    , m_grip(new QSizeGrip(this))
    , m_hbar(new QScrollBar(Qt::Horizontal, this))
    , m_vbar(new QScrollBar(Qt::Vertical, this))
{
    const int ext = scrollBarExtent(this);
    m_grip->setFixedSize(ext, ext);
    m_hbar->hide();
    m_vbar->hide();
    connect(m_hbar, &QScrollBar::valueChanged, this, &CResizableFormView::arrangeLayout);
    connect(m_vbar, &QScrollBar::valueChanged, this, &CResizableFormView::arrangeLayout);
}

CResizableFormView::~CResizableFormView()
{
    m_entries.clear();
}

void CResizableFormView::setTemplateSize(const QSize& size)
{
    m_template = size;
    if (!isVisible() && size.isValid())
        resize(size);
    updateScrollBars();
    updateSizeGrip();
}

void CResizableFormView::addAnchor(QWidget* control, ResizeAnchor topLeft, ResizeAnchor bottomRight)
{
    if (!control)
        return;
    removeAnchor(control);
    if (topLeft.isNone())
        topLeft = Anchor::TopLeft;
    if (bottomRight.isNone())
        bottomRight = topLeft;

    const QRect client = layoutClientRect();
    const QRect g = control->geometry();
    Entry e;
    e.control = control;
    e.topLeft = topLeft;
    e.bottomRight = bottomRight;
    e.marginTopLeft = QPoint(g.x() - client.x() - percentOf(topLeft.h, client.width()),
                             g.y() - client.y() - percentOf(topLeft.v, client.height()));
    // The bottom-right corner is exclusive, as the rectangle's right and bottom edges are.
    e.marginBottomRight = QPoint(g.x() + g.width() - client.x() - percentOf(bottomRight.h, client.width()),
                                 g.y() + g.height() - client.y() - percentOf(bottomRight.v, client.height()));
    m_entries.append(e);
}

void CResizableFormView::removeAnchor(QWidget* control)
{
    for (int i = m_entries.size() - 1; i >= 0; --i) {
        if (m_entries[i].control == control || !m_entries[i].control)
            m_entries.remove(i);
    }
}

QRect CResizableFormView::rectFor(const Entry& e, const QRect& client) const
{
    const int left = client.x() + percentOf(e.topLeft.h, client.width()) + e.marginTopLeft.x();
    const int top = client.y() + percentOf(e.topLeft.v, client.height()) + e.marginTopLeft.y();
    const int right = client.x() + percentOf(e.bottomRight.h, client.width()) + e.marginBottomRight.x();
    const int bottom = client.y() + percentOf(e.bottomRight.v, client.height()) + e.marginBottomRight.y();
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}

void CResizableFormView::arrangeLayout()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    const QRect client = layoutClientRect();
    for (const Entry& e : std::as_const(m_entries)) {
        if (!e.control)
            continue;
        const QRect r = rectFor(e, client);
        // Unchanged controls are left alone so they do not repaint for nothing.
        if (r != e.control->geometry())
            e.control->setGeometry(r);
    }
    m_inLayout = false;
}

QRect CResizableFormView::layoutClientRect() const
{
    const int ext = scrollBarExtent(this);
    int w = width() - (m_vbar->isHidden() ? 0 : ext);
    int h = height() - (m_hbar->isHidden() ? 0 : ext);
    int x = 0;
    int y = 0;
    if (!m_hbar->isHidden()) {
        w = m_template.width();
        x = -m_hbar->value();
    }
    if (!m_vbar->isHidden()) {
        h = m_template.height();
        y = -m_vbar->value();
    }
    return QRect(x, y, w, h);
}

QPoint CResizableFormView::scrollPosition() const
{
    return QPoint(m_hbar->isHidden() ? 0 : m_hbar->value(), m_vbar->isHidden() ? 0 : m_vbar->value());
}

void CResizableFormView::updateScrollBars()
{
    const int ext = scrollBarExtent(this);
    const QSize s = size();
    bool needH = m_template.isValid() && s.width() < m_template.width();
    bool needV = m_template.isValid() && s.height() < m_template.height();
    // One scroll bar takes room from the other direction.
    if (needH && !needV)
        needV = s.height() - ext < m_template.height();
    if (needV && !needH)
        needH = s.width() - ext < m_template.width();

    const int visibleW = s.width() - (needV ? ext : 0);
    const int visibleH = s.height() - (needH ? ext : 0);
    m_hbar->setRange(0, needH ? m_template.width() - visibleW : 0);
    m_hbar->setPageStep(qMax(1, visibleW));
    m_hbar->setSingleStep(20);
    m_hbar->setGeometry(0, s.height() - ext, qMax(0, visibleW), ext);
    m_hbar->setVisible(needH);
    m_vbar->setRange(0, needV ? m_template.height() - visibleH : 0);
    m_vbar->setPageStep(qMax(1, visibleH));
    m_vbar->setSingleStep(20);
    m_vbar->setGeometry(s.width() - ext, 0, ext, qMax(0, visibleH));
    m_vbar->setVisible(needV);
    m_hbar->raise();
    m_vbar->raise();
}

QWidget* CResizableFormView::childFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(w))
            return w;
        if (w->isWindow())
            return w;
    }
    return const_cast<CResizableFormView*>(this);
}

bool CResizableFormView::isSizeGripShown() const
{
    return !m_grip->isHidden();
}

void CResizableFormView::updateSizeGrip()
{
    QWidget* frame = childFrame();
    if (frame != m_watchedFrame) {
        if (m_watchedFrame)
            m_watchedFrame->removeEventFilter(this);
        m_watchedFrame = frame;
        if (frame != this)
            frame->installEventFilter(this);
    }

    bool show = true;
    if (frame->isMaximized() || frame->isFullScreen())
        show = false;
    if (m_template.isValid() && (width() < m_template.width() || height() < m_template.height()))
        show = false;
    const bool fixedSize = frame->minimumSize() == frame->maximumSize()
                           || frame->windowFlags().testFlag(Qt::FramelessWindowHint)
                           || frame->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
    if (fixedSize)
        show = false;
    if (frame != this) {
        // The grip only makes sense in the frame's own corner.
        const QPoint corner = mapTo(frame, QPoint(width(), height()));
        QPoint frameCorner(frame->width(), frame->height());
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame); sub && sub->widget()) {
            const QRect wg = sub->widget()->geometry();
            frameCorner = QPoint(wg.x() + wg.width(), wg.y() + wg.height());
        }
        if (corner != frameCorner)
            show = false;
    }

    m_grip->move(width() - m_grip->width(), height() - m_grip->height());
    m_grip->setVisible(show);
    m_grip->raise();
}

void CResizableFormView::setMinTrackSize(const QSize& size)
{
    m_minTrack = size;
    applyTrackSizes();
}

void CResizableFormView::setMaxTrackSize(const QSize& size)
{
    m_maxTrack = size;
    applyTrackSizes();
}

void CResizableFormView::applyTrackSizes()
{
    setMinimumSize(m_minTrack.isValid() ? m_minTrack : QSize(0, 0));
    setMaximumSize(m_maxTrack.isValid() ? m_maxTrack : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void CResizableFormView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateScrollBars();
    updateSizeGrip();
    arrangeLayout();
}

void CResizableFormView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateScrollBars();
    updateSizeGrip();
    arrangeLayout();
}

void CResizableFormView::wheelEvent(QWheelEvent* event)
{
    if (m_vbar->isHidden()) {
        event->ignore();
        return;
    }
    m_vbar->setValue(m_vbar->value() - event->angleDelta().y() / 120 * m_vbar->singleStep() * 3);
    event->accept();
}

bool CResizableFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedFrame
        && (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Resize))
        updateSizeGrip();
    return QWidget::eventFilter(watched, event);
}
