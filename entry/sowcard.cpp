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

ValueRules::Check mayBeMated(CDbConnection& conn, const QString& sow)
{
    CDbRecordset rs(&conn);
    if (!rs.Open(QStringLiteral("select 性别,不存在 from 种猪卡 where 耳号=") + TextUtil::sqlQuote(sow)) || rs.IsEOF())
        return ValueRules::Check::refuse(
            QStringLiteral("受配母猪：%1 没有种猪档案\n\n请先在种猪档案中建立这头母猪的档案").arg(sow));
    QString sex, gone;
    rs.GetFieldText(0, sex);
    rs.GetFieldText(1, gone);
    if (gone != QLatin1String("no"))
        return ValueRules::Check::refuse(QStringLiteral("受配母猪：%1 已经不在猪场（已出售、淘汰或死亡）").arg(sow));
    if (sex != QLatin1String("F"))
        return ValueRules::Check::refuse(
            QStringLiteral("受配母猪：%1 是公猪（档案性别“%2”），只有母猪（F）可以配种").arg(sow, sex));
    return ValueRules::Check::pass();
}

ValueRules::Check mayServe(CDbConnection& conn, const QString& boar)
{
    CDbRecordset rs(&conn);
    if (!rs.Open(QStringLiteral("select 性别 from 种猪卡 where 耳号=") + TextUtil::sqlQuote(boar)) || rs.IsEOF())
        return ValueRules::Check::ask(
            QStringLiteral("与配公猪：%1 没有种猪档案（外购精液？）。\n\n仍要输入这头公猪吗？").arg(boar));
    QString sex;
    rs.GetFieldText(0, sex);
    if (sex == QLatin1String("F"))
        return ValueRules::Check::refuse(QStringLiteral("与配公猪：%1 是母猪，不能作为与配公猪").arg(boar));
    return ValueRules::Check::pass();
}

ValueRules::Check pregnancyBeforeMating(CDbConnection& conn, const QString& sow, qint64 excludeId)
{
    const QString today = TextUtil::todayText();
    const QString tag = TextUtil::sqlQuote(sow);
    QString due;
    CDbRecordset card(&conn);
    if (card.Open(QStringLiteral("select 预产日期 from 种猪卡 where 耳号=") + tag) && !card.IsEOF())
        card.GetFieldText(0, due);
    const bool cardPregnant = TextUtil::isValidDateText(due) && due >= today;

    QString first, returned, abnormal, farrowed;
    CDbRecordset m(&conn);
    QString sql = QStringLiteral("select [配种日期(1)],返情否,异常时间,已产 from 配种 where 母猪耳号=") + tag;
    if (excludeId > 0)
        sql += QStringLiteral(" and id<>%1").arg(excludeId);
    if (m.Open(sql + QStringLiteral(" order by id desc limit 1")) && !m.IsEOF()) {
        m.GetFieldText(0, first);
        m.GetFieldText(1, returned);
        m.GetFieldText(2, abnormal);
        m.GetFieldText(3, farrowed);
    }
    const QString day = first.left(8);
    const bool open = TextUtil::isValidDateText(day) && returned != QLatin1String("Y") && abnormal.isEmpty()
                      && farrowed != QLatin1String("yes");
    int days = TextUtil::isValidDateText(day) ? TextUtil::daysSince(day) : -1;
    const bool matingPregnant = open && days >= 0 && days < 120;
    if (!cardPregnant && !matingPregnant)
        return ValueRules::Check::pass();
    // Pregnant by her card alone: count from the mating her due date implies.
    if (days < 0)
        days = TextUtil::daysSince(TextUtil::dateText(TextUtil::parseDateText(due).addDays(-114)));
    return ValueRules::Check::ask(QStringLiteral("该母猪已配种%1天，仍要输入新的配种记录吗？").arg(days));
}

} // namespace SowCard
