#include "cparamgriddlg.h"
#include "csettingsdlg.h"
#include "dbconnection.h"
#include "gridctrl.h"
#include "herdparams.h"
#include "testsupport.h"

#include <QPushButton>
#include <QTest>

using Mode = CParamGridDlg::Mode;

namespace {

QStringList gridRow(const CParamGridDlg& dlg, int row)
{
    QStringList cells;
    for (int c = 0; c < dlg.grid()->GetColumnCount(); ++c)
        cells << dlg.grid()->GetItemText(row, c);
    return cells;
}

// Breeds in column 0 from row 1, stopping at the first empty one.
QStringList breedColumn(const CParamGridDlg& dlg)
{
    QStringList out;
    for (int r = 1; r < dlg.grid()->GetRowCount() && !dlg.grid()->GetItemText(r, 0).isEmpty(); ++r)
        out << dlg.grid()->GetItemText(r, 0);
    return out;
}

} // namespace

class TestParamGridDlg : public QObject
{
    Q_OBJECT
private slots:
    void shape_data();
    void shape();
    void newBreedGetsRowAndIsStored();
    void allBreedsRowAlwaysPresent_data();
    void allBreedsRowAlwaysPresent();
    void twoRecordsOfOneBreed();
    void manyBreedsEachGetARow();
    void values_data();
    void values();
    void typedValueChecked();
    void cancelWritesNothing();
    void failedSaveKeepsTableAndDialog();
    void connectionFailure();
    void hubOpensBothModes();
};

void TestParamGridDlg::shape_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("last");
    QTest::newRow("physiology") << int(Mode::Physiology) << "设置母猪生理参数" << 7 << "流产后发情天数";
    QTest::newRow("targets") << int(Mode::Targets) << "设置猪场生产目标" << 21 << "公猪总数";
}

void TestParamGridDlg::shape()
{
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(int, columns);
    QFETCH(QString, last);
    TempHerdDb db;
    CParamGridDlg dlg{Mode(mode)};
    QVERIFY(dlg.setUp(db.path()));
    QCOMPARE(dlg.windowTitle(), caption);
    CGridCtrl* grid = dlg.grid();
    QCOMPARE(grid->GetColumnCount(), columns);
    QCOMPARE(grid->GetFixedRowCount(), 1);
    QCOMPARE(grid->GetFixedColumnCount(), 1);
    QCOMPARE(grid->GetItemText(0, 0), QStringLiteral("品种"));
    QCOMPARE(grid->GetItemText(0, columns - 1), last);
    QVERIFY(!grid->IsCellEditable(1, 0)); // the breed column
    QVERIFY(grid->IsCellEditable(1, 1));
    // n records plus ten rows (header included), every row as high as the header.
    const int n = db.scalar("select count(*) from " + CParamGridDlg::tableName(Mode(mode))).toInt();
    QCOMPARE(grid->GetRowCount(), n + 10);
    QCOMPARE(grid->GetRowHeight(n + 5), grid->GetRowHeight(0));
    const QList<QPushButton*> buttons = dlg.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 2);
}

void TestParamGridDlg::newBreedGetsRowAndIsStored()
{
    TempHerdDb db;
    QVERIFY(db.exec("insert into 品种表 values('PP','皮特兰')"));
    QVERIFY(db.exec("insert into 品种表 values('HH','汉普夏')"));
    CParamGridDlg dlg(Mode::Physiology);
    dlg.setUp(db.path());
    const int n = db.scalar("select count(*) from 生理周期").toInt();
    // The records first, ordered by breed, then the breeds without a record.
    QCOMPARE(breedColumn(dlg).mid(n), (QStringList{"PP", "HH"}));
    const int pp = dlg.rowOf("PP");
    QCOMPARE(gridRow(dlg, pp), (QStringList{"PP", "", "", "", "", "", ""}));
    const QStringList values = {"240", "115", "21", "20", "6", "22"};
    for (int c = 1; c <= 6; ++c)
        QVERIFY(dlg.grid()->EditCell(pp, c, values.at(c - 1)));
    QString error;
    QVERIFY2(dlg.save(&error), qPrintable(error));
    QCOMPARE(db.rows("select * from 生理周期 where 品种='PP'"), QStringList{"PP|" + values.join('|')});
    // A breed left empty is still stored, with empty values.
    QCOMPARE(db.rows("select * from 生理周期 where 品种='HH'"),
             QStringList{"HH|<null>|<null>|<null>|<null>|<null>|<null>"});
    QCOMPARE(db.scalar("select count(*) from 生理周期").toInt(), n + 2);
    // The screens read the new breed's values the next time they open.
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    QCOMPARE(HerdParams::physiology(conn, "PP", "妊娠天数", 114), 115);

    // Opening again shows the stored rows and no second row for them.
    CParamGridDlg again(Mode::Physiology);
    again.setUp(db.path());
    QCOMPARE(breedColumn(again).count("PP"), 1);
    QCOMPARE(db.scalar("select count(*) from 生理周期").toInt(), n + 2);
    QVERIFY(again.save());
    QCOMPARE(db.scalar("select count(*) from 生理周期").toInt(), n + 2);
}

void TestParamGridDlg::allBreedsRowAlwaysPresent_data()
{
    QTest::addColumn<bool>("inTable");
    QTest::newRow("from the table") << true;
    QTest::newRow("added") << false;
}

void TestParamGridDlg::allBreedsRowAlwaysPresent()
{
    QFETCH(bool, inTable);
    TempHerdDb db;
    if (!inTable)
        QVERIFY(db.exec("delete from 生产目标"));
    CParamGridDlg dlg(Mode::Targets);
    dlg.setUp(db.path());
    QCOMPARE(breedColumn(dlg).count("所有品种"), 1);
    QCOMPARE(dlg.breedList().last(), QStringLiteral("所有品种"));
    const int row = dlg.rowOf("所有品种");
    if (inTable) {
        QCOMPARE(row, 1);
        QCOMPARE(dlg.grid()->GetItemText(row, 1), QStringLiteral("300"));
    } else {
        // After every breed of the breed list.
        QCOMPARE(row, db.scalar("select count(*) from 品种表").toInt() + 1);
    }
    // The physiology grid has no whole-farm row.
    CParamGridDlg physiology(Mode::Physiology);
    physiology.setUp(db.path());
    QCOMPARE(physiology.rowOf("所有品种"), -1);
}

void TestParamGridDlg::twoRecordsOfOneBreed()
{
    TempHerdDb db;
    QVERIFY(db.exec("delete from 生理周期"));
    QVERIFY(db.exec("delete from 品种表"));
    QVERIFY(db.exec("insert into 品种表 values('LL','长白')"));
    QVERIFY(db.exec("insert into 生理周期 values('LL','200','110','21','20','5','20')"));
    QVERIFY(db.exec("insert into 生理周期 values('LL','210','111','22','21','6','21')"));
    CParamGridDlg dlg(Mode::Physiology);
    dlg.setUp(db.path());
    QCOMPARE(breedColumn(dlg), (QStringList{"LL", "LL"})); // both shown, no third row
    QCOMPARE(dlg.grid()->GetItemText(1, 1), QStringLiteral("200"));
    QCOMPARE(dlg.grid()->GetItemText(2, 1), QStringLiteral("210"));
    QVERIFY(dlg.grid()->EditCell(1, 1, "201"));
    QVERIFY(dlg.grid()->EditCell(2, 1, "211"));
    QVERIFY(dlg.save());
    QCOMPARE(db.rows("select 初配日龄 from 生理周期 order by rowid"), (QStringList{"201", "211"}));
}

void TestParamGridDlg::manyBreedsEachGetARow()
{
    // More breeds than the grid's spare rows, none with a record.
    TempHerdDb db;
    QVERIFY(db.exec("delete from 生产目标"));
    QVERIFY(db.exec("delete from 品种表"));
    QStringList codes;
    for (int i = 0; i < 25; ++i) {
        const QString code = QString("B%1").arg(QChar('A' + i));
        codes << code;
        QVERIFY(db.exec("insert into 品种表 values('" + code + "','品种" + QString::number(i) + "')"));
    }
    CParamGridDlg dlg(Mode::Targets);
    dlg.setUp(db.path());
    QCOMPARE(breedColumn(dlg), codes + QStringList{"所有品种"});
    QVERIFY(dlg.save());
    QCOMPARE(db.scalar("select count(*) from 生产目标").toInt(), 26);
}

void TestParamGridDlg::values_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("days") << int(Mode::Physiology) << 2 << "114" << true;
    QTest::newRow("days with a fraction") << int(Mode::Physiology) << 2 << "114.5" << false;
    QTest::newRow("days in words") << int(Mode::Physiology) << 3 << "四周" << false;
    QTest::newRow("negative days") << int(Mode::Physiology) << 1 << "-3" << false;
    QTest::newRow("empty clears") << int(Mode::Physiology) << 1 << "" << true;
    QTest::newRow("sows are whole") << int(Mode::Targets) << 1 << "300" << true;
    QTest::newRow("half a sow") << int(Mode::Targets) << 1 << "300.5" << false;
    QTest::newRow("rate with fraction") << int(Mode::Targets) << 2 << "40.5" << true;
    QTest::newRow("litters per year") << int(Mode::Targets) << 3 << "2.3" << true;
    QTest::newRow("live born per litter") << int(Mode::Targets) << 6 << "11.5" << true;
    QTest::newRow("deaths per litter") << int(Mode::Targets) << 10 << "0.5" << true;
    QTest::newRow("weight starting with a point") << int(Mode::Targets) << 16 << ".5" << true;
    QTest::newRow("percent sign") << int(Mode::Targets) << 4 << "85%" << false;
    QTest::newRow("two points") << int(Mode::Targets) << 9 << "1.4.2" << false;
    QTest::newRow("weaning age whole") << int(Mode::Targets) << 15 << "24.5" << false;
    QTest::newRow("boars whole") << int(Mode::Targets) << 20 << "15" << true;
}

void TestParamGridDlg::values()
{
    QFETCH(int, mode);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(CParamGridDlg::isValidValue(Mode(mode), col, text), valid);
}

void TestParamGridDlg::typedValueChecked()
{
    TempHerdDb db;
    ScriptedMessages messages;
    CParamGridDlg dlg(Mode::Physiology);
    dlg.setUp(db.path());
    const QString before = dlg.grid()->GetItemText(1, 2);
    dlg.grid()->EditCell(1, 2, "abc");
    QCOMPARE(dlg.grid()->GetItemText(1, 2), before); // the previous value comes back
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.texts().first().contains("妊娠天数"));
    QCOMPARE(messages.shown().first().caption, QStringLiteral("错误"));
    dlg.grid()->EditCell(1, 2, " 116 ");
    QCOMPARE(dlg.grid()->GetItemText(1, 2), QStringLiteral("116"));
    QCOMPARE(messages.shown().size(), 1);
}

void TestParamGridDlg::cancelWritesNothing()
{
    TempHerdDb db;
    const QStringList before = db.rows("select * from 生产目标 order by rowid");
    CParamGridDlg dlg(Mode::Targets);
    dlg.setUp(db.path());
    dlg.grid()->EditCell(1, 1, "999");
    dlg.reject();
    QCOMPARE(db.rows("select * from 生产目标 order by rowid"), before);
}

void TestParamGridDlg::failedSaveKeepsTableAndDialog()
{
    TempHerdDb db;
    QVERIFY(db.exec("insert into 品种表 values('PP','皮特兰')"));
    QVERIFY(db.exec("create trigger refuse before insert on 生理周期 when new.品种='PP' "
                    "begin select raise(abort,'refused'); end"));
    const QStringList before = db.rows("select * from 生理周期 order by rowid");
    ScriptedMessages messages;
    CParamGridDlg dlg(Mode::Physiology);
    dlg.setUp(db.path());
    dlg.show();
    dlg.grid()->EditCell(1, 1, "999"); // an update before the refused insert
    dlg.OnOK();
    QVERIFY(dlg.isVisible());
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY(messages.texts().first().startsWith("保存失败"));
    QCOMPARE(db.rows("select * from 生理周期 order by rowid"), before);
    QCOMPARE(dlg.grid()->GetItemText(1, 1), QStringLiteral("999"));
    QVERIFY(dlg.rowOf("PP") > 0);
    dlg.reject();
}

void TestParamGridDlg::connectionFailure()
{
    ScriptedMessages messages;
    CParamGridDlg dlg(Mode::Targets);
    QVERIFY(!dlg.setUp("/nonexistent/folder/lumbodata.db"));
    QCOMPARE(messages.texts(), QStringList{"数据库连接失败!"});
    QCOMPARE(dlg.grid()->GetRowCount(), 1);
    dlg.show();
    dlg.OnOK(); // nothing to store: the dialog just closes
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TestParamGridDlg::hubOpensBothModes()
{
    TempHerdDb db;
    QStringList captions;
    auto previous = CSettingsDlg::setDialogRunner([&](QDialog* d) {
        captions << d->windowTitle();
        return int(QDialog::Rejected);
    });
    CSettingsDlg hub;
    hub.setUp(db.path());
    hub.button(CSettingsDlg::IDC_PHYSIOLOGY)->click();
    hub.button(CSettingsDlg::IDC_TARGETS)->click();
    CSettingsDlg::setDialogRunner(previous);
    QCOMPARE(captions, (QStringList{"设置母猪生理参数", "设置猪场生产目标"}));
}

QTEST_MAIN(TestParamGridDlg)
#include "test_paramgriddlg.moc"
