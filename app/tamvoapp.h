#pragma once
#include "commandline.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "mainframe.h"
class CDbFileCheck;
class SingleInstance;
class QApplication;

// The one application object: start-up, the values every screen reads (program
// directory, database path, farm and sub-farm number, owner name), shutdown.
class CTamvoApp : public QObject
{
    Q_OBJECT
public:
    CTamvoApp();
    ~CTamvoApp() override;

    static CTamvoApp* instance();

    // Start-up in order; false ends the program (exit code in exitCode()).
    bool InitInstance(const CommandLine& options);
    int ExitInstance();
    // The day's first close writes a backup into "备份" beside the database (DbBackup);
    // a failure is told in a message, the program ends all the same.
    void dailyBackup();
    int exitCode() const { return m_exitCode; }

    QString programDirectory() const { return m_programDir; }
    QString databasePath() const { return m_databasePath; }
    QString farmNumber() const { return m_farmNumber; }
    QString subFarmNumber() const { return m_subFarmNumber; }
    QString ownerName() const { return m_ownerName; }
    // "code.ini" lives beside the herd database.
    QString codeIniPath() const;
    void setFarmNumbers(const QString& farm, const QString& subFarm);
    CMainFrame* mainFrame() const { return m_frame; }

    // Where the herd database lives when no --database is given: beside the program
    // when it holds one (portable install, build tree), else the user's data folder.
    static QString defaultDatabasePath(const QString& programDir);

    // "code.ini": line 1 farm number, line 2 sub-farm number. Missing file: defaults
    // stay; a one-line file leaves the sub-farm number empty.
    static bool readCodeIni(const QString& path, QString& farm, QString& subFarm);
    // Rewrites the file: farm number, line end, sub-farm number without a line end.
    static bool writeCodeIni(const QString& path, const QString& farm, const QString& subFarm);

    // Loads Qt's Chinese texts and picks a CJK font.
    static void setupLocale(QApplication& app);

    // The background check of the database file, while it runs (tests wait for it).
    CDbFileCheck* fileCheck() const { return m_check; }

private:
    // The check's answer: on damage the database stays read-only until the user restores
    // the last backup.
    void onFileChecked(bool ok, const QString& problem);

    QString m_programDir;
    QString m_databasePath;
    QString m_farmNumber = QStringLiteral("AAAA");
    QString m_subFarmNumber = QStringLiteral("1");
    QString m_ownerName = QStringLiteral("XXXXXX公司");
    QPointer<CMainFrame> m_frame;
    std::unique_ptr<SingleInstance> m_instance;
    CDbFileCheck* m_check = nullptr;
    int m_exitCode = 0;
    bool m_started = false; // the database opened and the window was shown
};

// Shorthand for the application object, as screens read its values.
CTamvoApp* theApp();
