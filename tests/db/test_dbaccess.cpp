// The connection and recordset: conversions, reading rules, writes, filters and
// transactions on a real herd database file.
#include "dbconnection.h"
#include "dbrecordset.h"
#include "testsupport.h"
#include "textutil.h"

#include <QFile>
#include <QTest>

class TestDbAccess : public QObject
{
    Q_OBJECT
private slots:
    void fieldText_data();
    void fieldText();
    void fieldInt_data();
    void fieldInt();
    void fieldDouble();
    void indexOutOfRange();
    void closedRecordsetByNameWarnsOnce();
    void endOfFileReadsNothing();
    void reopenRunsLastStatement();
    void failedOpensAndEmptyResults();
    void strangerFileIsRefusedAndUntouched();
    void addNewUpdateAndNullRoundTrip();
    void editDeleteAndFilter();
    void quoteInValuesRoundTrips();
    void matingIdGrows();
    void deleteStatementLeavesRecordsetClosed();
    void transactionsNest();
    void secondConnectionWaitsForFirst();
    void failedUpdateLeavesNoPendingEdit();
    void sqlFunctions_data();
    void sqlFunctions();
};

namespace {
struct Db {
    TempHerdDb file;
    CDbConnection conn;
    Db() { QVERIFY(conn.Open(file.path())); }
};
}

void TestDbAccess::fieldText_data()
{
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QString>("text");
    QTest::newRow("null") << "null" << "";
    QTest::newRow("empty text") << "''" << "";
    QTest::newRow("integer") << "7" << "7";
    QTest::newRow("64-bit keeps low 32 bits") << "4294967297" << "1";
    QTest::newRow("negative") << "-12" << "-12";
    QTest::newRow("double") << "1.5" << "1.50000000";
    QTest::newRow("text") << "'LL0001'" << "LL0001";
    QTest::newRow("chinese text") << "'长白'" << "长白";
    QTest::newRow("blob") << "x'0001'" << "[BLOB]";
}

void TestDbAccess::fieldText()
{
    QFETCH(QString, expr);
    QFETCH(QString, text);
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select " + expr + " as v"));
    QString out = "unchanged";
    QVERIFY(rs.GetFieldText(0, out));
    QCOMPARE(out, text);
    QVERIFY(rs.GetFieldText(QStringLiteral("V"), out)); // names compare without case
    QCOMPARE(out, text);
}

void TestDbAccess::fieldInt_data()
{
    QTest::addColumn<QString>("expr");
    QTest::addColumn<int>("value");
    QTest::newRow("null") << "null" << 0;
    QTest::newRow("integer") << "42" << 42;
    QTest::newRow("text with unit") << "'12kg'" << 12;
    QTest::newRow("text without digits") << "'kg'" << 0;
    QTest::newRow("empty text") << "''" << 0;
    QTest::newRow("double rounds half up") << "2.5" << 3;
    QTest::newRow("double below half") << "2.49" << 2;
    QTest::newRow("negative text") << "'-7天'" << -7;
}

void TestDbAccess::fieldInt()
{
    QFETCH(QString, expr);
    QFETCH(int, value);
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select " + expr));
    int out = -999;
    QVERIFY(rs.GetFieldInt(0, out));
    QCOMPARE(out, value);
}

void TestDbAccess::fieldDouble()
{
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select '2.5kg', 3, null, 1.25, 'x'"));
    const double expected[] = {2.5, 3.0, 0.0, 1.25, 0.0};
    for (int i = 0; i < 5; ++i) {
        double d = -1;
        QVERIFY(rs.GetFieldDouble(i, d));
        QCOMPARE(d, expected[i]);
    }
    QVERIFY(rs.IsFieldNull(2));
    QVERIFY(!rs.IsFieldNull(0));
}

void TestDbAccess::indexOutOfRange()
{
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select 1, 2"));
    QCOMPARE(rs.GetFieldCount(), 2);
    QString out = "unchanged";
    int i = 5;
    QVERIFY(!rs.GetFieldText(-1, out));
    QVERIFY(!rs.GetFieldText(2, out));
    QVERIFY(!rs.GetFieldInt(2, i));
    QCOMPARE(out, QStringLiteral("unchanged"));
    QCOMPARE(i, 5);
    QVERIFY(!rs.GetFieldText(QStringLiteral("no such field"), out));
    QCOMPARE(out, QStringLiteral("unchanged"));
}

void TestDbAccess::closedRecordsetByNameWarnsOnce()
{
    Db db;
    ScriptedMessages messages;
    CDbRecordset neverOpened(&db.conn);
    CDbRecordset rejected(&db.conn);
    QVERIFY(!rejected.Open("select nonsense from nowhere"));
    QString out;
    for (CDbRecordset* rs : {&neverOpened, &rejected}) {
        messages.clear();
        QVERIFY(!rs->GetFieldText(0, out)); // by index: no message
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(!rs->GetFieldText(QStringLiteral("耳号"), out));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().text, QStringLiteral("数据库可能已经断开,\n请重新连接、然后重试."));
        QCOMPARE(messages.shown().first().caption, QStringLiteral("提示"));
        QCOMPARE(messages.shown().first().icon, MsgIcon::Information);
        // A loop written as every screen writes it ends at once.
        QVERIFY(rs->IsEOF());
    }
}

void TestDbAccess::endOfFileReadsNothing()
{
    Db db;
    ScriptedMessages messages;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select 1 as a union all select 2"));
    QStringList seen;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QString v;
        QVERIFY(rs.GetFieldText(0, v));
        seen << v;
    }
    QCOMPARE(seen, QStringList({"1", "2"}));
    QString out = "unchanged";
    QVERIFY(!rs.GetFieldText(0, out));
    QVERIFY(!rs.GetFieldText(QStringLiteral("a"), out));
    QVERIFY(!rs.MoveNext());
    QCOMPARE(out, QStringLiteral("unchanged"));
    QVERIFY(messages.shown().isEmpty());
    QVERIFY(rs.MoveFirst());
    QCOMPARE(rs.GetAbsolutePosition(), 1);
    QVERIFY(rs.SetAbsolutePosition(2));
    int v = 0;
    QVERIFY(rs.GetFieldInt(0, v));
    QCOMPARE(v, 2);
    QVERIFY(!rs.SetAbsolutePosition(3));
}

void TestDbAccess::reopenRunsLastStatement()
{
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(!rs.Open(QString())); // no statement yet
    QVERIFY(rs.Open("select * from 品种表"));
    const int before = rs.GetRecordCount();
    QVERIFY(db.file.exec("insert into 品种表 values ('BB','巴克夏')"));
    QVERIFY(rs.Open(QString()));
    QCOMPARE(rs.GetRecordCount(), before + 1);
    QCOMPARE(rs.StatementText(), QStringLiteral("select * from 品种表"));
}

void TestDbAccess::failedOpensAndEmptyResults()
{
    CDbConnection missing;
    QVERIFY(!missing.Open("/nonexistent/dir/lumbodata.db"));
    QVERIFY(!missing.IsOpen());
    QVERIFY(!missing.OpenConnectionString(QString())); // nothing stored yet
    QCOMPARE(missing.BeginTrans(), -1);

    Db db;
    QCOMPARE(db.conn.ConnectionText(), "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + db.file.path());
    CDbRecordset noConnection;
    QVERIFY(!noConnection.Open("select 1"));
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 种猪卡"));
    QCOMPARE(rs.GetRecordCount(), 0);
    QVERIFY(rs.IsEOF());
    QVERIFY(!rs.Open("select * from 没有的表"));
    QVERIFY(!rs.IsOpen());
    QCOMPARE(rs.GetRecordCount(), -1);
    QCOMPARE(rs.StatementText(), QStringLiteral("select * from 没有的表")); // replaced even on failure
    // Re-opening the connection with an empty string uses the stored one.
    QVERIFY(db.conn.OpenConnectionString(QString()));
    QVERIFY(db.conn.IsOpen());
}

void TestDbAccess::strangerFileIsRefusedAndUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lumbodata.db");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray content("这不是数据库 — not a database file at all, just some words.\n");
    f.write(content);
    f.close();
    CDbConnection c;
    QVERIFY(!c.Open(path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

void TestDbAccess::addNewUpdateAndNullRoundTrip()
{
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 种猪卡 where 耳号='LL0000000000001'"));
    QVERIFY(rs.IsEOF());
    QVERIFY(rs.AddNew());
    QCOMPARE(rs.GetEditMode(), int(CDbRecordset::EditAdd));
    QVERIFY(rs.SetFieldText(QStringLiteral("耳号"), QStringLiteral("LL0000000000001")));
    QVERIFY(rs.SetFieldText(QStringLiteral("不存在"), QStringLiteral("no")));
    QVERIFY(rs.SetFieldText(QStringLiteral("[奶头数(左)]"), QStringLiteral("7")));
    QVERIFY(rs.SetFieldText(QStringLiteral("备注"), QString()));
    QVERIFY(!rs.SetFieldText(QStringLiteral("没有的列"), QStringLiteral("x")));
    QVERIFY(rs.Update());
    QCOMPARE(rs.GetEditMode(), int(CDbRecordset::EditNone));
    // The new row is current and reads back as stored.
    QString v;
    QVERIFY(rs.GetFieldText(QStringLiteral("耳号"), v));
    QCOMPARE(v, QStringLiteral("LL0000000000001"));
    QVERIFY(rs.GetFieldText(QStringLiteral("奶头数(左)"), v));
    QCOMPARE(v, QStringLiteral("7"));
    QCOMPARE(rs.GetRecordCount(), 1);

    QCOMPARE(db.file.scalar("select count(*) from 种猪卡 where 备注 is null and 返情日期 is null"), QStringLiteral("1"));
    // A NULL state date takes part in neither test.
    QCOMPARE(db.file.scalar("select count(*) from 种猪卡 where 返情日期='none' or 返情日期<>'none'"), QStringLiteral("0"));
    // Text compares without case, as the herd statements expect.
    QCOMPARE(db.file.scalar("select count(*) from 种猪卡 where 耳号='ll0000000000001'"), QStringLiteral("1"));
}

void TestDbAccess::editDeleteAndFilter()
{
    Db db;
    QVERIFY(db.file.exec("insert into 种猪卡(耳号,性别,不存在) values ('LL0000000000001','F','no'),"
                         "('LL0000000000002','F','no'),('DD0000000000003','M','no')"));
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 种猪卡 order by 耳号"));
    QCOMPARE(rs.GetRecordCount(), 3);

    QVERIFY(rs.SetFilter("耳号='LL0000000000002'"));
    QCOMPARE(rs.GetRecordCount(), 1);
    QVERIFY(rs.SetFieldText(QStringLiteral("返情日期"), QStringLiteral("20050318")));
    QCOMPARE(rs.GetEditMode(), int(CDbRecordset::EditInProgress));
    QVERIFY(rs.Update());
    QCOMPARE(db.file.scalar("select 返情日期 from 种猪卡 where 耳号='LL0000000000002'"), QStringLiteral("20050318"));

    QVERIFY(rs.SetFilter("性别='f' and 不存在='no'")); // values compare without case
    QCOMPARE(rs.GetRecordCount(), 2);
    QVERIFY(rs.SetFilter("耳号='nobody'"));
    QVERIFY(rs.IsEOF());
    QVERIFY(!rs.SetFilter("耳号 like 'x%'"));
    QVERIFY(!rs.SetFilter("没有的列='1'"));
    QVERIFY(rs.SetFilter(QString()));
    QCOMPARE(rs.GetRecordCount(), 3);

    // Delete the current row; the next move steps past it.
    QVERIFY(rs.MoveFirst());
    QVERIFY(rs.MoveNext());
    QVERIFY(rs.MoveNext()); // LL...02 sorted last? order: DD..., LL...01, LL...02
    QString tag;
    QVERIFY(rs.GetFieldText(0, tag));
    QCOMPARE(tag, QStringLiteral("LL0000000000002"));
    QVERIFY(rs.MoveFirst());
    QVERIFY(rs.Delete(1));
    QVERIFY(rs.MoveNext());
    QVERIFY(rs.GetFieldText(0, tag));
    QCOMPARE(tag, QStringLiteral("LL0000000000001"));
    QCOMPARE(rs.GetRecordCount(), 2);
    QCOMPARE(db.file.scalar("select count(*) from 种猪卡"), QStringLiteral("2"));

    // Rows of a statement that joins tables or computes values cannot be written.
    CDbRecordset agg(&db.conn);
    QVERIFY(agg.Open("select count(*) as n from 种猪卡"));
    QVERIFY(!agg.AddNew());
    QVERIFY(!agg.SetFieldText(0, QStringLiteral("5")));
    QVERIFY(!agg.Delete(1));
}

void TestDbAccess::quoteInValuesRoundTrips()
{
    Db db;
    const QString remark = QStringLiteral("O'Brien's 猪'); delete from 种猪卡; --");
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 种猪卡 where 耳号=" + TextUtil::sqlQuote(remark)));
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldText(QStringLiteral("耳号"), remark));
    QVERIFY(rs.Update());
    CDbRecordset back(&db.conn);
    QVERIFY(back.Open("select 耳号 from 种猪卡 where 耳号=" + TextUtil::sqlQuote(remark)));
    QCOMPARE(back.GetRecordCount(), 1);
    QVERIFY(back.SetFilter("耳号=" + TextUtil::sqlQuote(remark)));
    QCOMPARE(back.GetRecordCount(), 1);
    QString v;
    QVERIFY(back.GetFieldText(0, v));
    QCOMPARE(v, remark);
}

void TestDbAccess::matingIdGrows()
{
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 配种 where 1=0"));
    int last = 0;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(rs.AddNew());
        QVERIFY(rs.SetFieldText(QStringLiteral("母猪耳号"), QStringLiteral("LL0000000000001")));
        QVERIFY(rs.Update());
        int id = 0;
        QVERIFY(rs.GetFieldInt(0, id)); // id is the first column of select *
        QVERIFY(id > last);
        last = id;
    }
    // A deleted highest id is never handed out again.
    QVERIFY(db.file.exec("delete from 配种 where id=" + QString::number(last)));
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldText(QStringLiteral("母猪耳号"), QStringLiteral("LL0000000000001")));
    QVERIFY(rs.Update());
    int id = 0;
    QVERIFY(rs.GetFieldInt(0, id));
    QVERIFY(id > last);
}

void TestDbAccess::deleteStatementLeavesRecordsetClosed()
{
    Db db;
    QVERIFY(db.file.exec("insert into 种猪卡(耳号) values ('LL0000000000001')"));
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("delete from 种猪卡 where 耳号='LL0000000000001'"));
    QVERIFY(!rs.IsOpen());
    QCOMPARE(db.file.scalar("select count(*) from 种猪卡"), QStringLiteral("0"));
}

void TestDbAccess::transactionsNest()
{
    Db db;
    auto count = [&] { return db.file.scalar("select count(*) from 毛色表").toInt(); };
    const int base = count();
    CDbRecordset rs(&db.conn);
    QCOMPARE(db.conn.BeginTrans(), 1);
    QVERIFY(rs.Open("delete from 毛色表 where 毛色='白'"));
    QCOMPARE(db.conn.BeginTrans(), 2);
    QVERIFY(rs.Open("delete from 毛色表"));
    QVERIFY(db.conn.RollbackTrans()); // undoes only the inner delete
    QCOMPARE(db.conn.TransLevel(), 1);
    QVERIFY(db.conn.RollbackTrans());
    QCOMPARE(count(), base);
    QVERIFY(!db.conn.CommitTrans()); // nothing open

    QCOMPARE(db.conn.BeginTrans(), 1);
    QVERIFY(rs.Open("delete from 毛色表 where 毛色='白'"));
    QCOMPARE(db.conn.BeginTrans(), 2);
    QVERIFY(db.conn.CommitTrans());
    QVERIFY(db.conn.CommitTrans());
    QCOMPARE(count(), base - 1);
}

void TestDbAccess::secondConnectionWaitsForFirst()
{
    Db db;
    db.conn.SetOwnerName(QStringLiteral("种猪档案"));
    CDbConnection other;
    QVERIFY(other.Open(db.file.path()));
    QVERIFY(other.OtherWriteLockHolder().isEmpty());

    QCOMPARE(db.conn.BeginTrans(), 1);
    CDbRecordset mine(&db.conn);
    QVERIFY(mine.Open("select * from 毛色表 where 1=0"));
    QVERIFY(mine.AddNew());
    QVERIFY(mine.SetFieldText(QStringLiteral("毛色"), QStringLiteral("灰")));
    QVERIFY(mine.Update());

    // The other window still reads the last saved state...
    CDbRecordset theirs(&other);
    QVERIFY(theirs.Open("select * from 毛色表 where 毛色='灰'"));
    QCOMPARE(theirs.GetRecordCount(), 0);
    // ...but cannot write, and learns who holds the lock.
    QCOMPARE(other.BeginTrans(), -1);
    QVERIFY(other.LastErrorWasBusy());
    QCOMPARE(other.OtherWriteLockHolder(), QStringLiteral("种猪档案"));
    QVERIFY(theirs.Open("select * from 毛色表 where 1=0"));
    QVERIFY(theirs.AddNew());
    QVERIFY(theirs.SetFieldText(QStringLiteral("毛色"), QStringLiteral("褐")));
    QVERIFY(!theirs.Update());
    QVERIFY(theirs.LastErrorWasBusy());

    QVERIFY(db.conn.CommitTrans());
    QVERIFY(other.OtherWriteLockHolder().isEmpty());
    QVERIFY(theirs.AddNew());
    QVERIFY(theirs.SetFieldText(QStringLiteral("毛色"), QStringLiteral("褐")));
    QVERIFY(theirs.Update());
    QCOMPARE(db.file.scalar("select count(*) from 毛色表 where 毛色 in ('灰','褐')"), QStringLiteral("2"));
}

void TestDbAccess::failedUpdateLeavesNoPendingEdit()
{
    Db db;
    CDbConnection other;
    QVERIFY(other.Open(db.file.path()));
    QCOMPARE(other.BeginTrans(), 1); // holds the write lock
    CDbRecordset rs(&db.conn);
    QVERIFY(rs.Open("select * from 毛色表 where 1=0"));
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldText(QStringLiteral("毛色"), QStringLiteral("灰")));
    QVERIFY(!rs.Update());
    QCOMPARE(rs.GetEditMode(), int(CDbRecordset::EditNone));
    QCOMPARE(rs.GetRecordCount(), 0); // nothing shown that was not stored
    QVERIFY(other.RollbackTrans());
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldText(QStringLiteral("毛色"), QStringLiteral("褐")));
    QVERIFY(rs.Update());
    QCOMPARE(db.file.scalar("select group_concat(毛色) from 毛色表 where 毛色 in ('灰','褐')"), QStringLiteral("褐"));
}

void TestDbAccess::sqlFunctions_data()
{
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QString>("result");
    QTest::newRow("cint text") << "cint('12')" << "12";
    QTest::newRow("cint rounds") << "cint('12.6')" << "13";
    QTest::newRow("cint half to even") << "cint('2.5')" << "2";
    QTest::newRow("cint prefix") << "cint('3头')" << "3";
    QTest::newRow("cint null stays null") << "coalesce(cint(null),'null')" << "null";
    QTest::newRow("cdbl prefix") << "cdbl('1.35kg')" << "1.35";
    QTest::newRow("cdbl empty") << "cdbl('')" << "0.0";
    QTest::newRow("CSng product") << "CSng('2.5')*CSng('4')" << "10.0";
    QTest::newRow("max over texts") << "(select max(cint(x)) from (select '9' as x union all select '10'))" << "10";
    QTest::newRow("sum with nulls") << "(select sum(cdbl(x)) from (select '1.5' as x union all select null))" << "1.5";
}

void TestDbAccess::sqlFunctions()
{
    QFETCH(QString, expr);
    QFETCH(QString, result);
    Db db;
    CDbRecordset rs(&db.conn);
    QVERIFY2(rs.Open("select " + expr), qPrintable(rs.LastError()));
    QString v;
    QVERIFY(rs.GetFieldText(0, v));
    if (v.contains('.'))
        QCOMPARE(v.toDouble(), result.toDouble());
    else
        QCOMPARE(v, result);
}

QTEST_GUILESS_MAIN(TestDbAccess)
#include "test_dbaccess.moc"
