#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

// One connection to the herd database. Each screen and dialog owns its own; every
// failure is reported by the result, never by an exception or a window.
class CDbConnection
{
public:
    CDbConnection();
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // Opens the herd database file at path. A path that does not exist, or a file that
    // is not a database, gives false. A file that cannot be written (a read-only
    // folder or mount, a CD) is opened for reading only: IsReadOnly() then says so.
    bool Open(const QString& path);
    // Opens with a connection string "Provider=...; Data Source=<path>". An empty string
    // re-uses the stored one; options are accepted for compatibility and ignored.
    bool OpenConnectionString(const QString& connectionString, int options = -1);
    void Close();
    bool IsOpen() const;
    // True when the database could only be opened for reading; every write fails.
    bool IsReadOnly() const { return m_readOnly; }

    // Every connection opened from now on is read-only (the program does so while a
    // damaged database waits for the user's decision).
    static void SetForceReadOnly(bool readOnly);
    static bool ForceReadOnly();
    // While a reason is set, no connection begins a transaction (the file is being
    // checked, or it is damaged and the user has not decided yet); empty lifts it.
    static void SetWritesHeld(const QString& reason);
    static QString WritesHeld();

    // Transactions nest: the first level is the database transaction (it takes the
    // write lock at once), deeper levels are savepoints. -1 / false on failure.
    int BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();
    int TransLevel() const { return m_level; }
    // SQLite can end a transaction by itself (a commit that fails on a full disk or an
    // I/O error rolls everything back). The connection then drops its level to 0 and
    // remembers it here until TakeTransactionLost(); the handler, when set, is called
    // at that moment, so the owner can reload what the file holds.
    bool TransactionLost() const { return m_transactionLost; }
    bool TakeTransactionLost();
    void SetTransactionLostHandler(std::function<void()> handler) { m_lostHandler = std::move(handler); }

    QString ConnectionText() const { return m_connectionText; }
    QString DatabasePath() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // The window this connection works for; named to the user when its unsaved work
    // blocks another window's write.
    void SetOwnerName(const QString& name) { m_ownerName = name; }
    QString OwnerName() const { return m_ownerName; }
    // Name of another connection of this program that holds an open write transaction
    // on the same database file; empty when there is none.
    QString OtherWriteLockHolder() const;

    // Failure details of the last operation, for messages and tests.
    QString LastError() const { return m_lastError; }
    bool LastErrorWasBusy() const { return m_lastBusy; }
    void SetLastError(int code);

    // A prepared statement kept for re-use (the recordset's bound writes); reset and
    // without bindings. Owned by the connection; nullptr when the text does not prepare.
    sqlite3_stmt* CachedStatement(const QByteArray& sql);

    static QString ConnectionStringFor(const QString& path);
    static QString PathFromConnectionString(const QString& connectionString);

private:
    bool exec(const char* sql);
    bool openFile(const QString& path, bool readOnly, bool immutable);
    // Brings the level in line with SQLite's own transaction state after a failure.
    void syncTransaction();

    sqlite3* m_db = nullptr;
    QHash<QByteArray, sqlite3_stmt*> m_statements;
    QString m_connectionText;
    QString m_path;
    QString m_ownerName;
    QString m_lastError;
    bool m_lastBusy = false;
    bool m_readOnly = false;
    bool m_transactionLost = false;
    std::function<void()> m_lostHandler;
    int m_level = 0;
};
