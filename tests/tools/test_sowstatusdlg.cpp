#include "csowstatusdlg.h"
#include "gridctrl.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

// The status query dialog as the user meets it: its sow list, its refusal of a bad tag,
// the sentence in the result box, and the table the exporter writes.
class TestSowStatusDlg : public QObject
{
    Q_OBJECT
private slots:
    void listsTheSowsOnTheFarm()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000001','F','no'),"
                                       "('LLYY00000000002','F','yes'),('DDAB00000000009','M','no')")));
        CSowStatusDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("种猪实时状态查询"));
        QCOMPARE(dlg.sowCombo()->count(), 1);
        QCOMPARE(dlg.sowCombo()->itemText(0), QStringLiteral("LLYY00000000001"));
        QVERIFY(dlg.sowCombo()->isEditable());
        QVERIFY(dlg.findChild<QPushButton*>() && dlg.findChild<QPushButton*>()->text() == QStringLiteral("查询"));
    }

    void badTagIsRefusedBeforeAnyQuery()
    {
        TempHerdDb db;
        ScriptedMessages msgs;
        CSowStatusDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        dlg.sowCombo()->setEditText(QStringLiteral("LLYY0000000000"));
        dlg.findChild<QPushButton*>()->click();
        QCOMPARE(msgs.shown().size(), 1);
        QCOMPARE(msgs.shown().at(0).text, QStringLiteral("请选择正确的母猪耳号"));
        QCOMPARE(msgs.shown().at(0).caption, appTitle());
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::None);
        QVERIFY(dlg.resultText().isEmpty());
    }

    void showsTheSentenceAndItsRow()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,返情日期,断奶日期,不存在) values('LLYY00000000001','F','20250320',NULL,'no')")));
        CSowStatusDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        dlg.sowCombo()->setEditText(QStringLiteral("LLYY00000000001"));
        dlg.runQuery();
        QCOMPARE(dlg.resultText(), QStringLiteral("母猪LLYY00000000001处于空怀状态，前一次配种返情，返情日期为20250320"));
        CGridCtrl* t = dlg.exportGrid();
        QCOMPARE(t->GetRowCount(), 2);
        QCOMPARE(t->GetItemText(1, 1), QStringLiteral("空怀(返情)"));
        QCOMPARE(t->GetItemText(1, 2), QStringLiteral("20250320"));
        dlg.sowCombo()->setEditText(QStringLiteral("LLYY00000000007"));
        dlg.runQuery();
        QCOMPARE(dlg.resultText(), QStringLiteral("母猪LLYY00000000007没有找到！"));
    }

    void noDatabase()
    {
        ScriptedMessages msgs;
        CSowStatusDlg dlg;
        QVERIFY(!dlg.setUp(QStringLiteral("/nonexistent/lumbodata.db")));
        QCOMPARE(msgs.texts(), QStringList{"数据库连接失败!"});
    }
};

QTEST_MAIN(TestSowStatusDlg)
#include "test_sowstatusdlg.moc"
