#include "dbrecordset.h"
#include "appmessage.h"
#include "dbconnection.h"

#include <QRegularExpression>
#include <cstdlib>
#include <sqlite3.h>

namespace {

enum CellType : quint8 { CNull = 0, CInt = 1, CReal = 2, CText = 3, CBlob = 4 };

const char kRowidAlias[] = "__tamvo_rowid__";

QString quoteIdent(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// A plain select over rows of one table can carry the rowid; distinct and compound
// statements cannot.
bool mayCarryRowid(const QString& sql)
{
    static const QRegularExpression plain(QStringLiteral("^\\s*select\\s+(?!distinct\\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression compound(QStringLiteral("\\b(union|intersect|except)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    return plain.match(sql).hasMatch() && !compound.match(sql).hasMatch();
}

// Splits "a='x' and b='y''s'" into (column, value) pairs; false for anything else.
bool parseFilter(const QString& text, QVector<QPair<QString, QString>>& out)
{
    int i = 0;
    const int n = text.size();
    auto skipSpace = [&] { while (i < n && text.at(i).isSpace()) ++i; };
    while (true) {
        skipSpace();
        if (i >= n)
            return !out.isEmpty();
        int start = i;
        QString column;
        if (text.at(i) == QLatin1Char('[')) {
            const int close = text.indexOf(QLatin1Char(']'), i);
            if (close < 0)
                return false;
            column = text.mid(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < n && text.at(i) != QLatin1Char('=') && !text.at(i).isSpace())
                ++i;
            column = text.mid(start, i - start);
        }
        skipSpace();
        if (column.isEmpty() || i >= n || text.at(i) != QLatin1Char('='))
            return false;
        ++i;
        skipSpace();
        QString value;
        if (i < n && text.at(i) == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text.at(i++);
            }
            if (!closed)
                return false;
        } else {
            start = i;
            while (i < n && !text.at(i).isSpace())
                ++i;
            value = text.mid(start, i - start);
            if (value.isEmpty())
                return false;
        }
        out.append({column, value});
        skipSpace();
        if (i >= n)
            return true;
        if (text.mid(i, 3).compare(QLatin1String("and"), Qt::CaseInsensitive) != 0)
            return false;
        i += 3;
    }
}

} // namespace

CDbRecordset::CDbRecordset() = default;

CDbRecordset::CDbRecordset(CDbConnection* connection)
    : m_conn(connection)
{
}

CDbRecordset::~CDbRecordset()
{
    Close();
}

bool CDbRecordset::SetCursorLocation(int)
{
    return true; // every cursor here is a client-side snapshot
}

bool CDbRecordset::failWith(int code)
{
    m_lastBusy = code == SQLITE_BUSY || code == SQLITE_LOCKED;
    m_lastError = m_conn && m_conn->handle() ? QString::fromUtf8(sqlite3_errmsg(m_conn->handle()))
                                             : QString::fromUtf8(sqlite3_errstr(code));
    if (m_conn)
        m_conn->SetLastError(code);
    return false;
}

bool CDbRecordset::Open(const QString& sql, int, int, int)
{
    if (!sql.isEmpty())
        m_sql = sql;
    if (!m_conn || m_sql.isEmpty())
        return false;
    Close();
    sqlite3* db = m_conn->handle();
    if (!db)
        return false;

    const QByteArray utf8 = m_sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8.constData(), utf8.size(), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return failWith(rc);
    }
    if (!stmt)
        return true; // nothing but blanks or a comment
    const int cols = sqlite3_column_count(stmt);
    if (cols == 0) {
        // A statement without a result (the deletes) runs and leaves the recordset closed.
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
        return rc == SQLITE_DONE ? true : failWith(rc);
    }

    // Which table do the fields come from? One table for all of them makes rows writable.
    QString table;
    bool single = true;
    for (int c = 0; c < cols; ++c) {
        const char* t = sqlite3_column_table_name(stmt, c);
        const QString tn = t ? QString::fromUtf8(t) : QString();
        if (tn.isEmpty() || (!table.isEmpty() && tn != table))
            single = false;
        if (table.isEmpty())
            table = tn;
    }
    bool hasRowid = false;
    if (single && !table.isEmpty() && mayCarryRowid(m_sql)) {
        static const QRegularExpression head(QStringLiteral("^\\s*select\\s+"), QRegularExpression::CaseInsensitiveOption);
        QString withRowid = m_sql;
        withRowid.replace(head, QStringLiteral("select rowid as %1, ").arg(QLatin1String(kRowidAlias)));
        const QByteArray w = withRowid.toUtf8();
        sqlite3_stmt* s2 = nullptr;
        if (sqlite3_prepare_v2(db, w.constData(), w.size(), &s2, nullptr) == SQLITE_OK && s2) {
            sqlite3_finalize(stmt);
            stmt = s2;
            hasRowid = true;
        } else {
            sqlite3_finalize(s2);
        }
    }
    m_table = hasRowid ? table : QString();
    const int first = hasRowid ? 1 : 0;
    m_names.clear();
    m_origin.clear();
    m_nameIndex.clear();
    for (int c = first; c < first + cols; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, c));
        const char* o = sqlite3_column_origin_name(stmt, c);
        m_names.append(name);
        m_origin.append(o ? QString::fromUtf8(o) : QString());
        const QString key = name.toLower();
        if (!m_nameIndex.contains(key))
            m_nameIndex.insert(key, c - first);
    }
    return runStatement(stmt, hasRowid);
}

bool CDbRecordset::runStatement(sqlite3_stmt* stmt, bool hasRowid)
{
    const int cols = m_names.size();
    const int first = hasRowid ? 1 : 0;
    m_cells.clear();
    m_rowids.clear();
    m_arena.clear();
    m_rowCount = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        m_rowids.push_back(hasRowid && sqlite3_column_type(stmt, 0) == SQLITE_INTEGER ? sqlite3_column_int64(stmt, 0) : -1);
        for (int c = first; c < first + cols; ++c) {
            Cell cell;
            cell.i = 0;
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                cell.type = CInt;
                cell.i = sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                cell.type = CReal;
                cell.d = sqlite3_column_double(stmt, c);
                break;
            case SQLITE_TEXT: {
                const char* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                const int len = sqlite3_column_bytes(stmt, c);
                cell.type = CText;
                cell.t.off = quint32(m_arena.size());
                cell.t.len = quint32(len);
                m_arena.append(t, len);
                m_arena.append('\0');
                break;
            }
            case SQLITE_BLOB:
                cell.type = CBlob;
                break;
            default:
                cell.type = CNull;
            }
            m_cells.push_back(cell);
        }
        ++m_rowCount;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        m_cells.clear();
        m_rowids.clear();
        m_rowCount = 0;
        return failWith(rc);
    }
    m_deleted.assign(size_t(m_rowCount), 0);
    m_filter.clear();
    rebuildVisible();
    m_pos = 0;
    m_open = true;
    m_editMode = EditNone;
    m_pending.clear();
    return true;
}

void CDbRecordset::Close()
{
    if (!m_open)
        return;
    m_pending.clear();
    m_editMode = EditNone;
    m_open = false;
    m_cells.clear();
    m_rowids.clear();
    m_deleted.clear();
    m_visible.clear();
    m_arena.clear();
    m_rowCount = 0;
    m_pos = 0;
}

void CDbRecordset::rebuildVisible()
{
    m_visible.clear();
    m_visible.reserve(size_t(m_rowCount));
    const int cols = m_names.size();
    for (int r = 0; r < m_rowCount; ++r) {
        if (m_deleted[size_t(r)])
            continue;
        bool match = true;
        for (const auto& f : m_filter) {
            const QString v = cellText(m_cells[size_t(r) * size_t(cols) + size_t(f.first)]);
            if (v.compare(f.second, Qt::CaseInsensitive) != 0) {
                match = false;
                break;
            }
        }
        if (match)
            m_visible.push_back(r);
    }
}

void CDbRecordset::skipDeleted()
{
    while (m_pos < int(m_visible.size()) && m_deleted[size_t(m_visible[size_t(m_pos)])])
        ++m_pos;
}

bool CDbRecordset::IsEOF() const
{
    // A recordset that could not be opened reads as ended, so no reading loop runs on.
    return !m_open || m_pos >= int(m_visible.size());
}

bool CDbRecordset::MoveFirst()
{
    if (!m_open)
        return false;
    CancelUpdate();
    m_pos = 0;
    skipDeleted();
    return true;
}

bool CDbRecordset::MoveNext()
{
    if (!m_open || IsEOF())
        return false;
    CancelUpdate();
    ++m_pos;
    skipDeleted();
    return true;
}

int CDbRecordset::GetRecordCount() const
{
    if (!m_open)
        return -1;
    int n = 0;
    for (int r : m_visible)
        n += m_deleted[size_t(r)] ? 0 : 1;
    return n;
}

int CDbRecordset::GetFieldCount() const
{
    return m_open ? m_names.size() : 0;
}

int CDbRecordset::GetAbsolutePosition() const
{
    if (!m_open || IsEOF())
        return -1;
    return m_pos + 1;
}

bool CDbRecordset::SetAbsolutePosition(int position)
{
    if (!m_open || position < 1 || position > int(m_visible.size()))
        return false;
    m_pos = position - 1;
    return true;
}

int CDbRecordset::currentRow() const
{
    if (IsEOF())
        return -1;
    return m_visible[size_t(m_pos)];
}

const CDbRecordset::Cell* CDbRecordset::currentCell(int index) const
{
    const int row = currentRow();
    if (row < 0 || index < 0 || index >= m_names.size())
        return nullptr;
    return &m_cells[size_t(row) * size_t(m_names.size()) + size_t(index)];
}

QString CDbRecordset::cellText(const Cell& c) const
{
    switch (c.type) {
    case CInt:
        return QString::number(qint32(quint32(quint64(c.i) & 0xffffffffu)));
    case CReal:
        return QString::asprintf("%.8f", c.d);
    case CText:
        return QString::fromUtf8(m_arena.constData() + c.t.off, int(c.t.len));
    case CBlob:
        return QStringLiteral("[BLOB]");
    default:
        return QString();
    }
}

bool CDbRecordset::GetFieldText(int index, QString& out) const
{
    if (index < 0 || index >= GetFieldCount())
        return false;
    const Cell* c = currentCell(index);
    if (!c)
        return false;
    out = cellText(*c);
    return true;
}

bool CDbRecordset::GetFieldText(const QString& name, QString& out) const
{
    if (!m_open) {
        AppMessageBox(QStringLiteral("数据库可能已经断开,\n请重新连接、然后重试."), QStringLiteral("提示"),
                      MsgIcon::Information);
        return false;
    }
    if (IsEOF())
        return false;
    const int index = FieldIndex(name);
    return index >= 0 && GetFieldText(index, out);
}

bool CDbRecordset::GetFieldInt(int index, int& out) const
{
    const Cell* c = m_open ? currentCell(index) : nullptr;
    if (!c)
        return false;
    switch (c->type) {
    case CInt: out = qint32(quint32(quint64(c->i) & 0xffffffffu)); break;
    case CReal: out = int(c->d + 0.5); break;
    case CText: out = int(std::strtol(m_arena.constData() + c->t.off, nullptr, 10)); break;
    default: out = 0;
    }
    return true;
}

bool CDbRecordset::GetFieldDouble(int index, double& out) const
{
    const Cell* c = m_open ? currentCell(index) : nullptr;
    if (!c)
        return false;
    switch (c->type) {
    case CInt: out = double(c->i); break;
    case CReal: out = c->d; break;
    case CText: out = std::strtod(m_arena.constData() + c->t.off, nullptr); break;
    default: out = 0;
    }
    return true;
}

bool CDbRecordset::IsFieldNull(int index) const
{
    const Cell* c = m_open ? currentCell(index) : nullptr;
    return c && c->type == CNull;
}

QString CDbRecordset::GetFieldName(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names.at(index) : QString();
}

int CDbRecordset::FieldIndex(const QString& name) const
{
    QString key = name.toLower();
    if (key.startsWith(QLatin1Char('[')) && key.endsWith(QLatin1Char(']')))
        key = key.mid(1, key.size() - 2);
    return m_nameIndex.value(key, -1);
}

bool CDbRecordset::AddNew()
{
    if (!m_open || m_table.isEmpty())
        return false;
    m_pending.clear();
    m_editMode = EditAdd;
    return true;
}

bool CDbRecordset::SetFieldText(int index, const QString& text)
{
    if (!m_open || index < 0 || index >= m_names.size() || m_origin.at(index).isEmpty() || m_table.isEmpty())
        return false;
    if (m_editMode == EditNone) {
        if (currentRow() < 0 || m_rowids[size_t(currentRow())] < 0)
            return false;
        m_editMode = EditInProgress;
    }
    m_pending[index] = text.isEmpty() ? std::optional<QString>() : std::optional<QString>(text);
    return true;
}

bool CDbRecordset::SetFieldText(const QString& name, const QString& text)
{
    return SetFieldText(FieldIndex(name), text);
}

bool CDbRecordset::CancelUpdate()
{
    if (!m_open)
        return false;
    m_pending.clear();
    m_editMode = EditNone;
    return true;
}

void CDbRecordset::storeText(Cell& cell, const QByteArray& utf8)
{
    cell.type = CText;
    cell.t.off = quint32(m_arena.size());
    cell.t.len = quint32(utf8.size());
    m_arena.append(utf8);
    m_arena.append('\0');
}

bool CDbRecordset::Update()
{
    if (!m_open)
        return false;
    if (m_editMode == EditNone)
        return true;
    sqlite3* db = m_conn ? m_conn->handle() : nullptr;
    if (!db) {
        CancelUpdate();
        return false;
    }
    QStringList columns;
    for (const auto& p : m_pending)
        columns << quoteIdent(m_origin.at(p.first));
    QString sql;
    const bool adding = m_editMode == EditAdd;
    if (adding) {
        if (columns.isEmpty())
            sql = QStringLiteral("insert into %1 default values").arg(quoteIdent(m_table));
        else
            sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(quoteIdent(m_table), columns.join(QLatin1Char(',')),
                           QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    } else {
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral("=?");
        sql = QStringLiteral("update %1 set %2 where rowid=?").arg(quoteIdent(m_table), sets.join(QLatin1Char(',')));
    }
    sqlite3_stmt* stmt = m_conn->CachedStatement(sql.toUtf8());
    int rc = stmt ? SQLITE_OK : sqlite3_errcode(db);
    if (stmt) {
        int k = 1;
        for (const auto& p : m_pending) {
            if (p.second) {
                const QByteArray v = p.second->toUtf8();
                sqlite3_bind_text(stmt, k++, v.constData(), v.size(), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(stmt, k++);
            }
        }
        if (!adding)
            sqlite3_bind_int64(stmt, k, m_rowids[size_t(currentRow())]);
        rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    if (rc != SQLITE_DONE) {
        failWith(rc);
        CancelUpdate();
        return false;
    }
    m_lastError.clear();
    m_lastBusy = false;

    const int cols = m_names.size();
    if (adding) {
        const qint64 rowid = sqlite3_last_insert_rowid(db);
        Cell empty;
        empty.i = 0;
        empty.type = CNull;
        m_cells.insert(m_cells.end(), size_t(cols), empty);
        m_rowids.push_back(rowid);
        m_deleted.push_back(0);
        const int row = m_rowCount++;
        reloadRow(rowid, row);
        m_visible.push_back(row);
        m_pos = int(m_visible.size()) - 1;
    } else {
        const int row = currentRow();
        for (const auto& p : m_pending) {
            Cell& cell = m_cells[size_t(row) * size_t(cols) + size_t(p.first)];
            if (p.second)
                storeText(cell, p.second->toUtf8());
            else
                cell.type = CNull;
        }
    }
    m_pending.clear();
    m_editMode = EditNone;
    return true;
}

// Reads a freshly inserted row back, so defaults and numbered columns show as stored.
bool CDbRecordset::reloadRow(qint64 rowid, int row)
{
    QStringList cols;
    for (const QString& o : m_origin)
        cols << (o.isEmpty() ? QStringLiteral("null") : quoteIdent(o));
    const QByteArray sql =
        QStringLiteral("select %1 from %2 where rowid=?").arg(cols.join(QLatin1Char(',')), quoteIdent(m_table)).toUtf8();
    sqlite3_stmt* stmt = m_conn->CachedStatement(sql);
    if (!stmt)
        return false;
    sqlite3_bind_int64(stmt, 1, rowid);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const int n = m_names.size();
        for (int c = 0; c < n; ++c) {
            Cell& cell = m_cells[size_t(row) * size_t(n) + size_t(c)];
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER: cell.type = CInt; cell.i = sqlite3_column_int64(stmt, c); break;
            case SQLITE_FLOAT: cell.type = CReal; cell.d = sqlite3_column_double(stmt, c); break;
            case SQLITE_TEXT:
                storeText(cell, QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                           sqlite3_column_bytes(stmt, c)));
                break;
            case SQLITE_BLOB: cell.type = CBlob; break;
            default: cell.type = CNull;
            }
        }
    }
    sqlite3_reset(stmt);
    return true;
}

bool CDbRecordset::Delete(int)
{
    const int row = currentRow();
    if (row < 0 || m_table.isEmpty() || m_rowids[size_t(row)] < 0)
        return false;
    CancelUpdate();
    const QByteArray sql = QStringLiteral("delete from %1 where rowid=?").arg(quoteIdent(m_table)).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_conn->handle(), sql.constData(), sql.size(), &stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(stmt, 1, m_rowids[size_t(row)]);
        rc = sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return failWith(rc);
    // The deleted row stays current until the next move, which steps past it.
    m_deleted[size_t(row)] = 1;
    return true;
}

bool CDbRecordset::SetFilter(const QString& filter)
{
    if (!m_open)
        return false;
    CancelUpdate();
    QVector<QPair<int, QString>> terms;
    if (!filter.trimmed().isEmpty()) {
        QVector<QPair<QString, QString>> parsed;
        if (!parseFilter(filter, parsed))
            return false;
        for (const auto& p : parsed) {
            const int index = FieldIndex(p.first);
            if (index < 0)
                return false;
            terms.append({index, p.second});
        }
    }
    m_filter = terms;
    rebuildVisible();
    m_pos = 0;
    return true;
}
