#include "dbmaintenance.h"

#include "appclock.h"
#include "appmessage.h"
#include "dbbackup.h"
#include "herdschema.h"
#include "textutil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSet>
#include <cstdio>
#include <sqlite3.h>

namespace {

DbMaintenance::FileChooser& chooser()
{
    static DbMaintenance::FileChooser c;
    return c;
}

DbMaintenance::ScreenCloser& closer()
{
    static DbMaintenance::ScreenCloser c;
    return c;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// One raw connection, closed with the object: maintenance works below the screens' layer.
class RawDb
{
public:
    RawDb() = default;
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    ~RawDb() { close(); }

    bool open(const QString& path, int flags, QString* error)
    {
        close();
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            setError(error, QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc)));
            close();
            return false;
        }
        sqlite3_busy_timeout(m_db, 2000);
        return true;
    }
    void close()
    {
        if (m_db)
            sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    bool exec(const QString& sql, QString* error = nullptr)
    {
        char* msg = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &msg) == SQLITE_OK)
            return true;
        setError(error, QString::fromUtf8(msg ? msg : sqlite3_errmsg(m_db)));
        sqlite3_free(msg);
        return false;
    }
    // The first column of every row.
    QStringList column(const QString& sql, bool* ok = nullptr)
    {
        QStringList out;
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        if (rc == SQLITE_OK)
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        if (ok)
            *ok = rc == SQLITE_DONE;
        return out;
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

QString resolved(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() ? fi.canonicalFilePath() : fi.absoluteFilePath();
}

// Where the current database goes before a restore: beside it, named by the moment.
QString keptCopyPath(const QString& databasePath)
{
    const QFileInfo fi(databasePath);
    const QString stem = fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral("-还原前-") +
                                                   AppClock::now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = stem + QStringLiteral(".db");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1.db").arg(n);
    return path;
}

// A copy of the current database even when it is too damaged to be read page by page.
bool keepCurrent(const QString& databasePath, const QString& kept, QString* error)
{
    if (DbBackup::copyDatabase(databasePath, kept, error))
        return true;
    QFile::remove(kept);
    if (!QFile::copy(databasePath, kept))
        return false;
    const QString wal = databasePath + QStringLiteral("-wal");
    return !QFileInfo::exists(wal) || QFile::copy(wal, kept + QStringLiteral("-wal"));
}

// The restore inside SQLite: the pages of the source replace the database's under its
// write lock, as one transaction, so a failure leaves it as it was.
bool restoreInPlace(const QString& databasePath, const QString& source, bool* notADatabase, QString* error)
{
    RawDb dest;
    RawDb src;
    if (!src.open(source, SQLITE_OPEN_READONLY, error) || !dest.open(databasePath, SQLITE_OPEN_READWRITE, error))
        return false;
    bool readable = false;
    dest.column(QStringLiteral("select count(*) from sqlite_master"), &readable);
    if (!readable) {
        *notADatabase = true;
        setError(error, QString::fromUtf8(sqlite3_errmsg(dest.handle())));
        return false;
    }
    sqlite3_backup* b = sqlite3_backup_init(dest.handle(), "main", src.handle(), "main");
    if (!b) {
        setError(error, QString::fromUtf8(sqlite3_errmsg(dest.handle())));
        return false;
    }
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        setError(error, QString::fromUtf8(sqlite3_errstr(rc)));
        return false;
    }
    // The screens read while others write: keep the database in WAL mode.
    dest.exec(QStringLiteral("pragma journal_mode=wal"));
    return true;
}

// A database whose first page is destroyed cannot take the pages: a complete copy of
// the source is renamed over it instead (the screens are closed by now).
bool restoreByRename(const QString& databasePath, const QString& source, QString* error)
{
    const QString part = databasePath + QStringLiteral(".restore");
    if (!DbBackup::copyDatabase(source, part, error))
        return false;
    QFile::remove(databasePath + QStringLiteral("-wal"));
    QFile::remove(databasePath + QStringLiteral("-shm"));
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(databasePath).constData()) != 0) {
        QFile::remove(part);
        setError(error, QStringLiteral("不能替换数据库文件"));
        return false;
    }
    return true;
}

} // namespace

namespace DbMaintenance {

FileChooser setFileChooser(FileChooser c)
{
    FileChooser old = chooser();
    chooser() = std::move(c);
    return old;
}

void setScreenCloser(ScreenCloser c)
{
    closer() = std::move(c);
}

bool closeOpenScreens()
{
    return !closer() || closer()();
}

QString withExtension(const QString& path)
{
    return path.endsWith(QStringLiteral(".db")) ? path : path + QStringLiteral(".db");
}

bool isRestorable(const QString& path, QString* why)
{
    if (!QFileInfo(path).isFile()) {
        setError(why, QStringLiteral("文件不存在: %1").arg(path));
        return false;
    }
    RawDb db;
    if (!db.open(path, SQLITE_OPEN_READONLY, why))
        return false;
    for (const HerdSchema::Table& t : HerdSchema::tables()) {
        bool ok = false;
        const QStringList have = db.column(QStringLiteral("select name from pragma_table_info(%1)").arg(TextUtil::sqlQuote(t.name)), &ok);
        if (!ok) {
            setError(why, QString::fromUtf8(sqlite3_errmsg(db.handle())));
            return false;
        }
        if (have.isEmpty()) {
            setError(why, QStringLiteral("缺少表 %1").arg(t.name));
            return false;
        }
        const QSet<QString> present(have.begin(), have.end());
        for (const QString& c : t.columns) {
            if (!present.contains(c)) {
                setError(why, QStringLiteral("表 %1 缺少列 %2").arg(t.name, c));
                return false;
            }
        }
    }
    db.close();
    return DbBackup::isIntact(path, true, why);
}

bool restore(const QString& databasePath, const QString& source, QString* keptCopy, QString* error)
{
    if (resolved(databasePath) == resolved(source)) {
        setError(error, QStringLiteral("不能用数据库文件本身恢复"));
        return false;
    }
    if (!isRestorable(source, error))
        return false;
    const QString kept = keptCopyPath(databasePath);
    if (!keepCurrent(databasePath, kept, error)) {
        setError(error, QStringLiteral("不能保存当前数据库的副本: %1").arg(kept));
        return false;
    }
    if (keptCopy)
        *keptCopy = kept;
    bool notADatabase = false;
    if (restoreInPlace(databasePath, source, &notADatabase, error))
        return true;
    return notADatabase && restoreByRename(databasePath, source, error);
}

QString compactTempPath(const QString& databasePath)
{
    const QFileInfo fi(databasePath);
    return fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral(".tmp"));
}

bool compact(const QString& databasePath, QString* error)
{
    if (!QFileInfo(databasePath).isFile()) {
        setError(error, QStringLiteral("数据库文件不存在: %1").arg(databasePath));
        return false;
    }
    const QString tmp = compactTempPath(databasePath);
    // What an interrupted earlier run left behind is no database of anyone's.
    QFile::remove(tmp);
    QFile::remove(tmp + QStringLiteral("-journal"));

    RawDb guard;
    if (!guard.open(databasePath, SQLITE_OPEN_READWRITE, error))
        return false;
    // Leaving WAL mode succeeds only when no other connection has the database open,
    // and it folds the WAL file into the database: the rename then loses nothing.
    const QStringList mode = guard.column(QStringLiteral("pragma journal_mode=delete"));
    if (mode != QStringList{QStringLiteral("delete")}) {
        setError(error, QStringLiteral("数据库正被其他窗口或程序使用"));
        return false;
    }
    bool ok = guard.exec(QStringLiteral("begin immediate"), error); // no one writes meanwhile
    if (ok) {
        RawDb reader;
        ok = reader.open(databasePath, SQLITE_OPEN_READWRITE, error) &&
             reader.exec(QStringLiteral("vacuum into %1").arg(TextUtil::sqlQuote(tmp)), error);
    }
    if (ok) {
        RawDb fresh;
        ok = fresh.open(tmp, SQLITE_OPEN_READWRITE, error) && fresh.exec(QStringLiteral("pragma journal_mode=wal"), error);
        fresh.close();
        ok = ok && DbBackup::isIntact(tmp, false, error);
    }
    if (ok && std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(databasePath).constData()) != 0) {
        setError(error, QStringLiteral("不能替换数据库文件"));
        ok = false;
    }
    guard.exec(QStringLiteral("rollback"));
    if (!ok) {
        QFile::remove(tmp);
        guard.exec(QStringLiteral("pragma journal_mode=wal"));
    }
    return ok;
}

bool run(int mode, const QString& databasePath, QWidget* parent)
{
    auto choose = [&](bool save) {
        const QString folder = DbBackup::backupFolder(databasePath);
        const QString start = !save && QFileInfo(folder).isDir() ? folder : QFileInfo(databasePath).absolutePath();
        if (chooser())
            return chooser()(save, start, parent);
        const QString filter = QStringLiteral("*.db");
        return save ? QFileDialog::getSaveFileName(parent, QString(), start, filter)
                    : QFileDialog::getOpenFileName(parent, QString(), start, filter);
    };
    switch (mode) {
    case Backup: {
        const QString file = choose(true);
        if (file.isEmpty())
            return false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool ok = DbBackup::copyDatabase(databasePath, withExtension(file));
        QApplication::restoreOverrideCursor();
        if (ok)
            AppMessageBox(QStringLiteral("数据库备份成功!"), QStringLiteral("成功"), MsgIcon::Information, MsgButtons::Ok, parent);
        else
            AppMessageBox(QStringLiteral("数据库备份错误!"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, parent);
        return ok;
    }
    case Restore: {
        const QString file = choose(false);
        if (file.isEmpty())
            return false;
        const QString source = withExtension(file);
        // A foreign or damaged file is refused before any window is closed.
        bool ok = resolved(source) != resolved(databasePath) && isRestorable(source);
        if (ok) {
            if (!closeOpenScreens())
                return false;
            QApplication::setOverrideCursor(Qt::WaitCursor);
            ok = restore(databasePath, source);
            QApplication::restoreOverrideCursor();
        }
        if (ok)
            AppMessageBox(QStringLiteral("数据库恢复成功!"), QStringLiteral("成功"), MsgIcon::Information, MsgButtons::Ok, parent);
        else
            AppMessageBox(QStringLiteral("数据库恢复错误!"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, parent);
        return ok;
    }
    case Compact: {
        if (!closeOpenScreens())
            return false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool ok = compact(databasePath);
        QApplication::restoreOverrideCursor();
        if (ok)
            AppMessageBox(QStringLiteral("数据库压缩成功！"), appTitle(), MsgIcon::None, MsgButtons::Ok, parent);
        else
            AppMessageBox(QStringLiteral("数据库压缩失败!"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, parent);
        return ok;
    }
    default:
        return false;
    }
}

} // namespace DbMaintenance
