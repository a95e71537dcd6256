#include "resizableformview.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A form as screens build it: designed at 400 x 300, a grid filling it below a
// selector row, a button in the bottom-right corner, a label centred at the top.
class SampleForm : public CResizableFormView
{
public:
    explicit SampleForm(QWidget* parent = nullptr)
        : CResizableFormView(parent)
    {
        setTemplateSize(QSize(400, 300));
        grid = new QTableWidget(this);
        grid->setGeometry(10, 40, 380, 210); // right margin 10, bottom margin 50
        button = new QPushButton(QStringLiteral("保存"), this);
        button->setGeometry(310, 260, 80, 30);
        centre = new QPushButton(QStringLiteral("中"), this);
        centre->setGeometry(175, 5, 50, 20);
        addAnchor(grid, Anchor::TopLeft, Anchor::BottomRight);
        addAnchor(button, Anchor::BottomRight);
        addAnchor(centre, Anchor::TopCenter);
    }
    QTableWidget* grid;
    QPushButton* button;
    QPushButton* centre;
};

int extent(const QWidget* w)
{
    return w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
}

// An MDI area with one child frame holding a sample form, sized as given.
struct MdiFixture {
    QMdiArea area;
    SampleForm* form = new SampleForm;
    QMdiSubWindow* sub;
    MdiFixture()
    {
        area.resize(1000, 800);
        sub = area.addSubWindow(form);
        area.show();
        sub->showNormal();
        sub->resize(600, 450);
    }
};

} // namespace

class TestResizableFormView : public QObject
{
    Q_OBJECT
private slots:
    void anchoredControlsFollowTheView_data();
    void anchoredControlsFollowTheView();
    void templateIsTheFloorAndTheViewScrolls();
    void oneDirectionBelowTheTemplate();
    void registeringAgainReplacesAndDestroyedControlsAreForgotten();
    void sizeGripFollowsTheChildFrame();
    void sizeGripHiddenWhereItCannotResize();
    void minTrackSizeLimitsTheChildFrame();
};

void TestResizableFormView::anchoredControlsFollowTheView_data()
{
    QTest::addColumn<QSize>("viewSize");
    QTest::addColumn<QRect>("grid");
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QRect>("centre");
    QTest::newRow("template") << QSize(400, 300) << QRect(10, 40, 380, 210) << QRect(310, 260, 80, 30)
                              << QRect(175, 5, 50, 20);
    QTest::newRow("grown") << QSize(800, 500) << QRect(10, 40, 780, 410) << QRect(710, 460, 80, 30)
                           << QRect(375, 5, 50, 20);
    // 50 % of 601 is truncated to 300, as the margin was measured.
    QTest::newRow("odd width") << QSize(601, 300) << QRect(10, 40, 581, 210) << QRect(511, 260, 80, 30)
                               << QRect(275, 5, 50, 20);
}

void TestResizableFormView::anchoredControlsFollowTheView()
{
    QFETCH(QSize, viewSize);
    QFETCH(QRect, grid);
    QFETCH(QRect, button);
    QFETCH(QRect, centre);
    SampleForm form;
    form.show();
    form.resize(900, 700); // away and back: the layout is not a one-way ratchet
    form.resize(viewSize);
    QCOMPARE(form.grid->geometry(), grid);
    QCOMPARE(form.button->geometry(), button);
    QCOMPARE(form.button->size(), QSize(80, 30));
    QCOMPARE(form.centre->geometry(), centre);
}

void TestResizableFormView::templateIsTheFloorAndTheViewScrolls()
{
    SampleForm form;
    form.show();
    form.resize(300, 200);
    // The controls stop at their template positions; the rest is reached by scrolling.
    QCOMPARE(form.grid->geometry(), QRect(10, 40, 380, 210));
    QCOMPARE(form.button->geometry(), QRect(310, 260, 80, 30));
    auto bars = form.findChildren<QScrollBar*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(bars.size(), 2);
    QScrollBar* v = bars[0]->orientation() == Qt::Vertical ? bars[0] : bars[1];
    QScrollBar* h = v == bars[0] ? bars[1] : bars[0];
    QVERIFY(!v->isHidden());
    QVERIFY(!h->isHidden());
    QCOMPARE(v->maximum(), 300 - (200 - extent(&form)));
    v->setValue(v->maximum());
    h->setValue(30);
    QCOMPARE(form.scrollPosition(), QPoint(30, v->maximum()));
    QCOMPARE(form.button->geometry(), QRect(280, 260 - v->maximum(), 80, 30));

    // Back above the template: no scrolling, the grid grows again.
    form.resize(500, 400);
    QVERIFY(v->isHidden());
    QVERIFY(h->isHidden());
    QCOMPARE(form.scrollPosition(), QPoint(0, 0));
    QCOMPARE(form.grid->geometry(), QRect(10, 40, 480, 310));
}

void TestResizableFormView::oneDirectionBelowTheTemplate()
{
    SampleForm form;
    form.show();
    form.resize(300, 600);
    // Narrower than the template only: the width is held, the height still follows
    // (less the horizontal scroll bar).
    const int h = 600 - extent(&form);
    QCOMPARE(form.grid->geometry(), QRect(10, 40, 380, h - 90));
    QCOMPARE(form.button->geometry(), QRect(310, h - 40, 80, 30));
}

void TestResizableFormView::registeringAgainReplacesAndDestroyedControlsAreForgotten()
{
    SampleForm form;
    form.show();
    QCOMPARE(form.anchorCount(), 3);
    form.addAnchor(form.button, Anchor::TopLeft); // now pinned top-left with its size
    QCOMPARE(form.anchorCount(), 3);
    form.resize(700, 500);
    QCOMPARE(form.button->geometry(), QRect(310, 260, 80, 30));
    delete form.centre;
    form.resize(650, 450); // must not touch the deleted control
    form.removeAnchor(form.button);
    QCOMPARE(form.anchorCount(), 1);
}

void TestResizableFormView::sizeGripFollowsTheChildFrame()
{
    MdiFixture f;
    QVERIFY(f.form->isSizeGripShown());
    const QSizeGrip* grip = f.form->sizeGrip();
    QCOMPARE(grip->geometry().bottomRight(), f.form->rect().bottomRight());

    f.sub->showMaximized();
    QVERIFY(!f.form->isSizeGripShown());
    f.sub->showNormal();
    QVERIFY(f.form->isSizeGripShown());

    // Below the template the view scrolls and the grip goes.
    f.sub->resize(250, 200);
    QVERIFY(f.form->width() < 400);
    QVERIFY(!f.form->isSizeGripShown());
    f.sub->resize(700, 500);
    QVERIFY(f.form->isSizeGripShown());

    // A top-level view is its own frame.
    SampleForm alone;
    alone.show();
    QVERIFY(alone.isSizeGripShown());
}

void TestResizableFormView::sizeGripHiddenWhereItCannotResize()
{
    {
        MdiFixture f;
        f.sub->setFixedSize(620, 460); // no sizing border
        QVERIFY(!f.form->isSizeGripShown());
    }
    {
        // The view does not reach the frame's bottom-right corner.
        QMdiArea area;
        area.resize(1000, 800);
        auto* holder = new QWidget;
        auto* layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* form = new SampleForm;
        layout->addWidget(form);
        layout->addWidget(new QPushButton(QStringLiteral("下方")));
        QMdiSubWindow* sub = area.addSubWindow(holder);
        area.show();
        sub->showNormal();
        sub->resize(600, 500);
        QVERIFY(!form->isSizeGripShown());
    }
}

void TestResizableFormView::minTrackSizeLimitsTheChildFrame()
{
    MdiFixture f;
    f.form->setMinTrackSize(QSize(450, 320));
    f.sub->resize(100, 100);
    QVERIFY(f.form->width() >= 450);
    QVERIFY(f.form->height() >= 320);
    f.form->setMinTrackSize(QSize());
    f.sub->resize(200, 150);
    QVERIFY(f.form->width() < 450);
}

QTEST_MAIN(TestResizableFormView)
#include "test_resizableformview.moc"
