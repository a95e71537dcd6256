#include "appclock.h"
#include "cinzaiview.h"
#include "entryfixture.h"

#include <QTest>

namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString nurse = QStringLiteral("YYLL00000000002");
const QString boar = QStringLiteral("DDAB00000000009");
}

// The farrowing screen's panel, grid rules and messages.
class TestCInZaiView : public QObject
{
    Q_OBJECT

    static void mating(const TempHerdDb& db, const QString& s, const QString& parity, const QString& farrowed = QStringLiteral("no"))
    {
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],胎次,配种方式,返情否,预产日期,已产) values"
                                       "('%1','%2','20250101A','%3','本交','N','20250425','%4')").arg(s, boar, parity, farrowed)));
    }
    // A stored litter of two, one fostered out to the nurse, and the nurse's own litter.
    static void fosterFarm(const TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种方式,配种日期,预产日期,分娩日期,妊娠天数,饲养员,仔猪耳号,仔猪状态,带奶,带奶母猪号) values"
            "('%1','1','%3','本交','20250101','20250425','20250423','112','王五','DLAAAA125001201','正常','正常',NULL),"
            "('%1','1','%3','本交','20250101','20250425','20250423','112','王五','DLAAAA125001202','正常','寄出','%2'),"
            "('%2','2','%3','本交','20250105','20250429','20250430','115','赵六','DYAAAA125001301','正常','正常',NULL)")
                            .arg(sow, nurse, boar)));
        mating(db, sow, QStringLiteral("1"), QStringLiteral("yes"));
        mating(db, nurse, QStringLiteral("2"), QStringLiteral("yes"));
    }

private slots:
    void setUpShape()
    {
        TempHerdDb db;
        mating(db, sow, QStringLiteral("1"));
        auto v = openScreen<CInZaiView>(db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("输入产仔记录"));
        QCOMPARE(g->GetRowCount(), 20);
        QCOMPARE(g->GetColumnCount(), 17);
        QCOMPARE(g->GetItemText(19, 0), QStringLiteral("19"));
        QCOMPARE(g->GetItemText(0, 12), QStringLiteral("20日龄校重"));
        QCOMPARE(g->GetColumnWidth(15), g->GetColumnWidth(1));
        QCOMPARE(g->comboItems(8), (QStringList{"保育", "死亡"}));
        QCOMPARE(g->comboItems(14), (QStringList{"正常", "寄出"}));
        QVERIFY(g->comboItems(2).contains(QStringLiteral("木乃伊")));
        QVERIFY(v->runCommand(Add));
        QCOMPARE(g->GetRowCount(), 21); // one row at a time here
    }

    void missingMatingIsReported()
    {
        TempHerdDb db;
        mating(db, sow, QStringLiteral("1"));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("3"));
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).text, QStringLiteral("没有母猪LLYY00000000001的第3胎配种信息"));
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        // A sow tag that is not 15 long loads nothing.
        v->chooseSow(QStringLiteral("LLYY0000000000"));
        QVERIFY(v->parityChoices().isEmpty() || v->panel().boar.isEmpty());
    }

    void saveWithoutItsMatingKeepsTheRows()
    {
        TempHerdDb db;
        mating(db, sow, QStringLiteral("1"));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        v->typeFarrowDate(QStringLiteral("20250423"));
        QVERIFY(v->grid()->EditCell(1, 1, QStringLiteral("DLAAAA125000001")));
        QVERIFY(db.exec(QStringLiteral("delete from 配种")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(msgs.shown().last().text, QStringLiteral("没有母猪LLYY00000000001的第1胎的配种记录\n\n 保存记录失败"));
        QVERIFY(v->isModified());
        QCOMPARE(v->grid()->GetItemText(1, 1), QStringLiteral("DLAAAA125000001"));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("0"));
    }

    void farrowDateGatesTheGrid()
    {
        TempHerdDb db;
        mating(db, sow, QStringLiteral("1"));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        QVERIFY(!v->grid()->EditCell(1, 7, QStringLiteral("1.2")));
        v->typeFarrowDate(QStringLiteral("2025042"));
        QVERIFY(!v->grid()->IsEditable());
        v->typeFarrowDate(QStringLiteral("202504235"));
        QCOMPARE(v->panel().farrowDate, QStringLiteral("20250423"));
        QCOMPARE(v->panel().gestation, QStringLiteral("112"));
        QVERIFY(v->grid()->IsEditable());
        // An invalid transfer date is refused with its reason.
        QVERIFY(v->grid()->EditCell(1, 9, QStringLiteral("20250431")));
        QCOMPARE(v->grid()->GetItemText(1, 9), QString());
        QCOMPARE(msgs.shown().last().text, QStringLiteral("转群日期：日期无效\n\n20250431 不是日历上的日期（格式:YYYYMMDD）"));
    }

    void fosteredPigletsOnBothSides()
    {
        TempHerdDb db;
        fosterFarm(db);
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        CComboGridCtrl* g = v->grid();
        QCOMPARE(g->GetRowCount(), 3);
        QCOMPARE(v->panel().litterNumber, QStringLiteral("0012"));
        QCOMPARE(g->GetItemText(2, 14), QStringLiteral("寄出"));
        QCOMPARE(g->GetItemFgColour(2, 3), QColor(255, 0, 0)); // fostered out
        QVERIFY(!g->GetItemFgColour(1, 1).isValid() || g->GetItemFgColour(1, 1) != QColor(255, 0, 0));
        // Its stored tag is not replaced when its cell is edited again.
        QVERIFY(g->EditCell(1, 1, QStringLiteral("DLAAAA12500")));
        QCOMPARE(g->GetItemText(1, 1), QStringLiteral("DLAAAA125001201"));
        // The nurse's litter shows the piglet as fostered in, locked, red.
        v->chooseSow(nurse);
        v->chooseParity(QStringLiteral("2"));
        QCOMPARE(g->GetRowCount(), 3);
        QCOMPARE(g->GetItemText(2, 14), QStringLiteral("寄入"));
        QCOMPARE(g->GetItemText(2, 15), sow);
        QVERIFY(!g->IsCellEditable(2, 14) && !g->IsCellEditable(2, 15));
        QCOMPARE(g->GetItemFgColour(2, 3), QColor(255, 0, 0));
        g->SetFocusCell(2, 3);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(msgs.shown().last().caption, QStringLiteral("警告"));
        QCOMPARE(g->GetRowCount(), 3);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("3"));
    }

    // Choosing another litter with unsaved piglets asks first; No forgets them.
    void switchingLittersAsks()
    {
        TempHerdDb db;
        fosterFarm(db);
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        QVERIFY(v->grid()->EditCell(1, 7, QStringLiteral("1.5")));
        QVERIFY(v->isModified());
        msgs.queue(MsgAnswer::Yes);
        v->chooseSow(nurse);
        QCOMPARE(msgs.shown().last().text, QStringLiteral("记录已经修改，要保存吗？"));
        QCOMPARE(msgs.shown().last().caption, QStringLiteral("产仔纪录"));
        QCOMPARE(db.scalar(QStringLiteral("select 初生重 from 产仔记录 where 仔猪耳号='DLAAAA125001201'")), QStringLiteral("1.5"));
        QVERIFY(!v->isModified());
        v->chooseParity(QStringLiteral("2"));
        QVERIFY(v->grid()->EditCell(1, 7, QStringLiteral("1.1")));
        msgs.queue(MsgAnswer::No);
        QVERIFY(v->queryClose());
        QCOMPARE(db.scalar(QStringLiteral("select 初生重 from 产仔记录 where 仔猪耳号='DYAAAA125001301'")), QStringLiteral("<null>"));
    }

    void exportInputs()
    {
        TempHerdDb db;
        fosterFarm(db);
        auto v = openScreen<CInZaiView>(db);
        QVERIFY(v->exportSetSow(sow));
        QCOMPARE(v->panel().parity, QStringLiteral("1"));
        QCOMPARE(v->exportGrid()->GetItemText(1, 1), QStringLiteral("DLAAAA125001201"));
        QVERIFY(!v->exportSetSow(QStringLiteral("LLYY")));
    }

};

QTEST_MAIN(TestCInZaiView)
#include "test_cinzaiview.moc"
