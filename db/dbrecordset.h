#pragma once
#include <QHash>
#include <QString>
#include <QVector>
#include <map>
#include <optional>
#include <vector>

class CDbConnection;
struct sqlite3_stmt;

// A snapshot of one statement's rows in memory (a client-side static cursor). When the
// statement reads one table, each row remembers its rowid, so the current row can be
// changed or deleted and new rows added through bound statements.
class CDbRecordset
{
public:
    enum EditMode { EditNone = 0, EditInProgress = 1, EditAdd = 2 };

    CDbRecordset();
    explicit CDbRecordset(CDbConnection* connection);
    ~CDbRecordset();
    CDbRecordset(const CDbRecordset&) = delete;
    CDbRecordset& operator=(const CDbRecordset&) = delete;

    void SetConnection(CDbConnection* connection) { m_conn = connection; }
    bool SetCursorLocation(int location);

    // Runs the statement (an empty text re-runs the last one). A statement without a
    // result (a delete) runs and leaves the recordset closed.
    bool Open(const QString& sql, int options = 1, int cursorType = 3, int lockType = 3);
    void Close();
    bool IsOpen() const { return m_open; }
    int GetState() const { return m_open ? 1 : 0; }

    bool IsEOF() const;
    bool MoveFirst();
    bool MoveNext();
    int GetRecordCount() const;
    int GetFieldCount() const;
    int GetAbsolutePosition() const;
    bool SetAbsolutePosition(int position);

    bool AddNew();
    bool Update();
    bool CancelUpdate();
    bool Delete(int affect = 1);
    bool SetFilter(const QString& filter);
    int GetEditMode() const { return m_editMode; }

    bool GetFieldText(int index, QString& out) const;
    bool GetFieldText(const QString& name, QString& out) const;
    bool GetFieldInt(int index, int& out) const;
    bool GetFieldDouble(int index, double& out) const;
    bool IsFieldNull(int index) const;
    bool SetFieldText(int index, const QString& text);
    bool SetFieldText(const QString& name, const QString& text);

    QString GetFieldName(int index) const;
    int FieldIndex(const QString& name) const;
    QString StatementText() const { return m_sql; }
    // Why the last operation failed (for messages); busy means another window holds
    // the database's write lock.
    QString LastError() const { return m_lastError; }
    bool LastErrorWasBusy() const { return m_lastBusy; }

private:
    struct Cell {
        union {
            qint64 i;
            double d;
            struct {
                quint32 off;
                quint32 len;
            } t;
        };
        quint8 type;
    };

    const Cell* currentCell(int index) const;
    int currentRow() const;
    void storeText(Cell& cell, const QByteArray& utf8);
    QString cellText(const Cell& c) const;
    bool failWith(int code);
    bool runStatement(sqlite3_stmt* stmt, bool hasRowid);
    bool reloadRow(qint64 rowid, int row);
    void rebuildVisible();
    void skipDeleted();

    CDbConnection* m_conn = nullptr;
    QString m_sql;
    bool m_open = false;

    // Result shape.
    QVector<QString> m_names;
    QHash<QString, int> m_nameIndex; // lower-case name -> index
    QVector<QString> m_origin;       // table column each field comes from, or empty
    QString m_table;                 // the one table all fields come from, or empty

    // Rows: cells row-major, texts in one arena (each NUL-terminated).
    std::vector<Cell> m_cells;
    std::vector<qint64> m_rowids;
    std::vector<quint8> m_deleted;
    QByteArray m_arena;
    int m_rowCount = 0;

    // Visible rows (after the filter) and the position among them.
    std::vector<int> m_visible;
    int m_pos = 0;
    QVector<QPair<int, QString>> m_filter;

    int m_editMode = EditNone;
    std::map<int, std::optional<QString>> m_pending;

    QString m_lastError;
    bool m_lastBusy = false;
};
