#include "cgzhongzhuview.h"
#include "ctamvoview.h"
#include "transferfixture.h"

namespace {
const QString sowA = QStringLiteral("LLYY00000000001");
const QString sowB = QStringLiteral("LLYY00000000002");
const QString boar = QStringLiteral("DDAA00000000009");
using Z = CGZhongZhuView;
}

// The breeding-stock screen: the herd on the farm and the disposed pigs by kind, the
// rules of a disposal row, the save that takes the pig off the farm, and delete.
class TestCGZhongZhuView : public QObject
{
    Q_OBJECT

    void herd(TransferFarm& f)
    {
        QVERIFY(f.db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,出生日期,来源时间,出生重,断奶重,断奶日龄,毛色,[奶头数(左)],[奶头数(右)],来源,不存在) values"
            "('%1','F','20240101','20250601','1.5','6.8','21','白','7','7','本场','no'),"
            "('%2','F','20240201','20250701','1.3','6.1','22','白','6','7','外购','no'),"
            "('%3','M','20230101','20230601',NULL,NULL,NULL,'棕红',NULL,NULL,'外购','no'),"
            "('LLYY00000000003','F','20220101','20220601',NULL,NULL,NULL,NULL,NULL,NULL,NULL,'yes')")
                              .arg(sowA, sowB, boar)));
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 4, 20), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void formAndHerd()
    {
        TransferFarm f;
        herd(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), QStringLiteral("种猪管理"));
        QCOMPARE(g->GetColumnCount(), 16);
        QCOMPARE(g->GetFixedRowCount(), 2);
        QCOMPARE(g->GetItemText(0, Z::ColOutDate), QStringLiteral("转群日期"));
        QCOMPARE(g->GetItemText(0, Z::ColSource), QStringLiteral("来源"));
        QCOMPARE(g->comboItems(Z::ColOut), (QStringList{"出售", "淘汰", "死亡", "其他"}));
        QCOMPARE(v->dateCaption(), QStringLiteral("入场日期：自"));
        // Type 0: cards on the farm that entered within the period, by birth date.
        QCOMPARE(shownTags(*v), (QStringList{sowA, sowB}));
        v->setFromDate(QDate(2020, 1, 1));
        showType(*v, 0);
        QCOMPARE(shownTags(*v), (QStringList{boar, sowA, sowB}));
        QCOMPARE(g->GetItemText(2, 0), QStringLiteral("1"));
        const QStringList row = {g->GetItemText(3, Z::ColSex),        g->GetItemText(3, Z::ColBirth),
                                 g->GetItemText(3, Z::ColEntry),      g->GetItemText(3, Z::ColBirthWeight),
                                 g->GetItemText(3, Z::ColWeanWeight), g->GetItemText(3, Z::ColWeanAge),
                                 g->GetItemText(3, Z::ColColour),     g->GetItemText(3, Z::ColTeats),
                                 g->GetItemText(3, Z::ColSource)};
        QCOMPARE(row, (QStringList{"F", "20240101", "20250601", "1.5", "6.8", "21", "白", "7-7", "本场"}));
        v->chooseType(1);
        QCOMPARE(v->dateCaption(), QStringLiteral("转群日期：自"));
    }

    void rowRules()
    {
        TransferFarm f;
        herd(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(!g->EditCell(2, Z::ColOutDate, QStringLiteral("20260401")));
        QVERIFY(g->EditCell(2, Z::ColOut, QStringLiteral("出售")));
        // Starting to edit an empty date proposes today.
        QVERIFY(g->IsCellEditable(2, Z::ColOutDate));
        emit g->beginEdit(2, Z::ColOutDate);
        QCOMPARE(g->GetItemText(2, Z::ColOutDate), QStringLiteral("20260420"));
        g->SetItemText(2, Z::ColOutDate, QString());
        // Before the pig came to the farm, or not a date: the old text comes back.
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("20250531")));
        QCOMPARE(g->GetItemText(2, Z::ColOutDate), QString());
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("2026040")));
        QCOMPARE(g->GetItemText(2, Z::ColOutDate), QString());
        QVERIFY(!g->EditCell(2, Z::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("20250601")));
        QVERIFY(g->EditCell(2, Z::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(g->EditCell(2, Z::ColPrice, QStringLiteral("12")));
        QVERIFY(g->EditCell(2, Z::ColWeight, QStringLiteral("210")));
        // Culled: place, price and weight emptied and locked.
        QVERIFY(g->EditCell(2, Z::ColOut, QStringLiteral("淘汰")));
        for (int c : {Z::ColPlace, Z::ColPrice, Z::ColWeight}) {
            QCOMPARE(g->GetItemText(2, c), QString());
            QVERIFY(!g->EditCell(2, c, QStringLiteral("1")));
        }
        QVERIFY(!g->EditCell(2, Z::ColSex, QStringLiteral("M")));
    }

    void saveTakesThePigOffTheFarm()
    {
        TransferFarm f;
        herd(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(2, Z::ColOut, QStringLiteral("淘汰")));
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("20260410")));
        QVERIFY(g->EditCell(3, Z::ColOut, QStringLiteral("出售")));
        QVERIFY(g->EditCell(3, Z::ColOutDate, QStringLiteral("20260411")));
        QVERIFY(g->EditCell(3, Z::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(g->EditCell(3, Z::ColPrice, QStringLiteral("12")));
        QVERIFY(g->EditCell(3, Z::ColWeight, QStringLiteral("210")));
        QVERIFY(v->runCommand(Save));
        QVERIFY(!v->isModified());
        QCOMPARE(f.saved(QStringLiteral("select 耳号,不存在 from 种猪卡 order by 耳号")),
                 (QStringList{boar + "|no", sowA + "|yes", sowB + "|yes", "LLYY00000000003|yes"}));
        QCOMPARE(f.saved(QStringLiteral("select 耳号,原状态,转群,转出,转出时间,去向,单价,重量 from 子猪管理 order by 耳号")),
                 (QStringList{sowA + "|F|种猪|淘汰|20260410|<null>|<null>|<null>", sowB + "|F|种猪|出售|20260411|屠宰场|12|210"}));
        v->setFromDate(QDate(2020, 1, 1));
        showType(*v, 0);
        QCOMPARE(shownTags(*v), QStringList{boar});
        showType(*v, 2);
        QCOMPARE(shownTags(*v), QStringList{sowA});
        CComboGridCtrl* grid = v->grid();
        QCOMPARE(grid->GetItemText(2, Z::ColOut), QStringLiteral("淘汰"));
        QCOMPARE(grid->GetItemText(2, Z::ColEntry), QStringLiteral("20250601"));
        QCOMPARE(grid->GetItemText(2, Z::ColTeats), QStringLiteral("7-7"));
        QVERIFY(!grid->EditCell(2, Z::ColOut, QStringLiteral("死亡")));
        showType(*v, 1);
        QCOMPARE(shownTags(*v), QStringList{sowB});
        QCOMPARE(grid->GetItemText(2, Z::ColWeight), QStringLiteral("210"));
        showType(*v, 3);
        QCOMPARE(shownTags(*v), QStringList());
    }

    void saveTwiceKeepsOneRow()
    {
        TransferFarm f;
        herd(f);
        auto v = openScreen<Z>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(2, Z::ColOut, QStringLiteral("死亡")));
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("20260410")));
        QVERIFY(v->runCommand(Save));
        QVERIFY(g->EditCell(2, Z::ColOutDate, QStringLiteral("20260412")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 耳号,转出时间 from 子猪管理")), QStringList{sowA + "|20260412"});
    }

    // Undoing a disposal brings the pig back: off the disposed list, on the farm again.
    void deleteBringsThePigBack()
    {
        TransferFarm f;
        herd(f);
        QVERIFY(f.db.exec(QStringLiteral("update 种猪卡 set 不存在='yes' where 耳号='%1'").arg(sowA)));
        // Her earlier group row (a home-bred gilt) stays.
        f.group(sowA, QStringLiteral("保育"), QStringLiteral("后备猪"), QStringLiteral("20240501"), QStringLiteral("自留"),
                QStringLiteral("20240601"));
        f.group(sowA, QStringLiteral("F"), QStringLiteral("种猪"), QStringLiteral("20240601"), QStringLiteral("淘汰"),
                QStringLiteral("20260410"));
        ScriptedMessages msgs;
        auto v = openScreen<Z>(f.db);
        showType(*v, 2);
        QCOMPARE(shownTags(*v), QStringList{sowA});
        v->grid()->SetFocusCell(2, 1);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(shownTags(*v), QStringList());
        QVERIFY(v->isModified());
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 转群 from 子猪管理")), QStringList{QStringLiteral("后备猪")});
        QCOMPARE(f.savedScalar(QStringLiteral("select 不存在 from 种猪卡 where 耳号='%1'").arg(sowA)), QStringLiteral("no"));
        showType(*v, 0);
        QCOMPARE(shownTags(*v), (QStringList{sowA, sowB}));
        auto archive = openScreen<CTamvoView>(f.db);
        bool listed = false;
        for (int r = 1; r < archive->grid()->GetRowCount(); ++r)
            listed = listed || archive->grid()->GetItemText(r, 1) == sowA;
        QVERIFY(listed);
        QCOMPARE(msgs.shown().size(), 0);
    }

    void aFailedSaveKeepsNothing()
    {
        TransferFarm f;
        herd(f);
        QVERIFY(f.db.exec(QStringLiteral("create trigger refuse before insert on 子猪管理 begin select raise(abort,'refused'); end")));
        ScriptedMessages msgs;
        auto v = openScreen<Z>(f.db);
        QVERIFY(v->grid()->EditCell(2, Z::ColOut, QStringLiteral("死亡")));
        QVERIFY(v->grid()->EditCell(2, Z::ColOutDate, QStringLiteral("20260410")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("操作数据库 失败!")});
        QVERIFY(v->isModified());
        QCOMPARE(screenScalar(*v, QStringLiteral("select 不存在 from 种猪卡 where 耳号='%1'").arg(sowA)), QStringLiteral("no"));
    }
};

QTEST_MAIN(TestCGZhongZhuView)
#include "test_cgzhongzhuview.moc"
