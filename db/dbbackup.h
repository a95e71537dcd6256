#pragma once
#include <QDate>
#include <QString>

// Copies of the herd database: the consistent online copy every backup uses, the check
// that tells an intact database, and the daily backups kept in the folder "备份" beside
// the database. Start-up and maintenance both find the backups through these functions.
namespace DbBackup {

// How many daily backups are kept.
constexpr int kKeepDaily = 7;

// "备份" beside the database file (it may not exist yet).
QString backupFolder(const QString& databasePath);
// The newest daily backup of that database, or empty when there is none.
QString newestBackup(const QString& databasePath);
// The daily backup's file name for a day: the database's base name + "-YYYYMMDD.db".
QString dailyBackupName(const QString& databasePath, const QDate& day);

// Writes a consistent copy of the database to destPath through SQLite's online backup:
// it holds everything committed (even what is still in the WAL file), nothing that an
// open window has not saved yet, and it is written to a temporary file beside destPath
// that replaces destPath only when complete. The database itself is never the target.
bool copyDatabase(const QString& databasePath, const QString& destPath, QString* error = nullptr);

// Whether the file opens as a database and passes SQLite's check ("quick_check", or the
// full "integrity_check" when thorough).
bool isIntact(const QString& path, bool thorough = false, QString* error = nullptr);

enum class DailyResult {
    Written,     // today's backup was written (older ones beyond kKeepDaily removed)
    AlreadyDone, // today's backup exists already
    Damaged,     // the database fails its check: no backup, the old ones are kept
    Failed       // the copy could not be written (error says why)
};
// The daily backup: the first call of a day writes one into backupFolder(), later calls
// of the same day do nothing.
DailyResult dailyBackup(const QString& databasePath, const QDate& today, QString* error = nullptr);

} // namespace DbBackup
