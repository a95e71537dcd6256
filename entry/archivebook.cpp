#include "archivebook.h"
#include "herdschema.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "entryrules.h"
#include "sowcard.h"
#include "textutil.h"

using TextUtil::sqlQuote;

const QStringList& ArchiveBook::fields()
{
    // The card's columns up to the pedigree, in the table's own order.
    static const QStringList f = HerdSchema::table(QStringLiteral("种猪卡"))->columns.mid(0, 25);
    return f;
}

const QStringList& ArchiveBook::headers()
{
    static const QStringList h = {
        QStringLiteral("序号"), QStringLiteral("耳号"), QStringLiteral("性别"), QStringLiteral("毛色"), QStringLiteral("来源"),
        QStringLiteral("入群时间"), QStringLiteral("奶头数左"), QStringLiteral("奶头数右"), QStringLiteral("出生日期"),
        QStringLiteral("出生重"), QStringLiteral("断奶重"), QStringLiteral("断奶日龄"), QStringLiteral("父亲"),
        QStringLiteral("母亲"), QStringLiteral("父父"), QStringLiteral("父母"), QStringLiteral("母父"), QStringLiteral("母母"),
        QStringLiteral("父父父"), QStringLiteral("父父母"), QStringLiteral("父母父"), QStringLiteral("父母母"),
        QStringLiteral("母父父"), QStringLiteral("母父母"), QStringLiteral("母母父"), QStringLiteral("母母母")};
    return h;
}

ArchiveBook::ArchiveBook(CDbConnection& conn, WriteAccess access)
    : m_conn(conn)
    , m_access(std::move(access))
{
}

bool ArchiveBook::load(QVector<QStringList>& cards, int* sows, int* boars) const
{
    cards.clear();
    CDbRecordset rs(&m_conn);
    const QString sql = QStringLiteral(
        "select 耳号,性别,毛色,来源,来源时间,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄,父亲,母亲,父父,父母,"
        "母父,母母,父父父,父父母,父母父,父母母,母父父,母父母,母母父,母母母 from 种猪卡 where 不存在='no' "
        "order by 耳号,来源时间,出生日期");
    if (!rs.Open(sql))
        return false;
    int f = 0, m = 0;
    const int n = rs.GetFieldCount();
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        QStringList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) {
            QString v;
            rs.GetFieldText(i, v);
            row << v;
        }
        (isSow(row.at(1)) ? f : m)++;
        cards << row;
    }
    if (sows)
        *sows = f;
    if (boars)
        *boars = m;
    return true;
}

bool ArchiveBook::count(int* total, int* sows, int* boars) const
{
    CDbRecordset rs(&m_conn);
    if (!rs.Open(QStringLiteral("select count(*),sum(case when 性别='F' then 1 else 0 end) from 种猪卡 where 不存在='no'"))
        || rs.IsEOF())
        return false;
    int n = 0, f = 0;
    rs.GetFieldInt(0, n);
    rs.GetFieldInt(1, f);
    *total = n;
    *sows = f;
    *boars = n - f;
    return true;
}

QString ArchiveBook::summaryText(int total, int sows, int boars)
{
    return QString::asprintf("猪场共有种猪%d头，其中母猪%d头，公猪%d头。", total, sows, boars);
}

QString ArchiveBook::duplicateTagText(const QString& tag)
{
    return QStringLiteral("耳号%1已经存在，不能重复建立种猪档案").arg(tag);
}

EditOutcome ArchiveBook::editEarTag(const QString& oldTag, const QString& newTag)
{
    // Leaving the cell as it was is no edit, even on an empty row.
    if (newTag == oldTag)
        return EditOutcome::unchanged();
    if (!EntryRules::isEarTag(newTag))
        return EditOutcome::refused(ValueRules::earTagLengthText());
    // One card per ear tag: every list and report finds a pig by its tag.
    if (SowCard::exists(m_conn, newTag))
        return EditOutcome::refused(duplicateTagText(newTag));
    QString message;
    const bool ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
        CDbRecordset rs(&m_conn);
        if (oldTag.isEmpty()) {
            if (!rs.Open(QStringLiteral("select 耳号,不存在 from 种猪卡 where 1=0")) || !rs.AddNew()
                || !rs.SetFieldText(0, newTag) || !rs.SetFieldText(1, QStringLiteral("no")) || !rs.Update()) {
                error = rs.LastError();
                return false;
            }
            return true;
        }
        if (!rs.Open(QStringLiteral("select 耳号 from 种猪卡 where 不存在='no' and 耳号=") + sqlQuote(oldTag))) {
            error = rs.LastError();
            return false;
        }
        // Other tables keep the old tag: a rename corrects the card only.
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            if (!rs.SetFieldText(0, newTag) || !rs.Update()) {
                error = rs.LastError();
                return false;
            }
        }
        return true;
    }, &message);
    return ok ? EditOutcome::accepted() : EditOutcome::notStored(message);
}

EditOutcome ArchiveBook::editField(int column, const QString& rowTag, const QString& oldText, const QString& newText)
{
    if (newText == oldText || column <= kEarTagColumn || column > fields().size())
        return EditOutcome::unchanged();
    const QString name = headers().at(column);
    ValueRules::Check check;
    switch (column) {
    case kJoinedColumn:
    case kBirthColumn:
        check = ValueRules::eventDate(name, newText);
        break;
    case 6:
    case 7:
        check = ValueRules::wholeNumber(name, newText, ValueRules::kTeatsMin, ValueRules::kTeatsMax);
        break;
    case 9:
        check = ValueRules::weight(name, newText, ValueRules::kBirthWeightMin, ValueRules::kBirthWeightMax);
        break;
    case 10:
        check = ValueRules::weight(name, newText, ValueRules::kWeaningWeightMin, ValueRules::kWeaningWeightMax);
        break;
    case 11:
        check = ValueRules::wholeNumber(name, newText, 0, 365);
        break;
    default:
        // A pedigree cell holds an ear tag or nothing (an ancestor may be unknown).
        if (column >= kFirstPedigreeColumn)
            check = ValueRules::earTag(name, newText, true);
        break;
    }
    if (check.refuses())
        return EditOutcome::refused(check.message);
    if (rowTag.isEmpty())
        return EditOutcome::cleared(QStringLiteral("请先填入耳号"));
    // A pig is born before it joins the herd.
    if (column == kJoinedColumn || column == kBirthColumn) {
        CDbRecordset card(&m_conn);
        QString joined, born;
        if (card.Open(QStringLiteral("select 来源时间,出生日期 from 种猪卡 where 不存在='no' and 耳号=") + sqlQuote(rowTag))
            && !card.IsEOF()) {
            card.GetFieldText(0, joined);
            card.GetFieldText(1, born);
        }
        if (column == kJoinedColumn)
            joined = newText;
        else
            born = newText;
        const ValueRules::Check order =
            column == kJoinedColumn
                ? ValueRules::notBefore(name, joined, headers().at(kBirthColumn), born)
                : ValueRules::notAfter(name, born, headers().at(kJoinedColumn), joined);
        if (order.refuses())
            return EditOutcome::refused(order.message);
    }
    EditOutcome vetted;
    if (check.asks() && !EditOutcome::vet(check, vetted))
        return vetted;
    const QString field = fields().at(column - 1);
    QString message;
    const bool ok = EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
        CDbRecordset rs(&m_conn);
        if (!rs.Open(QStringLiteral("select [%1] from 种猪卡 where 不存在='no' and 耳号=%2").arg(field, sqlQuote(rowTag)))) {
            error = rs.LastError();
            return false;
        }
        if (rs.IsEOF()) {
            error = QStringLiteral("种猪%1不存在").arg(rowTag);
            return false;
        }
        if (!rs.SetFieldText(0, newText) || !rs.Update()) {
            error = rs.LastError();
            return false;
        }
        return true;
    }, &message);
    return ok ? EditOutcome::accepted() : EditOutcome::notStored(message);
}

bool ArchiveBook::deletePig(const QString& earTag, QString* message)
{
    return EntryWrite::runEdit(m_conn, m_access, [&](QString& error) {
        CDbRecordset rs(&m_conn);
        const QString tag = sqlQuote(earTag);
        if (!rs.Open(QStringLiteral("select 耳号 from 种猪卡 where 不存在='no' and 耳号=") + tag)) {
            error = rs.LastError();
            return false;
        }
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            if (!rs.Delete()) {
                error = rs.LastError();
                return false;
            }
        }
        CDbRecordset del(&m_conn);
        if (!del.Open(QStringLiteral("delete from 配种 where 母猪耳号=") + tag)) {
            error = del.LastError();
            return false;
        }
        if (!del.Open(QStringLiteral("delete from 产仔记录 where 母猪耳号=") + tag)) {
            error = del.LastError();
            return false;
        }
        return true;
    }, message);
}
