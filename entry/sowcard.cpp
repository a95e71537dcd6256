#include "sowcard.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "textutil.h"

namespace SowCard {

namespace {

bool openCard(CDbRecordset& rs, const QString& sow, QString* error)
{
    if (rs.Open(QStringLiteral("select 耳号,返情日期,断奶日期,预产日期 from 种猪卡 where 耳号=") + TextUtil::sqlQuote(sow)))
        return true;
    if (error)
        *error = rs.LastError();
    return false;
}

bool writeDates(CDbConnection& conn, const QString& sow, const QString& returned, const QString& weaned,
                const QString& due, QString* error)
{
    CDbRecordset rs(&conn);
    if (!openCard(rs, sow, error))
        return false;
    if (rs.IsEOF())
        return true;
    const bool ok = rs.SetFieldText(1, returned) && rs.SetFieldText(2, weaned) && rs.SetFieldText(3, due) && rs.Update();
    if (!ok && error)
        *error = rs.LastError();
    return ok;
}

} // namespace

bool markReturned(CDbConnection& conn, const QString& sow, const QString& day, QString* error)
{
    return writeDates(conn, sow, day, QString(), QString(), error);
}

bool markPregnant(CDbConnection& conn, const QString& sow, const QString& dueDate, QString* error)
{
    return writeDates(conn, sow, QString(), QString(), dueDate, error);
}

bool markWeaned(CDbConnection& conn, const QString& sow, const QString& weaningDate, bool* changed, QString* error)
{
    if (changed)
        *changed = false;
    CDbRecordset rs(&conn);
    if (!openCard(rs, sow, error))
        return false;
    if (rs.IsEOF())
        return true;
    // Compared as whole numbers, a missing date as 0 ("none" also reads as 0).
    const int w = TextUtil::intPrefix(weaningDate);
    for (int field = 1; field <= 3; ++field) {
        QString v;
        rs.GetFieldText(field, v);
        if (w < TextUtil::intPrefix(v))
            return true;
    }
    const bool ok = rs.SetFieldText(1, QString()) && rs.SetFieldText(2, weaningDate) && rs.SetFieldText(3, QString())
                    && rs.Update();
    if (!ok && error)
        *error = rs.LastError();
    if (ok && changed)
        *changed = true;
    return ok;
}

bool exists(CDbConnection& conn, const QString& earTag)
{
    CDbRecordset rs(&conn);
    return rs.Open(QStringLiteral("select 耳号 from 种猪卡 where 耳号=") + TextUtil::sqlQuote(earTag)) && !rs.IsEOF();
}

} // namespace SowCard
