#include "cgbaoyuview.h"
#include "cghoubeiview.h"
#include "cgzaizhuview.h"
#include "cgzhongzhuview.h"
#include "cinpeiview.h"
#include "ctamvoview.h"
#include "transferfixture.h"

namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString boar = QStringLiteral("DDAA00000000009");
QString piglet(int n)
{
    return QStringLiteral("DLAAAA12600010%1").arg(n);
}

// Finds a tag in column 1 of the data rows; -1 when it is not shown.
int rowOf(CGridScreen& v, const QString& tag)
{
    CComboGridCtrl* g = v.grid();
    for (int r = g->GetFixedRowCount(); r < g->GetRowCount(); ++r)
        if (g->GetItemText(r, 1) == tag)
            return r;
    return -1;
}
} // namespace

// One litter followed to the end through the five transfer screens, each step checked
// where the next screen and the other lists read it.
class TestLitterJourney : public QObject
{
    Q_OBJECT

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2026, 10, 1), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void aLitterToTheEnd()
    {
        TransferFarm f;
        ScriptedMessages msgs;
        // The parents, with pedigrees; the sow pregnant until she farrowed on 20260101.
        QVERIFY(f.db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,来源时间,出生日期,毛色,来源,[奶头数(左)],[奶头数(右)],父亲,母亲,父父,父母,母父,母母,不存在,返情日期,预产日期) values"
            "('%1','F','20250101','20240301','白','外购','7','7','LLAA00000000011','LLAA00000000012','LLAA00000000013','LLAA00000000014','LLAA00000000015','LLAA00000000016','no','20250801','20251228'),"
            "('%2','M','20240101','20230301','棕红','外购',NULL,NULL,'DDAA00000000021','DDAA00000000022','DDAA00000000023','DDAA00000000024','DDAA00000000025','DDAA00000000026','no',NULL,NULL)")
                              .arg(sow, boar)));
        f.mating(sow, QStringLiteral("1"), QStringLiteral("20250905"));
        // Four live piglets and a mummy that left at birth, as the farrowing screen writes them.
        for (int n = 1; n <= 4; ++n)
            f.litterPiglet(piglet(n), sow, QStringLiteral("1"), QStringLiteral("20260101"));
        f.litterPiglet(piglet(5), sow, QStringLiteral("1"), QStringLiteral("20260101"), QStringLiteral("木乃伊"),
                       QStringLiteral("死亡"), QStringLiteral("20260101"));
        QVERIFY(f.db.exec(QStringLiteral("update 产仔记录 set 公猪耳号='%1', 性别='F', 毛色='白', 奶头数左='7', 奶头数右='6'").arg(boar)));

        // 仔猪管理: three weaned at 21 days, one dead at 4 days.
        {
            auto v = openScreen<CGZaizhuView>(f.db);
            using Z = CGZaizhuView;
            CComboGridCtrl* g = v->grid();
            QCOMPARE(shownTags(*v), (QStringList{piglet(1), piglet(2), piglet(3), piglet(4)}));
            for (int n = 1; n <= 3; ++n) {
                const int r = rowOf(*v, piglet(n));
                QVERIFY(g->EditCell(r, Z::ColDestination, QStringLiteral("保育")));
                QVERIFY(g->EditCell(r, Z::ColMoveDate, QStringLiteral("20260122")));
                QVERIFY(g->EditCell(r, Z::ColWeight, QStringLiteral("6.0")));
                QCOMPARE(g->GetItemText(r, Z::ColAge), QStringLiteral("21"));
                QCOMPARE(g->GetItemText(r, Z::ColWeight20), QStringLiteral("5.83"));
                QCOMPARE(g->GetItemText(r, Z::ColWeight28), QStringLiteral("7.31"));
            }
            const int dead = rowOf(*v, piglet(4));
            QVERIFY(g->EditCell(dead, Z::ColDestination, QStringLiteral("死亡")));
            QVERIFY(g->EditCell(dead, Z::ColMoveDate, QStringLiteral("20260105")));
            QVERIFY(v->runCommand(Save));
            // The last piglet weaned the sow on the day of the live piglets' weaning.
            QCOMPARE(f.saved(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡 where 耳号='%1'").arg(sow)),
                     QStringList{"<null>|20260122|<null>"});
            QCOMPARE(f.savedScalar(QStringLiteral("select 已产 from 配种")), QStringLiteral("yes"));
            QCOMPARE(f.savedScalar(QStringLiteral("select 实断奶日 from 产仔记录 where 仔猪耳号='%1'").arg(piglet(1))), QStringLiteral("21"));
            showType(*v, 1);
            QCOMPARE(shownTags(*v), (QStringList{piglet(1), piglet(2), piglet(3)}));
            // The dead after birth and the mummy, born dead.
            showType(*v, 2);
            QCOMPARE(shownTags(*v), (QStringList{piglet(4), piglet(5)}));
            QCOMPARE(g->GetItemText(2, Z::ColMoveDate), QStringLiteral("20260101"));
            QVERIFY(v->queryClose());
        }

        // 保育猪管理: one to the reserve group, one to fattening, one dead.
        {
            auto v = openScreen<CGBaoYuView>(f.db);
            using B = CGBaoYuView;
            CComboGridCtrl* g = v->grid();
            QCOMPARE(shownTags(*v), (QStringList{piglet(1), piglet(2), piglet(3)}));
            const QStringList groups = {QStringLiteral("后备猪"), QStringLiteral("肥育猪"), QStringLiteral("死亡")};
            for (int n = 1; n <= 3; ++n) {
                QVERIFY(g->EditCell(rowOf(*v, piglet(n)), B::ColGroup, groups.at(n - 1)));
                QVERIFY(g->EditCell(rowOf(*v, piglet(n)), B::ColMoveDate, QStringLiteral("20260301")));
            }
            QVERIFY(v->runCommand(Save));
            for (int type = 1; type <= 3; ++type) {
                showType(*v, type);
                QCOMPARE(shownTags(*v), QStringList{piglet(type)});
            }
            QVERIFY(v->queryClose());
        }

        // 后备猪管理: the gilt is kept for breeding.
        const QString gilt = piglet(1);
        {
            auto v = openScreen<CGHouBeiView>(f.db);
            using H = CGroupPigView;
            QCOMPARE(shownTags(*v), QStringList{gilt});
            QVERIFY(v->grid()->EditCell(1, H::ColOut, QStringLiteral("自留")));
            QVERIFY(v->grid()->EditCell(1, H::ColOutDate, QStringLiteral("20260801")));
            QCOMPARE(v->grid()->GetItemText(1, H::ColPlace), QStringLiteral("本场"));
            QVERIFY(v->runCommand(Save));
            QVERIFY(v->queryClose());
        }
        QCOMPARE(f.saved(QStringLiteral("select 性别,来源,来源时间,出生日期,断奶重,断奶日龄,父亲,母亲,父父,父母,母父,母母,父父父,父母母,母父父,母母母,"
                                        "返情日期,断奶日期,预产日期,不存在 from 种猪卡 where 耳号='%1'").arg(gilt)),
                 (QStringList{QStringList{"F", "本场", "20260801", "20260101", "6.0", "21", boar, sow, "DDAA00000000021",
                                         "DDAA00000000022", "LLAA00000000011", "LLAA00000000012", "DDAA00000000023",
                                         "DDAA00000000026", "LLAA00000000013", "LLAA00000000016", "none", "none", "<null>", "no"}
                                 .join('|')}));
        {
            // Listed by the archive, offered by the mating screen.
            auto archive = openScreen<CTamvoView>(f.db);
            QVERIFY(rowOf(*archive, gilt) > 0);
            auto mating = openScreen<CInPeiView>(f.db);
            QVERIFY(mating->grid()->comboItems(1).contains(gilt));
        }

        // 肥育猪管理: the fattening pig is sold.
        {
            auto v = openScreen<CGFeiYuView>(f.db);
            using H = CGroupPigView;
            CComboGridCtrl* g = v->grid();
            QCOMPARE(shownTags(*v), QStringList{piglet(2)});
            QVERIFY(g->EditCell(1, H::ColOut, QStringLiteral("出售")));
            QVERIFY(g->EditCell(1, H::ColOutDate, QStringLiteral("20260901")));
            QVERIFY(g->EditCell(1, H::ColPlace, QStringLiteral("屠宰场")));
            QVERIFY(g->EditCell(1, H::ColPrice, QStringLiteral("16.5")));
            QVERIFY(g->EditCell(1, H::ColWeight, QStringLiteral("112")));
            QVERIFY(v->runCommand(Save));
            showType(*v, 2);
            QCOMPARE(shownTags(*v), QStringList{piglet(2)});
            QVERIFY(v->queryClose());
        }
        QCOMPARE(f.saved(QStringLiteral("select 转出,转出时间,去向,单价,重量 from 子猪管理 where 耳号='%1'").arg(piglet(2))),
                 QStringList{"出售|20260901|屠宰场|16.5|112"});
        QCOMPARE(f.savedScalar(QStringLiteral("select count(*) from 种猪卡 where 耳号='%1'").arg(piglet(2))), QStringLiteral("0"));

        // 种猪管理: the sow is culled.
        {
            auto v = openScreen<CGZhongZhuView>(f.db);
            using Z = CGZhongZhuView;
            v->setFromDate(QDate(2020, 1, 1));
            showType(*v, 0);
            QCOMPARE(shownTags(*v), (QStringList{boar, sow, gilt}));
            const int r = rowOf(*v, sow);
            QVERIFY(v->grid()->EditCell(r, Z::ColOut, QStringLiteral("淘汰")));
            QVERIFY(v->grid()->EditCell(r, Z::ColOutDate, QStringLiteral("20260915")));
            QVERIFY(v->runCommand(Save));
            showType(*v, 0);
            QCOMPARE(shownTags(*v), (QStringList{boar, gilt}));
            showType(*v, 2);
            QCOMPARE(shownTags(*v), QStringList{sow});
            CComboGridCtrl* g = v->grid();
            QCOMPARE(g->GetItemText(2, Z::ColOutDate), QStringLiteral("20260915"));
            QCOMPARE(g->GetItemText(2, Z::ColSex), QStringLiteral("F"));
            QCOMPARE(g->GetItemText(2, Z::ColBirth), QStringLiteral("20240301"));
            QCOMPARE(g->GetItemText(2, Z::ColEntry), QStringLiteral("20250101"));
            QCOMPARE(g->GetItemText(2, Z::ColTeats), QStringLiteral("7-7"));
            QVERIFY(v->queryClose());
        }
        QCOMPARE(f.saved(QStringLiteral("select 原状态,转群,转出 from 子猪管理 where 耳号='%1'").arg(sow)), QStringList{"F|种猪|淘汰"});
        {
            auto archive = openScreen<CTamvoView>(f.db);
            QCOMPARE(rowOf(*archive, sow), -1);
            QVERIFY(rowOf(*archive, gilt) > 0);
        }
        QCOMPARE(msgs.shown().size(), 0);
    }
};

QTEST_MAIN(TestLitterJourney)
#include "test_litterjourney.moc"
