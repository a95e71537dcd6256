#include "appclock.h"
#include "cinpeiview.h"
#include "cinzaiview.h"
#include "csowstatusdlg.h"
#include "ctamvoview.h"
#include "entryfixture.h"

#include <QTest>

namespace {
const QString gilt = QStringLiteral("LLYY00000000001");
const QString boar = QStringLiteral("DDAB00000000009");
}

// A gilt's whole first litter, through the screens a farm user opens, with the status
// query reading her state at each step.
class TestRecordingLitter : public QObject
{
    Q_OBJECT

    static QString status(const TempHerdDb& db)
    {
        CSowStatusDlg dlg;
        if (!dlg.setUp(db.path()))
            return QStringLiteral("<no connection>");
        dlg.exportSetSow(gilt);
        dlg.runQuery();
        return dlg.resultText();
    }
    // The text a cell holds while its edit begins (what the screen proposes).
    static QString proposal(CGridCtrl* g, int row, int col, const QString& typed)
    {
        QString seen;
        auto c = QObject::connect(g, &CGridCtrl::beginEdit, g, [&] { seen = g->GetItemText(row, col); });
        g->EditCell(row, col, typed);
        QObject::disconnect(c);
        return seen;
    }

private slots:
    void cleanup() { AppClock::setNow(QDateTime()); }

    void recordingALitter()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("update 生理周期 set 妊娠天数='115' where 品种='LL'")));
        QVERIFY(db.scalar(QStringLiteral("select count(*) from 生理周期 where 品种='LL'")) == QStringLiteral("1"));
        ScriptedMessages msgs;
        CInZaiView::setFarmNumberSource([] { return qMakePair(QStringLiteral("0123"), QStringLiteral("2")); });
        AppClock::setNow(QDateTime(QDate(2025, 1, 6), QTime(8, 0)));

        // The gilt's and the boar's cards in the archive.
        auto archive = openScreen<CTamvoView>(db);
        QVERIFY(archive->runCommand(Add));
        QVERIFY(archive->grid()->EditCell(1, 1, gilt));
        QVERIFY(archive->grid()->EditCell(1, 2, QStringLiteral("F")));
        QVERIFY(archive->grid()->EditCell(2, 1, boar));
        QVERIFY(archive->grid()->EditCell(2, 2, QStringLiteral("M")));
        QVERIFY(archive->runCommand(Save));
        QCOMPARE(status(db), QStringLiteral("母猪") + gilt); // a new card tells no state yet

        // Her mating with today's proposals.
        auto mating = openScreen<CInPeiView>(db);
        CComboGridCtrl* m = mating->grid();
        QVERIFY(m->comboItems(1).contains(gilt) && m->comboItems(3).contains(boar));
        QVERIFY(mating->runCommand(Add));
        QVERIFY(m->EditCell(2, 1, gilt));
        QCOMPARE(m->GetItemText(2, 2), QStringLiteral("LL"));
        QCOMPARE(m->GetItemText(2, 5), QStringLiteral("20250106A"));
        QCOMPARE(m->GetItemText(2, 6), QStringLiteral("20250106P"));
        QCOMPARE(m->GetItemText(2, 7), QStringLiteral("1"));
        QCOMPARE(m->GetItemText(2, 9), QStringLiteral("N"));
        QCOMPARE(m->GetItemText(2, 10), QStringLiteral("20250501")); // 115 days of LL
        QVERIFY(m->EditCell(2, 3, boar));
        QCOMPARE(m->GetItemText(2, 4), QStringLiteral("DD"));
        QVERIFY(m->EditCell(2, 8, QStringLiteral("本交")));
        QVERIFY(mating->runCommand(Save));
        QCOMPARE(status(db), QStringLiteral("母猪%1处于妊娠状态，预计生产日期为20250501").arg(gilt));

        // The litter: panel from her open mating, proposed tags, a stillborn piglet.
        AppClock::setNow(QDateTime(QDate(2025, 4, 29), QTime(7, 0)));
        auto farrowing = openScreen<CInZaiView>(db);
        CComboGridCtrl* z = farrowing->grid();
        farrowing->chooseSow(gilt);
        QCOMPARE(farrowing->parityChoices(), QStringList{"1"});
        farrowing->chooseParity(QStringLiteral("1"));
        LitterBook::Panel p = farrowing->panel();
        QCOMPARE(p.boar, boar);
        QCOMPARE(p.method, QStringLiteral("本交"));
        QCOMPARE(p.matingDay, QStringLiteral("20250106"));
        QCOMPARE(p.dueDate, QStringLiteral("20250501"));
        QCOMPARE(p.litterNumber, QStringLiteral("0000"));
        QVERIFY(!z->IsEditable());
        farrowing->typeFarrowDate(QStringLiteral("20250429"));
        QCOMPARE(farrowing->panel().gestation, QStringLiteral("113"));
        QVERIFY(z->IsEditable());
        farrowing->chooseKeeper(QStringLiteral("王五"));
        const QString prefix = QStringLiteral("DL0123225") + QStringLiteral("0000");
        for (int r = 1; r <= 3; ++r) {
            const QString tag = prefix + QStringLiteral("0%1").arg(r);
            QCOMPARE(proposal(z, r, 1, tag), prefix);
            QCOMPARE(proposal(z, r, 2, QStringLiteral("正常")), QStringLiteral("正常"));
        }
        QCOMPARE(proposal(z, 4, 1, prefix + QStringLiteral("04")), prefix + QStringLiteral("04"));
        QVERIFY(z->EditCell(4, 2, QStringLiteral("死亡")));
        QCOMPARE(z->GetItemText(4, 8), QStringLiteral("死亡"));
        QCOMPARE(z->GetItemText(4, 9), QStringLiteral("20250429"));
        QVERIFY(z->EditCell(4, 7, QStringLiteral("0.8"))); // a stillborn piglet's weights stay empty
        QCOMPARE(z->GetItemText(4, 7), QString());
        QVERIFY(z->EditCell(1, 7, QStringLiteral("1.4")));
        QVERIFY(farrowing->isModified());
        QVERIFY(farrowing->runCommand(Save));
        QCOMPARE(db.rows(QStringLiteral("select 仔猪耳号,仔猪状态,分娩日期,妊娠天数,饲养员,公猪品种 from 产仔记录 order by 仔猪耳号")),
                 (QStringList{prefix + "01|正常|20250429|113|王五|DD", prefix + "02|正常|20250429|113|王五|DD",
                              prefix + "03|正常|20250429|113|王五|DD", prefix + "04|死亡|20250429|113|王五|DD"}));
        QCOMPARE(db.scalar(QStringLiteral("select 已产 from 配种")), QStringLiteral("yes"));
        QCOMPARE(status(db), QStringLiteral("母猪%1处于哺育状态，生产日期为20250429").arg(gilt));

        // Weaning at 21 days: corrected weights; the litter's date goes on her card.
        AppClock::setNow(QDateTime(QDate(2025, 5, 21), QTime(7, 0)));
        QVERIFY(z->EditCell(1, 10, QStringLiteral("6.0")));
        QVERIFY(z->GetItemText(1, 12).isEmpty()); // no age yet
        QVERIFY(z->EditCell(1, 8, QStringLiteral("保育")));
        QVERIFY(z->EditCell(1, 9, QStringLiteral("20250520")));
        QCOMPARE(z->GetItemText(1, 11), QStringLiteral("21"));
        QCOMPARE(z->GetItemText(1, 12), QStringLiteral("5.83"));
        QCOMPARE(z->GetItemText(1, 13), QStringLiteral("7.31"));
        QVERIFY(z->EditCell(2, 8, QStringLiteral("保育")));
        QCOMPARE(proposal(z, 2, 9, QStringLiteral("20250520")), QStringLiteral("20250520")); // same state as above
        QVERIFY(farrowing->runCommand(Save));
        // One live piglet is still with her: she is still nursing.
        QCOMPARE(status(db), QStringLiteral("母猪%1处于哺育状态，生产日期为20250429").arg(gilt));
        QVERIFY(z->EditCell(3, 8, QStringLiteral("保育")));
        QVERIFY(z->EditCell(3, 9, QStringLiteral("20250521")));
        QVERIFY(farrowing->runCommand(Save));
        QCOMPARE(db.rows(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡 where 耳号='%1'").arg(gilt)),
                 QStringList{"<null>|20250521|<null>"});
        QCOMPARE(db.scalar(QStringLiteral("select [20日龄校重]||'/'||[28日龄校重] from 产仔记录 where 仔猪耳号='") + prefix + QStringLiteral("01'")),
                 QStringLiteral("5.83/7.31"));
        QCOMPARE(status(db), QStringLiteral("母猪%1处于空怀状态，上一次断奶日期为20250521").arg(gilt));

        // Deleting the sow in the archive touches her card, mating and litter; No at the
        // close question brings every row back.
        const QStringList before = db.rows(QStringLiteral("select * from 产仔记录 order by 仔猪耳号"))
                                   + db.rows(QStringLiteral("select * from 配种")) + db.rows(QStringLiteral("select * from 种猪卡"));
        auto archive2 = openScreen<CTamvoView>(db);
        archive2->grid()->SetFocusCell(2, 3); // rows are sorted by tag: the boar, then the gilt
        QCOMPARE(archive2->grid()->GetItemText(2, 1), gilt);
        QVERIFY(archive2->runCommand(Delete));
        QCOMPARE(db.rows(QStringLiteral("select count(*) from 产仔记录")), QStringList{"4"}); // not saved yet
        msgs.queue(MsgAnswer::No);
        QVERIFY(archive2->queryClose());
        const QStringList after = db.rows(QStringLiteral("select * from 产仔记录 order by 仔猪耳号"))
                                  + db.rows(QStringLiteral("select * from 配种")) + db.rows(QStringLiteral("select * from 种猪卡"));
        QCOMPARE(after, before);
        QCOMPARE(status(db), QStringLiteral("母猪%1处于空怀状态，上一次断奶日期为20250521").arg(gilt));
        CInZaiView::setFarmNumberSource({});
    }
};

QTEST_MAIN(TestRecordingLitter)
#include "test_recordinglitter.moc"
