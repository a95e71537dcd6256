#include "cdayindlg.h"
#include "gridctrl.h"
#include "reportheading.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

// The card-printing dialog in both modes: the lists, the typed ear tag, the two card
// layouts with the sow's litters, one print job per card and the cards not printed.
class TestCardPrinting : public QObject
{
    Q_OBJECT

    static void addHerd(TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,毛色,来源,来源时间,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄,父亲,母亲,"
            "父父,父母,母父,母母,父父父,父父母,父母父,父母母,母父父,母父母,母母父,母母母,不存在) values"
            "('LLAAAA123000101','F','白','本场','20230601','7','6','20230101','1.5','6.8','21','LLF','LLM',"
            "'LLFF','LLFM','LLMF','LLMM','LLFFF','LLFFM','LLFMF','LLFMM','LLMFF','LLMFM','LLMMF','LLMMM','no'),"
            "('LLAAAA123000102','F','白','外购','20230701','7','7','20230201','1.4','6.5','21',NULL,NULL,NULL,NULL,NULL,NULL,"
            "NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,'no'),"
            "('YYAAAA123000301','M','白','外购','20230701','6','6','20230201','1.6','7','21',NULL,NULL,NULL,NULL,NULL,NULL,"
            "NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,'no')")));
        // Parity 1: 6 males (14.3 kg) and 5 females (12.1 kg) born alive and one stillborn.
        // Parity 2: four females alive, one mummified. Parity 10 keeps the numeric order.
        auto piglet = [&db](const QString& parity, int n, const QString& sex, const QString& status, const QString& weight) {
            return db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种日期,分娩日期,仔猪耳号,仔猪状态,性别,初生重) "
                                          "values('LLAAAA123000101','%1','YYAAAA123000301','2024%2','2024%3','LLAAAA12400%4%5','%6','%7','%8')")
                               .arg(parity, parity == "1" ? "0101" : parity == "2" ? "0601" : "1101",
                                    parity == "1" ? "0425" : parity == "2" ? "0923" : "1224", parity.rightJustified(2, '0'))
                               .arg(n, 2, 10, QLatin1Char('0'))
                               .arg(status, sex, weight));
        };
        const QStringList males = {"2.5", "2.4", "2.4", "2.3", "2.4", "2.3"};
        const QStringList females = {"2.5", "2.4", "2.4", "2.4", "2.4"};
        int n = 1;
        for (const QString& w : males)
            QVERIFY(piglet("1", n++, "M", "正常", w));
        for (const QString& w : females)
            QVERIFY(piglet("1", n++, "F", "正常", w));
        QVERIFY(piglet("1", n++, "M", "死亡", "0.9"));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(piglet("2", i, "F", "正常", "1.5"));
        QVERIFY(piglet("2", 5, "M", "木乃伊", "0.4"));
        QVERIFY(piglet("10", 1, "M", "正常", "1.0"));
        QVERIFY(piglet("10", 2, "F", "正常", "1.0"));
    }

private slots:
    void listsTheModesEarTags()
    {
        TempHerdDb db;
        addHerd(db);
        CZhongZhuKaDlg pigs;
        QVERIFY(pigs.setUp(db.path()));
        QCOMPARE(pigs.windowTitle(), QStringLiteral("种猪卡打印"));
        QCOMPARE(pigs.choices(), (QStringList{"LLAAAA123000101", "LLAAAA123000102", "YYAAAA123000301"}));
        QVERIFY(!pigs.horizontalBox()->isChecked());
        QVERIFY(!pigs.verticalBox()->isChecked());
        CMuZhuKaDlg sows;
        QVERIFY(sows.setUp(db.path()));
        QCOMPARE(sows.windowTitle(), QStringLiteral("母猪卡打印"));
        QCOMPARE(sows.choices(), QStringList{"LLAAAA123000101"});
        sows.choose(QStringLiteral("LLAAAA123000101"));
        QVERIFY(sows.choices().isEmpty());
        QCOMPARE(sows.toPrint(), QStringList{"LLAAAA123000101"});
        sows.unchoose(QStringLiteral("LLAAAA123000101"));
        QCOMPARE(sows.choices(), QStringList{"LLAAAA123000101"});
        QVERIFY(sows.toPrint().isEmpty());
    }

    void typedEarTagMustHave15Characters()
    {
        TempHerdDb db;
        ScriptedMessages msgs;
        CZhongZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        dlg.tagEdit()->setText(QStringLiteral("LLAAAA12300010"));
        dlg.addButton()->click();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("耳号必须15位")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("错误"));
        QCOMPARE(msgs.shown().at(0).icon, MsgIcon::Stop);
        QVERIFY(dlg.toPrint().isEmpty());
        dlg.tagEdit()->setText(QStringLiteral("LLAAAA123000199"));
        QVERIFY(dlg.addTypedTag());
        QCOMPARE(dlg.toPrint(), QStringList{"LLAAAA123000199"});
    }

    void breedingPigCard()
    {
        TempHerdDb db;
        addHerd(db);
        ReportHeading::setOwnerNameSource([] { return QStringLiteral("红星猪场"); });
        CZhongZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000101")));
        CGridCtrl* g = dlg.card();
        QCOMPARE(g->GetRowCount(), 24);
        QCOMPARE(g->GetColumnCount(), 6);
        QCOMPARE(g->GetFixedRowCount(), 0);
        QCOMPARE(g->GetFixedColumnCount(), 0);
        QCOMPARE(g->GetPrintHead1(), QStringLiteral("红星猪场"));
        QCOMPARE(g->GetPrintHead2(), QStringLiteral("种猪LLAAAA123000101基本信息卡"));
        const QList<std::tuple<int, int, QString>> cells = {
            {8, 1, "LLAAAA123000101"}, {4, 2, "父亲:LLF"},     {12, 2, "母亲:LLM"},       {2, 3, "父父:LLFF"},
            {6, 3, "父母:LLFM"},       {10, 3, "母父:LLMF"},   {14, 3, "母母:LLMM"},      {1, 4, "父父父:LLFFF"},
            {3, 4, "父父母:LLFFM"},    {5, 4, "父母父:LLFMF"}, {7, 4, "父母母:LLFMM"},    {9, 4, "母父父:LLMFF"},
            {11, 4, "母父母:LLMFM"},   {13, 4, "母母父:LLMMF"}, {15, 4, "母母母:LLMMM"},  {19, 1, "品种:LL"},
            {19, 2, "性别:F"},         {19, 3, "毛色:白"},     {19, 4, "奶头数:7-6"},     {21, 1, "出生日期:20230101"},
            {21, 2, "出生重:1.5"},     {21, 3, "断奶重:6.8"},  {21, 4, "断奶日龄:21"},
            {23, 1, "来源:本场    来源时间:20230601"}};
        for (const auto& [r, c, text] : cells)
            QCOMPARE(g->GetItemText(r, c), text);
        QCOMPARE(g->model()->mergeAt(23, 1), QRect(1, 23, 4, 1));
        QVERIFY(g->GetItemText(0, 0).isEmpty());
        // Every text fits its column whole as the font draws it, so paper shows no "…".
        const QFontMetrics fm(g->font());
        for (int r = 0; r < g->GetRowCount(); ++r)
            for (int c = 0; c < 6; ++c)
                if (g->model()->mergeAt(r, c).width() == 1)
                    QVERIFY2(g->GetColumnWidth(c) >= fm.horizontalAdvance(g->GetItemText(r, c)) + 8, qPrintable(g->GetItemText(r, c)));
        // A card with no pedigree shows the captions alone.
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000102")));
        QCOMPARE(g->GetItemText(4, 2), QStringLiteral("父亲:"));
        QVERIFY(!dlg.layOutCard(QStringLiteral("LLAAAA123000199")));
        ReportHeading::setOwnerNameSource({});
    }

    void sowCardWithHerLitters()
    {
        TempHerdDb db;
        addHerd(db);
        CMuZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000101")));
        CGridCtrl* g = dlg.card();
        QCOMPARE(g->GetPrintHead2(), QStringLiteral("母猪LLAAAA123000101基本信息卡"));
        const QList<std::tuple<int, int, QString>> cells = {
            {7, 1, "LLAAAA123000101"}, {3, 2, "父亲:LLF"},   {11, 2, "母亲:LLM"}, {1, 3, "父父:LLFF"}, {13, 3, "母母:LLMM"},
            {0, 4, "父父父:LLFFF"},    {14, 4, "母母母:LLMMM"}, {16, 1, "品种:LL"}, {16, 4, "奶头数:7-6"},
            {17, 1, "出生日期:20230101"}, {18, 1, "来源:本场    来源时间:20230601"},
            {19, 0, "胎次"}, {19, 4, "产仔数量（公//母）"}, {19, 5, "初生窝重"}};
        for (const auto& [r, c, text] : cells)
            QCOMPARE(g->GetItemText(r, c), text);
        QCOMPARE(g->model()->mergeAt(18, 1), QRect(1, 18, 4, 1));
        // Males first, as the header says; the stillborn and the mummy are not counted;
        // a litter of females only is listed with 0 males; parity 10 comes after 2.
        QCOMPARE(g->GetRowCount(), 23);
        const QStringList expected[] = {
            {"1", "YYAAAA123000301", "20240101", "20240425", "11(6//5)", "26.40"},
            {"2", "YYAAAA123000301", "20240601", "20240923", "4(0//4)", "6.00"},
            {"10", "YYAAAA123000301", "20241101", "20241224", "2(1//1)", "2.00"},
        };
        for (int i = 0; i < 3; ++i)
            for (int c = 0; c < 6; ++c)
                QCOMPARE(g->GetItemText(20 + i, c), expected[i].at(c));
    }

    void sowCardWithoutLittersAndABoarIsNoSow()
    {
        TempHerdDb db;
        addHerd(db);
        CMuZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000102")));
        QCOMPARE(dlg.card()->GetRowCount(), 20);
        QVERIFY(!dlg.layOutCard(QStringLiteral("YYAAAA123000301")));
    }

    void gridLinesFollowTheBoxes()
    {
        TempHerdDb db;
        addHerd(db);
        CZhongZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000101")));
        QCOMPARE(dlg.card()->GetGridLines(), int(GVL_NONE));
        dlg.horizontalBox()->setChecked(true);
        QCOMPARE(dlg.card()->GetGridLines(), int(GVL_HORZ));
        dlg.setLines(false, true);
        QCOMPARE(dlg.card()->GetGridLines(), int(GVL_VERT));
        dlg.setLines(true, true);
        QVERIFY(dlg.layOutCard(QStringLiteral("LLAAAA123000102")));
        QCOMPARE(dlg.card()->GetGridLines(), int(GVL_BOTH));
    }

    void oneJobPerCardAndTheUnknownKept()
    {
        TempHerdDb db;
        addHerd(db);
        ScriptedMessages msgs;
        QTemporaryDir dir;
        QStringList jobs;
        auto oldDialog = CDaYinDlg::setPrintDialogHandler([](QPrinter* printer, QWidget*) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            return true;
        });
        auto oldObserver = CDaYinDlg::setJobObserver([&](QPrinter* printer, const QString& tag) {
            printer->setOutputFileName(dir.filePath(tag + QStringLiteral(".pdf")));
            jobs << tag + QLatin1Char('|') + printer->docName();
        });
        CZhongZhuKaDlg dlg;
        QVERIFY(dlg.setUp(db.path()));
        for (const QString& tag : dlg.choices())
            dlg.choose(tag);
        dlg.tagEdit()->setText(QStringLiteral("LLAAAA123000199"));
        QVERIFY(dlg.addTypedTag());
        dlg.printButton()->click();
        QCOMPARE(jobs, (QStringList{"LLAAAA123000101|" + appTitle(), "LLAAAA123000102|" + appTitle(),
                                    "YYAAAA123000301|" + appTitle()}));
        for (const char* tag : {"LLAAAA123000101", "LLAAAA123000102", "YYAAAA123000301"})
            QVERIFY(QFileInfo(dir.filePath(QString::fromLatin1(tag) + QStringLiteral(".pdf"))).size() > 0);
        QCOMPARE(dlg.toPrint(), QStringList{"LLAAAA123000199"});
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("还有没有打印的记录\n\n因为数据库里没有发现数据")});
        QCOMPARE(msgs.shown().at(0).caption, QStringLiteral("打印"));
        QVERIFY(dlg.printButton()->isEnabled());
        QVERIFY(dlg.addButton()->isEnabled());

        // Cancel in the print dialog: nothing printed, both lists as they were.
        CDaYinDlg::setPrintDialogHandler([](QPrinter*, QWidget*) { return false; });
        jobs.clear();
        QVERIFY(!dlg.printCards());
        QVERIFY(jobs.isEmpty());
        QCOMPARE(dlg.toPrint(), QStringList{"LLAAAA123000199"});
        QVERIFY(dlg.choices().isEmpty());
        CDaYinDlg::setPrintDialogHandler(oldDialog);
        CDaYinDlg::setJobObserver(oldObserver);
    }
};

QTEST_MAIN(TestCardPrinting)
#include "test_cardprinting.moc"
