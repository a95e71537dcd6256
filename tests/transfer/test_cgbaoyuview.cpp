#include "cgbaoyuview.h"
#include "transferfixture.h"

namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString a = QStringLiteral("DLAAAA126000101");
const QString b = QStringLiteral("DLAAAA126000102");
const QString c = QStringLiteral("DLAAAA126000103");
using B = CGBaoYuView;
}

// The nursery screen: its lists by destination, the transfer date rule, the save that
// starts a pig's 子猪管理 row, and delete.
class TestCGBaoYuView : public QObject
{
    Q_OBJECT

    // Three weaned piglets born 20260101, one still suckling.
    void nursery(TransferFarm& f)
    {
        for (const QString& t : {a, b, c})
            f.litterPiglet(t, sow, QStringLiteral("1"), QStringLiteral("20260101"), QStringLiteral("正常"), QStringLiteral("保育"),
                           QStringLiteral("20260122"));
        f.litterPiglet(QStringLiteral("DLAAAA126000104"), sow, QStringLiteral("1"), QStringLiteral("20260101"));
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 4, 20), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void formAndLists()
    {
        TransferFarm f;
        nursery(f);
        // Moved on earlier, with 转出 stored as NULL and as an empty text.
        f.litterPiglet(QStringLiteral("DLAAAA125000201"), sow, QStringLiteral("0"), QStringLiteral("20251001"),
                       QStringLiteral("正常"), QStringLiteral("保育"), QStringLiteral("20251022"));
        f.litterPiglet(QStringLiteral("DLAAAA125000202"), sow, QStringLiteral("0"), QStringLiteral("20251001"),
                       QStringLiteral("正常"), QStringLiteral("保育"), QStringLiteral("20251022"));
        f.group(QStringLiteral("DLAAAA125000201"), QStringLiteral("保育"), QStringLiteral("后备猪"), QStringLiteral("20251201"));
        QVERIFY(f.db.exec(QStringLiteral("insert into 子猪管理(耳号,原状态,转群,转群时间,转出) values('DLAAAA125000202','保育','肥育猪','20251202','')")));
        // A stray row without a tag never empties the list.
        QVERIFY(f.db.exec(QStringLiteral("insert into 子猪管理(耳号,原状态) values(NULL,'保育')")));
        auto v = openScreen<B>(f.db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("保育猪管理"));
        QCOMPARE(g->GetColumnCount(), 11);
        QCOMPARE(g->GetItemText(0, B::ColGroup), QStringLiteral("转群去向"));
        QCOMPARE(g->GetItemText(0, B::ColBoar), QStringLiteral("公猪耳号"));
        QCOMPARE(g->comboItems(B::ColGroup), (QStringList{"后备猪", "肥育猪", "死亡"}));
        QCOMPARE(v->dateCaption(), QStringLiteral("出生日期：自"));
        v->chooseType(2);
        QCOMPARE(v->dateCaption(), QStringLiteral("转群日期：自"));
        v->chooseType(0);
        QCOMPARE(v->dateCaption(), QStringLiteral("出生日期：自"));
        QCOMPARE(shownTags(*v), (QStringList{a, b, c}));
        QCOMPARE(g->GetItemText(1, B::ColBirth), QStringLiteral("20260101"));
        QCOMPARE(g->GetItemText(1, B::ColBirthWeight), QStringLiteral("1.4"));
        QCOMPARE(g->GetItemText(1, B::ColSow), sow);
        QCOMPARE(g->GetItemText(1, B::ColState), QStringLiteral("正常"));
        // Past 100 days in the nursery: red.
        QCOMPARE(g->GetItemFgColour(1, 4), QColor(255, 0, 0));
        showType(*v, 1);
        QCOMPARE(shownTags(*v), QStringList{QStringLiteral("DLAAAA125000201")});
        QCOMPARE(g->GetItemText(1, B::ColMoveDate), QStringLiteral("20251201"));
        QCOMPARE(g->GetItemText(1, B::ColBirth), QStringLiteral("20251001"));
        showType(*v, 2);
        QCOMPARE(shownTags(*v), QStringList{QStringLiteral("DLAAAA125000202")});
        QVERIFY(!g->EditCell(1, B::ColGroup, QStringLiteral("死亡")));
        showType(*v, 3);
        QCOMPARE(shownTags(*v), QStringList());
    }

    void dateRules_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("kept");
        QTest::newRow("before birth") << "20251231" << false;
        QTest::newRow("7 long") << "2026020" << false;
        QTest::newRow("no such day") << "20260230" << false;
        QTest::newRow("birth day") << "20260101" << true;
        QTest::newRow("later") << "20260301" << true;
    }
    void dateRules()
    {
        QFETCH(QString, date);
        QFETCH(bool, kept);
        TransferFarm f;
        nursery(f);
        auto v = openScreen<B>(f.db);
        CComboGridCtrl* g = v->grid();
        // The date is locked until a destination is chosen.
        QVERIFY(!g->EditCell(1, B::ColMoveDate, date));
        QVERIFY(g->EditCell(1, B::ColGroup, QStringLiteral("后备猪")));
        QVERIFY(g->EditCell(1, B::ColMoveDate, QStringLiteral("20260201")));
        QVERIFY(g->EditCell(1, B::ColMoveDate, date));
        QCOMPARE(g->GetItemText(1, B::ColMoveDate), kept ? date : QStringLiteral("20260201"));
    }

    void saveMovesThePigOn()
    {
        TransferFarm f;
        nursery(f);
        auto v = openScreen<B>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, B::ColGroup, QStringLiteral("后备猪")));
        QVERIFY(g->EditCell(1, B::ColMoveDate, QStringLiteral("20260301")));
        QVERIFY(g->EditCell(2, B::ColGroup, QStringLiteral("肥育猪")));
        QVERIFY(g->EditCell(2, B::ColMoveDate, QStringLiteral("20260302")));
        // A destination without a date is not saved.
        QVERIFY(g->EditCell(3, B::ColGroup, QStringLiteral("死亡")));
        QVERIFY(v->runCommand(Save));
        QVERIFY(!v->isModified());
        const QString rows = QStringLiteral("select 耳号,原状态,转群,转群时间,转出,转出时间,去向 from 子猪管理 order by 耳号");
        QCOMPARE(f.saved(rows), (QStringList{a + "|保育|后备猪|20260301|<null>|<null>|<null>",
                                             b + "|保育|肥育猪|20260302|<null>|<null>|<null>"}));
        // Saved again (another row's change), a pig keeps one row.
        QVERIFY(g->EditCell(3, B::ColMoveDate, QStringLiteral("20260303")));
        QVERIFY(g->EditCell(1, B::ColMoveDate, QStringLiteral("20260305")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 子猪管理")), QStringLiteral("3"));
        QCOMPARE(f.savedScalar(QStringLiteral("select 转群时间 from 子猪管理 where 耳号='%1'").arg(a)), QStringLiteral("20260305"));
        // The piglet rows are not touched; the pigs leave type 0 for their lists.
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 产仔记录 where 转群去向='保育'")), QStringLiteral("3"));
        showType(*v, 0);
        QCOMPARE(shownTags(*v), QStringList());
        showType(*v, 1);
        QCOMPARE(shownTags(*v), QStringList{a});
        showType(*v, 2);
        QCOMPARE(shownTags(*v), QStringList{b});
        showType(*v, 3);
        QCOMPARE(shownTags(*v), QStringList{c});
    }

    void deleteReturnsThePigToTheNursery()
    {
        TransferFarm f;
        nursery(f);
        f.group(a, QStringLiteral("保育"), QStringLiteral("后备猪"), QStringLiteral("20260301"));
        // Her later disposal as breeding stock is not the nursery's to delete.
        f.group(a, QStringLiteral("F"), QStringLiteral("种猪"), QStringLiteral("20260401"));
        f.group(b, QStringLiteral("保育"), QStringLiteral("后备猪"), QStringLiteral("20260302"));
        ScriptedMessages msgs;
        auto v = openScreen<B>(f.db);
        showType(*v, 1);
        QCOMPARE(shownTags(*v), (QStringList{a, b}));
        for (int i = 0; i < 2; ++i) {
            v->grid()->SetFocusCell(1, 1);
            QVERIFY(v->runCommand(Delete));
        }
        QVERIFY(v->isModified());
        QCOMPARE(screenScalar(*v, QStringLiteral("select group_concat(转群) from 子猪管理")), QStringLiteral("种猪"));
        QVERIFY(v->runCommand(Save));
        // b is a nursery pig again; a, a breeding pig by now, is not.
        showType(*v, 0);
        QCOMPARE(shownTags(*v), (QStringList{b, c}));
        QCOMPARE(msgs.shown().size(), 0);
    }

    void closeQuestion()
    {
        TransferFarm f;
        nursery(f);
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::Yes);
        auto v = openScreen<B>(f.db);
        QVERIFY(v->grid()->EditCell(1, B::ColGroup, QStringLiteral("死亡")));
        QVERIFY(v->grid()->EditCell(1, B::ColMoveDate, QStringLiteral("20260110")));
        QVERIFY(v->queryClose());
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("保育猪管理"));
        QCOMPARE(f.savedScalar(QStringLiteral("select 转群 from 子猪管理")), QStringLiteral("死亡"));
    }
};

QTEST_MAIN(TestCGBaoYuView)
#include "test_cgbaoyuview.moc"
