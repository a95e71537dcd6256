#include "appclock.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "exportcommand.h"
#include "gridscreen.h"
#include "screenregistry.h"
#include "testsupport.h"
#include "textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kDemoId = 39001;
const QString kDemoCaption = QStringLiteral("导出测试窗口(&E)");

// A screen defined for these tests: a breed and a period as inputs, "分析" fills the grid
// with two merged header rows and the breeds of the database, with texts that need quoting.
class DemoScreen : public CGridScreen
{
public:
    explicit DemoScreen(QWidget* parent = nullptr)
        : CGridScreen(kDemoId, 4, parent)
    {
        setTitle(QStringLiteral("导出测试"));
        setOffers(OfferCopy | OfferFind | OfferGrid | OfferPrint);
    }

    bool exportSetBreed(const QString& b) override
    {
        m_breed = b;
        return true;
    }
    bool exportSetFrom(const QDate& d) override
    {
        m_from = d;
        return true;
    }
    bool exportSetTo(const QDate& d) override
    {
        m_to = d;
        return true;
    }
    bool exportSetType(int type) override
    {
        m_type = type;
        return type <= 3;
    }
    bool exportAction() override
    {
        analyse();
        return true;
    }

protected:
    void loadScreen() override
    {
        grid()->SetColumnCount(4);
        grid()->SetRowCount(2);
        grid()->SetFixedRowCount(2);
        grid()->SetItemText(0, 0, QStringLiteral("品种"));
        grid()->SetFixedCellCombine(0, 0, 2, 1);
        grid()->SetItemText(0, 1, QStringLiteral("统计, \"全部\""));
        grid()->SetFixedCellCombine(0, 1, 1, 3);
        grid()->SetItemText(0, 2, QStringLiteral("covered text never exported"));
        grid()->SetItemText(1, 1, QStringLiteral("名称"));
        grid()->SetItemText(1, 2, QStringLiteral("期间"));
        grid()->SetItemText(1, 3, QStringLiteral("今天"));
    }

private:
    void analyse()
    {
        if (m_breed.size() < 2) {
            AppMessageBox(QStringLiteral("品种选择错误"), QStringLiteral("错误"), MsgIcon::Stop);
            return;
        }
        CDbRecordset rs(&connection());
        QString sql = QStringLiteral("select 品种代号, 品种名称 from 品种表");
        if (m_breed != QLatin1String("所有品种"))
            sql += QStringLiteral(" where 品种代号=") + TextUtil::sqlQuote(m_breed);
        rs.Open(sql + QStringLiteral(" order by 品种代号"));
        grid()->SetRowCount(2);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QString code, name;
            rs.GetFieldText(0, code);
            rs.GetFieldText(1, name);
            const int r = grid()->InsertRow(code);
            grid()->SetItemText(r, 1, name);
            grid()->SetItemText(r, 2, TextUtil::dateText(m_from) + QLatin1Char('\n') + TextUtil::dateText(m_to));
            grid()->SetItemText(r, 3, TextUtil::todayText() + QStringLiteral(" 类型") + QString::number(m_type));
        }
    }

    QString m_breed = QStringLiteral("所有品种");
    QDate m_from, m_to;
    int m_type = 0;
};

struct Registered {
    Registered()
    {
        ScreenRegistry::add({kDemoId, kDemoCaption, [](QWidget* p) { return new DemoScreen(p); }});
    }
    ~Registered() { ScreenRegistry::remove(kDemoId); }
};

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { AppClock::setNow(QDateTime()); }
    void writesTheGridAsCsv_data();
    void writesTheGridAsCsv();
    void badOptionsExitWithTwo_data();
    void badOptionsExitWithTwo();
    void aMessageGoesToStandardErrorWithOne();
    void missingDatabaseIsTheScreensMessage();
    void pdfIsWhatThePrintCommandPrints();
    void exportsTheRealScreensOfTheProgram();
    void runsHeadlessFromTheProgram();
};

void TestExport::writesTheGridAsCsv_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("csv");
    const QString head = QStringLiteral("品种,\"统计, \"\"全部\"\"\",,\r\n,名称,期间,今天\r\n");
    QTest::newRow("by caption, one breed")
        << QStringList{"导出测试窗口", "--breed", "LL", "--from", "20260101", "--to", "20261231", "--now", "20261211"}
        << head + QStringLiteral("LL,长白,\"20260101\n20261231\",20261211 类型0\r\n");
    QTest::newRow("by command id, type and the clock")
        << QStringList{"39001", "--breed", "DD", "--type", "3", "--now", "202001021530", "--from", "20190101", "--to", "20191231"}
        << head + QStringLiteral("DD,杜洛克,\"20190101\n20191231\",20200102 类型3\r\n");
}

void TestExport::writesTheGridAsCsv()
{
    QFETCH(QStringList, options);
    QFETCH(QString, csv);
    Registered reg;
    TempHerdDb db;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--export")};
    args << options << QStringLiteral("--database") << db.path() << QStringLiteral("--out") << out;
    QString errors;
    QCOMPARE(ExportCommand::exec(args, &errors), 0);
    QCOMPARE(errors, QString());
    QCOMPARE(readAll(out), csv);
}

void TestExport::badOptionsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option") << QStringList{"39001", "--colour", "x"} << QStringLiteral("未知选项: --colour");
    QTest::newRow("option without its value") << QStringList{"39001", "--breed"} << QStringLiteral("选项 --breed 缺少参数");
    QTest::newRow("not a date") << QStringList{"39001", "--from", "20261332"} << QStringLiteral("--from 需要 YYYYMMDD 格式的日期: 20261332");
    QTest::newRow("years backwards") << QStringList{"39001", "--years", "2024-2020"} << QStringLiteral("--years");
    QTest::newRow("negative type") << QStringList{"39001", "--type", "-1"} << QStringLiteral("--type 需要一个非负整数");
    QTest::newRow("bad clock") << QStringList{"39001", "--now", "yesterday"} << QStringLiteral("--now");
    QTest::newRow("no such screen") << QStringList{"没有的窗口"} << QStringLiteral("没有这个窗口: 没有的窗口");
    QTest::newRow("input the screen lacks") << QStringList{"39001", "--sow", "LL0000000000001"}
                                            << QStringLiteral("窗口“39001”不接受选项 --sow");
    QTest::newRow("value the screen refuses") << QStringList{"39001", "--type", "9"} << QStringLiteral("不接受选项 --type");
    QTest::newRow("no chart") << QStringList{"39001", "--chart", "/tmp/x.png"} << QStringLiteral("没有图表");
}

void TestExport::badOptionsExitWithTwo()
{
    QFETCH(QStringList, options);
    QFETCH(QString, error);
    Registered reg;
    TempHerdDb db;
    // The options come last, so one without its value is at the end.
    QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--database"), db.path(), QStringLiteral("--out"),
                     db.dir() + QStringLiteral("/o.csv"), QStringLiteral("--export")};
    args << options;
    QString errors;
    QCOMPARE(ExportCommand::exec(args, &errors), 2);
    QVERIFY2(errors.contains(error), qPrintable(errors));
}

void TestExport::aMessageGoesToStandardErrorWithOne()
{
    Registered reg;
    TempHerdDb db;
    QString errors;
    const QString out = db.dir() + QStringLiteral("/o.csv");
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "39001", "--breed", "L", "--database", db.path(), "--out", out}, &errors), 1);
    QCOMPARE(errors, QStringLiteral("错误: 品种选择错误\n"));
    // The grid is still written as the screen shows it: the headers only.
    QCOMPARE(readAll(out).count(QStringLiteral("\r\n")), 2);
}

void TestExport::missingDatabaseIsTheScreensMessage()
{
    Registered reg;
    QTemporaryDir dir;
    QString errors;
    const QString missing = dir.filePath(QStringLiteral("none/lumbodata.db"));
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "39001", "--database", missing, "--out", dir.filePath("o.csv")}, &errors), 1);
    QCOMPARE(errors, QStringLiteral("塔沃种猪管理大师: 数据库连接失败!\n"));
    QVERIFY(!QFile::exists(missing));
}

void TestExport::pdfIsWhatThePrintCommandPrints()
{
    Registered reg;
    TempHerdDb db;
    const QString pdf = db.dir() + QStringLiteral("/print.pdf");
    QString errors;
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "39001", "--database", db.path(), "--out", db.dir() + "/o.csv", "--pdf", pdf},
                                 &errors),
             0);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
}

void TestExport::exportsTheRealScreensOfTheProgram()
{
    // The program's own archive screen, found by its menu caption.
    TempHerdDb db;
    QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号, 性别, 不存在) values ('LLAAAA126000101', 'F', 'no')")));
    const QString out = db.dir() + QStringLiteral("/archive.csv");
    QString errors;
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "种猪档案", "--database", db.path(), "--out", out}, &errors), 0);
    QCOMPARE(errors, QString());
    const QStringList lines = readAll(out).split(QStringLiteral("\r\n"));
    QVERIFY(lines.first().startsWith(QStringLiteral("序号,耳号,性别")));
    QVERIFY(lines.at(1).startsWith(QStringLiteral("1,LLAAAA126000101,F")));
}

void TestExport::runsHeadlessFromTheProgram()
{
    // The real program: no display, an unknown screen and a bad option give 2.
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo");
    if (!QFile::exists(program))
        QSKIP("the program is not built");
    TempHerdDb db;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    auto run = [&](const QStringList& args, QString* err) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForFinished(60000))
            return -1;
        *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    };
    QString err;
    QCOMPARE(run({"--export", "没有的窗口", "--database", db.path()}, &err), 2);
    QVERIFY2(err.contains(QStringLiteral("没有这个窗口")), qPrintable(err));
    QCOMPARE(run({"--export", "32819", "--frobnicate", "1"}, &err), 2);
    QVERIFY2(err.contains(QStringLiteral("未知选项: --frobnicate")), qPrintable(err));
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
