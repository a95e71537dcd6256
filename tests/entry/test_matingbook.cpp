#include "entryfixture.h"
#include "matingbook.h"

// The mating screen's rules on the database: proposals of a new mating, the checks of
// each column, and the card state the edits leave.
class TestMatingBook : public QObject
{
    Q_OBJECT
    const QString sow = QStringLiteral("LLYY00000000001");
    const QString boar = QStringLiteral("DDAB00000000009");
    const QString cardDates = QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡 where 耳号='LLYY00000000001'");

    qint64 newMating(EntryFarm& farm, MatingBook& book)
    {
        // Only a sow with a card in the herd is mated.
        if (farm.mineScalar(QStringLiteral("select count(*) from 种猪卡 where 耳号='%1'").arg(sow)) == QLatin1String("0"))
            farm.card(sow);
        const EditOutcome o = book.editSow(0, QString(), sow);
        if (!o.stored())
            qWarning("new mating not stored: %s", qPrintable(o.message));
        return o.newId;
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2003, 1, 1), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void newMatingProposals()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("delete from 生理周期")));
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,返情日期,断奶日期,不存在) values('%1','F','none','none','no')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        const EditOutcome o = book.editSow(0, QString(), sow);
        QVERIFY(o.stored());
        QVERIFY(o.newId > 0);
        QCOMPARE(o.cells.value(MatingBook::ColSowBreed), QStringLiteral("LL"));
        QCOMPARE(o.cells.value(MatingBook::ColFirst), QStringLiteral("20030101A"));
        QCOMPARE(o.cells.value(MatingBook::ColSecond), QStringLiteral("20030101P"));
        QCOMPARE(o.cells.value(MatingBook::ColParity), QStringLiteral("1"));
        QCOMPARE(o.cells.value(MatingBook::ColReturned), QStringLiteral("N"));
        QCOMPARE(o.cells.value(MatingBook::ColDue), QStringLiteral("20030425")); // 114 days
        QCOMPARE(farm.mine(QStringLiteral("select 母猪耳号,母猪品种,[配种日期(1)],[配种日期(2)],胎次,返情否,预产日期,异常,异常时间,已产,检查时间 from 配种")),
                 QStringList{sow + "|LL|20030101A|20030101P|1|N|20030425|<null>|<null>|no|no"});
        // The expected date makes her pregnant on her card (she leaves the gilt lists).
        QCOMPARE(farm.mine(cardDates), QStringList{"<null>|<null>|20030425"});
    }

    void parityOfTheNextMating_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("parity");
        QTest::newRow("no matings") << "" << "1";
        QTest::newRow("after parity 3") << "('%1','3','N','20020101A')" << "4";
        QTest::newRow("after a return in parity 3") << "('%1','3','Y','20020101A')" << "3";
        QTest::newRow("the latest counts") << "('%1','3','Y','20020101A'),('%1','2','N','20010101A')" << "3";
    }
    void parityOfTheNextMating()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, parity);
        EntryFarm farm;
        farm.card(sow);
        if (!fixture.isEmpty())
            QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)]) values") + fixture.arg(sow)));
        MatingBook book(farm.conn, farm.access());
        QCOMPARE(book.editSow(0, QString(), sow).cells.value(MatingBook::ColParity), parity);
    }

    void refusedValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString time9 = QStringLiteral("配种时间必须为9位\n\n8位时间+A或P");
        const QString date8 = QStringLiteral("配种时间必须为8位\n\n格式YYYYMMDD");
        QTest::newRow("sow tag 14") << 1 << "LLYY0000000000" << ValueRules::earTagLengthText();
        QTest::newRow("first 8 long") << 5 << "20030105" << time9;
        QTest::newRow("first other letter") << 5 << "20030105B" << time9;
        QTest::newRow("first not a day") << 5 << "20030230A" << time9;
        QTest::newRow("second 10 long") << 6 << "20030105PP" << time9;
        QTest::newRow("due 7 long") << 10 << "2003042" << date8;
        QTest::newRow("due emptied") << 10 << "" << date8;
        QTest::newRow("abnormality date 9 long") << 13 << "200312011" << date8;
        QTest::newRow("abnormality date not a day") << 13 << "20031301"
                                                    << "发生时间：日期无效\n\n20031301 不是日历上的日期（格式:YYYYMMDD）";
        QTest::newRow("boar 14") << 3 << "DDAB0000000000" << ValueRules::earTagLengthText("公猪耳号");
    }
    void refusedValues()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        EntryFarm farm;
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        const QString before = farm.mine(QStringLiteral("select * from 配种")).join('\n');
        const EditOutcome o = column == 1 ? book.editSow(id, sow, text) : book.editField(id, column, sow, QStringLiteral("x"), text);
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(o.message, message);
        QCOMPARE(o.caption, QStringLiteral("错误"));
        QCOMPARE(o.icon, MsgIcon::Stop);
        QCOMPARE(farm.mine(QStringLiteral("select * from 配种")).join('\n'), before);
    }

    void rowWithoutSow()
    {
        EntryFarm farm;
        MatingBook book(farm.conn, farm.access());
        EditOutcome o = book.editField(0, MatingBook::ColMethod, QString(), QString(), QStringLiteral("本交"));
        QCOMPARE(o.kind, EditOutcome::Clear);
        QCOMPARE(o.message, QStringLiteral("请先填入母猪耳号"));
        QCOMPARE(o.caption, QStringLiteral("警告"));
        // The first mating time of an empty row is refused, not emptied.
        o = book.editField(0, MatingBook::ColFirst, QString(), QString(), QStringLiteral("20030105A"));
        QCOMPARE(o.kind, EditOutcome::Restore);
        QCOMPARE(o.message, QStringLiteral("请先填入母猪耳号"));
        QCOMPARE(o.caption, QStringLiteral("错误"));
    }

    void changingTheFirstTimeMovesSecondAndDue()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("delete from 生理周期")));
        farm.card(sow);
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        AppClock::setNow(QDateTime(QDate(2003, 1, 10), QTime(9, 0))); // the service was a few days ago
        const EditOutcome o = book.editField(id, MatingBook::ColFirst, sow, QStringLiteral("20030101A"), QStringLiteral("20030105P"));
        QVERIFY(o.stored());
        QCOMPARE(o.cells.value(MatingBook::ColSecond), QStringLiteral("20030105P"));
        QCOMPARE(o.cells.value(MatingBook::ColDue), QStringLiteral("20030429"));
        QCOMPARE(farm.mine(QStringLiteral("select [配种日期(1)],[配种日期(2)],预产日期 from 配种")),
                 QStringList{"20030105P|20030105P|20030429"});
        QCOMPARE(farm.mine(cardDates), QStringList{"<null>|<null>|20030429"});
    }

    void boarSetsHisBreed()
    {
        EntryFarm farm;
        farm.card(boar, QStringLiteral("M"));
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        const EditOutcome o = book.editField(id, MatingBook::ColBoar, sow, QString(), boar);
        QCOMPARE(o.cells.value(MatingBook::ColBoarBreed), QStringLiteral("DD"));
        QCOMPARE(farm.mine(QStringLiteral("select 公猪耳号,公猪品种 from 配种")), QStringList{boar + "|DD"});
    }

    // 返情 "Y" marks the card returned; taking it back makes her pregnant again.
    void returnToHeatAndBack()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("delete from 生理周期")));
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,断奶日期,不存在) values('%1','F','20021201','no')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        EditOutcome o = book.editField(id, MatingBook::ColReturned, sow, QStringLiteral("N"), QStringLiteral("Y"));
        QVERIFY(o.stored());
        QCOMPARE(o.cells.value(MatingBook::ColDue, QStringLiteral("missing")), QString());
        QCOMPARE(farm.mine(QStringLiteral("select 返情否,预产日期 from 配种")), QStringList{"Y|<null>"});
        QCOMPARE(farm.mine(cardDates), QStringList{"20030101|<null>|<null>"});
        o = book.editField(id, MatingBook::ColReturned, sow, QStringLiteral("Y"), QStringLiteral("N"));
        QCOMPARE(o.cells.value(MatingBook::ColDue), QStringLiteral("20030425"));
        QCOMPARE(farm.mine(QStringLiteral("select 返情否,预产日期 from 配种")), QStringList{"N|20030425"});
        QCOMPARE(farm.mine(cardDates), QStringList{"<null>|<null>|20030425"});
    }

    void typedDueDateMarksPregnant()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,返情日期,不存在) values('%1','F','20021201','no')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        QVERIFY(book.editField(id, MatingBook::ColDue, sow, QStringLiteral("20030425"), QStringLiteral("20030428")).stored());
        QCOMPARE(farm.mine(cardDates), QStringList{"<null>|<null>|20030428"});
    }

    void withdrawnValues_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("field");
        QTest::newRow("second service") << int(MatingBook::ColSecond) << "配种日期(2)";
        QTest::newRow("abnormality date") << int(MatingBook::ColAbnormalDate) << "异常时间";
        QTest::newRow("remark") << int(MatingBook::ColRemark) << "备注";
    }
    void withdrawnValues()
    {
        QFETCH(int, column);
        QFETCH(QString, field);
        EntryFarm farm;
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        QVERIFY(book.editField(id, column, sow, QStringLiteral("x"), QStringLiteral("")).stored());
        QCOMPARE(farm.mineScalar(QStringLiteral("select [%1] from 配种").arg(field)), QStringLiteral("<null>"));
    }

    // A mating moved to another sow takes her next parity, not the row's own.
    void reassignedMatingTakesTheNewSowsParity()
    {
        EntryFarm farm;
        const QString other = QStringLiteral("YYLL00000000002");
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)]) values('%1','4','N','20020101A')").arg(other)));
        farm.card(other);
        MatingBook book(farm.conn, farm.access());
        const qint64 id = newMating(farm, book);
        const EditOutcome o = book.editSow(id, sow, other);
        QCOMPARE(o.cells.value(MatingBook::ColSowBreed), QStringLiteral("YY"));
        QCOMPARE(o.cells.value(MatingBook::ColParity), QStringLiteral("5"));
        QCOMPARE(farm.mine(QStringLiteral("select 母猪品种,胎次 from 配种 where id=%1").arg(id)), QStringList{"YY|5"});
    }

    void loadShowsTheLatestPerSowAndColours()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral(
            "insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)],异常时间) values('%1','1','N','20020101A',NULL),"
            "('%1','2','Y','20020601A',NULL),('YYLL00000000002','1','N','20020301A','20020401')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        QVector<MatingBook::Row> rows;
        QVERIFY(book.load(rows));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).cells.at(0), QStringLiteral("YYLL00000000002"));
        QCOMPARE(rows.at(1).cells.at(MatingBook::ColParity - 1), QStringLiteral("2"));
        QCOMPARE(MatingBook::colourOf(rows.at(0).cells.at(8), rows.at(0).cells.at(12)), MatingBook::Colour::Red);
        QCOMPARE(MatingBook::colourOf(rows.at(1).cells.at(8), rows.at(1).cells.at(12)), MatingBook::Colour::Blue);
        QCOMPARE(MatingBook::colourOf(QStringLiteral("N"), QString()), MatingBook::Colour::Default);
    }

    void deleteRevealsThePreviousMatingAfterSaving()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)]) values('%1','1','N','20020101A'),"
                                            "('%1','2','N','20020601A')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        QVector<MatingBook::Row> rows;
        QVERIFY(book.load(rows));
        QString message;
        QVERIFY(book.deleteMating(rows.first().id, &message));
        QVERIFY(farm.conn.CommitTrans());
        QVERIFY(book.load(rows));
        QCOMPARE(rows.first().cells.at(MatingBook::ColFirst - 1), QStringLiteral("20020101A"));
    }

    void clickInfo()
    {
        EntryFarm farm;
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,毛色,来源,来源时间,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄,不存在) "
                                            "values('%1','白','本场','20020101','7','6','20010501','1.4','7.2','28','no')").arg(sow)));
        MatingBook book(farm.conn, farm.access());
        // First mating ever: her card.
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,胎次,配种方式,返情否,预产日期,配种员,已产,[配种日期(1)]) "
                                            "values('%1','%2','1','本交','Y',NULL,'张三','no','20020101A')").arg(sow, boar)));
        QCOMPARE(book.clickInfo(sow, QStringLiteral("1")),
                 QStringLiteral("基本信息： 入群时间:20020101 毛色:白 来源:本场 奶头数:7-6 出生日期:20010501 出生重:1.4 断奶重:7.2 断奶日龄:28 "));
        QCOMPARE(book.clickInfo(QStringLiteral("LLYY00000000005"), QStringLiteral("1")),
                 QStringLiteral("配种数据错误，种猪LLYY00000000005不存在！！"));
        QCOMPARE(book.clickInfo(sow, QStringLiteral("2")), MatingBook::noPreviousText());
        // Second mating after a return: the failed one is shown.
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,胎次,配种方式,返情否,预产日期,配种员,已产,[配种日期(1)]) "
                                            "values('%1','%2','1','人工','N','20020625','李四','yes','20020301A')").arg(sow, boar)));
        QCOMPARE(book.clickInfo(sow, QStringLiteral("1")),
                 QStringLiteral("上一次配种信息： 公猪:%1 配种时间:20020101 胎次:1 配种方式:本交 返情:Y 配种员:张三 ").arg(boar));
        // A farrowed previous mating shows its litter.
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,胎次,配种方式,返情否,配种员,已产,[配种日期(1)]) "
                                            "values('%1','%2','2','本交','N','张三','no','20021001A')").arg(sow, boar)));
        QVERIFY(farm.db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,配种日期,分娩日期,妊娠天数,饲养员,仔猪耳号) values"
                                            "('%1','1','20020301','20020623','114','王五','a'),('%1','1','20020301','20020623','114','王五','b')").arg(sow)));
        QCOMPARE(book.clickInfo(sow, QStringLiteral("2")),
                 QStringLiteral("上一次配种信息： 公猪:%1 配种时间:20020301 胎次:1 配种方式:人工 配种员:李四 产仔数量:2 分娩日期:20020623 妊娠天数:114 饲养员:王五 ").arg(boar));
    }
};

QTEST_GUILESS_MAIN(TestMatingBook)
#include "test_matingbook.moc"
