// What every analysis screen shares: nothing computed at opening, the combo, the inputs'
// defaults, the selection checks, the wait cursor, period cutting on a screen, nothing
// written, and the command-line export with its options.
#include "analysisfixture.h"
#include "estrusanalyses.h"
#include "exportcommand.h"
#include "matinganalyses.h"
#include "registerscreens.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

namespace {
QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}
} // namespace

class TestAnalysisScreen : public QObject
{
    Q_OBJECT
private slots:
    void init() { AppClock::setNow(QDateTime(QDate(2025, 12, 11), QTime(9, 0))); }
    void cleanup() { AppClock::setNow(QDateTime()); }

    void openingComputesNothing();
    void inputsAndDefaults();
    void selectionChecks_data();
    void selectionChecks();
    void waitCursorAndButtonComeBack();
    void gridAboveChartBelow();
    void monthRowsFollowThePeriod();
    void nothingIsWritten();
    void exportOptions_data();
    void exportOptions();
    void exportWritesCsvAndChart();
};

void TestAnalysisScreen::openingComputesNothing()
{
    AnalysisFarm farm;
    farm.card(AnalysisFarm::tag("LL", 1));
    farm.mating(AnalysisFarm::tag("LL", 1), QStringLiteral("20250310A"), 1);
    auto s = openAnalysis<CFPChengGongCiShuM>(farm.db);
    QCOMPARE(s->runCount(), 0);
    // The bins stand at set-up with their labels and nothing counted.
    QCOMPARE(gridRows(*s, 0), (QStringList{"序号|成功次数|配种次数|比例（%）", "1|1次配成||", "2|2次配成||", "3|3次配成||",
                                         "4|>3次配成||", "5|合计||"}));
    QVERIFY(s->pie()->values().isEmpty());
    QCOMPARE(s->pie()->shownCount(), 0);
    // The chart's set-up calls.
    QCOMPARE(s->pie()->showType(), 0);
    QCOMPARE(s->pie()->fontSize(), 11);
    QCOMPARE(s->pie()->barColour(), QColor(255, 0, 0));
    QCOMPARE(s->windowTitle(), QStringLiteral("配种成功次数分析"));

    auto month = openAnalysis<CFPFanQingLvYF>(farm.db);
    QCOMPARE(month->grid()->GetRowCount(), 1); // header only
}

void TestAnalysisScreen::inputsAndDefaults()
{
    AnalysisFarm farm;
    farm.mating(AnalysisFarm::tag("LL", 1), QStringLiteral("20250310A"), 1, "N", AnalysisFarm::tag("DD", 7));
    farm.mating(AnalysisFarm::tag("LL", 2), QStringLiteral("20250311A"), 1, "N", AnalysisFarm::tag("DD", 8));
    farm.mating(AnalysisFarm::tag("LL", 3), QStringLiteral("20250312A"), 1, "N", AnalysisFarm::tag("DD", 7));
    auto s = openAnalysis<CFPFanQingLvSD>(farm.db);
    // Pure breeds of the breed table in order (the crosses left out), then the whole herd.
    QComboBox* combo = s->selectionCombo();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, (QStringList{"LL", "YY", "DD", "所有品种"}));
    QCOMPARE(combo->currentText(), QStringLiteral("所有品种"));
    QVERIFY(combo->isVisibleTo(s.get()));
    QCOMPARE(s->startEdit()->date(), QDate(2024, 12, 11));
    QCOMPARE(s->endEdit()->date(), QDate(2025, 12, 11));

    // The boar screens list every boar that has mated and choose none.
    auto boar = openAnalysis<CFPPinDuG>(farm.db);
    QCOMPARE(boar->selectionCombo()->count(), 2);
    QCOMPARE(boar->selectionCombo()->currentText(), QString());

    // The method screen hides its combo.
    auto method = openAnalysis<CFPPeiZhongFangShi>(farm.db);
    QVERIFY(!method->selectionCombo()->isVisibleTo(method.get()));
}

void TestAnalysisScreen::selectionChecks_data()
{
    QTest::addColumn<bool>("boarScreen");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty breed") << false << "" << "品种选择错误";
    QTest::newRow("one letter") << false << "L" << "品种选择错误";
    QTest::newRow("a code") << false << "LL" << "";
    QTest::newRow("all breeds") << false << "所有品种" << "";
    QTest::newRow("no boar") << true << "" << "公猪耳号选择错误";
    QTest::newRow("short boar tag") << true << "DD00000007" << "公猪耳号选择错误";
    QTest::newRow("a boar") << true << "DD0000000000007" << "";
}

void TestAnalysisScreen::selectionChecks()
{
    QFETCH(bool, boarScreen);
    QFETCH(QString, selection);
    QFETCH(QString, message);
    AnalysisFarm farm;
    farm.mating(AnalysisFarm::tag("LL", 1), QStringLiteral("20250310A"), 1, "Y", AnalysisFarm::tag("DD", 7));
    std::unique_ptr<CAnalysisScreen> s;
    if (boarScreen)
        s = openAnalysis<CFPPeiZhongLvG>(farm.db);
    else
        s = openAnalysis<CFPFanQingLvSD>(farm.db);
    // A first good run leaves values that a refused run must not touch.
    s->selectionCombo()->setEditText(boarScreen ? AnalysisFarm::tag("DD", 7) : QStringLiteral("所有品种"));
    QVERIFY(analysePeriod(*s, "20250101", "20251231"));
    const QStringList before = gridRows(*s);
    const QStringList chart = pieValues(*s);

    ScriptedMessages messages;
    s->selectionCombo()->setEditText(selection);
    QCOMPARE(s->runAnalysis(), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(messages.shown().isEmpty());
        return;
    }
    QCOMPARE(messages.texts(), QStringList{message});
    QCOMPARE(messages.shown().first().caption, QStringLiteral("错误"));
    QCOMPARE(messages.shown().first().icon, MsgIcon::Stop);
    QCOMPARE(gridRows(*s), before);
    QCOMPARE(pieValues(*s), chart);
    QCOMPARE(s->runCount(), 1);
}

namespace {
// A screen that looks at the cursor and the button while its statements would run.
class ProbeScreen : public CAnalysisScreen
{
public:
    ProbeScreen()
        : CAnalysisScreen(defineAnalysis(39990, QStringLiteral("探针"), {QStringLiteral("序号"), QStringLiteral("值")}))
    {
    }
    bool busy = false;
    int chartValuesAtStart = -1;

protected:
    void analyse(const AnalysisRun&) override
    {
        busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor
               && !analyseButton()->isEnabled();
        chartValuesAtStart = int(pie()->values().size());
        pie()->AddVar(1.0f, QStringLiteral("一"));
    }
};
} // namespace

void TestAnalysisScreen::waitCursorAndButtonComeBack()
{
    AnalysisFarm farm;
    ProbeScreen s;
    s.setAttribute(Qt::WA_DeleteOnClose, false);
    s.setDatabasePath(farm.db.path());
    QVERIFY(s.initialUpdate());
    QVERIFY(analysePeriod(s, "20250101", "20251231"));
    QVERIFY(s.busy);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(s.analyseButton()->isEnabled());
    // Every run starts the chart clean.
    QVERIFY(analysePeriod(s, "20250101", "20251231"));
    QCOMPARE(s.chartValuesAtStart, 0);
    QCOMPARE(pieValues(s), QStringList{"一=1"});
    QCOMPARE(s.pie()->shownCount(), 2);
}

void TestAnalysisScreen::gridAboveChartBelow()
{
    AnalysisFarm farm;
    for (bool shownFirst : {false, true}) {
        CFFaQingSD s;
        s.setAttribute(Qt::WA_DeleteOnClose, false);
        s.setDatabasePath(farm.db.path());
        if (shownFirst) {
            // As in the frame: the child window is on screen, larger than the form, before
            // the set-up runs.
            s.resize(1100, 800);
            s.show();
        } else {
            QVERIFY(s.initialUpdate());
            s.resize(1100, 800);
            s.arrangeLayout();
        }
        QVERIFY(s.isSetUp());
        const QRect grid = s.grid()->geometry();
        const QRect chart = s.chartWidget()->geometry();
        QCOMPARE(grid.left(), 0);
        QCOMPARE(grid.right() + 1, 1100);
        QCOMPARE(grid.bottom() + 1, 400);
        QCOMPARE(chart.top(), 400);
        QCOMPARE(chart.bottom() + 1, 800);
        QCOMPARE(chart.right() + 1, 1100);
        // The inputs keep their place beside the top centre.
        QVERIFY(qAbs(s.analyseButton()->geometry().center().x() - 550) < 320);
        QVERIFY(s.analyseButton()->geometry().bottom() < grid.top());
    }
}

void TestAnalysisScreen::monthRowsFollowThePeriod()
{
    AnalysisFarm farm;
    auto s = openAnalysis<CFPFanQingLvYF>(farm.db);
    QVERIFY(analysePeriod(*s, "20250315", "20250610"));
    QCOMPARE(gridRows(*s), (QStringList{"2025年03月|0|0|0.00", "2025年04月|0|0|0.00", "2025年05月|0|0|0.00"}));
    QCOMPARE(pieValues(*s), (QStringList{"2025.03=0", "2025.04=0", "2025.05=0"}));
    // A later run with the start after the end cuts the rows back to the header.
    QVERIFY(analysePeriod(*s, "20250610", "20250315"));
    QVERIFY(gridRows(*s).isEmpty());
    QVERIFY(pieValues(*s).isEmpty());
}

void TestAnalysisScreen::nothingIsWritten()
{
    AnalysisFarm farm;
    const QString sow = AnalysisFarm::tag("LL", 1);
    farm.card(sow);
    farm.litter(sow, 1, QStringLiteral("20250301"), 3);
    farm.mating(sow, QStringLiteral("20250306A"), 2, "Y");
    farm.mating(sow, QStringLiteral("20250327A"), 2);
    // Fold the WAL into the file so only a write could change it.
    QVERIFY(farm.db.exec(QStringLiteral("pragma wal_checkpoint(TRUNCATE)")));
    const QByteArray before = fileHash(farm.db.path());
    auto a = openAnalysis<CFFaQingSD>(farm.db);
    auto b = openAnalysis<CFPPeiZhongLvYF>(farm.db);
    QVERIFY(analysePeriod(*a, "20250101", "20251231"));
    QVERIFY(analysePeriod(*b, "20250101", "20251231"));
    a.reset();
    b.reset();
    QVERIFY(farm.db.exec(QStringLiteral("pragma wal_checkpoint(TRUNCATE)")));
    QCOMPARE(fileHash(farm.db.path()), before);
}

void TestAnalysisScreen::exportOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("period and breed") << QStringList{"--export", "32850", "--breed", "LL", "--from", "20250101", "--to", "20251231"} << 0;
    QTest::newRow("a single date on a period form") << QStringList{"--export", "32850", "--date", "20250101"} << 2;
    QTest::newRow("a boar on a breed screen") << QStringList{"--export", "32850", "--eartag", "DD0000000000007"} << 2;
    QTest::newRow("years on a period form") << QStringList{"--export", "32850", "--years", "2020-2024"} << 2;
    QTest::newRow("a breed on the method screen") << QStringList{"--export", "32855", "--breed", "LL"} << 2;
    QTest::newRow("a boar") << QStringList{"--export", "32853", "--eartag", "DD0000000000007"} << 0;
    QTest::newRow("no boar: the screen's message") << QStringList{"--export", "32853"} << 1;
    QTest::newRow("a bad breed: the screen's message") << QStringList{"--export", "32846", "--breed", "L"} << 1;
}

void TestAnalysisScreen::exportOptions()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    registerScreens();
    AnalysisFarm farm;
    farm.mating(AnalysisFarm::tag("LL", 1), QStringLiteral("20250310A"), 1, "Y", AnalysisFarm::tag("DD", 7));
    QString err;
    const QString out = farm.db.dir() + QStringLiteral("/out.csv");
    QCOMPARE(ExportCommand::exec(QStringList{"Tamvo"} + options + QStringList{"--database", farm.db.path(), "--out", out}, &err),
             exitCode);
}

void TestAnalysisScreen::exportWritesCsvAndChart()
{
    registerScreens();
    AnalysisFarm farm;
    const QString sow = AnalysisFarm::tag("LL", 1);
    farm.mating(sow, QStringLiteral("20250310A"), 1, "Y");
    farm.mating(sow, QStringLiteral("20250331A"), 1);
    farm.mating(AnalysisFarm::tag("YY", 2), QStringLiteral("20250312A"), 1);
    const QString out = farm.db.dir() + QStringLiteral("/rate.csv");
    const QString png = farm.db.dir() + QStringLiteral("/rate.png");
    QString err;
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "返情率时段分析", "--database", farm.db.path(), "--breed", "LL", "--from",
                                  "20250301", "--to", "20250331", "--out", out, "--chart", png},
                                 &err),
             0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), QStringLiteral("序号,配种次数,返情次数,比例（%）\r\n1,2,1,50.00\r\n"));
    const QImage image(png);
    QVERIFY(!image.isNull());
    QVERIFY2(image.width() >= 800 && image.height() >= 400, qPrintable(QStringLiteral("%1x%2").arg(image.width()).arg(image.height())));
}

QTEST_MAIN(TestAnalysisScreen)
#include "test_analysisscreen.moc"
