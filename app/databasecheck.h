#pragma once
#include <QDateTime>
#include <QString>

// What start-up and the exporter tell the user about the database file itself: a
// read-only place, a damaged file and the backup that can replace it, another copy of
// the program that works on another database.
namespace DatabaseCheck {

QString readOnlyText(const QString& databasePath);
// The damage found; with a backup (DbBackup::newestBackup), the question whether it should replace the file.
QString damagedText(const QString& databasePath, const QString& problem, const QString& backup);
QString otherDatabaseText(const QString& runningDatabase, const QString& requestedDatabase);

// Puts the backup in place of the damaged file; the damaged file (with its -wal and
// -shm) is kept beside it, renamed with the time. False when a step failed; *kept
// names the damaged file's new name.
bool restoreBackup(const QString& databasePath, const QString& backup, QString* kept = nullptr,
                   const QDateTime& now = QDateTime::currentDateTime());

} // namespace DatabaseCheck
