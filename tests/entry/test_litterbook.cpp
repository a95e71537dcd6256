#include "entryfixture.h"
#include "litterbook.h"

using P = LitterBook::Piglet;

// The farrowing screen's rules: loading a litter, the proposals and computed cells of a
// piglet row, and the save with its mating, card and failure paths.
class TestLitterBook : public QObject
{
    Q_OBJECT
    const QString sow = QStringLiteral("LLYY00000000001");
    const QString boar = QStringLiteral("DDAB00000000009");

    void mating(EntryFarm& farm, const QString& parity = QStringLiteral("1"), const QString& returned = QStringLiteral("N"))
    {
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,母猪品种,公猪耳号,公猪品种,[配种日期(1)],[配种日期(2)],胎次,配种方式,"
                                            "返情否,预产日期,已产,检查时间) values('%1','LL','%2','DD','20250101A','20250101P','%3',"
                                            "'本交','%4','20250425','no','no')").arg(sow, boar, parity, returned)));
    }
    static P piglet(const QString& tag, const QString& state = QStringLiteral("正常"), const QString& moved = QString())
    {
        P p;
        p.cells[LitterBook::ColTag] = tag;
        p.cells[LitterBook::ColState] = state;
        p.cells[LitterBook::ColMoveDate] = moved;
        p.cells[LitterBook::ColFoster] = QStringLiteral("正常");
        return p;
    }
    LitterBook::Panel panel()
    {
        LitterBook::Panel p;
        p.sow = sow;
        p.parity = QStringLiteral("1");
        return p;
    }

private slots:
    void newLitterTakesTheMating()
    {
        EntryFarm farm;
        mating(farm);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 产仔记录(仔猪耳号,分娩日期) values('x','20250101'),('y','20250301')")));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        QCOMPARE(book.load(p, rows), LitterBook::LoadResult::New);
        QCOMPARE(p.boar, boar);
        QCOMPARE(p.method, QStringLiteral("本交"));
        QCOMPARE(p.matingDay, QStringLiteral("20250101"));
        QCOMPARE(p.dueDate, QStringLiteral("20250425"));
        QCOMPARE(p.litterNumber, QStringLiteral("0002"));
        QVERIFY(!p.stored);
        p.parity = QStringLiteral("2");
        QCOMPARE(book.load(p, rows), LitterBook::LoadResult::NoMating);
        QCOMPARE(LitterBook::noMatingText(sow, QStringLiteral("2")), QStringLiteral("没有母猪LLYY00000000001的第2胎配种信息"));
    }

    void paritiesWithoutReturnsOrAbnormalities()
    {
        EntryFarm farm;
        mating(farm, QStringLiteral("1"));
        mating(farm, QStringLiteral("2"), QStringLiteral("Y"));
        mating(farm, QStringLiteral("3"));
        QVERIFY(farm.db.exec(QStringLiteral("update 配种 set 异常='流产',异常时间='20250301' where 胎次='3'")));
        mating(farm, QStringLiteral("4"));
        QVERIFY(farm.db.exec(QStringLiteral("update 配种 set 异常时间='' where 胎次='4'")));
        LitterBook book(farm.conn, farm.access());
        QStringList p = book.parities(sow);
        p.sort();
        QCOMPARE(p, (QStringList{"1", "4"}));
    }

    void farrowDateTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("gestation");
        QTest::newRow("complete") << "20250423" << "20250423" << true << "112";
        QTest::newRow("nine cut to eight") << "202504235" << "20250423" << true << "112";
        QTest::newRow("too short") << "2025042" << "2025042" << false << "";
        QTest::newRow("not a day") << "20250431" << "20250431" << false << "";
    }
    void farrowDateTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(bool, editable);
        QFETCH(QString, gestation);
        const LitterBook::FarrowDate f = LitterBook::farrowDateTyped(typed, QStringLiteral("20250101"));
        QCOMPARE(f.text, text);
        QCOMPARE(f.editable, editable);
        QCOMPARE(f.gestation, gestation);
    }

    void tagProposals()
    {
        LitterBook::Panel p = panel();
        p.boar = boar;
        p.farrowDate = QStringLiteral("20250423");
        p.litterNumber = QStringLiteral("0012");
        const QString prefix = QStringLiteral("DLAAAA1250012");
        QCOMPARE(LitterBook::proposeTag(p, QStringLiteral("AAAA"), QStringLiteral("1"), {}), prefix);
        QCOMPARE(LitterBook::proposeTag(p, QStringLiteral("AAAA"), QStringLiteral("1"), {prefix + "01"}), prefix);
        QCOMPARE(LitterBook::proposeTag(p, QStringLiteral("AAAA"), QStringLiteral("1"), {prefix + "03", prefix + "02", prefix + "01"}),
                 prefix + "04");
        QCOMPARE(LitterBook::proposeTag(p, QStringLiteral("AAAA"), QStringLiteral("1"), {prefix + "04", prefix + "03", prefix + "01"}),
                 prefix);
        P row = piglet(QString(), QStringLiteral("死亡"));
        P above = piglet(QString(), QStringLiteral("死亡"), QStringLiteral("20250423"));
        QCOMPARE(LitterBook::proposeOnBegin(LitterBook::ColState, row, nullptr), QStringLiteral("正常"));
        QCOMPARE(LitterBook::proposeOnBegin(LitterBook::ColMoveDate, row, &above), QStringLiteral("20250423"));
        above.cells[LitterBook::ColState] = QStringLiteral("正常");
        QCOMPARE(LitterBook::proposeOnBegin(LitterBook::ColMoveDate, row, &above), QString());
    }

    void weaningComputesAgeAndWeights()
    {
        P row = piglet(QStringLiteral("DLAAAA125001201"));
        const QString born = QStringLiteral("20250423");
        row.cells[LitterBook::ColWeanWeight] = QStringLiteral("6.0");
        row.cells[LitterBook::ColMoveDate] = QStringLiteral("20250514");
        QVERIFY(LitterBook::endEdit(row, LitterBook::ColMoveDate, QString(), born));
        QCOMPARE(row.at(LitterBook::ColWeanAge), QStringLiteral("21"));
        QCOMPARE(row.at(LitterBook::ColWeight20), QStringLiteral("5.83"));
        QCOMPARE(row.at(LitterBook::ColWeight28), QStringLiteral("7.31"));
        // A new weight recomputes; no weight, no corrected weights.
        row.cells[LitterBook::ColWeanWeight] = QString();
        LitterBook::endEdit(row, LitterBook::ColWeanWeight, QStringLiteral("6.0"), born);
        QVERIFY(row.at(LitterBook::ColWeight20).isEmpty());
        // A weight typed before the date gives no weights yet.
        P early = piglet(QStringLiteral("DLAAAA125001202"));
        early.cells[LitterBook::ColWeanWeight] = QStringLiteral("6.0");
        LitterBook::endEdit(early, LitterBook::ColWeanWeight, QString(), born);
        QVERIFY(early.at(LitterBook::ColWeight20).isEmpty());
    }

    void invalidCellsAreEmptied_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("tag 14") << "正常" << "" << int(LitterBook::ColTag) << "DLAAAA12500120" << "";
        QTest::newRow("move date 7") << "正常" << "" << int(LitterBook::ColMoveDate) << "2025051" << "";
        QTest::newRow("move date not a day") << "正常" << "" << int(LitterBook::ColMoveDate) << "20250532" << "";
        QTest::newRow("stillborn weight") << "死亡" << "死亡" << int(LitterBook::ColBirthWeight) << "1.2" << "";
        QTest::newRow("stillborn remark kept") << "死亡" << "死亡" << int(LitterBook::ColRemark) << "弱" << "弱";
        QTest::newRow("died: no weaning weight") << "正常" << "死亡" << int(LitterBook::ColWeanWeight) << "5" << "";
        QTest::newRow("died: birth weight kept") << "正常" << "死亡" << int(LitterBook::ColBirthWeight) << "1.3" << "1.3";
        QTest::newRow("nurse without 寄出") << "正常" << "" << int(LitterBook::ColNurse) << "LLYY00000000002" << "";
    }
    void invalidCellsAreEmptied()
    {
        QFETCH(QString, state);
        QFETCH(QString, destination);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        P row = piglet(QStringLiteral("DLAAAA125001201"), state);
        if (column == LitterBook::ColTag)
            row.cells[LitterBook::ColTag] = QString();
        row.cells[LitterBook::ColDestination] = destination;
        row.cells[column] = text;
        LitterBook::endEdit(row, column, QString(), QStringLiteral("20250423"));
        QCOMPARE(row.at(column), kept);
    }

    void stillbornFillsDeathAndKeepsStoredTags()
    {
        P row = piglet(QStringLiteral("DLAAAA125001201"));
        row.cells[LitterBook::ColState] = QStringLiteral("死亡");
        LitterBook::endEdit(row, LitterBook::ColState, QStringLiteral("正常"), QStringLiteral("20250423"));
        QCOMPARE(row.at(LitterBook::ColDestination), QStringLiteral("死亡"));
        QCOMPARE(row.at(LitterBook::ColMoveDate), QStringLiteral("20250423"));
        // A mummified piglet leaves the litter at birth the same way.
        P mummy = piglet(QStringLiteral("DLAAAA125001203"), QStringLiteral("木乃伊"));
        LitterBook::endEdit(mummy, LitterBook::ColState, QString(), QStringLiteral("20250423"));
        QCOMPARE(mummy.at(LitterBook::ColDestination), QStringLiteral("死亡"));
        QCOMPARE(mummy.at(LitterBook::ColMoveDate), QStringLiteral("20250423"));
        // A stored piglet's tag cannot be emptied by a bad edit.
        row.storedTag = QStringLiteral("DLAAAA125001201");
        row.cells[LitterBook::ColTag] = QStringLiteral("DLAAAA12500");
        LitterBook::endEdit(row, LitterBook::ColTag, row.storedTag, QString());
        QCOMPARE(row.at(LitterBook::ColTag), row.storedTag);
    }

    void weaningDate_data()
    {
        QTest::addColumn<QStringList>("moves"); // state:date:foster per piglet
        QTest::addColumn<QString>("weaning");
        QTest::newRow("nothing moved") << QStringList{"正常::正常"} << "-1";
        QTest::newRow("all weaned, latest wins") << QStringList{"正常:20250514:正常", "正常:20250516:正常"} << "20250516";
        QTest::newRow("one still with her") << QStringList{"正常:20250514:正常", "正常::正常"} << "-1";
        QTest::newRow("stillborn without date") << QStringList{"死亡::正常", "正常:20250514:正常"} << "20250514";
        QTest::newRow("fostered out does not count") << QStringList{"正常::寄出", "正常:20250514:正常", "正常:20250601:寄出"} << "20250514";
        QTest::newRow("only stillborn") << QStringList{"死亡::正常"} << "0";
        QTest::newRow("mummified without date") << QStringList{"木乃伊::正常", "正常:20250514:正常"} << "20250514";
    }
    void weaningDate()
    {
        QFETCH(QStringList, moves);
        QFETCH(QString, weaning);
        QVector<P> rows;
        int n = 1;
        for (const QString& m : moves) {
            const QStringList f = m.split(':');
            P p = piglet(QStringLiteral("DLAAAA1250012%1").arg(n++, 2, 10, QLatin1Char('0')), f.at(0), f.at(1));
            p.cells[LitterBook::ColFoster] = f.at(2);
            rows << p;
        }
        QCOMPARE(LitterBook::weaningDate(rows), weaning);
    }

    void saveWritesTheLitterAndTheMating()
    {
        EntryFarm farm;
        mating(farm);
        farm.card(sow);
        QVERIFY(farm.db.exec(QStringLiteral("update 种猪卡 set 预产日期='20250425' where 耳号='%1'").arg(sow)));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        QCOMPARE(book.load(p, rows), LitterBook::LoadResult::New);
        p.farrowDate = QStringLiteral("20250423");
        p.gestation = QStringLiteral("112");
        p.keeper = QStringLiteral("王五");
        rows = {piglet(QStringLiteral("DLAAAA125000001")), piglet(QStringLiteral("DLAAAA125000002")), piglet(QStringLiteral("bad"))};
        QString message, caption;
        QVERIFY2(book.save(p, rows, &message, &caption), qPrintable(message));
        QVERIFY(p.stored);
        QCOMPARE(farm.mine(QStringLiteral("select 母猪耳号,母猪品种,胎次,公猪耳号,公猪品种,配种方式,配种日期,预产日期,分娩日期,妊娠天数,饲养员,仔猪状态,带奶 "
                                          "from 产仔记录 order by 仔猪耳号")),
                 QStringList(2, sow + "|LL|1|" + boar + "|DD|本交|20250101|20250425|20250423|112|王五|正常|正常"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select 已产 from 配种")), QStringLiteral("yes"));
        // Piglets still with her: the card is unchanged.
        QCOMPARE(farm.mine(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡")), QStringList{"<null>|<null>|20250425"});
        // Weaning every live piglet writes the latest date on the card.
        rows[0].cells[LitterBook::ColMoveDate] = QStringLiteral("20250514");
        rows[1].cells[LitterBook::ColMoveDate] = QStringLiteral("20250515");
        QVERIFY(book.save(p, rows, &message, &caption));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("2"));
        QCOMPARE(farm.mine(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡")), QStringList{"<null>|20250515|<null>"});
    }

    void cardWithALaterDateIsLeftAlone()
    {
        EntryFarm farm;
        mating(farm);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,预产日期,不存在) values('%1','F','20251020','no')").arg(sow)));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        book.load(p, rows);
        p.farrowDate = QStringLiteral("20250423");
        rows = {piglet(QStringLiteral("DLAAAA125000001"), QStringLiteral("正常"), QStringLiteral("20250514"))};
        QString message, caption;
        QVERIFY(book.save(p, rows, &message, &caption));
        QCOMPARE(farm.mine(QStringLiteral("select 返情日期,断奶日期,预产日期 from 种猪卡")), QStringList{"<null>|<null>|20251020"});
    }

    void saveWithoutMatingKeepsNothing()
    {
        EntryFarm farm;
        mating(farm);
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        book.load(p, rows);
        p.farrowDate = QStringLiteral("20250423");
        QVERIFY(farm.db.exec(QStringLiteral("delete from 配种")));
        rows = {piglet(QStringLiteral("DLAAAA125000001")), piglet(QStringLiteral("DLAAAA125000002"))};
        QString message, caption;
        QVERIFY(!book.save(p, rows, &message, &caption));
        QCOMPARE(message, QStringLiteral("没有母猪LLYY00000000001的第1胎的配种记录\n\n 保存记录失败"));
        QCOMPARE(caption, QStringLiteral("错误"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("0"));
        QVERIFY(!p.stored);
    }

    void tagsOfOtherPigletsAreRefused()
    {
        EntryFarm farm;
        mating(farm);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,仔猪耳号,初生重) values('YYLL00000000002','3','DLAAAA125000001','1.1')")));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        book.load(p, rows);
        p.farrowDate = QStringLiteral("20250423");
        QString message, caption;
        rows = {piglet(QStringLiteral("DLAAAA125000001"))};
        QVERIFY(!book.save(p, rows, &message, &caption));
        QCOMPARE(message, QStringLiteral("仔猪耳号DLAAAA125000001已经属于母猪YYLL00000000002的第3胎\n\n 保存记录失败"));
        rows = {piglet(QStringLiteral("DLAAAA125000005")), piglet(QStringLiteral("DLAAAA125000005"))};
        QVERIFY(!book.save(p, rows, &message, &caption));
        QCOMPARE(message, QStringLiteral("仔猪耳号DLAAAA125000005重复\n\n 保存记录失败"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select 初生重 from 产仔记录")), QStringLiteral("1.1"));
        QCOMPARE(farm.conn.TransLevel(), 0);
    }

    // A stored litter with a fostered-out piglet, and the piglet seen from its nurse.
    void fostering()
    {
        EntryFarm farm;
        const QString nurse = QStringLiteral("YYLL00000000002");
        QVERIFY(farm.db.exec(QStringLiteral(
            "insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种方式,配种日期,预产日期,分娩日期,妊娠天数,饲养员,仔猪耳号,仔猪状态,带奶,带奶母猪号) values"
            "('%1','1','%2','本交','20250101','20250425','20250423','112','王五','DLAAAA125001201','正常','正常',NULL),"
            "('%1','1','%2','本交','20250101','20250425','20250423','112','王五','DLAAAA125001202','正常','寄出','%3'),"
            "('%3','2','%2','本交','20250105','20250429','20250430','115','赵六','DYAAAA125001301','正常','正常',NULL)")
                                 .arg(sow, boar, nurse)));
        QVERIFY(farm.db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)],已产) values('%1','2','N','20250105A','yes')").arg(nurse)));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        QCOMPARE(book.load(p, rows), LitterBook::LoadResult::Stored);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(p.litterNumber, QStringLiteral("0012"));
        QCOMPARE(p.keeper, QStringLiteral("王五"));
        LitterBook::Panel n;
        n.sow = nurse;
        n.parity = QStringLiteral("2");
        QCOMPARE(book.load(n, rows), LitterBook::LoadResult::Stored);
        QCOMPARE(rows.size(), 2);
        const P in = rows.at(1);
        QVERIFY(in.fosteredIn);
        QCOMPARE(in.at(LitterBook::ColFoster), QStringLiteral("寄入"));
        QCOMPARE(in.at(LitterBook::ColNurse), sow);
        // The fostered-in piglet's weaning age counts from its own birth.
        P moved = in;
        moved.cells[LitterBook::ColMoveDate] = QStringLiteral("20250514");
        LitterBook::endEdit(moved, LitterBook::ColMoveDate, QString(), n.farrowDate);
        QCOMPARE(moved.at(LitterBook::ColWeanAge), QStringLiteral("21"));
        // Its fostering cells cannot be changed here.
        moved.cells[LitterBook::ColFoster] = QStringLiteral("正常");
        LitterBook::endEdit(moved, LitterBook::ColFoster, QStringLiteral("寄入"), n.farrowDate);
        QCOMPARE(moved.at(LitterBook::ColFoster), QStringLiteral("寄入"));
        // Saving the nurse's litter keeps the piglet's own litter data and keeper.
        rows[1] = moved;
        QString message, caption;
        QVERIFY2(book.save(n, rows, &message, &caption), qPrintable(message));
        QCOMPARE(farm.mine(QStringLiteral("select 母猪耳号,饲养员,带奶,带奶母猪号,转群日期,实断奶日 from 产仔记录 where 仔猪耳号='DLAAAA125001202'")),
                 QStringList{sow + "|王五|寄出|" + nurse + "|20250514|21"});
        // Deleting it from the nurse's screen is refused.
        QVERIFY(!book.deletePiglet(rows.at(1), &message, &caption));
        QCOMPARE(caption, QStringLiteral("警告"));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("3"));
        QVERIFY(book.deletePiglet(rows.at(0), &message, &caption));
        QCOMPARE(farm.mineScalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("2"));
        QCOMPARE(book.nursingSows(), QStringList{nurse});
    }

    void renamedStoredPigletKeepsOneRow()
    {
        EntryFarm farm;
        mating(farm);
        QVERIFY(farm.db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,分娩日期,仔猪耳号) values('%1','1','20250423','DLAAAA125001201')").arg(sow)));
        LitterBook book(farm.conn, farm.access());
        LitterBook::Panel p = panel();
        QVector<P> rows;
        book.load(p, rows);
        rows[0].cells[LitterBook::ColTag] = QStringLiteral("DLAAAA125001209");
        QString message, caption;
        QVERIFY2(book.save(p, rows, &message, &caption), qPrintable(message));
        QCOMPARE(farm.mine(QStringLiteral("select 仔猪耳号 from 产仔记录")), QStringList{"DLAAAA125001209"});
    }
};

QTEST_GUILESS_MAIN(TestLitterBook)
#include "test_litterbook.moc"
