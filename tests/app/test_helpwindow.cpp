#include "helpwindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

void writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// A two-page manual with a picture: enough to show the contents tree, the order of the
// pages, anchors made for headings without one, and the search across pages.
void writeManual(const QString& dir)
{
    writeFile(dir + "/index.html",
              "<html><body><h1>使用手册</h1><p>首页</p>"
              "<h2>主窗口</h2><p>菜单和工具栏。</p><img src=\"pic.png\">"
              "<h2 id=\"keys\">快捷键</h2><p>Ctrl+D 打开种猪档案。</p>"
              "<p><a href=\"reminders.html#due\">待配提醒</a> <a href=\"https://example.org/\">网站</a></p>"
              "</body></html>");
    writeFile(dir + "/reminders.html",
              "<html><body><h1>日常提醒</h1><p>每天早上查看。</p>"
              "<h2 id=\"due\">母猪待配提醒</h2><p>断奶后七天的母猪在这里列出，种猪档案里的状态随之变化。</p>"
              "<h3>颜色</h3><p>红色表示超期。</p></body></html>");
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(dir + "/pic.png"));
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT
private slots:
    void contentsFollowThePagesHeadings();
    void topicsOpenTheirPageAtTheHeading();
    void searchListsEverySectionThatHoldsTheWords();
    void linksInsideTheManualStayInTheWindow();
};

void TestHelpWindow::contentsFollowThePagesHeadings()
{
    QTemporaryDir dir;
    writeManual(dir.path());
    CHelpWindow help(dir.path() + "/index.html");
    QStringList titles;
    QList<int> levels;
    for (const auto& t : help.topics()) {
        titles << t.title;
        levels << t.level;
    }
    QCOMPARE(titles, (QStringList{"使用手册", "主窗口", "快捷键", "日常提醒", "母猪待配提醒", "颜色"}));
    QCOMPARE(levels, (QList<int>{1, 2, 2, 1, 2, 3}));
    // One tree per page, sections under their page title.
    QCOMPARE(help.contents()->topLevelItemCount(), 2);
    QCOMPARE(help.contents()->topLevelItem(0)->childCount(), 2);
    QCOMPARE(help.contents()->topLevelItem(1)->child(0)->child(0)->text(0), QStringLiteral("颜色"));
    // A heading's own id is kept as its anchor.
    QCOMPARE(help.topics().at(2).url.fragment(), QStringLiteral("keys"));
}

void TestHelpWindow::topicsOpenTheirPageAtTheHeading()
{
    QTemporaryDir dir;
    writeManual(dir.path());
    CHelpWindow help(dir.path() + "/index.html");
    QVERIFY(help.currentUrl().toLocalFile().endsWith("/index.html"));
    QVERIFY(help.browser()->toPlainText().contains("菜单和工具栏"));
    // The picture is found beside the page.
    QVERIFY(!help.browser()->document()->resource(QTextDocument::ImageResource, QUrl("pic.png")).isNull());

    help.showTopic(help.topics().at(5).url);
    QVERIFY(help.currentUrl().toLocalFile().endsWith("/reminders.html"));
    QVERIFY(help.browser()->toPlainText().contains("红色表示超期"));
}

void TestHelpWindow::searchListsEverySectionThatHoldsTheWords()
{
    QTemporaryDir dir;
    writeManual(dir.path());
    CHelpWindow help(dir.path() + "/index.html");
    // "种猪档案" stands in one section of each page.
    QCOMPARE(help.search("种猪档案"), 2);
    QCOMPARE(help.results()->topLevelItem(0)->text(0), QStringLiteral("快捷键"));
    QCOMPARE(help.results()->topLevelItem(1)->text(0), QStringLiteral("母猪待配提醒"));
    QVERIFY(help.browser()->textCursor().hasSelection());
    QCOMPARE(help.browser()->textCursor().selectedText(), QStringLiteral("种猪档案"));

    QCOMPARE(help.search("没有这个词"), 0);
    QCOMPARE(help.results()->topLevelItemCount(), 0);
    QCOMPARE(help.search("  "), 0);
}

void TestHelpWindow::linksInsideTheManualStayInTheWindow()
{
    QTemporaryDir dir;
    writeManual(dir.path());
    CHelpWindow help(dir.path() + "/index.html");
    emit help.browser()->anchorClicked(QUrl("reminders.html#due"));
    QVERIFY(help.currentUrl().toLocalFile().endsWith("/reminders.html"));
    QVERIFY(help.browser()->toPlainText().contains("断奶后七天"));
}

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
