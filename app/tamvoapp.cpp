#include "tamvoapp.h"
#include "appclock.h"
#include "appmessage.h"
#include "commandids.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "gridscreen.h"
#include "herdschema.h"
#include "mainframe.h"
#include "singleinstance.h"
#include "splashwnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QTextStream>
#include <QTranslator>

namespace {
CTamvoApp* g_app = nullptr;
}

CTamvoApp* theApp()
{
    return g_app;
}

CTamvoApp* CTamvoApp::instance()
{
    return g_app;
}

CTamvoApp::CTamvoApp()
{
    g_app = this;
    m_programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

CTamvoApp::~CTamvoApp()
{
    if (g_app == this)
        g_app = nullptr;
}

QString CTamvoApp::codeIniPath() const
{
    return QFileInfo(m_databasePath).absolutePath() + QStringLiteral("/code.ini");
}

void CTamvoApp::setFarmNumbers(const QString& farm, const QString& subFarm)
{
    m_farmNumber = farm;
    m_subFarmNumber = subFarm;
}

QString CTamvoApp::defaultDatabasePath(const QString& programDir)
{
    const QDir dir(programDir);
    const QString beside = dir.filePath(QStringLiteral("lumbodata.db"));
    // The build tree counts as a portable install: developers keep their farm there.
    if (QFileInfo::exists(beside) || QFileInfo::exists(dir.filePath(QStringLiteral("../CMakeCache.txt"))))
        return beside;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return QDir(data).filePath(QStringLiteral("lumbodata.db"));
}

bool CTamvoApp::readCodeIni(const QString& path, QString& farm, QString& subFarm)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&f);
    farm = in.readLine();
    subFarm = in.readLine();
    return true;
}

bool CTamvoApp::writeCodeIni(const QString& path, const QString& farm, const QString& subFarm)
{
    QFile::remove(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&f);
    out << farm << '\n' << subFarm;
    out.flush();
    return f.error() == QFileDevice::NoError;
}

void CTamvoApp::setupLocale(QApplication& app)
{
    auto* qt = new QTranslator(&app);
    if (qt->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
    const QStringList families = QFontDatabase::families();
    for (const char* f : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Zen Hei"}) {
        const QString family = QString::fromUtf8(f);
        if (families.contains(family)) {
            QFont font(family);
            font.setPointSize(10);
            app.setFont(font);
            break;
        }
    }
}

bool CTamvoApp::InitInstance(const CommandLine& options)
{
    if (options.now.isValid())
        AppClock::setNow(options.now);

    // One copy per user: a later copy hands over to the running one and ends.
    m_instance = std::make_unique<SingleInstance>();
    if (!m_instance->acquire()) {
        m_instance->notifyRunning();
        m_exitCode = 0;
        return false;
    }

    // The names place both the settings and the user's data folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(appTitle());
    m_databasePath = options.database.isEmpty() ? defaultDatabasePath(m_programDir) : QFileInfo(options.database).absoluteFilePath();
    // Every screen opens its own connection on this file.
    CGridScreen::setDefaultDatabasePath(m_databasePath);
    readCodeIni(codeIniPath(), m_farmNumber, m_subFarmNumber);

    m_frame = new CMainFrame;
    m_frame->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_instance.get(), &SingleInstance::activationRequested, m_frame, &CMainFrame::bringToFront);
    m_frame->setWindowTitle(appTitle());
    // The screen's size first: without a window manager "maximised" alone changes nothing.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_frame->setGeometry(screen->availableGeometry());
    m_frame->showMaximized();
    if (!options.noSplash)
        CSplashWnd::showSplash(m_frame)->raise();

    // A new farm starts with a fresh database; a file that is not a herd database is
    // refused and left untouched.
    QString error;
    const bool created = HerdSchema::ensureHerdDatabase(m_databasePath, &error);
    CDbConnection test;
    if (!created || !test.Open(m_databasePath) || !HerdSchema::isHerdDatabase(m_databasePath)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), m_frame);
        m_frame->close();
        m_exitCode = 1;
        return false;
    }
    test.Close();
    m_started = true;
    // The morning view first, unless the user turned it off.
    if (CMainFrame::todayWorkAtStart())
        m_frame->runCommand(Cmd::TodayWork);
    return true;
}

void CTamvoApp::dailyBackup()
{
    QString error;
    const DbBackup::DailyResult result = DbBackup::dailyBackup(m_databasePath, AppClock::today(), &error);
    const QString folder = QDir::toNativeSeparators(DbBackup::backupFolder(m_databasePath));
    if (result == DbBackup::DailyResult::Damaged)
        AppMessageBox(QStringLiteral("数据库检查发现错误，今天没有做每日备份；以前的备份仍保存在 %1。\n%2").arg(folder, error),
                      QStringLiteral("警告"), MsgIcon::Warning);
    else if (result == DbBackup::DailyResult::Failed)
        AppMessageBox(QStringLiteral("每日备份没有成功 (%1)。\n%2").arg(folder, error), QStringLiteral("警告"), MsgIcon::Warning);
}

int CTamvoApp::ExitInstance()
{
    // A new copy may start while the backup is written: it only reads a snapshot.
    m_instance.reset();
    if (m_started)
        dailyBackup();
    m_started = false;
    return m_exitCode;
}
