#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

class CDbConnection;

// Small reading helpers the lists share.
namespace ReminderQuery {

// An ear tag or parity as the database compares it: ASCII case does not count.
QString key(const QString& text);
// Two keys joined, for look-ups by sow and parity.
QString key(const QString& a, const QString& b);

// Every row of a statement, each field as text (NULL reads as empty); false when the
// statement cannot be opened.
bool readAll(CDbConnection& conn, const QString& sql, QVector<QStringList>& rows);

// "左-右" of the two teat counts.
inline QString teats(const QString& left, const QString& right)
{
    return left + QLatin1Char('-') + right;
}

} // namespace ReminderQuery
