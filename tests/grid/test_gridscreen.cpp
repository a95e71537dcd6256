#include "cfinddlg.h"
#include "cnumberdlg.h"
#include "dbrecordset.h"
#include "gridpane.h"
#include "gridprinter.h"
#include "gridscreen.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A small data-entry screen: ear tags in column 1, a sex combo in column 2, a remark in
// column 4 written to the database at once (as the archive does), inside the screen's
// lazy transaction.
class EntryScreen : public CGridScreen
{
public:
    EntryScreen(const QString& title, const QString& caption, const QStringList& tags)
        : CGridScreen(32771, 0)
        , m_tags(tags)
    {
        setTitle(title);
        setCloseCaption(caption);
        setOffers(OfferEntry);
    }

    int saves = 0;
    int discards = 0;

protected:
    void loadScreen() override
    {
        CComboGridCtrl* g = grid();
        g->SetColumnCount(5);
        g->SetRowCount(2 + m_tags.size());
        g->SetFixedRowCount(2);
        g->SetFixedColumnCount(2);
        const QStringList heads{QStringLiteral("序号"), QStringLiteral("耳号"), QStringLiteral("基本资料"), QString(),
                                QStringLiteral("备注")};
        for (int c = 0; c < heads.size(); ++c) {
            g->SetItemText(0, c, heads.at(c));
            g->SetItemFormat(0, c, GridFormat::Center | GridFormat::VCenter | GridFormat::SingleLine);
        }
        g->SetItemText(1, 2, QStringLiteral("性别"));
        g->SetItemText(1, 3, QStringLiteral("胎次"));
        for (int c : {0, 1, 4})
            g->SetFixedCellCombine(0, c, 2, 1);
        g->SetFixedCellCombine(0, 2, 1, 2);
        for (int i = 0; i < m_tags.size(); ++i) {
            g->SetItemText(2 + i, 0, QString::number(i + 1));
            g->SetItemText(2 + i, 1, m_tags.at(i));
            g->SetItemText(2 + i, 2, i % 2 ? QStringLiteral("M") : QStringLiteral("F"));
            g->SetItemText(2 + i, 3, QString::number(i % 5 + 1));
        }
        g->AddComboColumn(2, {QStringLiteral("M"), QStringLiteral("F")});
        g->ADDNumColumn(3);
        g->AutoSize();
        connect(g, &CGridCtrl::beginEdit, this, [this](int r, int c) { m_old = grid()->GetItemText(r, c); });
        connect(g, &CGridCtrl::endEdit, this, &EntryScreen::storeRemark);
    }

    bool save() override
    {
        ++saves;
        return CGridScreen::save();
    }

    void discard() override
    {
        ++discards;
        CGridScreen::discard();
    }

private:
    void storeRemark(int row, int col)
    {
        const QString text = grid()->GetItemText(row, col);
        if (col != 4 || text == m_old)
            return;
        if (!beginWrite(row, col, m_old))
            return;
        CDbRecordset rs(&connection());
        if (!rs.Open(QStringLiteral("select * from 毛色表 where 1=0")) || !rs.AddNew() || !rs.SetFieldText(0, text)
            || !rs.Update()) {
            grid()->SetItemText(row, col, m_old);
            return;
        }
        setModified(true);
    }

    QStringList m_tags;
    QString m_old;
};

const QStringList kTags{QStringLiteral("LL0000000000001"), QStringLiteral("LL0000000000002"), QStringLiteral("DD0000000000001"),
                        QStringLiteral("LL0000000000003")};

struct ScreenFixture {
    TempHerdDb db;
    EntryScreen screen{QStringLiteral("输入种猪档案"), QStringLiteral("种猪档案"), kTags};
    ScreenFixture()
    {
        screen.setDatabasePath(db.path());
        screen.resize(700, 400);
        QVERIFY(screen.initialUpdate());
    }
    CComboGridCtrl& grid() { return *screen.grid(); }
};

QString selectedRow(const CGridCtrl& grid)
{
    const CCellRange r = grid.GetSelectedRange();
    if (!r.IsValid())
        return QStringLiteral("-");
    if (r.minRow != r.maxRow || r.minCol != grid.GetFixedColumnCount() || r.maxCol != grid.GetColumnCount() - 1)
        return QStringLiteral("?");
    return QString::number(r.minRow);
}

} // namespace

class TestGridScreen : public QObject
{
    Q_OBJECT
private slots:
    void setUpBuildsTheGridOnTheScreensDatabase();
    void setUpWithoutDatabaseShowsTheMessageAndAnEmptyGrid();
    void showingAScreenSetsItUpOnTheDefaultDatabase();
    void commandEnabling_data();
    void commandEnabling();
    void toggleCommandsCarryCheckMarks_data();
    void toggleCommandsCarryCheckMarks();
    void search_data();
    void search();
    void findWindowKeepsItsTextAndIgnoresAnEmptyText();
    void findWindowGoesThroughTheFramesRelay();
    void freezeAsksTheNumberDialog_data();
    void freezeAsksTheNumberDialog();
    void insertAndAddRows();
    void findingNothingSaysSo();
    void closeQuestion_data();
    void closeQuestion();
    void closingThreeModifiedScreensAsksThreeTimes();
    void secondWriterIsRefusedNamingTheFirst();
    void printCommandsUseTheSharedPrintingPath();
    void screenshotOfAGridScreen();
};

void TestGridScreen::setUpBuildsTheGridOnTheScreensDatabase()
{
    ScreenFixture f;
    QVERIFY(f.screen.isConnected());
    QCOMPARE(f.screen.connection().DatabasePath(), f.db.path());
    QCOMPARE(f.screen.windowTitle(), QStringLiteral("输入种猪档案"));
    QCOMPARE(f.grid().objectName(), QStringLiteral("1001"));
    QCOMPARE(f.grid().GetRowCount(), 6);
    QCOMPARE(f.grid().GetItemText(2, 1), kTags.first());
    // No transaction until the first write.
    QCOMPARE(f.screen.connection().TransLevel(), 0);
    // Set-up runs once.
    QVERIFY(f.screen.initialUpdate());
    QCOMPARE(f.grid().GetRowCount(), 6);
}

void TestGridScreen::setUpWithoutDatabaseShowsTheMessageAndAnEmptyGrid()
{
    ScriptedMessages messages;
    EntryScreen screen(QStringLiteral("输入种猪档案"), QStringLiteral("种猪档案"), kTags);
    screen.setDatabasePath(QDir::temp().filePath(QStringLiteral("no-such-folder/lumbodata.db")));
    QVERIFY(!screen.initialUpdate());
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().at(0).text, QStringLiteral("数据库连接失败!"));
    QCOMPARE(messages.shown().at(0).caption, QStringLiteral("塔沃种猪管理大师"));
    QCOMPARE(messages.shown().at(0).icon, MsgIcon::Warning);
    QCOMPARE(screen.grid()->GetRowCount(), 0);
}

void TestGridScreen::showingAScreenSetsItUpOnTheDefaultDatabase()
{
    TempHerdDb db;
    CGridScreen::setDefaultDatabasePath(db.path());
    EntryScreen screen(QStringLiteral("输入种猪档案"), QStringLiteral("种猪档案"), kTags);
    QVERIFY(!screen.isSetUp());
    screen.show();
    QVERIFY(screen.isSetUp());
    QCOMPARE(screen.connection().DatabasePath(), db.path());
    QCOMPARE(screen.grid()->GetRowCount(), 6);
    CGridScreen::setDefaultDatabasePath(QString());
}

void TestGridScreen::commandEnabling_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<unsigned>("offers");
    QTest::addColumn<int>("focusRow"); // -1: no current cell
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("copyAlways");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<bool>("enabled");
    const unsigned all = CGridScreen::OfferEntry;
    const unsigned list = CGridScreen::OfferCopy | CGridScreen::OfferFind | CGridScreen::OfferGrid | CGridScreen::OfferPrint;
    QTest::newRow("save while modified") << 32777 << all << -1 << true << false << true << true;
    QTest::newRow("save unmodified") << 32777 << all << 3 << false << false << true << false;
    QTest::newRow("save not offered") << 32777 << list << 3 << true << false << true << false;
    QTest::newRow("cut on a data row") << 32778 << all << 3 << false << false << true << true;
    QTest::newRow("cut without a row") << 32778 << all << -1 << false << false << true << false;
    QTest::newRow("cut on a header row") << 32778 << all << 1 << false << false << true << false;
    QTest::newRow("copy on a data row") << 32779 << all << 3 << false << false << true << true;
    QTest::newRow("copy without a row (entry)") << 32779 << all << -1 << false << false << true << false;
    QTest::newRow("copy without a row (lists)") << 32779 << list << -1 << false << true << true << true;
    QTest::newRow("paste with text") << 32780 << all << 3 << false << false << true << true;
    QTest::newRow("paste without text") << 32780 << all << 3 << false << false << false << false;
    QTest::newRow("paste without a row") << 32780 << all << -1 << false << false << true << false;
    QTest::newRow("insert on a data row") << 32781 << all << 2 << false << false << true << true;
    QTest::newRow("insert without a row") << 32781 << all << -1 << false << false << true << false;
    QTest::newRow("delete on a data row") << 32782 << all << 2 << false << false << true << true;
    QTest::newRow("add") << 32783 << all << -1 << false << false << true << true;
    QTest::newRow("add not offered") << 32783 << list << -1 << false << false << true << false;
    QTest::newRow("find") << 32784 << list << -1 << false << false << true << true;
    QTest::newRow("freeze columns") << 32795 << list << -1 << false << false << true << true;
    QTest::newRow("freeze rows") << 32796 << list << -1 << false << false << true << true;
    QTest::newRow("print") << 57607 << list << -1 << false << false << true << true;
    QTest::newRow("print at once") << 57608 << list << -1 << false << false << true << true;
    QTest::newRow("preview") << 57609 << list << -1 << false << false << true << true;
    QTest::newRow("print not offered") << 57607 << unsigned(CGridScreen::OfferCopy) << -1 << false << false << true << false;
    QTest::newRow("not a screen command") << 32888 << all << 3 << true << false << true << false;
}

void TestGridScreen::commandEnabling()
{
    QFETCH(int, command);
    QFETCH(unsigned, offers);
    QFETCH(int, focusRow);
    QFETCH(bool, modified);
    QFETCH(bool, copyAlways);
    QFETCH(bool, clipboardText);
    QFETCH(bool, enabled);

    class Configurable : public EntryScreen
    {
    public:
        Configurable(unsigned offers, bool copyAlways)
            : EntryScreen(QStringLiteral("t"), QStringLiteral("t"), kTags)
        {
            setOffers(offers);
            setCopyRule(copyAlways ? CopyRule::Always : CopyRule::DataRow);
        }
    };
    TempHerdDb db;
    Configurable screen(offers, copyAlways);
    screen.setDatabasePath(db.path());
    QVERIFY(screen.initialUpdate());
    if (clipboardText)
        QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    else
        QGuiApplication::clipboard()->clear();
    screen.grid()->SetFocusCell(focusRow, focusRow < 0 ? -1 : 2);
    screen.setModified(modified);
    bool checked = true;
    QCOMPARE(screen.commandEnabled(command, &checked), enabled);
    QVERIFY(!checked);
}

void TestGridScreen::toggleCommandsCarryCheckMarks_data()
{
    QTest::addColumn<QList<int>>("toggles");
    QTest::addColumn<int>("lineMode");
    QTest::addColumn<bool>("rowResize");
    QTest::addColumn<bool>("colResize");
    QTest::newRow("as set up") << QList<int>{} << 3 << true << true;
    QTest::newRow("horizontal off") << QList<int>{32790} << 2 << true << true;
    QTest::newRow("vertical off") << QList<int>{32791} << 1 << true << true;
    QTest::newRow("both off") << QList<int>{32790, 32791} << 0 << true << true;
    QTest::newRow("off and on again") << QList<int>{32790, 32790} << 3 << true << true;
    QTest::newRow("no row resizing") << QList<int>{32792} << 3 << false << true;
    QTest::newRow("no column resizing") << QList<int>{32793} << 3 << true << false;
}

void TestGridScreen::toggleCommandsCarryCheckMarks()
{
    QFETCH(QList<int>, toggles);
    QFETCH(int, lineMode);
    QFETCH(bool, rowResize);
    QFETCH(bool, colResize);
    ScreenFixture f;
    for (int id : toggles)
        QVERIFY(f.screen.runCommand(id));
    QCOMPARE(f.grid().GetGridLines(), lineMode);
    QCOMPARE(f.grid().GetRowResize(), rowResize);
    QCOMPARE(f.grid().GetColumnResize(), colResize);
    const bool marks[] = {bool(lineMode & 1), bool(lineMode & 2), rowResize, colResize};
    const int ids[] = {32790, 32791, 32792, 32793};
    for (int i = 0; i < 4; ++i) {
        bool checked = !marks[i];
        QVERIFY(f.screen.commandEnabled(ids[i], &checked));
        QCOMPARE(checked, marks[i]);
    }
}

void TestGridScreen::search_data()
{
    // Steps: "d:TEXT" / "u:TEXT" searches, "find" chooses the find command. After each
    // step: the selected row ("-" none) and the find position.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QList<int>>("positions");
    // Rows: 0 and 1 fixed; 2 LL..1, 3 LL..2, 4 DD..1, 5 LL..3.
    QTest::newRow("down twice finds the first and then the second")
        << QStringList{"find", "d:LL", "d:LL"} << QStringList{"-", "2", "3"} << QList<int>{1, 3, 4};
    QTest::newRow("down past the last match finds nothing and keeps the position")
        << QStringList{"find", "d:DD", "d:DD"} << QStringList{"-", "4", "4"} << QList<int>{1, 5, 5};
    QTest::newRow("a match on the last row starts again from row 1")
        << QStringList{"find", "d:LL0000000000003", "d:LL"} << QStringList{"-", "5", "2"} << QList<int>{1, 6, 3};
    QTest::newRow("the find command starts again from row 1")
        << QStringList{"find", "d:LL", "d:LL", "find", "d:LL"} << QStringList{"-", "2", "3", "3", "2"}
        << QList<int>{1, 3, 4, 1, 3};
    QTest::newRow("up starts at the last row")
        << QStringList{"find", "u:LL", "u:LL", "u:LL"} << QStringList{"-", "5", "3", "2"} << QList<int>{1, 4, 2, 1};
    QTest::newRow("up below row 2 starts again at the last row")
        << QStringList{"find", "u:LL", "u:LL", "u:LL", "u:LL"} << QStringList{"-", "5", "3", "2", "5"}
        << QList<int>{1, 4, 2, 1, 4};
    QTest::newRow("a part of the ear tag finds it")
        << QStringList{"find", "d:0000000000001", "d:0000000000001"} << QStringList{"-", "2", "4"} << QList<int>{1, 3, 5};
    QTest::newRow("an empty text does nothing") << QStringList{"find", "d:"} << QStringList{"-", "-"} << QList<int>{1, 1};
    QTest::newRow("case matters") << QStringList{"find", "d:ll"} << QStringList{"-", "-"} << QList<int>{1, 1};
}

void TestGridScreen::search()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, selected);
    QFETCH(QList<int>, positions);
    ScreenFixture f;
    ScriptedMessages msgs;
    for (int i = 0; i < steps.size(); ++i) {
        const QString& s = steps.at(i);
        if (s == QLatin1String("find"))
            QVERIFY(f.screen.runCommand(32784));
        else
            f.screen.findText(s.startsWith(QLatin1Char('d')), s.mid(2));
        QCOMPARE(selectedRow(f.grid()), selected.at(i));
        QCOMPARE(f.screen.findPosition(), positions.at(i));
    }
}

void TestGridScreen::findingNothingSaysSo()
{
    ScreenFixture f;
    ScriptedMessages msgs;
    QVERIFY(f.screen.runCommand(32784));
    f.screen.findText(true, QStringLiteral("XYZ"));
    QCOMPARE(msgs.shown().size(), 1);
    QCOMPARE(msgs.shown().at(0).text, QStringLiteral("没有找到"));
    QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("提示"));
    QCOMPARE(f.screen.findPosition(), 1);
    f.screen.findText(true, QStringLiteral("DD"));
    QCOMPARE(selectedRow(f.grid()), QStringLiteral("4"));
    QCOMPARE(msgs.shown().size(), 1);
}

void TestGridScreen::findWindowKeepsItsTextAndIgnoresAnEmptyText()
{
    ScreenFixture f;
    f.screen.show();
    QVERIFY(f.screen.runCommand(32784));
    CFindDlg* dlg = f.screen.findDialog();
    QVERIFY(dlg && dlg->isVisible());
    QCOMPARE(dlg->windowTitle(), QStringLiteral("查找"));
    QCOMPARE(dlg->prompt(), QStringLiteral("输入您要查找的种猪耳号:"));
    QCOMPARE(dlg->findChild<QLabel*>(QStringLiteral("1004"))->text(), dlg->prompt());
    QVERIFY(dlg->downButton()->isDefault());
    QCOMPARE(dlg->downButton()->text(), QStringLiteral("向下查找"));
    QCOMPARE(dlg->upButton()->text(), QStringLiteral("向上查找"));

    QTest::mouseClick(dlg->downButton(), Qt::LeftButton);
    QCOMPARE(selectedRow(f.grid()), QStringLiteral("-"));
    dlg->textField()->setText(QStringLiteral("DD"));
    QTest::mouseClick(dlg->downButton(), Qt::LeftButton);
    QCOMPARE(selectedRow(f.grid()), QStringLiteral("4"));

    dlg->hide();
    QVERIFY(f.screen.runCommand(32784));
    QCOMPARE(f.screen.findDialog(), dlg); // the same window, with its text
    QCOMPARE(dlg->text(), QStringLiteral("DD"));
    QCOMPARE(f.screen.findPosition(), 1);
    QTest::mouseClick(dlg->upButton(), Qt::LeftButton);
    QCOMPARE(selectedRow(f.grid()), QStringLiteral("4"));
}

void TestGridScreen::findWindowGoesThroughTheFramesRelay()
{
    ScreenFixture f;
    QVERIFY(f.screen.runCommand(32784));
    QStringList relayed;
    const CFindDlg::Relay old = CFindDlg::setRelay([&](bool down, const QString& text) {
        relayed << QStringLiteral("%1 %2").arg(down ? 0 : 1).arg(text);
        f.screen.findText(down, text);
    });
    f.screen.findDialog()->setText(QStringLiteral("LL"));
    f.screen.findDialog()->requestFind(false);
    f.screen.findDialog()->requestFind(true);
    CFindDlg::setRelay(old);
    QCOMPARE(relayed, (QStringList{QStringLiteral("1 LL"), QStringLiteral("0 LL")}));
    QCOMPARE(selectedRow(f.grid()), QStringLiteral("5"));
}

void TestGridScreen::freezeAsksTheNumberDialog_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("answer"); // -1: cancelled
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("fixedAfter");
    QTest::newRow("columns") << 32795 << 3 << QStringLiteral("设置冻结的列数") << 2 << 3;
    QTest::newRow("columns cancelled") << 32795 << -1 << QStringLiteral("设置冻结的列数") << 2 << 2;
    QTest::newRow("no columns") << 32795 << 0 << QStringLiteral("设置冻结的列数") << 2 << 0;
    QTest::newRow("rows") << 32796 << 1 << QStringLiteral("设置冻结的行数") << 2 << 1;
    QTest::newRow("more rows than the grid has") << 32796 << 8 << QStringLiteral("设置冻结的行数") << 2 << 6;
}

void TestGridScreen::freezeAsksTheNumberDialog()
{
    QFETCH(int, command);
    QFETCH(int, answer);
    QFETCH(QString, prompt);
    QFETCH(int, shown);
    QFETCH(int, fixedAfter);
    ScreenFixture f;
    QVector<NumberRequest> asked;
    const CNumberDlg::Answerer old = CNumberDlg::setAnswerer([&](const NumberRequest& r) -> std::optional<int> {
        asked << r;
        return answer < 0 ? std::nullopt : std::optional<int>(answer);
    });
    QVERIFY(f.screen.runCommand(command));
    CNumberDlg::setAnswerer(old);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).prompt, prompt);
    QCOMPARE(asked.at(0).value, shown);
    QVERIFY(!asked.at(0).tabTitle);
    QCOMPARE(command == 32795 ? f.grid().GetFixedColumnCount() : f.grid().GetFixedRowCount(), fixedAfter);
    QCOMPARE(f.grid().GetRowCount(), 6);
    QCOMPARE(f.grid().GetColumnCount(), 5);
}

void TestGridScreen::insertAndAddRows()
{
    ScreenFixture f;
    QVERIFY(!f.screen.runCommand(32781)); // no current row: nothing
    QCOMPARE(f.grid().GetRowCount(), 6);
    f.grid().SetFocusCell(3, 2);
    QVERIFY(f.screen.runCommand(32781));
    QCOMPARE(f.grid().GetRowCount(), 7);
    QCOMPARE(f.grid().GetItemText(3, 0), QStringLiteral("*"));
    QCOMPARE(f.grid().GetItemText(3, 1), QString());
    QCOMPARE(f.grid().GetItemText(4, 1), kTags.at(1));
    QCOMPARE(f.screen.connection().TransLevel(), 0); // nothing written
    // 增加: the cursor waits on the first new row's ear tag.
    QVERIFY(f.screen.runCommand(32783));
    QCOMPARE(f.grid().GetRowCount(), 12);
    QCOMPARE(f.grid().GetFocusCell().row, 7);
    QCOMPARE(f.grid().GetFocusCell().col, 1);
}

void TestGridScreen::closeQuestion_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("discards");
    QTest::addColumn<int>("rowsKept");
    QTest::newRow("yes saves") << true << int(MsgAnswer::Yes) << 1 << 0 << 1;
    QTest::newRow("no discards") << true << int(MsgAnswer::No) << 0 << 1 << 0;
    QTest::newRow("unmodified asks nothing") << false << int(MsgAnswer::Yes) << 0 << 0 << 0;
}

void TestGridScreen::closeQuestion()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(int, saves);
    QFETCH(int, discards);
    QFETCH(int, rowsKept);
    ScriptedMessages messages;
    messages.queue(MsgAnswer(answer));
    ScreenFixture f;
    const QString before = f.db.scalar(QStringLiteral("select count(*) from 毛色表"));
    if (modified)
        QVERIFY(f.grid().EditCell(3, 4, QStringLiteral("花斑")));
    QCOMPARE(f.screen.isModified(), modified);
    QVERIFY(f.screen.queryClose());
    QCOMPARE(messages.shown().size(), modified ? 1 : 0);
    if (modified) {
        const AppMessage& m = messages.shown().at(0);
        QCOMPARE(m.text, QStringLiteral("记录已经修改，要保存吗？"));
        QCOMPARE(m.caption, QStringLiteral("种猪档案"));
        QCOMPARE(m.icon, MsgIcon::Warning);
        QCOMPARE(m.buttons, MsgButtons::YesNo);
    }
    QCOMPARE(f.screen.saves, saves);
    QCOMPARE(f.screen.discards, discards);
    QVERIFY(!f.screen.isModified());
    QCOMPARE(f.screen.connection().TransLevel(), 0);
    QCOMPARE(f.db.scalar(QStringLiteral("select count(*) from 毛色表")).toInt(), before.toInt() + rowsKept);
}

void TestGridScreen::closingThreeModifiedScreensAsksThreeTimes()
{
    ScriptedMessages messages;
    TempHerdDb db;
    const QStringList captions{QStringLiteral("种猪档案"), QStringLiteral("配种纪录"), QStringLiteral("产仔纪录")};
    std::vector<std::unique_ptr<EntryScreen>> screens;
    for (const QString& c : captions) {
        screens.push_back(std::make_unique<EntryScreen>(c, c, kTags));
        screens.back()->setDatabasePath(db.path());
        QVERIFY(screens.back()->initialUpdate());
        screens.back()->setModified(true);
    }
    for (auto& s : screens)
        QVERIFY(s->queryClose());
    QCOMPARE(messages.shown().size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(messages.shown().at(i).caption, captions.at(i));
}

void TestGridScreen::secondWriterIsRefusedNamingTheFirst()
{
    ScriptedMessages messages;
    TempHerdDb db;
    EntryScreen first(QStringLiteral("输入种猪档案"), QStringLiteral("种猪档案"), kTags);
    EntryScreen second(QStringLiteral("输入配种记录"), QStringLiteral("配种纪录"), kTags);
    for (EntryScreen* s : {&first, &second}) {
        s->setDatabasePath(db.path());
        QVERIFY(s->initialUpdate());
    }
    second.grid()->SetItemText(2, 4, QStringLiteral("旧"));
    QVERIFY(first.grid()->EditCell(2, 4, QStringLiteral("银灰")));
    QCOMPARE(first.connection().TransLevel(), 1);
    QVERIFY(messages.shown().isEmpty());

    QVERIFY(second.grid()->EditCell(2, 4, QStringLiteral("乌金")));
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().at(0).caption, QStringLiteral("警告"));
    QVERIFY(messages.shown().at(0).text.contains(QStringLiteral("“输入种猪档案”")));
    QCOMPARE(second.grid()->GetItemText(2, 4), QStringLiteral("旧")); // the cell is restored
    QVERIFY(!second.isModified());
    // Readers see the last saved state meanwhile.
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 毛色表 where 毛色='银灰'")), QStringLiteral("0"));

    QVERIFY(first.runCommand(32777));
    QCOMPARE(first.saves, 1);
    QCOMPARE(first.connection().TransLevel(), 0);
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 毛色表 where 毛色='银灰'")), QStringLiteral("1"));
    QVERIFY(second.grid()->EditCell(2, 4, QStringLiteral("乌金")));
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(second.isModified());
    QVERIFY(second.queryClose()); // answered No: rolled back
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 毛色表 where 毛色='乌金'")), QStringLiteral("0"));
}

void TestGridScreen::printCommandsUseTheSharedPrintingPath()
{
    ScreenFixture f;
    QList<PrintService::Mode> modes;
    QTemporaryDir dir;
    const PrintService::Handler old = PrintService::setHandler([&](PrintService::Mode m, const PrintService::Render& render) {
        modes << m;
        QVERIFY(PrintService::toPdf(render, dir.filePath(QStringLiteral("p%1.pdf")).arg(modes.size())));
    });
    QVERIFY(f.screen.runCommand(57607));
    QVERIFY(f.screen.runCommand(57608));
    QVERIFY(f.screen.runCommand(57609));
    PrintService::setHandler(old);
    QCOMPARE(modes, (QList<PrintService::Mode>{PrintService::Mode::Dialog, PrintService::Mode::Direct, PrintService::Mode::Preview}));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("p3.pdf"))).size() > 1000);
}

void TestGridScreen::screenshotOfAGridScreen()
{
    // With TAMVO_SHOTS set, leaves a picture of the screen and its printed page there.
    ScreenFixture f;
    f.grid().SetPrintHead(QStringLiteral("XXXXXX公司"), QStringLiteral("种猪档案"));
    f.screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.screen));
    CGridPane* body = f.grid().bodyView();
    const QModelIndex sex = f.grid().model()->index(3, 2);
    f.grid().SetFocusCell(3, 2);
    f.grid().SetSelectedRange(4, 2, 5, 4);
    body->edit(sex);
    QVERIFY(body->findChild<QComboBox*>());
    const QString dir = qEnvironmentVariable("TAMVO_SHOTS");
    if (dir.isEmpty())
        return;
    QVERIFY(f.screen.grab().save(QDir(dir).filePath(QStringLiteral("gridscreen.png"))));
    QVERIFY(CGridPrinter::printToPdf(&f.grid(), QDir(dir).filePath(QStringLiteral("gridscreen.pdf"))));
    // The real preview window, pictured and closed.
    bool shown = false;
    QTimer::singleShot(800, this, [&] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            preview->resize(1000, 700);
            shown = preview->grab().save(QDir(dir).filePath(QStringLiteral("gridpreview.png")));
            preview->close();
        }
    });
    QVERIFY(f.screen.runCommand(57609));
    QVERIFY(shown);
}

QTEST_MAIN(TestGridScreen)
#include "test_gridscreen.moc"
