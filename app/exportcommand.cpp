#include "exportcommand.h"
#include "appclock.h"
#include "appmessage.h"
#include "databasecheck.h"
#include "dbfilecheck.h"
#include "exportable.h"
#include "gridctrl.h"
#include "gridscreen.h"
#include "printservice.h"
#include "registerscreens.h"
#include "safefile.h"
#include "screenregistry.h"
#include "tabletext.h"
#include "tamvoapp.h"
#include "textutil.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace {

enum ExitCode { Ok = 0, Message = 1, BadOptions = 2 };

struct Options {
    QString screen, out, database, breed, eartag, sow, pdf, chart;
    QDateTime now;
    QDate from, to, date;
    int yearFrom = 0, yearTo = 0;
    int type = -1;
    bool hasBreed = false, hasEartag = false, hasSow = false, hasYears = false;
};

class ErrorSink
{
public:
    explicit ErrorSink(QString* copy) : m_copy(copy) {}
    void write(const QString& line)
    {
        fprintf(stderr, "%s\n", line.toUtf8().constData());
        fflush(stderr);
        if (m_copy)
            *m_copy += line + QLatin1Char('\n');
    }

private:
    QString* m_copy;
};

QDate parseDay(const QString& text)
{
    return TextUtil::isValidDateText(text) ? TextUtil::parseDateText(text) : QDate();
}

// Reads the options; an empty result means they are fine.
QString parseOptions(const QStringList& args, Options& o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto next = [&](QString& out) -> bool {
            if (i + 1 >= args.size())
                return false;
            out = args.at(++i);
            return true;
        };
        QString v;
        const bool known = QStringList{QStringLiteral("--export"), QStringLiteral("--out"), QStringLiteral("--database"),
                                       QStringLiteral("--now"), QStringLiteral("--breed"), QStringLiteral("--eartag"),
                                       QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--date"),
                                       QStringLiteral("--years"), QStringLiteral("--type"), QStringLiteral("--sow"),
                                       QStringLiteral("--pdf"), QStringLiteral("--chart")}
                               .contains(a);
        if (!known)
            return QStringLiteral("未知选项: %1").arg(a);
        if (!next(v))
            return QStringLiteral("选项 %1 缺少参数").arg(a);
        if (a == QLatin1String("--export")) {
            o.screen = v;
        } else if (a == QLatin1String("--out")) {
            o.out = v;
        } else if (a == QLatin1String("--database")) {
            o.database = v;
        } else if (a == QLatin1String("--now")) {
            o.now = AppClock::parseNowOption(v);
            if (!o.now.isValid())
                return QStringLiteral("--now 需要 YYYYMMDD 或 YYYYMMDDhhmm 格式的日期: %1").arg(v);
        } else if (a == QLatin1String("--breed")) {
            o.breed = v;
            o.hasBreed = true;
        } else if (a == QLatin1String("--eartag")) {
            o.eartag = v;
            o.hasEartag = true;
        } else if (a == QLatin1String("--sow")) {
            o.sow = v;
            o.hasSow = true;
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to") || a == QLatin1String("--date")) {
            const QDate d = parseDay(v);
            if (!d.isValid())
                return QStringLiteral("%1 需要 YYYYMMDD 格式的日期: %2").arg(a, v);
            (a == QLatin1String("--from") ? o.from : a == QLatin1String("--to") ? o.to : o.date) = d;
        } else if (a == QLatin1String("--years")) {
            static const QRegularExpression years(QStringLiteral("^(\\d{4})-(\\d{4})$"));
            const auto m = years.match(v);
            if (!m.hasMatch() || m.captured(1).toInt() > m.captured(2).toInt())
                return QStringLiteral("--years 需要 起始年-结束年 (例如 2020-2024): %1").arg(v);
            o.yearFrom = m.captured(1).toInt();
            o.yearTo = m.captured(2).toInt();
            o.hasYears = true;
        } else if (a == QLatin1String("--type")) {
            bool ok = false;
            o.type = v.toInt(&ok);
            if (!ok || o.type < 0)
                return QStringLiteral("--type 需要一个非负整数: %1").arg(v);
        } else if (a == QLatin1String("--pdf")) {
            o.pdf = v;
        } else if (a == QLatin1String("--chart")) {
            o.chart = v;
        }
    }
    if (o.screen.isEmpty())
        return QStringLiteral("缺少 --export 窗口");
    return QString();
}

// Applies the inputs the options name; the first one the screen cannot take is the error.
QString applyOptions(IExportable& screen, const Options& o)
{
    struct Input {
        bool given;
        const char* name;
        std::function<bool()> apply;
    };
    const Input inputs[] = {
        {o.hasBreed, "--breed", [&] { return screen.exportSetBreed(o.breed); }},
        {o.hasEartag, "--eartag", [&] { return screen.exportSetEarTag(o.eartag); }},
        {o.from.isValid(), "--from", [&] { return screen.exportSetFrom(o.from); }},
        {o.to.isValid(), "--to", [&] { return screen.exportSetTo(o.to); }},
        {o.date.isValid(), "--date", [&] { return screen.exportSetDate(o.date); }},
        {o.hasYears, "--years", [&] { return screen.exportSetYears(o.yearFrom, o.yearTo); }},
        {o.type >= 0, "--type", [&] { return screen.exportSetType(o.type); }},
        {o.hasSow, "--sow", [&] { return screen.exportSetSow(o.sow); }},
    };
    for (const Input& in : inputs)
        if (in.given && !in.apply())
            return QStringLiteral("窗口“%1”不接受选项 %2").arg(o.screen, QLatin1String(in.name));
    return QString();
}

// Standard output on a full disk or a closed pipe: every write and the flush are checked.
bool writeStdout(const QByteArray& bytes)
{
    const size_t written = fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    const bool flushed = fflush(stdout) == 0;
    return written == size_t(bytes.size()) && flushed && !ferror(stdout);
}

// The printout goes to a temporary file first; the PDF writer does not report a failed
// write, so only a complete file (its end marker there) is copied into place.
enum class PdfResult { Written, NothingToPrint, WriteFailed };
PdfResult writePdf(IExportable& screen, const QString& path)
{
    QTemporaryDir dir;
    const QString rendered = dir.filePath(QStringLiteral("print.pdf"));
    if (!dir.isValid())
        return PdfResult::WriteFailed;
    PrintService::takePdfWriteFailed();
    if (!screen.exportPdf(rendered))
        return PrintService::takePdfWriteFailed() ? PdfResult::WriteFailed : PdfResult::NothingToPrint;
    QFile f(rendered);
    if (!f.open(QIODevice::ReadOnly))
        return PdfResult::WriteFailed;
    const QByteArray bytes = f.readAll();
    if (!bytes.trimmed().endsWith("%%EOF"))
        return PdfResult::WriteFailed;
    return SafeFile::writeWhole(path, bytes) ? PdfResult::Written : PdfResult::WriteFailed;
}

QWidget* createScreen(const QString& name)
{
    if (const ScreenEntry* e = ScreenRegistry::findByName(name))
        return e->create ? e->create(nullptr) : nullptr;
    if (const ExportDialogs::Entry* e = ExportDialogs::findByName(name))
        return e->create ? e->create(nullptr) : nullptr;
    return nullptr;
}

} // namespace

namespace ExportCommand {

bool requested(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--export"));
}

QString usage()
{
    return QStringLiteral(
        "用法: Tamvo --export 窗口 [选项] [--out 文件.csv]\n"
        "  窗口                 命令号(如 32819)或菜单名称(如 母猪待配提醒)\n"
        "  --out FILE.csv       表格写入的 CSV 文件(UTF-8);不给时写到标准输出\n"
        "  --database PATH      种猪数据库文件\n"
        "  --now YYYYMMDD[hhmm] 程序的当前日期\n"
        "  --breed CODE|所有品种 品种选择\n"
        "  --eartag TEXT        耳号选择(报表);公猪分析的公猪\n"
        "  --from YYYYMMDD      起始日期\n"
        "  --to YYYYMMDD        终止日期\n"
        "  --date YYYYMMDD      日期\n"
        "  --years Y1-Y2        年份范围\n"
        "  --type N             转群窗口的列表类型\n"
        "  --sow TAG            母猪耳号(配种自动配对、种猪状态查询)\n"
        "  --pdf FILE.pdf       打印的内容写成 PDF\n"
        "  --chart FILE.png     窗口的图表\n"
        "窗口显示的消息写到标准错误,退出码 1;选项错误退出码 2。\n");
}

QString gridCsv(const CGridCtrl& grid)
{
    const CGridModel* m = grid.model();
    QString out;
    for (int r = 0; r < grid.GetRowCount(); ++r) {
        QStringList fields;
        fields.reserve(grid.GetColumnCount());
        for (int c = 0; c < grid.GetColumnCount(); ++c) {
            const QRect merge = m->mergeAt(r, c);
            const bool covered = merge.top() != r || merge.left() != c;
            fields << (covered ? QString() : grid.GetItemText(r, c));
        }
        out += TableText::csvLine(fields);
        out += QLatin1String("\r\n");
    }
    return out;
}

int exec(const QStringList& arguments, QString* errorText)
{
    ErrorSink err(errorText);
    if (arguments.contains(QStringLiteral("--help"))) {
        printf("%s", usage().toUtf8().constData());
        return Ok;
    }
    Options o;
    const QString problem = parseOptions(arguments, o);
    if (!problem.isEmpty()) {
        err.write(problem);
        err.write(usage());
        return BadOptions;
    }
    if (o.now.isValid())
        AppClock::setNow(o.now);
    const QString database = QFileInfo(o.database.isEmpty()
                                           ? CTamvoApp::defaultDatabasePath(QCoreApplication::applicationDirPath() + QLatin1Char('/'))
                                           : o.database)
                                 .absoluteFilePath();
    CGridScreen::setDefaultDatabasePath(database);
    // The application object holds the values screens read (farm number, owner name);
    // the farm number file lives beside the database, as in a windowed run.
    std::unique_ptr<CTamvoApp> ownApp;
    if (!theApp())
        ownApp = std::make_unique<CTamvoApp>();
    QString farm = theApp()->farmNumber();
    QString subFarm = theApp()->subFarmNumber();
    if (CTamvoApp::readCodeIni(QFileInfo(database).absolutePath() + QStringLiteral("/code.ini"), farm, subFarm))
        theApp()->setFarmNumbers(farm, subFarm);

    // Every message the screen would show: standard error, exit code 1.
    int code = Ok;
    const AppMessageHandler previous = setAppMessageHandler([&](const AppMessage& m) {
        err.write(m.caption.isEmpty() ? m.text : m.caption + QStringLiteral(": ") + m.text);
        code = Message;
        return m.buttons == MsgButtons::YesNo || m.buttons == MsgButtons::YesNoCancel ? MsgAnswer::No : MsgAnswer::Ok;
    });
    struct Restore {
        AppMessageHandler h;
        ~Restore() { setAppMessageHandler(h); }
    } restore{previous};

    // The whole file is checked alongside the screen's work; nothing is written out of
    // a damaged file.
    std::unique_ptr<CDbFileCheck> fileCheck;
    if (QFileInfo(database).isFile()) {
        fileCheck = std::make_unique<CDbFileCheck>(database);
        fileCheck->start();
    }
    const auto damaged = [&]() {
        QString problem;
        if (!fileCheck || fileCheck->wait(&problem))
            return false;
        err.write(DatabaseCheck::damagedText(database, problem, QString()).section(QStringLiteral("\n\n"), 0, 0));
        return true;
    };

    registerScreens();
    std::unique_ptr<QWidget> widget(createScreen(o.screen));
    if (!widget) {
        err.write(QStringLiteral("没有这个窗口: %1").arg(o.screen));
        return BadOptions;
    }
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    IExportable* screen = dynamic_cast<IExportable*>(widget.get());
    if (!screen) {
        err.write(QStringLiteral("窗口“%1”不能导出").arg(o.screen));
        return BadOptions;
    }
    if (!screen->exportSetUp(database)) {
        damaged();
        return code == Ok ? Message : code;
    }
    const QString inputProblem = applyOptions(*screen, o);
    if (!inputProblem.isEmpty()) {
        err.write(inputProblem);
        return BadOptions;
    }
    screen->exportAction();
    if (damaged())
        return Message;

    if (CGridCtrl* grid = screen->exportGrid()) {
        const QByteArray csv = gridCsv(*grid).toUtf8();
        if (o.out.isEmpty() ? !writeStdout(csv) : !SafeFile::writeWhole(o.out, csv)) {
            err.write(QStringLiteral("不能写入文件: %1").arg(o.out.isEmpty() ? QStringLiteral("标准输出") : o.out));
            return Message;
        }
    }
    if (!o.pdf.isEmpty()) {
        switch (writePdf(*screen, o.pdf)) {
        case PdfResult::Written:
            break;
        case PdfResult::NothingToPrint:
            err.write(QStringLiteral("窗口“%1”没有可打印的内容").arg(o.screen));
            return code == Ok ? BadOptions : code;
        case PdfResult::WriteFailed:
            err.write(QStringLiteral("不能写入文件: %1").arg(o.pdf));
            return Message;
        }
    }
    if (!o.chart.isEmpty() && !screen->exportChart(o.chart)) {
        err.write(QStringLiteral("窗口“%1”没有图表，或不能写入 %2").arg(o.screen, o.chart));
        return code == Ok ? BadOptions : code;
    }
    return code;
}

int run(int argc, char* argv[])
{
    // No display is needed: nothing is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the screen's messages only; the toolkit's own chatter
    // (a missing runtime folder, a font fallback) would read as one.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            fprintf(stderr, "%s\n", text.toUtf8().constData());
    });
    QApplication app(argc, argv);
    CTamvoApp::setupLocale(app);
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(appTitle());
    return exec(QCoreApplication::arguments());
}

} // namespace ExportCommand
