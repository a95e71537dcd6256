#include "csortlistctrl.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {
QStringList column(const CSortListCtrl& list, int col)
{
    QStringList out;
    for (int r = 0; r < list.GetItemCount(); ++r)
        out << list.GetItemText(r, col);
    return out;
}
} // namespace

class TestSortListCtrl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void headings();
    void compare_data();
    void compare();
    void sortByColumn_data();
    void sortByColumn();
    void clickingTogglesDirection();
    void sortKeepsRowsTogether();
    void layoutRoundTrip();
    void layoutForOtherShapeRefused();
};

void TestSortListCtrl::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("tamvo-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("test_sortlistctrl"));
}

void TestSortListCtrl::headings()
{
    CSortListCtrl list;
    QVERIFY(list.SetHeadings("代号,60;名称,150"));
    QCOMPARE(list.GetColumnCount(), 2);
    QCOMPARE(list.headerItem()->text(0), QStringLiteral("代号"));
    QCOMPARE(list.headerItem()->text(1), QStringLiteral("名称"));
    QCOMPARE(list.columnWidth(0), 60);
    QCOMPARE(list.columnWidth(1), 150);
    QVERIFY(list.SetHeadings("地点,240"));
    QCOMPARE(list.GetColumnCount(), 1);
    QCOMPARE(list.columnWidth(0), 240);
    QVERIFY(!list.SetHeadings(""));
}

void TestSortListCtrl::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("digits as numbers") << "9" << "10" << -1;
    QTest::newRow("equal numbers") << "007" << "7" << 0;
    QTest::newRow("numbers beyond int") << "123456789012345678901" << "99" << 1;
    QTest::newRow("dates by year first") << "31/12/2004" << "01/01/2005" << -1;
    QTest::newRow("dates by month before day") << "02/03/2005" << "01/04/2005" << -1;
    QTest::newRow("same date") << "18/03/2005" << "18/03/2005" << 0;
    QTest::newRow("text in locale order") << "abc" << "abd" << -1;
    QTest::newRow("text after text") << "banana" << "cherry" << -1;
    QTest::newRow("date text with letters is text") << "18/03/05xx" << "18/03/2005" << 1;
    QTest::newRow("numbers before other texts") << "12" << "1a" << -1;
}

void TestSortListCtrl::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int r = CSortListCtrl::CompareTexts(a, b);
    QCOMPARE((r > 0) - (r < 0), sign);
    const int back = CSortListCtrl::CompareTexts(b, a);
    QCOMPARE((back > 0) - (back < 0), -sign);
}

void TestSortListCtrl::sortByColumn_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("ascending");
    QTest::newRow("numbers") << QStringList{"10", "9", "100", "1"} << QStringList{"1", "9", "10", "100"};
    QTest::newRow("dates") << QStringList{"01/02/2006", "15/01/2006", "31/12/2005"}
                           << QStringList{"31/12/2005", "15/01/2006", "01/02/2006"};
    QTest::newRow("texts") << QStringList{"b", "c", "a"} << QStringList{"a", "b", "c"};
    QTest::newRow("mixed kinds") << QStringList{"x", "01/01/2005", "3", "12"}
                                 << QStringList{"3", "12", "01/01/2005", "x"};
}

void TestSortListCtrl::sortByColumn()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, ascending);
    CSortListCtrl list;
    list.SetHeadings("值,100");
    for (const QString& t : texts)
        list.AddItem({t});
    list.SortColumn(0, true);
    QCOMPARE(column(list, 0), ascending);
    list.SortColumn(0, false);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(column(list, 0), descending);
}

void TestSortListCtrl::clickingTogglesDirection()
{
    CSortListCtrl list;
    list.SetHeadings("代号,60;名称,150");
    list.AddItem({"2", "b"});
    list.AddItem({"10", "a"});
    list.AddItem({"1", "c"});
    // A click on the heading itself sorts.
    emit list.header()->sectionClicked(0);
    QCOMPARE(column(list, 0), (QStringList{"1", "2", "10"}));
    QVERIFY(list.IsSortAscending());
    QVERIFY(list.header()->isSortIndicatorShown());
    QCOMPARE(list.header()->sortIndicatorOrder(), Qt::AscendingOrder);
    list.ClickHeading(0);
    QCOMPARE(column(list, 0), (QStringList{"10", "2", "1"}));
    QCOMPARE(list.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    // Another column starts ascending again.
    list.ClickHeading(1);
    QCOMPARE(column(list, 1), (QStringList{"a", "b", "c"}));
    QCOMPARE(list.GetSortColumn(), 1);
    QVERIFY(list.IsSortAscending());
}

void TestSortListCtrl::sortKeepsRowsTogether()
{
    CSortListCtrl list;
    list.SetHeadings("代号,60;名称,150");
    list.AddItem({"YY", "大白"});
    list.AddItem({"DD", "杜洛克"});
    list.SortColumn(0, true);
    QCOMPARE(list.GetItemText(0, 1), QStringLiteral("杜洛克"));
    QCOMPARE(list.FindItem("YY"), 1);
}

void TestSortListCtrl::layoutRoundTrip()
{
    {
        CSortListCtrl list(nullptr, 4321);
        list.SetHeadings("代号,60;名称,150;备注,80");
        list.setColumnWidth(1, 222);
        list.header()->moveSection(2, 0); // 备注 first
        list.SaveColumnInfo();
    }
    const QByteArray stored = QSettings().value("ListCtrls/4321").toByteArray();
    QVERIFY(!stored.isEmpty());
    CSortListCtrl list(nullptr, 4321);
    list.SetHeadings("代号,60;名称,150;备注,80");
    QVERIFY(list.LoadColumnInfo());
    QCOMPARE(list.columnWidth(1), 222);
    QCOMPARE(list.header()->visualIndex(2), 0);
    QCOMPARE(list.header()->visualIndex(0), 1);
    // A list that never saved keeps its headings' widths.
    CSortListCtrl fresh(nullptr, 4322);
    fresh.SetHeadings("地点,240");
    QVERIFY(!fresh.LoadColumnInfo());
    QCOMPARE(fresh.columnWidth(0), 240);
}

void TestSortListCtrl::layoutForOtherShapeRefused()
{
    CSortListCtrl two;
    two.SetHeadings("代号,60;名称,150");
    const QByteArray layout = two.ColumnLayout();
    CSortListCtrl one;
    one.SetHeadings("毛色,150");
    QVERIFY(!one.SetColumnLayout(layout));
    QVERIFY(!one.SetColumnLayout(QByteArray("garbage")));
    QCOMPARE(one.columnWidth(0), 150);
}

QTEST_MAIN(TestSortListCtrl)
#include "test_sortlistctrl.moc"
