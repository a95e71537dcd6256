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

} // namespace HerdParams
