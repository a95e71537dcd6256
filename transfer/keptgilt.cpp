#include "keptgilt.h"

#include "dbrecordset.h"
#include "textutil.h"

using TextUtil::sqlQuote;

namespace {
bool failed(const CDbRecordset& rs, QString* error)
{
    if (error)
        *error = rs.LastError();
    return false;
}

// Copies fields of one recordset's current row into the card, source name -> card name.
bool copyFields(const CDbRecordset& from, CDbRecordset& card, const QList<QPair<const char*, const char*>>& pairs)
{
    for (const auto& p : pairs) {
        QString v;
        from.GetFieldText(QString::fromUtf8(p.first), v);
        if (!card.SetFieldText(QString::fromUtf8(p.second), v))
            return false;
    }
    return true;
}
} // namespace

namespace KeptGilt {

bool makeCard(CDbConnection& conn, const QString& tag, const QString& date, QString* error)
{
    CDbRecordset card(&conn);
    if (!card.Open(QStringLiteral("select * from 种猪卡 where 耳号=") + sqlQuote(tag)))
        return failed(card, error);
    if (card.IsEOF()) {
        if (!card.AddNew() || !card.SetFieldText(QStringLiteral("耳号"), tag)
            || !card.SetFieldText(QStringLiteral("来源时间"), date))
            return failed(card, error);
    }
    CDbRecordset birth(&conn);
    if (!birth.Open(QStringLiteral("select * from 产仔记录 where 仔猪耳号=") + sqlQuote(tag)))
        return failed(birth, error);
    QString sire, dam;
    bool ok = true;
    if (!birth.IsEOF()) {
        ok = copyFields(birth, card, {{"性别", "性别"}, {"毛色", "毛色"}})
             && card.SetFieldText(QStringLiteral("来源"), QStringLiteral("本场"))
             && copyFields(birth, card,
                           {{"奶头数左", "奶头数(左)"}, {"奶头数右", "奶头数(右)"}, {"分娩日期", "出生日期"}, {"初生重", "出生重"},
                            {"实断奶重", "断奶重"}, {"实断奶日", "断奶日龄"}, {"公猪耳号", "父亲"}, {"母猪耳号", "母亲"}});
        birth.GetFieldText(QStringLiteral("公猪耳号"), sire);
        birth.GetFieldText(QStringLiteral("母猪耳号"), dam);
    }
    // The parents' own parents and grandparents become the grandparents and great-
    // grandparents on the sire's side (父…) and the dam's side (母…).
    const auto parentSide = [&](const QString& parent, const char* side) {
        if (parent.isEmpty())
            return true;
        CDbRecordset p(&conn);
        if (!p.Open(QStringLiteral("select 父亲,母亲,父父,父母,母父,母母 from 种猪卡 where 耳号=") + sqlQuote(parent)))
            return failed(p, error);
        if (p.IsEOF())
            return true;
        const QString s = QString::fromUtf8(side);
        const QStringList from = {QStringLiteral("父亲"), QStringLiteral("母亲"), QStringLiteral("父父"),
                                  QStringLiteral("父母"), QStringLiteral("母父"), QStringLiteral("母母")};
        const QStringList to = {s + QStringLiteral("父"),  s + QStringLiteral("母"),  s + QStringLiteral("父父"),
                                s + QStringLiteral("父母"), s + QStringLiteral("母父"), s + QStringLiteral("母母")};
        for (int i = 0; i < from.size(); ++i) {
            QString v;
            p.GetFieldText(from.at(i), v);
            if (!card.SetFieldText(to.at(i), v))
                return false;
        }
        return true;
    };
    if (!ok)
        return failed(card, error);
    if (!parentSide(sire, "父") || !parentSide(dam, "母"))
        return false;
    ok = card.SetFieldText(QStringLiteral("返情日期"), QStringLiteral("none"))
         && card.SetFieldText(QStringLiteral("断奶日期"), QStringLiteral("none"))
         && card.SetFieldText(QStringLiteral("预产日期"), QString()) && card.SetFieldText(QStringLiteral("不存在"), QStringLiteral("no"))
         && card.SetFieldText(QStringLiteral("备注"), QString());
    if (!ok || !card.Update())
        return failed(card, error);
    return true;
}

} // namespace KeptGilt
