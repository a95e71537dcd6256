#include "cghoubeiview.h"
#include "transferfixture.h"

namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString sire = QStringLiteral("DDAA00000000009");
const QString gilt = QStringLiteral("DLAAAA126000101");
const QString other = QStringLiteral("DLAAAA126000102");
using H = CGroupPigView;
}

// The reserve and fattening screens: their lists, the unlock order of a row, the place
// rule, the save, and the breeding card of a kept reserve gilt.
class TestCGHouBeiView : public QObject
{
    Q_OBJECT

    // Two pigs moved into the group on 20260301, born 20260101 in a litter of sow x sire.
    void group(TransferFarm& f, const QString& name)
    {
        for (const QString& t : {gilt, other}) {
            f.litterPiglet(t, sow, QStringLiteral("1"), QStringLiteral("20260101"), QStringLiteral("正常"), QStringLiteral("保育"),
                           QStringLiteral("20260122"));
            f.group(t, QStringLiteral("保育"), name, QStringLiteral("20260301"));
        }
        QVERIFY(f.db.exec(QStringLiteral("update 产仔记录 set 性别='F',毛色='白',奶头数左='7',奶头数右='6',实断奶重='6.5',实断奶日='21'")));
    }
    // Parents with cards: the sire with both parents known, the dam with only a sire.
    void parents(TransferFarm& f)
    {
        QVERIFY(f.db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,不存在,父亲,母亲,父父,父母,母父,母母) values"
            "('%1','M','no','DDAA00000000001','DDAA00000000002','DDAA00000000003','DDAA00000000004','DDAA00000000005','DDAA00000000006'),"
            "('%2','F','no','LLAA00000000001',NULL,NULL,NULL,NULL,NULL)").arg(sire, sow)));
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 6, 20), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void formsAndLists_data()
    {
        QTest::addColumn<bool>("reserve");
        QTest::newRow("后备猪") << true;
        QTest::newRow("肥育猪") << false;
    }
    void formsAndLists()
    {
        QFETCH(bool, reserve);
        const QString name = reserve ? QStringLiteral("后备猪") : QStringLiteral("肥育猪");
        TransferFarm f;
        group(f, name);
        // Pigs of the other group, and pigs of this one already moved out.
        f.group(QStringLiteral("DLAAAA126000109"), QStringLiteral("保育"), reserve ? QStringLiteral("肥育猪") : QStringLiteral("后备猪"),
                QStringLiteral("20260301"));
        f.group(QStringLiteral("DLAAAA126000110"), QStringLiteral("保育"), name, QStringLiteral("20260301"), QStringLiteral("出售"),
                QStringLiteral("20260501"));
        f.group(QStringLiteral("DLAAAA126000111"), QStringLiteral("保育"), name, QStringLiteral("20260301"), QStringLiteral("死亡"),
                QStringLiteral("20260401"));
        ScriptedMessages msgs;
        std::unique_ptr<CTransferScreen> v;
        if (reserve)
            v = openScreen<CGHouBeiView>(f.db);
        else
            v = openScreen<CGFeiYuView>(f.db);
        CComboGridCtrl* g = v->grid();
        QCOMPARE(v->windowTitle(), name + QStringLiteral("管理"));
        QCOMPARE(v->closeCaption(), name + QStringLiteral("管理"));
        QCOMPARE(v->definition().refreshCaption, QStringLiteral("后备猪转群"));
        QCOMPARE(v->definition().types, (QStringList{"未转群" + name, "自留的" + name, "出售的" + name, "死亡的" + name}));
        QCOMPARE(g->GetColumnCount(), 8);
        QCOMPARE(g->GetItemText(0, H::ColMovedIn), QStringLiteral("转入日期"));
        QCOMPARE(g->GetItemText(0, H::ColWeight), QStringLiteral("重量"));
        QCOMPARE(g->comboItems(H::ColOut), (QStringList{"自留", "出售", "死亡"}));
        QCOMPARE(g->comboItems(H::ColPlace), (QStringList{"本地市场", "屠宰场"}));
        QCOMPARE(v->dateCaption(), QStringLiteral("转入日期：自"));
        QCOMPARE(shownTags(*v), (QStringList{gilt, other}));
        QCOMPARE(g->GetItemText(1, H::ColMovedIn), QStringLiteral("20260301"));
        showType(*v, 2);
        QCOMPARE(v->dateCaption(), QStringLiteral("转出日期：自"));
        QCOMPARE(shownTags(*v), QStringList{QStringLiteral("DLAAAA126000110")});
        QCOMPARE(g->GetItemText(1, H::ColOutDate), QStringLiteral("20260501"));
        showType(*v, 3);
        QCOMPARE(shownTags(*v), QStringList{QStringLiteral("DLAAAA126000111")});
        // "增加" adds one row; "删除" takes a grid row away and writes nothing.
        QVERIFY(v->runCommand(Add));
        QCOMPARE(g->GetRowCount(), 3);
        g->SetFocusCell(1, 1);
        QVERIFY(v->runCommand(Delete));
        QCOMPARE(g->GetRowCount(), 2);
        QVERIFY(!v->isModified());
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 子猪管理")), QStringLiteral("5"));
        QCOMPARE(msgs.shown().size(), 0);
    }

    void unlockOrderAndPlaceRule()
    {
        TransferFarm f;
        group(f, QStringLiteral("肥育猪"));
        auto v = openScreen<CGFeiYuView>(f.db);
        CComboGridCtrl* g = v->grid();
        for (int c : {H::ColOutDate, H::ColPlace, H::ColPrice, H::ColWeight, H::ColMovedIn})
            QVERIFY(!g->EditCell(1, c, QStringLiteral("20260501")));
        QVERIFY(g->EditCell(1, H::ColOut, QStringLiteral("出售")));
        QVERIFY(!g->EditCell(1, H::ColPlace, QStringLiteral("屠宰场")));
        // Before the move-in date, or not a date: the old text comes back.
        QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("20260228")));
        QCOMPARE(g->GetItemText(1, H::ColOutDate), QString());
        QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("2026050")));
        QCOMPARE(g->GetItemText(1, H::ColOutDate), QString());
        QVERIFY(!g->EditCell(1, H::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("20260501")));
        QVERIFY(g->EditCell(1, H::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(!g->EditCell(1, H::ColWeight, QStringLiteral("110")));
        QVERIFY(g->EditCell(1, H::ColPrice, QStringLiteral("16.5")));
        QVERIFY(g->EditCell(1, H::ColWeight, QStringLiteral("112")));
        // Changing the way out to "自留": 本场, no price or weight, all three locked.
        QVERIFY(g->EditCell(1, H::ColOut, QStringLiteral("自留")));
        QCOMPARE(g->GetItemText(1, H::ColPlace), QStringLiteral("本场"));
        QCOMPARE(g->GetItemText(1, H::ColPrice), QString());
        QCOMPARE(g->GetItemText(1, H::ColWeight), QString());
        QVERIFY(!g->EditCell(1, H::ColPlace, QStringLiteral("屠宰场")));
        // Dead: no place at all.
        QVERIFY(g->EditCell(2, H::ColOut, QStringLiteral("死亡")));
        QVERIFY(g->EditCell(2, H::ColOutDate, QStringLiteral("20260410")));
        QCOMPARE(g->GetItemText(2, H::ColPlace), QString());
        QVERIFY(!g->EditCell(2, H::ColPrice, QStringLiteral("1")));
    }

    // The fattening screen only records the way out; "自留" there makes no card.
    void fatteningSaveChangesOnlyItsRows()
    {
        TransferFarm f;
        group(f, QStringLiteral("肥育猪"));
        parents(f);
        auto v = openScreen<CGFeiYuView>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, H::ColOut, QStringLiteral("自留")));
        QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("20260501")));
        QVERIFY(g->EditCell(2, H::ColOut, QStringLiteral("出售")));
        QVERIFY(g->EditCell(2, H::ColOutDate, QStringLiteral("20260502")));
        QVERIFY(g->EditCell(2, H::ColPlace, QStringLiteral("屠宰场")));
        QVERIFY(g->EditCell(2, H::ColPrice, QStringLiteral("16.5")));
        QVERIFY(g->EditCell(2, H::ColWeight, QStringLiteral("112")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 耳号,转群,转出,转出时间,去向,单价,重量 from 子猪管理 order by 耳号")),
                 (QStringList{gilt + "|肥育猪|自留|20260501|本场|<null>|<null>", other + "|肥育猪|出售|20260502|屠宰场|16.5|112"}));
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("2"));
        showType(*v, 2);
        QCOMPARE(shownTags(*v), QStringList{other});
        QCOMPARE(v->grid()->GetItemText(1, H::ColPrice), QStringLiteral("16.5"));
    }

    void keptGiltBecomesABreedingPig()
    {
        TransferFarm f;
        group(f, QStringLiteral("后备猪"));
        parents(f);
        auto v = openScreen<CGHouBeiView>(f.db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(g->EditCell(1, H::ColOut, QStringLiteral("自留")));
        QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("20260510")));
        QVERIFY(v->runCommand(Save));
        const QString card = QStringLiteral(
            "select 性别,毛色,来源,来源时间,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄,父亲,母亲,父父,父母,母父,母母,"
            "父父父,父父母,父母父,父母母,母父父,母父母,母母父,母母母,返情日期,断奶日期,预产日期,不存在,备注 from 种猪卡 where 耳号='%1'").arg(gilt);
        const QString expected = QStringList{"F", "白", "本场", "20260510", "7", "6", "20260101", "1.4", "6.5", "21", sire, sow,
                                             "DDAA00000000001", "DDAA00000000002", "LLAA00000000001", "<null>",
                                             "DDAA00000000003", "DDAA00000000004", "DDAA00000000005", "DDAA00000000006",
                                             "<null>", "<null>", "<null>", "<null>", "none", "none", "<null>", "no", "<null>"}
                                     .join('|');
        QCOMPARE(f.saved(card), QStringList{expected});
        // Saved again (say after the card was touched elsewhere): the same card, refreshed.
        QVERIFY(f.db.exec(QStringLiteral("update 种猪卡 set 父亲=NULL, 备注='x' where 耳号='%1'").arg(gilt)));
        QVERIFY(g->EditCell(2, H::ColOut, QStringLiteral("死亡")));
        QVERIFY(g->EditCell(2, H::ColOutDate, QStringLiteral("20260511")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 种猪卡 where 耳号='%1'").arg(gilt)), QStringLiteral("1"));
        QCOMPARE(f.saved(card), QStringList{expected});
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 种猪卡 where 耳号='%1'").arg(other)), QStringLiteral("0"));
        showType(*v, 1);
        QCOMPARE(shownTags(*v), QStringList{gilt});
        QCOMPARE(v->grid()->GetItemText(1, H::ColPlace), QStringLiteral("本场"));
    }

    void parentsWithoutCards()
    {
        TransferFarm f;
        group(f, QStringLiteral("后备猪"));
        auto v = openScreen<CGHouBeiView>(f.db);
        QVERIFY(v->grid()->EditCell(1, H::ColOut, QStringLiteral("自留")));
        QVERIFY(v->grid()->EditCell(1, H::ColOutDate, QStringLiteral("20260510")));
        QVERIFY(v->runCommand(Save));
        QCOMPARE(f.saved(QStringLiteral("select 父亲,母亲,父父,母母,母母母 from 种猪卡")),
                 QStringList{sire + "|" + sow + "|<null>|<null>|<null>"});
    }

    // The refresh question of both screens carries the reserve screen's caption.
    void refreshQuestion()
    {
        TransferFarm f;
        group(f, QStringLiteral("肥育猪"));
        ScriptedMessages msgs;
        msgs.queue(MsgAnswer::No);
        auto v = openScreen<CGFeiYuView>(f.db);
        QVERIFY(v->grid()->EditCell(1, H::ColOut, QStringLiteral("死亡")));
        QVERIFY(v->grid()->EditCell(1, H::ColOutDate, QStringLiteral("20260510")));
        showType(*v, 0);
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("后备猪转群"));
        QCOMPARE(shownTags(*v), (QStringList{gilt, other}));
        QCOMPARE(v->grid()->GetItemText(1, H::ColOut), QString());
    }
};

QTEST_MAIN(TestCGHouBeiView)
#include "test_cghoubeiview.moc"
