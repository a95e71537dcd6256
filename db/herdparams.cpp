#include "herdparams.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "textutil.h"

namespace HerdParams {

namespace {
bool firstValue(CDbConnection& conn, const QString& sql, int& out)
{
    CDbRecordset rs(&conn);
    if (!rs.Open(sql) || rs.IsEOF())
        return false;
    QString v;
    if (!rs.GetFieldText(0, v))
        return false;
    out = TextUtil::intPrefix(v);
    return true;
}
} // namespace

int threshold(CDbConnection& conn, const QString& key, int fallback)
{
    int v = fallback;
    return firstValue(conn, QStringLiteral("select 参数 from 参数 where 名称 =") + TextUtil::sqlQuote(key), v) ? v : fallback;
}

int physiology(CDbConnection& conn, const QString& breedCode, const QString& column, int fallback)
{
    int v = fallback;
    const QString sql = QStringLiteral("select [%1] from 生理周期 where 品种=%2").arg(column, TextUtil::sqlQuote(breedCode));
    return firstValue(conn, sql, v) ? v : fallback;
}

namespace {
// The breed codes compare as the database compares them: without regard to ASCII case.
QString breedKey(const QString& code)
{
    QString key = code;
    for (QChar& c : key)
        if (c.unicode() < 128)
            c = c.toLower();
    return key;
}
} // namespace

PhysiologyTable::PhysiologyTable(CDbConnection& conn, const QStringList& columns)
{
    QString sql = QStringLiteral("select 品种");
    for (const QString& c : columns)
        sql += QStringLiteral(",[%1]").arg(c);
    sql += QStringLiteral(" from 生理周期");
    CDbRecordset rs(&conn);
    if (!rs.Open(sql))
        return;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QString code;
        rs.GetFieldText(0, code);
        const QString key = breedKey(code);
        // A look-up by breed takes the first row of the breed.
        if (m_rows.contains(key))
            continue;
        QVector<int> values(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            QString v;
            rs.GetFieldText(i + 1, v);
            values[i] = TextUtil::intPrefix(v);
        }
        m_rows.insert(key, values);
    }
}

int PhysiologyTable::value(const QString& earTag, int column, int fallback) const
{
    const auto it = m_rows.constFind(breedKey(earTag.left(2)));
    return it == m_rows.constEnd() || column < 0 || column >= it->size() ? fallback : it->at(column);
}

} // namespace HerdParams
