#include "archivebook.h"
#include "entryfixture.h"

class TestArchiveBook : public QObject
{
    Q_OBJECT
    const QString sow = QStringLiteral("LLYY00000000001");

private slots:
    void newCardHoldsOnlyTheTag()
    {
        EntryFarm farm;
        ArchiveBook book(farm.conn, farm.access());
        const EditOutcome o = book.editEarTag(QString(), sow);
        QVERIFY(o.stored());
        QCOMPARE(farm.mine(QStringLiteral("select 耳号,性别,返情日期,断奶日期,预产日期,不存在 from 种猪卡")),
                 QStringList{sow + "|<null>|<null>|<null>|<null>|no"});
        QCOMPARE(farm.conn.TransLevel(), 1); // kept until saved
        QVERIFY(farm.saved(QStringLiteral("select 耳号 from 种猪卡")).isEmpty());
    }

    void refusedValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // A wrong tag length says what a tag looks like; a date message names its field.
        const QString tag15 = ValueRules::earTagLengthText();
        const QString birth = QStringLiteral("出生日期：日期为8位\n\n格式:YYYYMMDD");
        QTest::newRow("tag 14") << 1 << "LLYY0000000000" << tag15;
        QTest::newRow("tag 16") << 1 << "LLYY000000000000" << tag15;
        QTest::newRow("birth date 7") << 8 << "2025011" << birth;
        QTest::newRow("birth date letters") << 8 << "2025ab11" << birth;
        QTest::newRow("joined date not a day") << 5 << "20250230"
                                               << "入群时间：日期无效\n\n20250230 不是日历上的日期（格式:YYYYMMDD）";
        QTest::newRow("date emptied") << 5 << "" << "入群时间：日期为8位\n\n格式:YYYYMMDD";
        QTest::newRow("sire 14") << 12 << "DDDD0000000000" << ValueRules::earTagLengthText("父亲");
        QTest::newRow("great-grandparent 16") << 25 << "DDDD000000000000" << ValueRules::earTagLengthText("母母母");
    }
    void refusedValues()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        EntryFarm farm;
        farm.card(sow);
        ArchiveBook book(farm.conn, farm.access());
        const EditOutcome o = column == 1 ? book.editEarTag(sow, text) : book.editField(column, sow, QStringLiteral("x"), text);
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(o.message, message);
        QCOMPARE(o.caption, QStringLiteral("错误"));
        QCOMPARE(o.icon, MsgIcon::Stop);
        QCOMPARE(farm.conn.TransLevel(), 0); // nothing written, no lock taken
    }

    void storedValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("sex") << 2 << "性别" << "F" << "F";
        QTest::newRow("birth date") << 8 << "出生日期" << "20240229" << "20240229";
        QTest::newRow("colour emptied stores null") << 3 << "毛色" << "" << "<null>";
        QTest::newRow("birth weight emptied") << 9 << "出生重" << "" << "<null>";
        QTest::newRow("sire") << 12 << "父亲" << "DDDD00000000009" << "DDDD00000000009";
        QTest::newRow("pedigree may be emptied") << 25 << "母母母" << "" << "<null>";
    }
    void storedValues()
    {
        QFETCH(int, column);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,毛色,出生重,母母母,不存在) values('%1','白','1.2','DDDD00000000003','no')").arg(sow)));
        ArchiveBook book(farm.conn, farm.access());
        QVERIFY(book.editField(column, sow, QStringLiteral("old"), text).stored());
        QCOMPARE(farm.mineScalar(QStringLiteral("select [%1] from 种猪卡").arg(field)), stored);
    }

    void rowWithoutTagIsEmptied()
    {
        EntryFarm farm;
        ArchiveBook book(farm.conn, farm.access());
        const EditOutcome o = book.editField(9, QString(), QString(), QStringLiteral("1.5"));
        QCOMPARE(o.kind, EditOutcome::Clear);
        QCOMPARE(o.message, QStringLiteral("请先填入耳号"));
        QCOMPARE(o.caption, QStringLiteral("警告"));
        QCOMPARE(o.icon, MsgIcon::Warning);
    }

    void sameTextWritesNothing()
    {
        EntryFarm farm;
        farm.card(sow);
        ArchiveBook book(farm.conn, farm.access());
        QCOMPARE(book.editEarTag(sow, sow).kind, EditOutcome::Unchanged);
        QCOMPARE(book.editField(9, sow, QStringLiteral("1"), QStringLiteral("1")).kind, EditOutcome::Unchanged);
        QCOMPARE(farm.conn.TransLevel(), 0);
    }

    void duplicateTagIsRefused()
    {
        EntryFarm farm;
        farm.card(sow);
        farm.card(QStringLiteral("LLYY00000000002"));
        ArchiveBook book(farm.conn, farm.access());
        EditOutcome o = book.editEarTag(QString(), sow);
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(o.message, QStringLiteral("耳号LLYY00000000001已经存在，不能重复建立种猪档案"));
        o = book.editEarTag(QStringLiteral("LLYY00000000002"), sow); // a rename onto another pig
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("2"));
    }

    void renameLeavesOtherTablesAlone()
    {
        EntryFarm farm;
        farm.card(sow);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次) values('%1','1')").arg(sow)));
        ArchiveBook book(farm.conn, farm.access());
        const QString renamed = QStringLiteral("LLYY00000000007");
        QVERIFY(book.editEarTag(sow, renamed).stored());
        QCOMPARE(farm.mine(QStringLiteral("select 耳号 from 种猪卡")), QStringList{renamed});
        QCOMPARE(farm.mineScalar(QStringLiteral("select 母猪耳号 from 配种")), sow);
    }

    void deleteCascadesAndRollsBack()
    {
        EntryFarm farm;
        farm.card(sow);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,胎次) values('%1','DDDD00000000009','1'),"
                                            "('LLYY00000000002','%1','1')").arg(sow)));
        QVERIFY(farm.db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,仔猪耳号) values('%1','p1'),('%1','p2')").arg(sow)));
        ArchiveBook book(farm.conn, farm.access());
        QString message;
        QVERIFY(book.deletePig(sow, &message));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("0"));
        // Her own matings and litters go; a mating where the tag is the boar stays.
        QCOMPARE(farm.mine(QStringLiteral("select 母猪耳号 from 配种")), QStringList{"LLYY00000000002"});
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("0"));
        // No at the close question: everything comes back.
        QVERIFY(farm.conn.RollbackTrans());
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("1"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 配种")), QStringLiteral("2"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("2"));
    }

    void loadAndSummary()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,不存在) values('LLYY00000000003','F','no'),('LLYY00000000001','F','no'),"
            "('LLYY00000000002','F','no'),('DDDD00000000001','M','no'),('DDDD00000000002',NULL,'no'),"
            "('LLYY00000000009','F','yes')")));
        ArchiveBook book(farm.conn, farm.access());
        QVector<QStringList> cards;
        int sows = 0, boars = 0;
        QVERIFY(book.load(cards, &sows, &boars));
        QCOMPARE(cards.size(), 5); // the sold pig is not shown
        QCOMPARE(cards.first().size(), 25);
        QCOMPARE(cards.first().first(), QStringLiteral("DDDD00000000001"));
        QCOMPARE(ArchiveBook::summaryText(cards.size(), sows, boars), QStringLiteral("猪场共有种猪5头，其中母猪3头，公猪2头。"));
    }

    // Another window holds the write lock: nothing is written, the edit is not stored.
    void lockedByAnotherWindow()
    {
        EntryFarm farm;
        farm.card(sow);
        CDbConnection other;
        QVERIFY(other.Open(farm.db.path()));
        other.SetOwnerName(QStringLiteral("配种记录"));
        QVERIFY(other.BeginTrans() > 0);
        QString holder;
        ArchiveBook book(farm.conn, [&] {
            if (farm.conn.TransLevel() > 0 || farm.conn.BeginTrans() > 0)
                return true;
            holder = farm.conn.OtherWriteLockHolder();
            return false;
        });
        const EditOutcome o = book.editField(9, sow, QString(), QStringLiteral("1.5"));
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(holder, QStringLiteral("配种记录"));
        other.RollbackTrans();
        QVERIFY(farm.saved(QStringLiteral("select 出生重 from 种猪卡")) == QStringList{"<null>"});
    }
};

QTEST_GUILESS_MAIN(TestArchiveBook)
#include "test_archivebook.moc"
