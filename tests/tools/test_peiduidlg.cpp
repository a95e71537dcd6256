#include "appclock.h"
#include "cpeiduidlg.h"
#include "gridctrl.h"
#include "printservice.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// The mating planner as the user meets it: the two sow lists, the boars old enough to
// serve with their coefficients, the sortable list, and the pairing list.
class TestPeiDuiDlg : public QObject
{
    Q_OBJECT

    static QStringList listRows(const CPeiDuiDlg& dlg)
    {
        QStringList rows;
        for (int i = 0; i < dlg.coefficientList()->topLevelItemCount(); ++i)
            rows << dlg.coefficientList()->topLevelItem(i)->text(1) + QLatin1Char('=') + dlg.coefficientList()->topLevelItem(i)->text(0);
        return rows;
    }

    static QStringList pairRows(const CPeiDuiDlg& dlg)
    {
        QStringList rows;
        CGridCtrl* g = dlg.pairingGrid();
        for (int r = 1; r < g->GetRowCount(); ++r)
            rows << QStringList{g->GetItemText(r, 0), g->GetItemText(r, 1), g->GetItemText(r, 2), g->GetItemText(r, 3)}.join(QLatin1Char(' '));
        return rows;
    }

    static int rowOf(const CPeiDuiDlg& dlg, const QString& boar)
    {
        for (int i = 0; i < dlg.coefficientList()->topLevelItemCount(); ++i)
            if (dlg.coefficientList()->topLevelItem(i)->text(1) == boar)
                return i;
        return -1;
    }

    // Today 2026-12-11. Sow 1 came back into heat 10 days ago, sow 2 is pregnant; the boars:
    // B150 born exactly 150 days ago, B151 one day earlier (the sow 1's half-brother),
    // B900 old and unrelated, BGONE gone from the farm.
    TempHerdDb* m_db = nullptr;

private slots:
    void init()
    {
        AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        m_db = new TempHerdDb;
        QVERIFY(m_db->exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,不存在,出生日期,返情日期,断奶日期,预产日期,父亲,母亲) values"
            "('LLYY00000000001','F','no','20240101','20261201',NULL,NULL,'DDAB00000000077','LLYY00000000500'),"
            "('LLYY00000000002','F','no','20240101',NULL,NULL,'20270101','DDAB00000000088','LLYY00000000501'),"
            "('LLYY00000000003','F','yes','20240101','20261201',NULL,NULL,NULL,NULL),"
            "('DDAB00000000150','M','no','20260714',NULL,NULL,NULL,'DDAB00000000077','LLYY00000000600'),"
            "('DDAB00000000151','M','no','20260713',NULL,NULL,NULL,'DDAB00000000077','LLYY00000000601'),"
            "('DDAB00000000900','M','no','20200101',NULL,NULL,NULL,'DDAB00000000099','LLYY00000000602'),"
            "('DDAB00000000999','M','yes','20200101',NULL,NULL,NULL,'DDAB00000000077','LLYY00000000603')")));
    }

    void cleanup()
    {
        delete m_db;
        m_db = nullptr;
        AppClock::setNow(QDateTime());
    }

    void sowListSwitchesBetweenInHeatAndAll()
    {
        CPeiDuiDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("种猪配种自动配对"));
        QVERIFY(dlg.setUp(m_db->path()));
        QCOMPARE(dlg.sowItems(), QStringList{QStringLiteral("LLYY00000000001")});
        QCOMPARE(dlg.sowModeButton()->text(), QStringLiteral("显示所有母猪"));
        dlg.sowModeButton()->click();
        QCOMPARE(dlg.sowItems(), (QStringList{QStringLiteral("LLYY00000000001"), QStringLiteral("LLYY00000000002")}));
        QCOMPARE(dlg.sowModeButton()->text(), QStringLiteral("显示可能发情母猪"));
        dlg.sowModeButton()->click();
        QCOMPARE(dlg.sowItems(), QStringList{QStringLiteral("LLYY00000000001")});
    }

    void boarsOlderThan150DaysWithTheirCoefficient()
    {
        CPeiDuiDlg dlg;
        QVERIFY(dlg.setUp(m_db->path()));
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        const QStringList expected = {QStringLiteral("DDAB00000000151=0.14063"), QStringLiteral("DDAB00000000900=0.00000")};
        QStringList rows = listRows(dlg);
        rows.sort();
        QCOMPARE(rows, expected);
        // Pressed again: each boar once.
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("配对"))
                b->click();
        rows = listRows(dlg);
        rows.sort();
        QCOMPARE(rows, expected);
        // Another sow replaces the list.
        dlg.setSow(QStringLiteral("LLYY00000000002"));
        dlg.pair();
        rows = listRows(dlg);
        rows.sort();
        QCOMPARE(rows, (QStringList{QStringLiteral("DDAB00000000151=0.00000"), QStringLiteral("DDAB00000000900=0.00000")}));
    }

    void aSowTagOf15IsNeeded()
    {
        ScriptedMessages msgs;
        CPeiDuiDlg dlg;
        QVERIFY(dlg.setUp(m_db->path()));
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        dlg.setSow(QStringLiteral("LLYY0000000001"));
        dlg.pair();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("请选择母猪")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        QCOMPARE(listRows(dlg).size(), 2); // the list stays
    }

    void listSortsByEitherColumn()
    {
        CPeiDuiDlg dlg;
        QVERIFY(dlg.setUp(m_db->path()));
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        QHeaderView* header = dlg.coefficientList()->header();
        emit header->sectionClicked(0);
        QCOMPARE(listRows(dlg), (QStringList{QStringLiteral("DDAB00000000900=0.00000"), QStringLiteral("DDAB00000000151=0.14063")}));
        emit header->sectionClicked(0);
        QCOMPARE(listRows(dlg), (QStringList{QStringLiteral("DDAB00000000151=0.14063"), QStringLiteral("DDAB00000000900=0.00000")}));
        emit header->sectionClicked(1);
        QCOMPARE(listRows(dlg).first(), QStringLiteral("DDAB00000000151=0.14063"));
        emit header->sectionClicked(1);
        QCOMPARE(listRows(dlg).first(), QStringLiteral("DDAB00000000900=0.00000"));
    }

    void pairsAreAddedOnceAndGoOnSelection()
    {
        CPeiDuiDlg dlg;
        QVERIFY(dlg.setUp(m_db->path()));
        CGridCtrl* g = dlg.pairingGrid();
        QCOMPARE(g->GetColumnCount(), 4);
        QCOMPARE(g->GetItemText(0, 1), QStringLiteral("母猪耳号"));
        QCOMPARE(g->GetItemText(0, 2), QStringLiteral("公猪耳号"));
        QCOMPARE(g->GetItemText(0, 3), QStringLiteral("近交系数"));
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000151")));
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000151")));
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000900")));
        // The sow typed after "配对" does not change whose list it is.
        dlg.setSow(QStringLiteral("LLYY00000000002"));
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000900")));
        dlg.pair();
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000151")));
        QCOMPARE(pairRows(dlg), (QStringList{QStringLiteral("1 LLYY00000000001 DDAB00000000151 0.14063"),
                                             QStringLiteral("2 LLYY00000000001 DDAB00000000900 0.00000"),
                                             QStringLiteral("3 LLYY00000000002 DDAB00000000151 0.00000")}));
        // Moving the selection onto a pair deletes it; the numbers stay and are not reused.
        g->SetFocusCell(1, 2);
        QCOMPARE(pairRows(dlg), (QStringList{QStringLiteral("2 LLYY00000000001 DDAB00000000900 0.00000"),
                                             QStringLiteral("3 LLYY00000000002 DDAB00000000151 0.00000")}));
        g->SetFocusCell(1, 2);
        QCOMPARE(pairRows(dlg), QStringList{QStringLiteral("3 LLYY00000000002 DDAB00000000151 0.00000")});
        g->SetFocusCell(0, 2); // the header row is no pair
        QCOMPARE(pairRows(dlg).size(), 1);
        dlg.addPair(rowOf(dlg, QStringLiteral("DDAB00000000900")));
        QCOMPARE(pairRows(dlg).last(), QStringLiteral("4 LLYY00000000002 DDAB00000000900 0.00000"));
    }

    void printsThePairingList()
    {
        CPeiDuiDlg dlg;
        QVERIFY(dlg.setUp(m_db->path()));
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        dlg.addPair(0);
        int printed = 0;
        const PrintService::Handler old = PrintService::setHandler([&](PrintService::Mode, const PrintService::Render&) { ++printed; });
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("打印"))
                b->click();
        PrintService::setHandler(old);
        QCOMPARE(printed, 1);
        QTemporaryDir dir;
        QVERIFY(dlg.exportPdf(dir.filePath(QStringLiteral("pairs.pdf"))));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("pairs.pdf"))).size() > 0);
    }

    void exportWritesTheCoefficientList()
    {
        CPeiDuiDlg dlg;
        IExportable& e = dlg;
        QVERIFY(e.exportSetUp(m_db->path()));
        QVERIFY(e.exportSetSow(QStringLiteral("LLYY00000000001")));
        QVERIFY(e.exportAction());
        CGridCtrl* g = e.exportGrid();
        QCOMPARE(g->GetRowCount(), 3);
        QCOMPARE(g->GetItemText(0, 0), QStringLiteral("近交系数"));
        QCOMPARE(g->GetItemText(0, 1), QStringLiteral("公猪"));
        QStringList rows = {g->GetItemText(1, 1) + g->GetItemText(1, 0), g->GetItemText(2, 1) + g->GetItemText(2, 0)};
        rows.sort();
        QCOMPARE(rows, (QStringList{QStringLiteral("DDAB000000001510.14063"), QStringLiteral("DDAB000000009000.00000")}));
    }

    void noDatabaseLeavesTheDialogEmpty()
    {
        ScriptedMessages msgs;
        CPeiDuiDlg dlg;
        QVERIFY(!dlg.setUp(QStringLiteral("/nonexistent/lumbodata.db")));
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("数据库连接失败!")});
        dlg.setSow(QStringLiteral("LLYY00000000001"));
        dlg.pair();
        QCOMPARE(dlg.coefficientList()->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestPeiDuiDlg)
#include "test_peiduidlg.moc"
