#include "tamvoapp.h"
#include "appclock.h"
#include "appmessage.h"
#include "commandids.h"
#include "databasecheck.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "dbfilecheck.h"
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
#include <QMdiArea>
#include <QScreen>
#include <QStandardPaths>
#include <QTextStream>
#include <QTranslator>
#include <cstdio>

namespace {
CTamvoApp* g_app = nullptr;
// About a 400-sow farm's file: checked in well under a second.
constexpr qint64 kQuickCheckAtOnceBytes = 48 * 1024 * 1024;
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
        // A copy started with another database does not end silently: the user's choice
        // is told on standard error here and in the running window there.
        const QString wanted = options.database.isEmpty() ? QString() : QFileInfo(options.database).absoluteFilePath();
        QString running;
        m_instance->notifyRunning(2000, wanted, &running);
        m_exitCode = 0;
        if (!wanted.isEmpty() && !SingleInstance::sameDatabase(wanted, running)) {
            fprintf(stderr, "%s\n", DatabaseCheck::otherDatabaseText(running, wanted).toUtf8().constData());
            m_exitCode = 1;
        }
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
    m_instance->setDatabasePath(m_databasePath);
    connect(m_instance.get(), &SingleInstance::otherDatabaseRequested, m_frame, [this](const QString& path) {
        AppMessageBox(DatabaseCheck::otherDatabaseText(m_databasePath, path), appTitle(), MsgIcon::Information,
                      MsgButtons::Ok, m_frame);
    }, Qt::QueuedConnection);
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
    const bool readOnly = test.IsReadOnly();
    test.Close();
    if (readOnly)
        AppMessageBox(DatabaseCheck::readOnlyText(m_databasePath), appTitle(), MsgIcon::Warning, MsgButtons::Ok, m_frame);

    // The whole file is checked before anything is written. A small file is read at
    // once; a large farm's file takes a second or more and is checked behind the shown
    // window, with every write held until it has answered.
    m_started = true;
    if (QFileInfo(m_databasePath).size() <= kQuickCheckAtOnceBytes) {
        QString problem;
        const bool ok = CDbFileCheck::check(m_databasePath, &problem);
        onFileChecked(ok, problem);
    } else {
        CDbConnection::SetWritesHeld(QStringLiteral("正在检查数据库文件，请稍候再修改。"));
        m_check = new CDbFileCheck(m_databasePath, this);
        connect(m_check, &CDbFileCheck::finished, this, &CTamvoApp::onFileChecked);
        m_check->start();
    }
    // The morning view first, unless the user turned it off.
    if (CMainFrame::todayWorkAtStart())
        m_frame->runCommand(Cmd::TodayWork);
    return true;
}

void CTamvoApp::onFileChecked(bool ok, const QString& problem)
{
    if (ok) {
        CDbConnection::SetWritesHeld(QString());
        return;
    }
    // Damaged: nothing is opened for writing until the user has decided.
    CDbConnection::SetForceReadOnly(true);
    CDbConnection::SetWritesHeld(QStringLiteral("数据库文件已损坏，修改不能保存。"));
    const QString backup = DbBackup::newestBackup(m_databasePath);
    const QString text = DatabaseCheck::damagedText(m_databasePath, problem, backup);
    if (backup.isEmpty()) {
        AppMessageBox(text, appTitle(), MsgIcon::Stop, MsgButtons::Ok, m_frame);
        return;
    }
    if (AppMessageBox(text, appTitle(), MsgIcon::Stop, MsgButtons::YesNo, m_frame) != MsgAnswer::Yes)
        return;
    // The open screens hold the damaged file: they go first (each asks its own question).
    if (m_frame) {
        m_frame->mdiArea()->closeAllSubWindows();
        if (!m_frame->mdiArea()->subWindowList().isEmpty())
            return;
    }
    QString kept;
    if (!DatabaseCheck::restoreBackup(m_databasePath, backup, &kept) || !CDbFileCheck::check(m_databasePath)) {
        AppMessageBox(QStringLiteral("数据库恢复错误!"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, m_frame);
        return;
    }
    CDbConnection::SetForceReadOnly(false);
    CDbConnection::SetWritesHeld(QString());
    AppMessageBox(QStringLiteral("数据库恢复成功!\n损坏的文件保留为 %1").arg(QDir::toNativeSeparators(kept)), QStringLiteral("成功"),
                  MsgIcon::Information, MsgButtons::Ok, m_frame);
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
    delete m_check; // waits for a check still running
    m_check = nullptr;
    // A new copy may start while the backup is written: it only reads a snapshot.
    m_instance.reset();
    if (m_started)
        dailyBackup();
    m_started = false;
    CDbConnection::SetWritesHeld(QString());
    CDbConnection::SetForceReadOnly(false);
    return m_exitCode;
}
