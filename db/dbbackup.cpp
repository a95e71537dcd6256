#include "dbbackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cstdio>
#include <sqlite3.h>

namespace {

// Another window or a nightly job may be writing; a backup waits for it rather than fail.
constexpr int kBusyWaitMs = 5000;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The path a file has or would have, with links and "." resolved, to compare two paths.
QString resolvedPath(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.exists())
        return fi.canonicalFilePath();
    const QString dir = QFileInfo(fi.absolutePath()).canonicalFilePath();
    return dir.isEmpty() ? fi.absoluteFilePath() : QDir(dir).filePath(fi.fileName());
}

sqlite3* openFile(const QString& path, int flags, QString* error)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setError(error, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyWaitMs);
    return db;
}

QRegularExpression dailyPattern(const QString& databasePath)
{
    return QRegularExpression(QStringLiteral("^%1-(\\d{8})\\.db$").arg(QRegularExpression::escape(QFileInfo(databasePath).completeBaseName())));
}

// The daily backups of the database, newest first.
QStringList dailyBackups(const QString& databasePath)
{
    const QDir dir(DbBackup::backupFolder(databasePath));
    const QRegularExpression pattern = dailyPattern(databasePath);
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::Reversed))
        if (pattern.match(name).hasMatch())
            names << dir.filePath(name);
    return names;
}

} // namespace

namespace DbBackup {

QString backupFolder(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("备份"));
}

QString newestBackup(const QString& databasePath)
{
    const QStringList backups = dailyBackups(databasePath);
    return backups.isEmpty() ? QString() : backups.first();
}

QString dailyBackupName(const QString& databasePath, const QDate& day)
{
    return QStringLiteral("%1-%2.db").arg(QFileInfo(databasePath).completeBaseName(), day.toString(QStringLiteral("yyyyMMdd")));
}

bool copyDatabase(const QString& databasePath, const QString& destPath, QString* error)
{
    if (!QFileInfo(databasePath).isFile()) {
        setError(error, QStringLiteral("数据库文件不存在: %1").arg(databasePath));
        return false;
    }
    if (resolvedPath(databasePath) == resolvedPath(destPath)) {
        setError(error, QStringLiteral("备份文件不能是数据库文件本身"));
        return false;
    }
    // The copy grows in a temporary file beside the target, so a failed or interrupted
    // backup never replaces a good older file of that name.
    const QFileInfo dest(destPath);
    QTemporaryFile part(dest.absoluteDir().filePath(QLatin1Char('.') + dest.fileName() + QStringLiteral(".XXXXXX")));
    if (!part.open()) {
        setError(error, QStringLiteral("不能写入文件: %1").arg(destPath));
        return false;
    }
    part.close();
    sqlite3* src = openFile(databasePath, SQLITE_OPEN_READWRITE, error);
    if (!src)
        return false;
    sqlite3* dst = openFile(part.fileName(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!dst) {
        sqlite3_close(src);
        return false;
    }
    int rc = SQLITE_ERROR;
    if (sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main")) {
        // All pages in one step: one read transaction, so the copy is one consistent state.
        rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
    }
    if (rc != SQLITE_DONE)
        setError(error, QString::fromUtf8(sqlite3_errmsg(dst)));
    const bool closed = sqlite3_close(dst) == SQLITE_OK;
    sqlite3_close(src);
    if (rc != SQLITE_DONE || !closed)
        return false;
    // The copy is as readable as the database (the temporary file starts private).
    QFile::setPermissions(part.fileName(), QFile::permissions(databasePath));
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(destPath).constData()) != 0) {
        setError(error, QStringLiteral("不能写入文件: %1").arg(destPath));
        return false;
    }
    part.setAutoRemove(false);
    return true;
}

bool isIntact(const QString& path, bool thorough, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        setError(error, QStringLiteral("文件不存在: %1").arg(path));
        return false;
    }
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY, error);
    if (!db)
        return false;
    sqlite3_stmt* stmt = nullptr;
    QStringList problems;
    int rc = sqlite3_prepare_v2(db, thorough ? "pragma integrity_check" : "pragma quick_check", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            problems << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    if (rc != SQLITE_DONE)
        problems << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    const bool ok = problems == QStringList{QStringLiteral("ok")};
    if (!ok)
        setError(error, problems.join(QLatin1Char('\n')));
    return ok;
}

DailyResult dailyBackup(const QString& databasePath, const QDate& today, QString* error)
{
    const QDir folder(backupFolder(databasePath));
    const QString target = folder.filePath(dailyBackupName(databasePath, today));
    if (QFileInfo::exists(target))
        return DailyResult::AlreadyDone;
    // A damaged database must not push a good backup out of the rotation.
    if (!isIntact(databasePath, false, error))
        return DailyResult::Damaged;
    if (!QDir().mkpath(folder.path())) {
        setError(error, QStringLiteral("不能建立文件夹: %1").arg(folder.path()));
        return DailyResult::Failed;
    }
    if (!copyDatabase(databasePath, target, error))
        return DailyResult::Failed;
    const QStringList backups = dailyBackups(databasePath);
    for (int i = kKeepDaily; i < backups.size(); ++i)
        QFile::remove(backups.at(i));
    return DailyResult::Written;
}

} // namespace DbBackup
