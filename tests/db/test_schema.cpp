// A new farm database: every table and column in order, the default rows the screens
// rely on, and the refusal of files that are not herd databases.
#include "dbconnection.h"
#include "dbrecordset.h"
#include "herdparams.h"
#include "herdschema.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void everyTableWithColumnsInOrder();
    void defaultRows();
    void codedValuesRoundTrip_data();
    void codedValuesRoundTrip();
    void journalIsWal();
    void existingFilesAreNeverOverwritten();
    void lookupsFallBack();
};

void TestSchema::everyTableWithColumnsInOrder()
{
    TempHerdDb db;
    QCOMPARE(HerdSchema::tables().size(), 19);
    for (const HerdSchema::Table& t : HerdSchema::tables()) {
        const QStringList cols = db.rows("select name from pragma_table_info('" + t.name + "') order by cid");
        QCOMPARE(cols, t.columns);
    }
    QCOMPARE(HerdSchema::table("种猪卡")->columns.size(), 30);
    QCOMPARE(HerdSchema::table("配种")->columns.first(), QStringLiteral("id"));
    QCOMPARE(HerdSchema::table("产仔记录")->columns.size(), 27);
    QVERIFY(HerdSchema::table("没有") == nullptr);
    // Bracketed names as the statements write them.
    QCOMPARE(db.scalar("select count([配种日期(1)]) + count([奶头数(左)]) + count([20日龄校重]) from 配种, 种猪卡, 产仔记录"),
             QStringLiteral("0"));
    QVERIFY(HerdSchema::isHerdDatabase(db.path()));
}

void TestSchema::defaultRows()
{
    TempHerdDb db;
    QCOMPARE(db.rows("select 名称,参数 from 参数 order by id"),
             QStringList({"初配天数|2", "待配天数|2", "预产天数|2", "断奶天数|2", "星期超配数|3"}));
    QCOMPARE(db.scalar("select count(*) from 生产目标 where 品种='所有品种'"), QStringLiteral("1"));
    const QStringList breeds = db.rows("select 品种代号 from 品种表");
    for (const char* code : {"LL", "YY", "DD"})
        QVERIFY(breeds.contains(QString::fromUtf8(code)));
    // Every breed has its physiology row.
    QCOMPARE(db.scalar("select count(*) from 品种表 where 品种代号 not in (select 品种 from 生理周期)"), QStringLiteral("0"));
    QCOMPARE(db.rows("select 初配日龄,妊娠天数,哺乳天数,返情后发情天数,断奶后发情天数,流产后发情天数 from 生理周期 where 品种='LL'"),
             QStringList({"230|114|28|21|7|21"}));

    struct Need { const char* table; const char* column; const char* value; };
    const Need needs[] = {
        {"仔猪状态表", "状态", "正常"}, {"仔猪状态表", "状态", "死亡"}, {"仔猪状态表", "状态", "木乃伊"},
        {"库表", "库名称", "后备猪"}, {"库表", "库名称", "肥育猪"}, {"库表", "库名称", "死亡"},
        {"去向表", "状态", "自留"}, {"去向表", "状态", "出售"}, {"去向表", "状态", "死亡"},
        {"配种异常", "异常", "正常"}, {"配种异常", "异常", "流产"},
    };
    for (const Need& n : needs)
        QVERIFY2(db.scalar(QStringLiteral("select count(*) from %1 where %2='%3'").arg(n.table, n.column, n.value)) == "1",
                 n.value);
    QVERIFY(db.scalar("select count(*) from 配种方式表 where 配种方式 like '%人工%'").toInt() >= 1);
}

void TestSchema::codedValuesRoundTrip_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::newRow("sex F") << "种猪卡" << "性别" << "F";
    QTest::newRow("never mated") << "种猪卡" << "返情日期" << "none";
    QTest::newRow("on farm") << "种猪卡" << "不存在" << "no";
    QTest::newRow("gone") << "种猪卡" << "不存在" << "yes";
    QTest::newRow("mating A") << "配种" << "配种日期(1)" << "20050318A";
    QTest::newRow("mating P") << "配种" << "配种日期(2)" << "20050318P";
    QTest::newRow("returned") << "配种" << "返情否" << "Y";
    QTest::newRow("unchecked") << "配种" << "检查时间" << "no";
    QTest::newRow("parity") << "配种" << "胎次" << "10";
    QTest::newRow("piglet state") << "产仔记录" << "仔猪状态" << "木乃伊";
    QTest::newRow("fostered") << "产仔记录" << "带奶" << "寄出";
    QTest::newRow("weight") << "产仔记录" << "20日龄校重" << "5.83";
    QTest::newRow("moved") << "子猪管理" << "转群" << "肥育猪";
    QTest::newRow("price") << "子猪管理" << "单价" << "16.5";
    QTest::newRow("leading zeros stay text") << "产仔记录" << "仔猪耳号" << "LDAAAA105000101";
}

void TestSchema::codedValuesRoundTrip()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, value);
    TempHerdDb db;
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    {
        CDbRecordset rs(&conn);
        QVERIFY(rs.Open("select * from " + table + " where 1=0"));
        QVERIFY(rs.AddNew());
        QVERIFY(rs.SetFieldText(column, value));
        QVERIFY(rs.Update());
    }
    CDbRecordset back(&conn);
    QVERIFY(back.Open("select [" + column + "] from " + table + " where [" + column + "]='" + value + "'"));
    QCOMPARE(back.GetRecordCount(), 1);
    QString v;
    QVERIFY(back.GetFieldText(0, v));
    QCOMPARE(v, value);
    QCOMPARE(db.scalar("select typeof([" + column + "]) from " + table), QStringLiteral("text"));
}

void TestSchema::journalIsWal()
{
    TempHerdDb db;
    QCOMPARE(db.scalar("pragma journal_mode"), QStringLiteral("wal"));
}

void TestSchema::existingFilesAreNeverOverwritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lumbodata.db");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("hello");
    f.close();
    QString error;
    QVERIFY(!HerdSchema::createHerdDatabase(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(HerdSchema::ensureHerdDatabase(path)); // exists: left for the caller to judge
    QVERIFY(!HerdSchema::isHerdDatabase(path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("hello"));

    // A real SQLite file of another program is not a herd database either.
    TempHerdDb herd;
    QVERIFY(herd.exec("drop table 子猪管理"));
    QVERIFY(!HerdSchema::isHerdDatabase(herd.path()));

    // A folder that cannot be written leaves nothing behind.
    QVERIFY(!HerdSchema::createHerdDatabase("/nonexistent-folder/lumbodata.db", &error));
    QVERIFY(!QFile::exists("/nonexistent-folder/lumbodata.db"));
}

void TestSchema::lookupsFallBack()
{
    TempHerdDb db;
    CDbConnection conn;
    QVERIFY(conn.Open(db.path()));
    QCOMPARE(HerdParams::threshold(conn, "星期超配数", 9), 3);
    QCOMPARE(HerdParams::physiology(conn, "LL", "妊娠天数", 0), 114);
    QVERIFY(db.exec("update 生理周期 set 哺乳天数='21天' where 品种='YY'"));
    QCOMPARE(HerdParams::physiology(conn, "YY", "哺乳天数", 28), 21);
    QCOMPARE(HerdParams::physiology(conn, "ZZ", "妊娠天数", 114), 114);
    QVERIFY(db.exec("delete from 参数 where 名称='初配天数'"));
    QCOMPARE(HerdParams::threshold(conn, "初配天数", 2), 2);
    QCOMPARE(HerdParams::threshold(conn, "it's", 5), 5); // a quote in a key is harmless
}

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
