#include "reminderquery.h"
#include "dbconnection.h"
#include "dbrecordset.h"

namespace ReminderQuery {

QString key(const QString& text)
{
    QString k = text;
    for (QChar& c : k)
        if (c.unicode() < 128)
            c = c.toLower();
    return k;
}

QString key(const QString& a, const QString& b)
{
    return key(a) + QChar(0x1F) + key(b);
}

bool readAll(CDbConnection& conn, const QString& sql, QVector<QStringList>& rows)
{
    CDbRecordset rs(&conn);
    if (!rs.Open(sql))
        return false;
    const int fields = rs.GetFieldCount();
    rows.reserve(rs.GetRecordCount());
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QStringList row;
        row.reserve(fields);
        for (int i = 0; i < fields; ++i) {
            QString v;
            rs.GetFieldText(i, v);
            row << v;
        }
        rows << row;
    }
    return true;
}

} // namespace ReminderQuery
