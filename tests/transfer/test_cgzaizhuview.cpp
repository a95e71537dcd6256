#include "cgzaizhuview.h"
#include "ctamvoview.h"
#include "entryrules.h"
#include "transferfixture.h"

namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString p1 = QStringLiteral("DLAAAA126000101");
const QString p2 = QStringLiteral("DLAAAA126000102");
const QString p3 = QStringLiteral("DLAAAA126000103");
using Z = CGZaizhuView;
}

// The piglet screen: its three lists, the cell rules of a weaning, the save that weans
// the litter, and the question before a reload.
class TestCGZaizhuView : public QObject
{
    Q_OBJECT

    // A sow with one mating and a litter of three born on 20260310, still suckling.
    void litter(TransferFarm& f)
    {
        QVERIFY(f.db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在,预产日期) values('%1','F','no','20260302')").arg(sow)));
        f.mating(sow, QStringLiteral("2"), QStringLiteral("20251110"));
        for (const QString& t : {p1, p2, p3})
            f.litterPiglet(t, sow, QStringLiteral("2"), QStringLiteral("20260310"));
    }
    int rowOf(Z& v, const QString& tag) { return shownTags(v).indexOf(tag) + 1; }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 4, 20), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void formAndLists()
    {
        TransferFarm f;
        litter(f);
        f.litterPiglet(QStringLiteral("DLAAAA126000104"), sow, QStringLiteral("2"), QStringLiteral("20260310"),
                       QStringLiteral("正常"), QStringLiteral("保育"), QStringLiteral("20260331"));
        // Born dead and mummified piglets leave the litter at birth; an old mummy row
        // written without a destination is still a dead piglet.
        f.litterPiglet(QStringLiteral("DLAAAA126000105"), sow, QStringLiteral("2"), QStringLiteral("20260310"),
                       QStringLiteral("木乃伊"), QStringLiteral("死亡"), QStringLiteral("20260310"));
        f.litterPiglet(QStringLiteral("DLAAAA126000106"), sow, QStringLiteral("2"), QStringLiteral("20260310"),
                       QStringLiteral("死亡"), QStringLiteral("死亡"), QStringLiteral("20260310"));
        f.litterPiglet(QStringLiteral("DLAAAA126000107"), sow, QStringLiteral("2"), QStringLiteral("20260320"),
                       QStringLiteral("正常"), QStringLiteral("死亡"), QStringLiteral("20260322"));
        f.litterPiglet(QStringLiteral("DLAAAA124000001"), sow, QStringLiteral("1"), QStringLiteral("20240310"));
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("仔猪管理"));
        QCOMPARE(g->GetColumnCount(), 11);
        QCOMPARE(g->GetFixedRowCount(), 1);
        QCOMPARE(g->GetFixedColumnCount(), 2);
        QCOMPARE(g->GetItemText(0, 4), QStringLiteral("出生日期"));
        QCOMPARE(g->GetItemText(0, 10), QStringLiteral("断奶日龄"));
        QCOMPARE(v->dateCaption(), QStringLiteral("分娩日期：自"));
        QCOMPARE(v->fromDate(), QDate(2025, 4, 20));
        QCOMPARE(v->toDate(), QDate(2026, 4, 20));
        QCOMPARE(g->comboItems(Z::ColDestination), (QStringList{"保育", "死亡"}));
        QVERIFY(g->isNumColumn(Z::ColMoveDate));
        // Type 0: the suckling piglets of the period, in farrowing order.
        QCOMPARE(shownTags(*v), (QStringList{p1, p2, p3}));
        QCOMPARE(g->GetItemText(1, 0), QStringLiteral("1"));
        QCOMPARE(g->GetItemText(1, Z::ColSow), sow);
        QCOMPARE(g->GetItemText(1, Z::ColBirth), QStringLiteral("20260310"));
        // Older than 30 days: red.
        QCOMPARE(g->GetItemFgColour(1, 3), QColor(255, 0, 0));
        // Type 1 lists the piglets moved to the nursery.
        showType(*v, 1);
        QCOMPARE(shownTags(*v), QStringList{QStringLiteral("DLAAAA126000104")});
        QCOMPARE(g->GetItemText(1, Z::ColDestination), QStringLiteral("保育"));
        QCOMPARE(g->GetItemText(1, Z::ColMoveDate), QStringLiteral("20260331"));
        QVERIFY(!g->EditCell(1, Z::ColWeight, QStringLiteral("6")));
        // Type 2: deaths after birth and the born dead, mummies included.
        showType(*v, 2);
        QCOMPARE(shownTags(*v), (QStringList{"DLAAAA126000105", "DLAAAA126000106", "DLAAAA126000107"}));
        QVERIFY(!g->EditCell(1, Z::ColDestination, QStringLiteral("保育")));
        // The period: the piglet born in 2024 appears when the range takes it in.
        v->setFromDate(QDate(2024, 1, 1));
        showType(*v, 0);
        QCOMPARE(shownTags(*v).first(), QStringLiteral("DLAAAA124000001"));
    }

    void unlockOrder()
    {
        TransferFarm f;
        litter(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        for (int c : {Z::ColMoveDate, Z::ColWeight, Z::ColAge, Z::ColBirth})
            QVERIFY2(!g->EditCell(1, c, QStringLiteral("20260331")), qPrintable(QString::number(c)));
        QVERIFY(!v->isModified());
        QVERIFY(g->EditCell(1, Z::ColDestination, QStringLiteral("保育")));
        QVERIFY(v->isModified());
        QVERIFY(!g->EditCell(1, Z::ColWeight, QStringLiteral("6")));
        QVERIFY(g->EditCell(1, Z::ColMoveDate, QStringLiteral("20260331")));
        QVERIFY(g->EditCell(1, Z::ColWeight, QStringLiteral("6.0")));
        // Rows added without a pig take no input.
        QVERIFY(v->runCommand(Add));
        QCOMPARE(g->GetRowCount(), 9);
        QVERIFY(!g->EditCell(5, Z::ColDestination, QStringLiteral("保育")));
    }

    void moveDateRules_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("kept");
        QTest::newRow("before birth") << "20260309" << false;
        QTest::newRow("7 long") << "2026031" << false;
        QTest::newRow("9 long") << "202603311" << false;
        QTest::newRow("no such day") << "20260332" << false;
        QTest::newRow("birth day") << "20260310" << true;
        QTest::newRow("21 days") << "20260331" << true;
    }
    void moveDateRules()
    {
        QFETCH(QString, date);
        QFETCH(bool, kept);
        TransferFarm f;
        litter(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, Z::ColDestination, QStringLiteral("保育")));
        QVERIFY(g->EditCell(1, Z::ColMoveDate, QStringLiteral("20260320")));
        QVERIFY(g->EditCell(1, Z::ColWeight, QStringLiteral("6.0")));
        QVERIFY(g->EditCell(1, Z::ColMoveDate, date));
        QCOMPARE(g->GetItemText(1, Z::ColMoveDate), kept ? date : QStringLiteral("20260320"));
        QCOMPARE(g->GetItemText(1, Z::ColAge), kept ? QString::number(EntryRules::daysBetween("20260310", date)) : QStringLiteral("10"));
    }

    void weaningAgeAndCorrectedWeights()
    {
        TransferFarm f;
        litter(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, Z::ColDestination, QStringLiteral("保育")));
        QVERIFY(g->EditCell(1, Z::ColMoveDate, QStringLiteral("20260331")));
        QCOMPARE(g->GetItemText(1, Z::ColAge), QStringLiteral("21"));
        QCOMPARE(g->GetItemText(1, Z::ColWeight20), QString());
        QVERIFY(g->EditCell(1, Z::ColWeight, QStringLiteral("6.0")));
        QCOMPARE(g->GetItemText(1, Z::ColWeight20), QStringLiteral("5.83"));
        QCOMPARE(g->GetItemText(1, Z::ColWeight28), QStringLiteral("7.31"));
        // A later date with the weight in place recomputes both.
        QVERIFY(g->EditCell(1, Z::ColMoveDate, QStringLiteral("20260407")));
        QCOMPARE(g->GetItemText(1, Z::ColAge), QStringLiteral("28"));
        QCOMPARE(g->GetItemText(1, Z::ColWeight28), QStringLiteral("5.98"));
    }

    // The last piglet of the litter weans the sow: the card gets the latest date of the
    // live piglets, and the mating is marked farrowed.
    void lastPigletWeansTheSow()
    {
        TransferFarm f;
        litter(f);
        QVERIFY(f.db.exec(QStringLiteral("update 种猪卡 set 返情日期='20251201' where 耳号='%1'").arg(sow)));
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        auto move = [&](int row, const QString& where, const QString& date) {
            QVERIFY(g->EditCell(row, Z::ColDestination, where));
            QVERIFY(g->EditCell(row, Z::ColMoveDate, date));
        };
        move(1, QStringLiteral("保育"), QStringLiteral("20260401"));
        QVERIFY(g->EditCell(1, Z::ColWeight, QStringLiteral("6.5")));
        move(2, QStringLiteral("死亡"), QStringLiteral("20260315"));
        // Row 3 has a destination but no date: not saved, so the litter is not weaned.
        QVERIFY(g->EditCell(3, Z::ColDestination, QStringLiteral("保育")));
        QVERIFY(v->runCommand(Save));
        QVERIFY(!v->isModified());
        QCOMPARE(f.saved(QStringLiteral("select 仔猪耳号,转群去向,转群日期,实断奶重,[20日龄校重],[28日龄校重],实断奶日 from 产仔记录 order by 仔猪耳号")),
                 (QStringList{p1 + "|保育|20260401|6.5|6.11|7.67|22", p2 + "|死亡|20260315|<null>|<null>|<null>|5", p3 + "|<null>|<null>|<null>|<null>|<null>|<null>"}));
        QCOMPARE(f.savedScalar(QStringLiteral("select 已产 from 配种")), QStringLiteral("yes"));
        QCOMPARE(f.saved(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡")), QStringList{"20251201|<null>|20260302"});
        // The last one: weaned on 20260403, the latest live transfer.
        QVERIFY(g->EditCell(3, Z::ColMoveDate, QStringLiteral("20260403")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡")), QStringList{"<null>|20260403|<null>"});
        // Saved rows leave the type-0 list at the next load.
        showType(*v, 0);
        QCOMPARE(shownTags(*v), QStringList());
    }

    void aLaterCardDateKeepsTheCard()
    {
        TransferFarm f;
        litter(f);
        QVERIFY(f.db.exec(QStringLiteral("update 种猪卡 set 预产日期='20260601' where 耳号='%1'").arg(sow)));
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        for (int r = 1; r <= 3; ++r) {
            QVERIFY(g->EditCell(r, Z::ColDestination, QStringLiteral("保育")));
            QVERIFY(g->EditCell(r, Z::ColMoveDate, QStringLiteral("20260401")));
        }
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 断奶日期,预产日期 from 种猪卡")), QStringList{"<null>|20260601"});
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 产仔记录 where 转群去向='保育'")), QStringLiteral("3"));
    }

    void withoutMatingNothingIsSaved()
    {
        TransferFarm f;
        f.litterPiglet(p1, sow, QStringLiteral("3"), QStringLiteral("20260310"));
        f.litterPiglet(p2, sow, QStringLiteral("3"), QStringLiteral("20260310"));
        ScriptedMessages msgs;
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        for (int r = 1; r <= 2; ++r) {
            QVERIFY(g->EditCell(r, Z::ColDestination, QStringLiteral("保育")));
            QVERIFY(g->EditCell(r, Z::ColMoveDate, QStringLiteral("20260401")));
        }
        QVERIFY(v->runCommand(Save));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("没有母猪") + sow + QStringLiteral("的第3胎的配种记录\n\n 保存记录失败")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QVERIFY(v->isModified());
        QCOMPARE(screenScalar(*v, QStringLiteral("select count(*) from 产仔记录 where 转群去向 is not null")), QStringLiteral("0"));
    }

    // A write the database refuses part-way keeps nothing of the save.
    void aFailedSaveKeepsNothing()
    {
        TransferFarm f;
        litter(f);
        QVERIFY(f.db.exec(QStringLiteral("create trigger refuse before update on 种猪卡 begin select raise(abort,'refused'); end")));
        ScriptedMessages msgs;
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        for (int r = 1; r <= 3; ++r) {
            QVERIFY(g->EditCell(r, Z::ColDestination, QStringLiteral("保育")));
            QVERIFY(g->EditCell(r, Z::ColMoveDate, QStringLiteral("20260401")));
        }
        QVERIFY(v->runCommand(Save));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("操作数据库:产仔纪录表 失败!")});
        QVERIFY(v->isModified());
        QCOMPARE(screenScalar(*v, QStringLiteral("select count(*) from 产仔记录 where 转群去向 is not null")), QStringLiteral("0"));
        QCOMPARE(screenScalar(*v, QStringLiteral("select 已产 from 配种")), QStringLiteral("no"));
    }

    // While another window holds unsaved work, the save says which window and keeps
    // the rows for a later try.
    void anotherWindowHoldsTheDatabase()
    {
        TransferFarm f;
        litter(f);
        ScriptedMessages msgs;
        auto archive = openScreen<CTamvoView>(f.db);
        QVERIFY(archive->runCommand(Add));
        QVERIFY(archive->grid()->EditCell(1, 1, QStringLiteral("LLYY00000000077")));
        QVERIFY(archive->isModified());
        auto v = openScreen<Z>(f.db);
        QVERIFY(v->grid()->EditCell(1, Z::ColDestination, QStringLiteral("保育")));
        QVERIFY(v->grid()->EditCell(1, Z::ColMoveDate, QStringLiteral("20260401")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(msgs.shown().size(), 1);
        QVERIFY2(msgs.shown().at(0).text.contains(archive->windowTitle()), qPrintable(msgs.shown().at(0).text));
        QVERIFY(v->isModified());
        QCOMPARE(v->grid()->GetItemText(1, Z::ColMoveDate), QStringLiteral("20260401"));
        // Once that window has saved, the same save goes through.
        QVERIFY(archive->runCommand(Save));
        QVERIFY(v->runCommand(Save));
        QVERIFY(!v->isModified());
        QCOMPARE(f.savedScalar(QStringLiteral("select 转群去向 from 产仔记录 where 仔猪耳号='%1'").arg(p1)), QStringLiteral("保育"));
    }

    void refreshQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes saves") << true;
        QTest::newRow("no undoes") << false;
    }
    void refreshQuestion()
    {
        QFETCH(bool, yes);
        TransferFarm f;
        litter(f);
        ScriptedMessages msgs;
        msgs.queue(yes ? MsgAnswer::Yes : MsgAnswer::No);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        // A deletion is pending too: Yes keeps it with the save, No brings it back.
        g->SetFocusCell(3, 1);
        QVERIFY(v->runCommand(Delete));
        QVERIFY(g->EditCell(1, Z::ColDestination, QStringLiteral("死亡")));
        QVERIFY(g->EditCell(1, Z::ColMoveDate, QStringLiteral("20260312")));
        showType(*v, 2);
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).text, QStringLiteral("记录已经修改，要保存吗？"));
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("仔猪转群"));
        QVERIFY(msgs.shown().at(0).buttons == MsgButtons::YesNo);
        QVERIFY(!v->isModified());
        QCOMPARE(shownTags(*v), yes ? QStringList{p1} : QStringList());
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 产仔记录")), yes ? QStringLiteral("2") : QStringLiteral("3"));
        // Nothing pending: no question.
        showType(*v, 0);
        QCOMPARE(msgs.shown().size(), 1);
    }

    void deleteAndCloseQuestion()
    {
        TransferFarm f;
        litter(f);
        f.litterPiglet(QStringLiteral("DLAAAA126000104"), sow, QStringLiteral("2"), QStringLiteral("20260310"),
                       QStringLiteral("正常"), QStringLiteral("保育"), QStringLiteral("20260331"));
        ScriptedMessages msgs;
        auto v = openScreen<Z>(f.db);
        showType(*v, 1);
        CComboGridCtrl* g = v->grid();
        g->SetFocusCell(1, 1);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(g->GetRowCount(), 1);
        QVERIFY(v->isModified());
        QCOMPARE(screenScalar(*v, QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("3"));
        // Other windows still see it until the work is kept.
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("4"));
        msgs.queue(MsgAnswer::No);
        QVERIFY(v->queryClose());
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("仔猪转群"));
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("4"));
    }
};

QTEST_MAIN(TestCGZaizhuView)
#include "test_cgzaizhuview.moc"
