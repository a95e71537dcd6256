// A grid or screen destroyed while a cell editor is open: the editor goes quietly, and
// no end-of-edit reaches a screen whose own parts are already gone. Closing the screen
// the normal way ends the edit first, so the typed text is not lost.
#include "gridscreen.h"
#include "gridpane.h"
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

const void* g_gone = nullptr; // the screen whose destructor has run
int g_lateCalls = 0;          // end-edits that reached it afterwards

class EditingScreen : public CGridScreen
{
public:
    EditingScreen()
        : CGridScreen(39002, 1)
    {
        connect(grid(), &CGridCtrl::endEdit, this, &EditingScreen::onEndEdit);
    }
    ~EditingScreen() override { g_gone = this; }
    QStringList ended;

protected:
    void loadScreen() override
    {
        grid()->SetColumnCount(3);
        grid()->SetRowCount(4);
        grid()->SetFixedRowCount(1);
        grid()->SetEditable(true);
    }

private:
    void onEndEdit(int row, int col)
    {
        if (g_gone == this) {
            ++g_lateCalls;
            return;
        }
        ended << QStringLiteral("%1,%2:%3").arg(row).arg(col).arg(grid()->GetItemText(row, col));
    }
};

// Opens the body's editor on a cell and types into it, the editor holding the focus.
QLineEdit* openEditor(CGridScreen& screen, int row, int col, const QString& text)
{
    CGridPane* body = screen.grid()->bodyView();
    body->setCurrentIndex(screen.grid()->model()->index(row, col));
    body->edit(screen.grid()->model()->index(row, col));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor)
        editor->setText(text);
    return editor;
}

} // namespace

class TestEditorTeardown : public QObject
{
    Q_OBJECT
private slots:
    void destroyingTheScreenWithAnOpenEditor()
    {
        TempHerdDb db;
        g_lateCalls = 0;
        auto* screen = new EditingScreen;
        screen->setAttribute(Qt::WA_DeleteOnClose, false);
        screen->setDatabasePath(db.path());
        screen->resize(400, 300);
        screen->show();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QVERIFY(openEditor(*screen, 1, 1, QStringLiteral("typed")));
        QVERIFY(screen->grid()->IsEditing());
        delete screen;
        QCOMPARE(g_lateCalls, 0);
    }

    void closingTheScreenEndsTheEditFirst()
    {
        TempHerdDb db;
        ScriptedMessages messages;
        EditingScreen screen;
        screen.setAttribute(Qt::WA_DeleteOnClose, false);
        screen.setDatabasePath(db.path());
        screen.resize(400, 300);
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        QVERIFY(openEditor(screen, 2, 1, QStringLiteral("kept")));
        QVERIFY(screen.queryClose());
        QCOMPARE(screen.ended, QStringList{QStringLiteral("2,1:kept")});
        QVERIFY(!screen.grid()->IsEditing());
    }

    void destroyingTheGridWithAnOpenEditor()
    {
        QWidget window;
        auto* grid = new CGridCtrl(&window);
        grid->SetColumnCount(2);
        grid->SetRowCount(3);
        grid->SetEditable(true);
        int ends = 0;
        connect(grid, &CGridCtrl::endEdit, &window, [&] { ++ends; });
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->bodyView()->setCurrentIndex(grid->model()->index(1, 1));
        grid->bodyView()->edit(grid->model()->index(1, 1));
        QVERIFY(grid->IsEditing());
        delete grid;
        QCOMPARE(ends, 0);
    }
};

QTEST_MAIN(TestEditorTeardown)
#include "test_editorteardown.moc"
