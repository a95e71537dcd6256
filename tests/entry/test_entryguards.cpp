#include "cinpeiview.h"
#include "cinzaiview.h"
#include "ctamvoview.h"
#include "entryfixture.h"

#include <QTest>

// The data-quality guards of the three entry screens, driven through the grid and the
// panel as a user drives them: for each rule a value just inside (stored) and just
// outside (refused with a message naming the field, or asked about). The farm's today
// is 2025-06-01.
namespace {
const QString sow = QStringLiteral("LLYY00000000001");
const QString boar = QStringLiteral("DDAB00000000009");
const QString culled = QStringLiteral("LLYY00000000002");
const QString mated119 = QStringLiteral("LLYY00000000003");
const QString mated120 = QStringLiteral("LLYY00000000004");
const QString dueTomorrow = QStringLiteral("LLYY00000000005");
const QString dueYesterday = QStringLiteral("LLYY00000000006");
const QString outsideBoar = QStringLiteral("DDZZ00000000099");

// What a guard case expects: the value stored, refused (stop box), or asked (Yes/No).
enum Outcome { Stored, Refused, AskedYes, AskedNo };
}
Q_DECLARE_METATYPE(Outcome)

class TestEntryGuards : public QObject
{
    Q_OBJECT

    static void columns()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message"); // a part of the message shown
    }
    // The edit's verdict: the cell shows the new text only when it was stored, and the
    // message was a stop box or a question as expected.
    static void verify(const ScriptedMessages& msgs, const QString& shown, const QString& text, Outcome outcome,
                       const QString& message)
    {
        QCOMPARE(shown == text, outcome == Stored || outcome == AskedYes);
        if (outcome == Stored) {
            QVERIFY2(msgs.shown().isEmpty(), qPrintable(msgs.texts().join('|')));
            return;
        }
        QCOMPARE(msgs.shown().size(), 1);
        const AppMessage& m = msgs.shown().first();
        QVERIFY2(m.text.contains(message), qPrintable(m.text));
        if (outcome == Refused) {
            QCOMPARE(m.caption, QStringLiteral("错误"));
            QCOMPARE(m.icon, MsgIcon::Stop);
        } else {
            QCOMPARE(m.buttons, MsgButtons::YesNo);
        }
    }
    static void answer(ScriptedMessages& msgs, Outcome outcome)
    {
        if (outcome == AskedYes)
            msgs.queue(MsgAnswer::Yes);
    }

private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2025, 6, 1), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void archive_data()
    {
        columns();
        QTest::newRow("joined today") << 5 << "20250601" << Stored << "";
        QTest::newRow("joined tomorrow") << 5 << "20250602" << Refused << "入群时间：20250602 晚于今天";
        QTest::newRow("joined before birth") << 5 << "20231231" << Refused << "入群时间：20231231 早于出生日期";
        QTest::newRow("born on the joining day") << 8 << "20250101" << Stored << "";
        QTest::newRow("born after joining") << 8 << "20250102" << Refused << "出生日期：20250102 晚于入群时间";
        QTest::newRow("born on no day") << 8 << "20250230" << Refused << "出生日期：日期无效";
        QTest::newRow("12 teats") << 6 << "12" << Stored << "";
        QTest::newRow("13 teats") << 7 << "13" << Refused << "奶头数右";
        QTest::newRow("-1 teats") << 6 << "-1" << Refused << "0到12之间的整数";
        QTest::newRow("birth weight 0.2") << 9 << "0.2" << Stored << "";
        QTest::newRow("birth weight 0.19, yes") << 9 << "0.19" << AskedYes << "出生重 0.19公斤不在通常的0.2–3.5公斤之内";
        QTest::newRow("birth weight 3.6, no") << 9 << "3.6" << AskedNo << "出生重";
        QTest::newRow("birth weight -5") << 9 << "-5" << Refused << "出生重：“-5”不是有效的重量";
        QTest::newRow("weaning weight 30") << 10 << "30" << Stored << "";
        QTest::newRow("weaning weight 30.5") << 10 << "30.5" << AskedNo << "1–30公斤";
        QTest::newRow("weaning weight abc") << 10 << "abc" << Refused << "断奶重：“abc”";
        QTest::newRow("sire 14 long") << 12 << "DDAB0000000000" << Refused << "父亲必须15位\n\n耳号共15位：品种2位、场号4位";
    }
    void archive()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,来源时间,出生日期,不存在) values('%1','F','20250101','20240101','no')").arg(sow)));
        ScriptedMessages msgs;
        answer(msgs, outcome);
        auto v = openScreen<CTamvoView>(db);
        QCOMPARE(v->grid()->GetItemText(1, 1), sow);
        QVERIFY(v->grid()->EditCell(1, column, text));
        verify(msgs, v->grid()->GetItemText(1, column), text, outcome, message);
        QCOMPARE(v->isModified(), outcome == Stored || outcome == AskedYes);
    }

    void mating_data()
    {
        columns();
        // Column 1 is a new row's sow; other columns edit a new mating of `sow`.
        QTest::newRow("a sow in the herd") << 1 << sow << Stored << "";
        QTest::newRow("a boar as the sow") << 1 << boar << Refused << "受配母猪：DDAB00000000009 是公猪";
        QTest::newRow("a culled sow") << 1 << culled << Refused << "已经不在猪场";
        QTest::newRow("a tag without a card") << 1 << QStringLiteral("LLYY00000000077") << Refused << "没有种猪档案";
        QTest::newRow("mated 120 days ago") << 1 << mated120 << Stored << "";
        QTest::newRow("mated 119 days ago, no") << 1 << mated119 << AskedNo << "该母猪已配种119天，仍要输入新的配种记录吗？";
        QTest::newRow("mated 119 days ago, yes") << 1 << mated119 << AskedYes << "已配种119天";
        QTest::newRow("due yesterday") << 1 << dueYesterday << Stored << "";
        QTest::newRow("due tomorrow") << 1 << dueTomorrow << AskedNo << "仍要输入新的配种记录吗";
        QTest::newRow("a boar") << 3 << boar << Stored << "";
        QTest::newRow("a sow as the boar") << 3 << mated120 << Refused << "与配公猪：LLYY00000000004 是母猪";
        QTest::newRow("outside semen, yes") << 3 << outsideBoar << AskedYes << "没有种猪档案（外购精液？）";
        QTest::newRow("outside semen, no") << 3 << outsideBoar << AskedNo << "外购精液";
        QTest::newRow("first service yesterday") << 5 << "20250531P" << Stored << "";
        QTest::newRow("first service tomorrow") << 5 << "20250602A" << Refused << "配种日期：20250602 晚于今天";
        QTest::newRow("second service tomorrow") << 6 << "20250602P" << Refused << "晚于今天";
        QTest::newRow("parity 20") << 7 << "20" << Stored << "";
        QTest::newRow("parity 21") << 7 << "21" << Refused << "胎次：“21”无效，必须是1到20之间的整数";
        QTest::newRow("parity 0") << 7 << "0" << Refused << "胎次";
        QTest::newRow("parity -1") << 7 << "-1" << Refused << "胎次";
        QTest::newRow("due on no day") << 10 << "20250931" << Refused << "预产日期：日期无效";
        QTest::newRow("abnormality today") << 13 << "20250601" << Stored << "";
        QTest::newRow("abnormality tomorrow") << 13 << "20250602" << Refused << "发生时间：20250602 晚于今天";
    }
    void mating()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,不存在,预产日期) values('%1','F','no',NULL),('%2','M','no',NULL),('%3','F','yes',NULL),"
            "('%4','F','no',NULL),('%5','F','no',NULL),('%6','F','no','20250602'),('%7','F','no','20250531')")
                            .arg(sow, boar, culled, mated119, mated120, dueTomorrow, dueYesterday)));
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,返情否,[配种日期(1)],已产) values"
                                       "('%1','1','N','20250202A','no'),('%2','1','N','20250201A','no')")
                            .arg(mated119, mated120)));
        ScriptedMessages msgs;
        auto v = openScreen<CInPeiView>(db);
        CComboGridCtrl* g = v->grid();
        QVERIFY(v->runCommand(Add));
        const int row = g->GetRowCount() - 5;
        if (column != 1) {
            QVERIFY(g->EditCell(row, 1, sow));
            QCOMPARE(g->GetItemText(row, 1), sow);
            msgs.clear();
        }
        answer(msgs, outcome);
        QVERIFY(g->EditCell(row, column, text));
        verify(msgs, g->GetItemText(row, column), text, outcome, message);
        // Nothing of a refused or declined mating is kept.
        if (column == 1 && outcome != Stored && outcome != AskedYes)
            QCOMPARE(v->connection().TransLevel(), 0);
    }

    void litter_data()
    {
        columns();
        // Column 0 is the panel's farrowing date (mated 2025-01-01); others a piglet's cell.
        QTest::newRow("farrowed after 100 days") << 0 << "20250411" << Stored << "";
        QTest::newRow("farrowed after 99 days") << 0 << "20250410" << AskedNo << "有99天，不在通常的100–130天之内";
        QTest::newRow("farrowed after 130 days") << 0 << "20250511" << Stored << "";
        QTest::newRow("farrowed after 131 days, yes") << 0 << "20250512" << AskedYes << "131天";
        QTest::newRow("farrowed tomorrow") << 0 << "20250602" << Refused << "分娩日期：20250602 晚于今天";
        QTest::newRow("farrowed on no day") << 0 << "20250431" << Refused << "分娩日期：日期无效";
        QTest::newRow("birth weight 3.5") << 7 << "3.5" << Stored << "";
        QTest::newRow("birth weight 3.6") << 7 << "3.6" << AskedNo << "初生重 3.6公斤";
        QTest::newRow("birth weight abc") << 7 << "abc" << Refused << "初生重：“abc”不是有效的重量";
        QTest::newRow("weaning weight 1") << 10 << "1" << Stored << "";
        QTest::newRow("weaning weight 0.9") << 10 << "0.9" << AskedNo << "实断奶重";
        QTest::newRow("weaning weight -1") << 10 << "-1" << Refused << "实断奶重";
        QTest::newRow("12 teats") << 4 << "12" << Stored << "";
        QTest::newRow("13 teats") << 5 << "13" << Refused << "奶头数(右)";
        QTest::newRow("weaned on the farrowing day") << 9 << "20250425" << Stored << "";
        QTest::newRow("weaned before farrowing") << 9 << "20250424" << Refused << "转群日期：20250424 早于出生";
        QTest::newRow("weaned tomorrow") << 9 << "20250602" << Refused << "晚于今天";
        QTest::newRow("tag 14 long") << 1 << "DLAAAA12500000" << Refused << "仔猪耳号必须15位\n\n耳号共15位";
    }
    void litter()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],胎次,返情否,预产日期,已产) values"
                                       "('%1','%2','20250101A','1','N','20250425','no')").arg(sow, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        if (column == 0) {
            answer(msgs, outcome);
            v->typeFarrowDate(text);
            verify(msgs, v->panel().farrowDate, text, outcome, message);
            QCOMPARE(v->grid()->IsEditable(), outcome == Stored || outcome == AskedYes);
            return;
        }
        v->typeFarrowDate(QStringLiteral("20250425"));
        QVERIFY(msgs.shown().isEmpty());
        answer(msgs, outcome);
        QVERIFY(v->grid()->EditCell(1, column, text));
        verify(msgs, v->grid()->GetItemText(1, column), text, outcome, message);
    }

    // A farrowing date that slipped past the panel is still refused when saving.
    void saveRefusesAFutureFarrowing()
    {
        TempHerdDb db;
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],胎次,返情否,预产日期,已产) values"
                                       "('%1','%2','20250101A','1','N','20250425','no')").arg(sow, boar)));
        ScriptedMessages msgs;
        auto v = openScreen<CInZaiView>(db);
        v->chooseSow(sow);
        v->chooseParity(QStringLiteral("1"));
        v->typeFarrowDate(QStringLiteral("20250501"));
        QVERIFY(v->grid()->EditCell(1, 1, QStringLiteral("DLAAAA125000001")));
        AppClock::setNow(QDateTime(QDate(2025, 4, 30), QTime(9, 0))); // the clock was wrong and is put right
        QVERIFY(v->runCommand(Save));
        QVERIFY(msgs.shown().last().text.startsWith(QStringLiteral("分娩日期：20250501 晚于今天")));
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from 产仔记录")), QStringLiteral("0"));
        QVERIFY(v->isModified());
    }
};

QTEST_MAIN(TestEntryGuards)
#include "test_entryguards.moc"
