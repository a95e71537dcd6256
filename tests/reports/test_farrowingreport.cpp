#include "cbchanzai.h"
#include "gridctrl.h"
#include "gridprinter.h"
#include "testsupport.h"

#include <QTest>

// 产仔报表: the litter blocks, their totals and averages, the separator and how the
// printout treats it.
class TestFarrowingReport : public QObject
{
    Q_OBJECT

    // A litter of n piglets; piglet i weighs 1.0 + i/10 at birth, weaned at 21 days with 6 kg.
    static void addLitter(TempHerdDb& db, const QString& sow, const QString& parity, const QString& date, int n,
                          const QString& status = QStringLiteral("正常"))
    {
        for (int i = 1; i <= n; ++i) {
            const QString tag = sow.left(2) + QStringLiteral("AAAA126%1%2").arg(parity.rightJustified(2, '0')).arg(i, 2, 10, QLatin1Char('0'));
            QVERIFY(db.exec(QStringLiteral(
                                "insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种方式,配种日期,预产日期,分娩日期,妊娠天数,饲养员,仔猪耳号,"
                                "仔猪状态,性别,奶头数左,奶头数右,毛色,初生重,实断奶日,实断奶重,[20日龄校重],[28日龄校重],转群去向,转群日期) "
                                "values('%1','%2','YYAAAA124000301','本交','20250101','20250425','%3','114','刘','%4','%5','%6','7','7','白',"
                                "'%7','21','6','5.5','7',NULL,NULL)")
                                .arg(sow, parity, date, tag, status, i % 2 ? QStringLiteral("F") : QStringLiteral("M"))
                                .arg(1.0 + i / 10.0)));
        }
    }

    static CBChanZai* open(TempHerdDb& db)
    {
        auto* s = new CBChanZai;
        s->setDatabasePath(db.path());
        if (!s->initialUpdate())
            return nullptr;
        s->setStartDate(QDate(2025, 1, 1));
        s->setEndDate(QDate(2025, 12, 31));
        return s;
    }

private slots:
    void opensWithOneEmptyBlock()
    {
        TempHerdDb db;
        std::unique_ptr<CBChanZai> s(open(db));
        QVERIFY(s);
        CGridCtrl* g = s->grid();
        QCOMPARE(s->windowTitle(), QStringLiteral("产仔报表"));
        QCOMPARE(g->GetColumnCount(), 17);
        QCOMPARE(g->GetRowCount(), 29);
        QCOMPARE(g->GetItemText(0, 3), QStringLiteral("奶头数"));
        QCOMPARE(g->GetItemText(1, 3), QStringLiteral("左"));
        QCOMPARE(g->GetItemText(1, 4), QStringLiteral("右"));
        QCOMPARE(g->GetItemText(0, 16), QStringLiteral("种猪信息"));
        QCOMPARE(g->GetItemText(2, 0), QStringLiteral("1"));
        QCOMPARE(g->GetItemText(26, 0), QStringLiteral("25"));
        QCOMPARE(g->GetItemText(27, 0), QStringLiteral("合计"));
        QCOMPARE(g->GetItemText(28, 0), QStringLiteral("平均"));
        QCOMPARE(g->GetItemText(2, 16), QStringLiteral("母猪耳号"));
        QCOMPARE(g->GetItemText(22, 16), QStringLiteral("饲养员"));
        QVERIFY(g->GetItemText(23, 16).isEmpty());
    }

    void twoLittersMakeTwoBlocksAndASeparator()
    {
        TempHerdDb db;
        addLitter(db, QStringLiteral("LLAAAA123000101"), QStringLiteral("2"), QStringLiteral("20250425"), 10);
        addLitter(db, QStringLiteral("LLAAAA123000102"), QStringLiteral("1"), QStringLiteral("20250601"), 3, QStringLiteral("死亡"));
        addLitter(db, QStringLiteral("YYAAAA123000103"), QStringLiteral("1"), QStringLiteral("20240601"), 3); // before the period
        std::unique_ptr<CBChanZai> s(open(db));
        QVERIFY(s->exportSetBreed(QStringLiteral("所有品种")));
        QVERIFY(s->analyse());
        CGridCtrl* g = s->grid();
        QCOMPARE(g->GetPrintHead2(), QStringLiteral("产仔纪录报表"));
        QCOMPARE(g->GetRowCount(), 57);
        // First block rows 2-28, the separator 29, the second block 30-56.
        QCOMPARE(g->GetItemText(29, 0), QStringLiteral("换行"));
        for (int c = 0; c < 17; ++c)
            QCOMPARE(g->GetItemBkColour(29, c), QColor(0, 0, 0));
        QCOMPARE(g->GetPrintBreakRows(), QVector<int>{29});
        QCOMPARE(s->blocks().size(), 2);
        QCOMPARE(s->blocks().at(1).firstRow, 30);

        // The 10-piglet litter: numbers 1-25, rows 11-25 empty, sums and averages by 10.
        QCOMPARE(g->GetItemText(2, 1), QStringLiteral("LLAAAA12602" "01"));
        QCOMPARE(g->GetItemText(2, 2), QStringLiteral("F"));
        QCOMPARE(g->GetItemText(2, 6), QStringLiteral("1.1"));
        QCOMPARE(g->GetItemText(11, 1), QStringLiteral("LLAAAA12602" "10"));
        QCOMPARE(g->GetItemText(12, 0), QStringLiteral("11"));
        QVERIFY(g->GetItemText(12, 1).isEmpty());
        QCOMPARE(g->GetItemText(26, 0), QStringLiteral("25"));
        const QStringList totals = {"15.50", "210", "60.00", "55.00", "70.00"};
        const QStringList averages = {"1.55", "21.00", "6.00", "5.50", "7.00"};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(g->GetItemText(27, 6 + k), totals.at(k));
            QCOMPARE(g->GetItemText(28, 6 + k), averages.at(k));
        }
        // The litter's data down column 16.
        const QStringList values = {"LLAAAA123000101", "LL", "2", "YYAAAA124000301", "YY", "本交",
                                    "20250101", "20250425", "20250425", "114", "刘"};
        for (int k = 0; k < values.size(); ++k)
            QCOMPARE(g->GetItemText(3 + 2 * k, 16), values.at(k));
        // The second litter: stillborn piglets count like the others.
        QCOMPARE(g->GetItemText(31, 16), QStringLiteral("LLAAAA123000102"));
        QCOMPARE(g->GetItemText(55, 6), QStringLiteral("3.60"));
        QCOMPARE(g->GetItemText(56, 6), QStringLiteral("1.20"));
    }

    void selectsByBreedAndEarTag_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sows");
        QTest::newRow("breed") << 0 << "YY" << QStringList{"YYAAAA123000103"};
        QTest::newRow("all") << 0 << "所有品种" << QStringList{"LLAAAA123000101", "LLAAAA123000102", "YYAAAA123000103"};
        QTest::newRow("ear tag") << 1 << "LLAAAA1230001" << QStringList{"LLAAAA123000101", "LLAAAA123000102"};
    }

    void selectsByBreedAndEarTag()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QStringList, sows);
        TempHerdDb db;
        addLitter(db, QStringLiteral("LLAAAA123000101"), QStringLiteral("2"), QStringLiteral("20250425"), 2);
        addLitter(db, QStringLiteral("LLAAAA123000102"), QStringLiteral("1"), QStringLiteral("20250601"), 2);
        addLitter(db, QStringLiteral("YYAAAA123000103"), QStringLiteral("1"), QStringLiteral("20250701"), 2);
        std::unique_ptr<CBChanZai> s(open(db));
        if (mode == 0)
            s->exportSetBreed(text);
        else
            s->exportSetEarTag(text);
        QVERIFY(s->analyse());
        QStringList shown;
        for (const CBChanZai::Block& b : s->blocks())
            shown << s->grid()->GetItemText(b.firstRow + 1, 16);
        QCOMPARE(shown, sows);
    }

    void aLargeLitterGetsALargerBlock()
    {
        TempHerdDb db;
        addLitter(db, QStringLiteral("LLAAAA123000101"), QStringLiteral("3"), QStringLiteral("20250425"), 28);
        addLitter(db, QStringLiteral("LLAAAA123000102"), QStringLiteral("1"), QStringLiteral("20250601"), 1);
        std::unique_ptr<CBChanZai> s(open(db));
        QVERIFY(s->analyse());
        CGridCtrl* g = s->grid();
        const CBChanZai::Block big = s->blocks().at(0);
        QCOMPARE(big.pigletRows, 28);
        QCOMPARE(g->GetItemText(big.firstRow + 27, 0), QStringLiteral("28"));
        QCOMPARE(g->GetItemText(big.firstRow + 27, 1), QStringLiteral("LLAAAA12603" "28"));
        QCOMPARE(g->GetItemText(big.totalRow(), 0), QStringLiteral("合计"));
        QCOMPARE(g->GetItemText(big.totalRow(), 7), QStringLiteral("588"));
        QCOMPARE(g->GetItemText(big.averageRow(), 0), QStringLiteral("平均"));
        QCOMPARE(g->GetItemText(big.endRow(), 0), QStringLiteral("换行"));
        QCOMPARE(s->blocks().at(1).pigletRows, 25);
        QCOMPARE(g->GetRowCount(), big.endRow() + 1 + 27);
    }

    void theSeparatorNeverPrints()
    {
        TempHerdDb db;
        for (int i = 1; i <= 4; ++i)
            addLitter(db, QStringLiteral("LLAAAA12300010%1").arg(i), QStringLiteral("1"), QStringLiteral("20250601"), 5);
        std::unique_ptr<CBChanZai> s(open(db));
        QVERIFY(s->analyse());
        const QVector<int> breaks = s->grid()->GetPrintBreakRows();
        QCOMPARE(breaks.size(), 3);
        // Pages of one block's height and of two: each block stays whole, and a
        // separator is either a page's break or a gap inside a page, never at its edge.
        CGridCtrl* g = s->grid();
        int blockHeight = 0;
        for (int r = 2; r < 29; ++r)
            blockHeight += g->GetRowHeight(r);
        const int header = g->GetRowHeight(0) + g->GetRowHeight(1);
        for (int blocksPerPage : {1, 2}) {
            const double height = header + blocksPerPage * blockHeight + (blocksPerPage - 1) * g->GetRowHeight(29) + 300;
            CGridPrinter printer(g);
            const auto pages = printer.paginate(QSizeF(2000, height), 96);
            QCOMPARE(pages.size(), 4 / blocksPerPage);
            for (const auto& page : pages) {
                const QVector<int> body = page.rows.mid(page.fixedRows);
                QVERIFY(!breaks.contains(body.first()));
                QVERIFY(!breaks.contains(body.last()));
                QCOMPARE(g->GetItemText(body.first(), 0), QStringLiteral("1"));
                QCOMPARE(g->GetItemText(body.last(), 0), QStringLiteral("平均"));
            }
        }
        QTemporaryDir dir;
        QVERIFY(s->exportPdf(dir.filePath(QStringLiteral("r.pdf"))));
    }
};

QTEST_MAIN(TestFarrowingReport)
#include "test_farrowingreport.moc"
