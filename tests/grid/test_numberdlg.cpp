#include "cnumberdlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

class TestNumberDlg : public QObject
{
    Q_OBJECT
private slots:
    void captionFollowsTheTitleFlag();
    void arrowsStopAtSevenButATypedEightIsAccepted();
    void arrowsStopAtZero();
    void askNumberGoesToTheAnswerer();
    void askNumberShowsTheDialog_data();
    void askNumberShowsTheDialog();
};

void TestNumberDlg::captionFollowsTheTitleFlag()
{
    CNumberDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("冻结"));
    dlg.setTitleFlag(true);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("设置标签"));
    dlg.setTitleFlag(false);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("冻结"));
    QStringList buttons;
    for (auto* b : dlg.findChildren<QPushButton*>())
        buttons << b->text();
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
}

void TestNumberDlg::arrowsStopAtSevenButATypedEightIsAccepted()
{
    CNumberDlg dlg;
    dlg.setValue(6);
    dlg.field()->stepUp();
    QCOMPARE(dlg.value(), 7);
    dlg.field()->stepUp();
    QCOMPARE(dlg.value(), 7);
    dlg.show();
    QTest::keyClick(dlg.field(), Qt::Key_Up);
    QCOMPARE(dlg.value(), 7);

    QLineEdit* edit = dlg.field()->findChild<QLineEdit*>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("8"));
    dlg.field()->interpretText();
    QCOMPARE(dlg.value(), 8);
    // From a typed 8 the arrows bring the number back into their range.
    dlg.field()->stepDown();
    QCOMPARE(dlg.value(), 7);
}

void TestNumberDlg::arrowsStopAtZero()
{
    CNumberDlg dlg;
    dlg.setValue(0);
    dlg.field()->stepDown();
    QCOMPARE(dlg.value(), 0);
}

void TestNumberDlg::askNumberGoesToTheAnswerer()
{
    NumberRequest seen;
    auto previous = CNumberDlg::setAnswerer([&](const NumberRequest& r) -> std::optional<int> {
        seen = r;
        return r.value + 1;
    });
    const auto answer = CNumberDlg::askNumber({QStringLiteral("设置冻结的列数"), 2, false});
    QCOMPARE(answer, std::optional<int>(3));
    QCOMPARE(seen.prompt, QStringLiteral("设置冻结的列数"));
    QVERIFY(!seen.tabTitle);
    CNumberDlg::setAnswerer([](const NumberRequest&) { return std::optional<int>(); });
    QVERIFY(!CNumberDlg::askNumber({QStringLiteral("x"), 1, true}));
    CNumberDlg::setAnswerer(previous);
}

void TestNumberDlg::askNumberShowsTheDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("answered");
    QTest::newRow("ok") << true << true;
    QTest::newRow("cancel") << false << false;
}

// Without an answerer the real dialog opens with the request's caption, prompt and value.
void TestNumberDlg::askNumberShowsTheDialog()
{
    QFETCH(bool, accept);
    QFETCH(bool, answered);
    QString caption, prompt;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CNumberDlg*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        caption = dlg->windowTitle();
        prompt = dlg->prompt();
        dlg->setValue(dlg->value() + 3);
        accept ? dlg->accept() : dlg->reject();
    });
    const auto answer = CNumberDlg::askNumber({QStringLiteral("设置开始显示标签的文档数量"), 2, true});
    QCOMPARE(caption, QStringLiteral("设置标签"));
    QCOMPARE(prompt, QStringLiteral("设置开始显示标签的文档数量"));
    QCOMPARE(answer.has_value(), answered);
    if (answered)
        QCOMPARE(*answer, 5);
}

QTEST_MAIN(TestNumberDlg)
#include "test_numberdlg.moc"
