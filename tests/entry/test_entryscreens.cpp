#include "appclock.h"
#include "cinfeiview.h"
#include "cinpeiview.h"
#include "gridpane.h"
#include "ctamvoview.h"
#include "entryfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {
const QString gilt = QStringLiteral("LLYY00000000001");
const QString boar = QStringLiteral("DDAB00000000009");
}

// The archive and mating screens driven as a user drives them: cell edits through the
// grid, commands, the close question, and the write lock between windows.
class TestEntryScreens : public QObject
{
    Q_OBJECT


private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2003, 1, 1), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void archiveLoads()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,毛色,不存在) values('LLYY00000000002','F','白','no'),"
                                       "('%1','F',NULL,'no'),('%2','M',NULL,'no'),('LLYY00000000003','F',NULL,'yes')").arg(gilt, boar)));
        auto v = openScreen<CTamvoView>(db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("输入种猪记录"));
        QCOMPARE(g->GetColumnCount(), 26);
        QCOMPARE(g->GetFixedRowCount(), 1);
        QCOMPARE(g->GetFixedColumnCount(), 2);
        QCOMPARE(g->GetItemText(0, 5), QStringLiteral("入群时间"));
        QCOMPARE(g->GetItemText(0, 25), QStringLiteral("母母母"));
        QCOMPARE(g->GetRowCount(), 4);
        QCOMPARE(g->GetItemText(1, 1), boar);
        QCOMPARE(g->GetItemText(3, 0), QStringLiteral("3"));
        QCOMPARE(g->GetItemText(3, 3), QStringLiteral("白"));
        QCOMPARE(g->comboItems(2), (QStringList{"M", "F"}));
        QVERIFY(g->comboItems(3).contains(QStringLiteral("白")));
        QVERIFY(g->isNumColumn(8) && g->isNumColumn(11) && !g->isNumColumn(9));
        QCOMPARE(v->summaryText(), QStringLiteral("猪场共有种猪3头，其中母猪2头，公猪1头。"));
    }

    void archiveEditsAndTheirMessages()
    {
        TempHerdDb db;
        ScriptedMessages msgs;
        auto v = openScreen<CTamvoView>(db);
        CComboGridCtrl* g = v->grid();
        bool checked = false;
        QVERIFY(!v->commandEnabled(Save, &checked));
        QVERIFY(v->runCommand(Add));
        QCOMPARE(g->GetRowCount(), 6);
        // A short tag: refused, the cell keeps its old (empty) text.
        QVERIFY(g->EditCell(1, 1, QStringLiteral("LLYY0000000000")));
        QCOMPARE(g->GetItemText(1, 1), QString());
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).text, ValueRules::earTagLengthText());
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        // Typing on a row without a tag empties the cell.
        QVERIFY(g->EditCell(1, 9, QStringLiteral("1.2")));
        QCOMPARE(g->GetItemText(1, 9), QString());
        QCOMPARE(msgs.shown().at(1).text, QStringLiteral("请先填入耳号"));
        QCOMPARE(msgs.shown().at(1).caption, QStringLiteral("警告"));
        QCOMPARE(msgs.shown().at(1).icon, MsgIcon::Warning);
        QVERIFY(!v->isModified());
        // A new card, then its fields.
        QVERIFY(g->EditCell(1, 1, gilt));
        QVERIFY(v->isModified());
        QVERIFY(v->commandEnabled(Save, &checked));
        QVERIFY(g->EditCell(1, 8, QStringLiteral("20020230")));
        QCOMPARE(msgs.shown().last().text, QStringLiteral("出生日期：日期无效\n\n20020230 不是日历上的日期（格式:YYYYMMDD）"));
        QCOMPARE(g->GetItemText(1, 8), QString());
        QVERIFY(g->EditCell(1, 8, QStringLiteral("20020228")));
        QVERIFY(g->EditCell(1, 2, QStringLiteral("F")));
        // The same tag on a second row: refused, no second card.
        QVERIFY(g->EditCell(2, 1, gilt));
        QCOMPARE(g->GetItemText(2, 1), QString());
        QCOMPARE(msgs.shown().last().text, QStringLiteral("耳号LLYY00000000001已经存在，不能重复建立种猪档案"));
        // Nothing is saved until "保存".
        QCOMPARE(db.rows(QStringLiteral("select count(*) from 种猪卡")), QStringList{"0"});
        QVERIFY(v->runCommand(Save));
        QVERIFY(!v->isModified());
        QCOMPARE(db.rows(QStringLiteral("select 耳号,性别,出生日期,不存在 from 种猪卡")), QStringList{gilt + "|F|20020228|no"});
    }

    // The ear tag stays in view in a frozen column and is still typed there; the row
    // number and the headers are not editable.
    void earTagTypedInTheFrozenColumn()
    {
        TempHerdDb db;
        ScriptedMessages msgs;
        auto v = openScreen<CTamvoView>(db);
        v->resize(800, 380);
        v->show();
        QVERIFY(v->runCommand(Add));
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->IsCellEditable(1, 1));
        QVERIFY(!g->IsCellEditable(1, 0));
        QVERIFY(!g->IsCellEditable(0, 1));
        CGridPane* left = nullptr;
        for (CGridPane* p : g->findChildren<CGridPane*>())
            if (p->kind() == CGridPane::Left)
                left = p;
        QVERIFY(left);
        left->setFocus();
        g->SetFocusCell(1, 1);
        QTest::keyClick(left, Qt::Key_F2);
        auto* editor = left->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        QTest::keyClicks(editor, gilt);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(g->GetItemText(1, 1), gilt);
        QVERIFY(v->isModified());
        QVERIFY(msgs.shown().isEmpty());
        // Opening and leaving an empty tag cell is no edit and no message.
        g->SetFocusCell(2, 1);
        QTest::keyClick(left, Qt::Key_F2);
        QTRY_VERIFY((editor = left->viewport()->findChild<QLineEdit*>()) && editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!g->IsEditing());
        QVERIFY(msgs.shown().isEmpty());
    }

    void archiveDeleteAndNoAtClosing()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','F','no')").arg(gilt)));
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次) values('%1','1')").arg(gilt)));
        QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,仔猪耳号) values('%1','a')").arg(gilt)));
        ScriptedMessages msgs;
        auto v = openScreen<CTamvoView>(db);
        v->grid()->SetFocusCell(1, 3);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(v->grid()->GetRowCount(), 1);
        QVERIFY(v->isModified());
        msgs.queue(MsgAnswer::No);
        QVERIFY(v->queryClose());
        QCOMPARE(msgs.shown().last().text, QStringLiteral("记录已经修改，要保存吗？"));
        QCOMPARE(msgs.shown().last().caption, QStringLiteral("种猪档案"));
        QCOMPARE(msgs.shown().last().buttons, MsgButtons::YesNo);
        for (const char* table : {"种猪卡", "配种", "产仔记录"})
            QCOMPARE(db.scalar(QStringLiteral("select count(*) from ") + QString::fromUtf8(table)), QStringLiteral("1"));
    }

    // Another window's unsaved work holds the lock: the edit is refused, named, undone.
    void writeLockNamesTheOtherWindow()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','F','no')").arg(gilt)));
        ScriptedMessages msgs;
        auto mating = openScreen<CInPeiView>(db);
        QVERIFY(mating->runCommand(Add));
        QVERIFY(mating->grid()->EditCell(2, 1, gilt));
        QVERIFY(mating->isModified());
        auto archive = openScreen<CTamvoView>(db);
        msgs.clear();
        QVERIFY(archive->grid()->EditCell(1, 9, QStringLiteral("1.4")));
        QCOMPARE(archive->grid()->GetItemText(1, 9), QString());
        QCOMPARE(msgs.shown().size(), 1);
        QVERIFY(msgs.shown().at(0).text.contains(QStringLiteral("输入配种记录")));
        QVERIFY(!archive->isModified());
        QVERIFY(mating->runCommand(Save));
        QVERIFY(archive->grid()->EditCell(1, 9, QStringLiteral("1.4")));
        QCOMPARE(archive->grid()->GetItemText(1, 9), QStringLiteral("1.4"));
    }

    // A write the database refuses is reported, and the grid shows what is stored.
    void refusedWritesAreReported()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,出生重,不存在) values('%1','F','1.3','no')").arg(gilt)));
        QVERIFY(db.exec(QStringLiteral("create trigger no_cards before update on 种猪卡 begin select raise(abort,'磁盘已满'); end")));
        QVERIFY(db.exec(QStringLiteral("create trigger no_matings before insert on 配种 begin select raise(abort,'磁盘已满'); end")));
        ScriptedMessages msgs;
        auto archive = openScreen<CTamvoView>(db);
        QVERIFY(archive->grid()->EditCell(1, 9, QStringLiteral("1.6")));
        QCOMPARE(archive->grid()->GetItemText(1, 9), QStringLiteral("1.3"));
        QCOMPARE(msgs.shown().size(), 1);
        QVERIFY(msgs.shown().at(0).text.startsWith(QStringLiteral("数据库拒绝了这次修改，记录没有保存。")));
        QVERIFY(msgs.shown().at(0).text.contains(QStringLiteral("磁盘已满")));
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QVERIFY(!archive->isModified());
        QCOMPARE(archive->connection().TransLevel(), 0); // the lock is not kept for nothing
        auto mating = openScreen<CInPeiView>(db);
        QVERIFY(mating->runCommand(Add));
        QVERIFY(mating->grid()->EditCell(2, 1, gilt));
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(mating->grid()->GetItemText(2, c), QString());
        QVERIFY(msgs.shown().last().text.contains(QStringLiteral("磁盘已满")));
        QVERIFY(!mating->isModified());
    }

    void matingLoadsWithHeadersAndColours()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)],异常时间) values"
                                       "('%1','1','Y','20020101A',NULL),('LLYY00000000002','1','N','20020102A','20020301'),"
                                       "('LLYY00000000003','2','N','20020103A',NULL)").arg(gilt)));
        auto v = openScreen<CInPeiView>(db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("输入配种记录"));
        QCOMPARE(g->GetFixedRowCount(), 2);
        QCOMPARE(g->GetColumnCount(), 15);
        QCOMPARE(g->GetItemText(0, 1), QStringLiteral("受配母猪"));
        QCOMPARE(g->GetItemText(1, 6), QStringLiteral("第二次"));
        QCOMPARE(g->GetItemText(0, 12), QStringLiteral("妊娠异常"));
        QCOMPARE(g->GetRowCount(), 5);
        QCOMPARE(g->GetItemText(2, 1), gilt);
        QCOMPARE(g->GetItemFgColour(2, 5), QColor(0, 0, 255));
        QCOMPARE(g->GetItemFgColour(3, 14), QColor(255, 0, 0));
        QVERIFY(!g->GetItemFgColour(4, 1).isValid() || g->GetItemFgColour(4, 1) != QColor(255, 0, 0));
        QCOMPARE(g->comboItems(9), (QStringList{"Y", "N"}));
    }

    void matingEditsThroughTheGrid()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("delete from 生理周期")));
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,毛色,来源,来源时间,不存在) values('%1','F','白','本场','20020601','no'),"
                                       "('%2','M',NULL,NULL,NULL,'no')").arg(gilt, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInPeiView>(db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(v->runCommand(Add));
        // Any column before the sow: emptied with a warning.
        QVERIFY(g->EditCell(2, 8, QStringLiteral("本交")));
        QCOMPARE(g->GetItemText(2, 8), QString());
        QCOMPARE(msgs.shown().last().text, QStringLiteral("请先填入母猪耳号"));
        QVERIFY(g->EditCell(2, 1, gilt));
        const QStringList proposed = {gilt, "LL", "", "", "20030101A", "20030101P", "1", "", "N", "20030425"};
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(g->GetItemText(2, c), proposed.at(c - 1));
        QVERIFY(g->EditCell(2, 3, boar));
        QCOMPARE(g->GetItemText(2, 4), QStringLiteral("DD"));
        AppClock::setNow(QDateTime(QDate(2003, 1, 5), QTime(9, 0))); // the service is entered a few days late
        QVERIFY(g->EditCell(2, 5, QStringLiteral("20030102")));
        QCOMPARE(msgs.shown().last().text, QStringLiteral("配种时间必须为9位\n\n8位时间+A或P"));
        QCOMPARE(g->GetItemText(2, 5), QStringLiteral("20030101A"));
        QVERIFY(g->EditCell(2, 5, QStringLiteral("20030102P")));
        QCOMPARE(g->GetItemText(2, 6), QStringLiteral("20030102P"));
        QCOMPARE(g->GetItemText(2, 10), QStringLiteral("20030426"));
        QVERIFY(g->EditCell(2, 9, QStringLiteral("Y")));
        QCOMPARE(g->GetItemText(2, 10), QString());
        QCOMPARE(g->GetItemFgColour(2, 1), QColor(0, 0, 255));
        // The row is found again after its key changed: the stored row has every edit.
        QCOMPARE(db.rows(QStringLiteral("select count(*) from 配种")), QStringList{"0"});
        QVERIFY(v->runCommand(Save));
        QCOMPARE(db.rows(QStringLiteral("select 公猪耳号,[配种日期(1)],[配种日期(2)],返情否,预产日期 from 配种")),
                 QStringList{boar + "|20030102P|20030102P|Y|<null>"});
        QCOMPARE(db.rows(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡 where 性别='F'")), QStringList{"20030102|<null>|<null>"});
        // A click shows her card (first parity, no earlier mating).
        v->clickRow(2);
        QVERIFY(v->infoText().startsWith(QStringLiteral("基本信息： 入群时间:20020601 毛色:白 来源:本场")));
        // Delete, then No at closing brings the mating back... after a save it is gone.
        g->SetFocusCell(2, 3);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(g->GetRowCount(), 6);
        msgs.queue(MsgAnswer::No);
        QVERIFY(v->queryClose());
        QCOMPARE(msgs.shown().last().caption, QStringLiteral("配种纪录"));
        QCOMPARE(db.rows(QStringLiteral("select count(*) from 配种")), QStringList{"1"});
    }

    // Two matings of one sow entered on one day are two rows; each edit reaches its own.
    void eachRowEditsItsOwnMating()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','F','no'),('%2','M','no')").arg(gilt, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInPeiView>(db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(v->runCommand(Add));
        QVERIFY(g->EditCell(2, 1, gilt));
        msgs.queue(MsgAnswer::Yes); // she was mated today: a second mating is asked about
        QVERIFY(g->EditCell(3, 1, gilt));
        QCOMPARE(msgs.shown().last().text, QStringLiteral("该母猪已配种0天，仍要输入新的配种记录吗？"));
        QCOMPARE(g->GetItemText(3, 7), QStringLiteral("2"));
        QVERIFY(g->EditCell(2, 3, boar));
        QVERIFY(g->EditCell(3, 14, QStringLiteral("复配")));
        g->InsertRow(QStringLiteral("*"), 2); // rows move; their matings move with them
        QVERIFY(g->EditCell(4, 11, QStringLiteral("张三")));
        QCOMPARE(db.rows(QStringLiteral("select count(*) from 配种")), QStringList{"0"});
        QVERIFY(v->runCommand(Save));
        QCOMPARE(db.rows(QStringLiteral("select 胎次,公猪耳号,配种员,备注 from 配种 order by id")),
                 (QStringList{"1|" + boar + "|<null>|<null>", "2|<null>|张三|复配"}));
    }

    // The information line follows the current row however it moves.
    void matingInfoFollowsTheCurrentRow()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)],已产) values"
                                       "('%1','2','N','20020101A','no'),('LLYY00000000002','2','N','20020102A','no')").arg(gilt)));
        auto v = openScreen<CInPeiView>(db);
        CComboGridCtrl* g = v->grid();
        g->SetFocusCell(2, 3);
        const QString first = v->infoText();
        QVERIFY(!first.isEmpty());
        g->SetFocusCell(3, 3); // as the down arrow moves it
        QVERIFY(!v->infoText().isEmpty());
        QCOMPARE(v->infoText(), MatingBook(v->connection(), {}).clickInfo(QStringLiteral("LLYY00000000002"), QStringLiteral("2")));
        g->SetFocusCell(2, 5);
        QCOMPARE(v->infoText(), first);
    }

    // A save in another window updates the archive's herd count.
    void archiveSummaryFollowsSavesElsewhere()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','F','no')").arg(gilt)));
        ScriptedMessages msgs;
        auto archive = openScreen<CTamvoView>(db);
        QCOMPARE(archive->summaryText(), QStringLiteral("猪场共有种猪1头，其中母猪1头，公猪0头。"));
        auto other = openScreen<CTamvoView>(db);
        QVERIFY(other->runCommand(Add));
        QVERIFY(other->grid()->EditCell(2, 1, boar));
        QVERIFY(other->grid()->EditCell(2, 2, QStringLiteral("M")));
        QCOMPARE(archive->summaryText(), QStringLiteral("猪场共有种猪1头，其中母猪1头，公猪0头。"));
        QVERIFY(other->runCommand(Save));
        QCOMPARE(archive->summaryText(), QStringLiteral("猪场共有种猪2头，其中母猪1头，公猪1头。"));
    }

    void emptyTestWindows()
    {
        CInFeiView fei;
        CInTouView tou;
        QCOMPARE(fei.windowTitle(), QStringLiteral("输入肥育测定记录"));
        QCOMPARE(tou.windowTitle(), QStringLiteral("输入屠宰测定记录"));
        QVERIFY(fei.list() && fei.list()->count() == 0);
        QVERIFY(!tou.list());
        QVERIFY(fei.notice().contains(QStringLiteral("暂不")));
        bool checked = false;
        for (int id : {Save, Delete, Add, 32779, 57607})
            QVERIFY(!fei.commandEnabled(id, &checked) && !tou.commandEnabled(id, &checked));
        QVERIFY(fei.queryClose());
    }
};

QTEST_MAIN(TestEntryScreens)
#include "test_entryscreens.moc"
