#include "testsupport.h"
#include "dbconnection.h"
#include "herdschema.h"

#include <QTest>
#include <sqlite3.h>

TempHerdDb::TempHerdDb()
{
    m_path = m_dir.filePath(QStringLiteral("lumbodata.db"));
    QString error;
    if (!HerdSchema::createHerdDatabase(m_path, &error))
        qFatal("cannot create test database: %s", qPrintable(error));
}

bool TempHerdDb::exec(const QString& sql) const
{
    CDbConnection c;
    if (!c.Open(m_path))
        return false;
    char* err = nullptr;
    const int rc = sqlite3_exec(c.handle(), sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        qWarning("fixture statement failed: %s: %s", err, qPrintable(sql));
        sqlite3_free(err);
        return false;
    }
    return true;
}

QStringList queryRows(const QString& path, const QString& sql)
{
    QStringList out;
    CDbConnection c;
    if (!c.Open(path))
        return out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(c.handle(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        qWarning("fixture query failed: %s", qPrintable(sql));
        return out;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList fields;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* t = sqlite3_column_text(stmt, i);
            fields << (t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QStringLiteral("<null>"));
        }
        out << fields.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    return out;
}

QStringList TempHerdDb::rows(const QString& sql) const
{
    return queryRows(m_path, sql);
}

QString TempHerdDb::scalar(const QString& sql) const
{
    const QStringList r = rows(sql);
    return r.isEmpty() ? QString() : r.first().section(QLatin1Char('|'), 0, 0);
}

ScriptedMessages::ScriptedMessages()
{
    m_previous = setAppMessageHandler([this](const AppMessage& m) {
        m_shown.append(m);
        if (!m_answers.empty()) {
            const MsgAnswer a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        return m.buttons == MsgButtons::Ok || m.buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::No;
    });
}

ScriptedMessages::~ScriptedMessages()
{
    setAppMessageHandler(m_previous);
}

QStringList ScriptedMessages::texts() const
{
    QStringList t;
    for (const AppMessage& m : m_shown)
        t << m.text;
    return t;
}
