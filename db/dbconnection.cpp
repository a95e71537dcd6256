#include "dbconnection.h"
#include "sqlfunctions.h"

#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QUrl>
#include <sqlite3.h>

namespace {

// Connections of this process that hold a write transaction, so a refused write can
// name the window that holds the lock.
QList<const CDbConnection*>& lockHolders()
{
    static QList<const CDbConnection*> holders;
    return holders;
}

QString canonical(const QString& path)
{
    const QFileInfo fi(path);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? fi.absoluteFilePath() : c;
}

} // namespace

CDbConnection::CDbConnection() = default;

CDbConnection::~CDbConnection()
{
    Close();
}

QString CDbConnection::ConnectionStringFor(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path;
}

QString CDbConnection::PathFromConnectionString(const QString& cs)
{
    const QString key = QStringLiteral("Data Source=");
    const int at = cs.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return cs.contains(QLatin1Char('=')) ? QString() : cs.trimmed();
    QString rest = cs.mid(at + key.size());
    const int semi = rest.indexOf(QLatin1Char(';'));
    if (semi >= 0)
        rest.truncate(semi);
    return rest.trimmed();
}

bool CDbConnection::Open(const QString& path)
{
    return OpenConnectionString(ConnectionStringFor(path));
}

bool CDbConnection::OpenConnectionString(const QString& connectionString, int)
{
    if (!connectionString.isEmpty())
        m_connectionText = connectionString;
    if (m_connectionText.isEmpty())
        return false;
    Close();
    const QString path = PathFromConnectionString(m_connectionText);
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.isFile()) {
        m_lastError = QStringLiteral("no such file");
        return false;
    }
    // WAL keeps its -wal and -shm files beside the database: a file or a folder that
    // cannot be written (read-only mount, CD, share) is opened for reading only, and
    // when even that needs a file it cannot make, as unchanging (no locks, no -shm).
    const bool writable = !ForceReadOnly() && fi.isWritable() && QFileInfo(fi.absolutePath()).isWritable();
    const bool ok = writable ? openFile(path, false, false) : (openFile(path, true, false) || openFile(path, true, true));
    if (!ok)
        return false;
    m_readOnly = !writable || sqlite3_db_readonly(m_db, "main") == 1;
    // A short wait absorbs another window's brief autocommit write; a long-held
    // transaction is reported to the user instead of freezing the window.
    sqlite3_busy_timeout(m_db, 300);
    registerHerdSqlFunctions(m_db);
    m_path = path;
    m_level = 0;
    m_transactionLost = false;
    return true;
}

bool CDbConnection::openFile(const QString& path, bool readOnly, bool immutable)
{
    sqlite3* db = nullptr;
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    QByteArray name = path.toUtf8();
    if (immutable) {
        flags |= SQLITE_OPEN_URI;
        name = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    }
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        m_lastError = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    // Set before the first statement: a lock that passes (another program closing its
    // connection checkpoints the file) is waited for, not taken for a broken file.
    sqlite3_busy_timeout(m_db, 3000);
    // Reading the schema proves the file is a database; a stranger file fails here.
    if (!exec("select count(*) from sqlite_master")) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    return true;
}

namespace {
bool& forceReadOnlyFlag()
{
    static bool flag = false;
    return flag;
}

QString& writesHeldReason()
{
    static QString reason;
    return reason;
}
} // namespace

void CDbConnection::SetWritesHeld(const QString& reason)
{
    writesHeldReason() = reason;
}

QString CDbConnection::WritesHeld()
{
    return writesHeldReason();
}

void CDbConnection::SetForceReadOnly(bool readOnly)
{
    forceReadOnlyFlag() = readOnly;
}

bool CDbConnection::ForceReadOnly()
{
    return forceReadOnlyFlag();
}

void CDbConnection::Close()
{
    if (!m_db)
        return;
    if (m_level > 0)
        exec("rollback");
    m_level = 0;
    lockHolders().removeAll(this);
    for (sqlite3_stmt* s : std::as_const(m_statements))
        sqlite3_finalize(s);
    m_statements.clear();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_readOnly = false;
}

sqlite3_stmt* CDbConnection::CachedStatement(const QByteArray& sql)
{
    if (!m_db)
        return nullptr;
    if (sqlite3_stmt* s = m_statements.value(sql)) {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        return s;
    }
    sqlite3_stmt* s = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (rc != SQLITE_OK) {
        SetLastError(rc);
        sqlite3_finalize(s);
        return nullptr;
    }
    m_statements.insert(sql, s);
    return s;
}

bool CDbConnection::IsOpen() const
{
    return m_db != nullptr;
}

void CDbConnection::SetLastError(int code)
{
    m_lastBusy = code == SQLITE_BUSY || code == SQLITE_LOCKED || (code & 0xff) == SQLITE_BUSY;
    m_lastError = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    // A write that fails on a full disk or an I/O error can take the whole transaction with it.
    syncTransaction();
}

void CDbConnection::syncTransaction()
{
    if (!m_db || m_level == 0 || !sqlite3_get_autocommit(m_db))
        return;
    m_level = 0;
    lockHolders().removeAll(this);
    m_transactionLost = true;
    if (m_lostHandler)
        m_lostHandler();
}

bool CDbConnection::TakeTransactionLost()
{
    const bool lost = m_transactionLost;
    m_transactionLost = false;
    return lost;
}

bool CDbConnection::exec(const char* sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        m_lastBusy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
        m_lastError = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        return false;
    }
    m_lastBusy = false;
    return true;
}

int CDbConnection::BeginTrans()
{
    if (!m_db)
        return -1;
    if (m_readOnly) {
        m_lastBusy = false;
        m_lastError = QStringLiteral("attempt to write a readonly database");
        return -1;
    }
    bool ok;
    if (m_level == 0) {
        if (!WritesHeld().isEmpty()) {
            m_lastBusy = false;
            m_lastError = WritesHeld();
            return -1;
        }
        // Immediate: the write lock is taken now, so a later write cannot fail because
        // another window committed in between.
        ok = exec("begin immediate");
        if (ok)
            lockHolders().append(this);
    } else {
        // Outside a transaction a savepoint would start a new one that its release
        // commits at once: after SQLite has rolled back, nothing more is written.
        if (sqlite3_get_autocommit(m_db)) {
            syncTransaction();
            m_lastBusy = false;
            m_lastError = QStringLiteral("the transaction was rolled back by the database");
            return -1;
        }
        ok = exec(QStringLiteral("savepoint tamvo_%1").arg(m_level).toUtf8().constData());
        if (!ok)
            syncTransaction();
    }
    if (!ok)
        return -1;
    return ++m_level;
}

bool CDbConnection::CommitTrans()
{
    if (!m_db || m_level == 0)
        return false;
    const bool ok = m_level == 1 ? exec("commit")
                                 : exec(QStringLiteral("release tamvo_%1").arg(m_level - 1).toUtf8().constData());
    if (!ok) {
        // A commit refused for a lock leaves the transaction open (it can be retried);
        // one that failed on the disk has been rolled back by SQLite.
        syncTransaction();
        return false;
    }
    if (--m_level == 0)
        lockHolders().removeAll(this);
    return true;
}

bool CDbConnection::RollbackTrans()
{
    if (!m_db || m_level == 0)
        return false;
    bool ok;
    if (m_level == 1) {
        ok = exec("rollback");
    } else {
        const QByteArray name = QStringLiteral("tamvo_%1").arg(m_level - 1).toUtf8();
        ok = exec(("rollback to " + name).constData()) && exec(("release " + name).constData());
    }
    if (!ok) {
        syncTransaction();
        return false;
    }
    if (--m_level == 0)
        lockHolders().removeAll(this);
    return true;
}

QString CDbConnection::OtherWriteLockHolder() const
{
    const QString mine = canonical(m_path);
    for (const CDbConnection* c : lockHolders()) {
        if (c != this && canonical(c->m_path) == mine)
            return c->m_ownerName.isEmpty() ? QStringLiteral("另一个窗口") : c->m_ownerName;
    }
    return QString();
}
