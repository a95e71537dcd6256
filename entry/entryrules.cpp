#include "entryrules.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "herdparams.h"
#include "textutil.h"

namespace EntryRules {

const char* const kEarTag15 = "耳号必须15位";
const char* const kBoarTag15 = "公猪耳号必须15位";
const char* const kArchiveDate = "日期为8位\n\n格式:YYYYMMDD";
const char* const kMatingTime9 = "配种时间必须为9位\n\n8位时间+A或P";
const char* const kMatingDate8 = "配种时间必须为8位\n\n格式YYYYMMDD";

QStringList pickList(CDbConnection& conn, const QString& sql)
{
    QStringList out;
    CDbRecordset rs(&conn);
    if (!rs.Open(sql))
        return out;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        QString v;
        rs.GetFieldText(0, v);
        out << v;
    }
    return out;
}

bool isEarTag(const QString& text)
{
    return TextUtil::gbkLength(text) == 15;
}

QString breedCode(const QString& earTag)
{
    return earTag.left(2);
}

bool isDate(const QString& text)
{
    return TextUtil::isValidDateText(text);
}

bool isMatingTime(const QString& text)
{
    return TextUtil::isValidMatingTime(text);
}

QString matingDay(const QString& matingTime)
{
    return matingTime.left(8);
}

int daysBetween(const QString& from, const QString& to)
{
    const QDate a = TextUtil::parseDateText(from);
    const QDate b = TextUtil::parseDateText(to);
    if (!a.isValid() || !b.isValid())
        return 0;
    return int(a.daysTo(b));
}

QString addDays(const QString& date, int days)
{
    const QDate d = TextUtil::parseDateText(date);
    return d.isValid() ? TextUtil::dateText(d.addDays(days)) : QString();
}

int gestationDays(CDbConnection& conn, const QString& breed)
{
    return HerdParams::physiology(conn, breed, QStringLiteral("妊娠天数"), kDefaultGestationDays);
}

QString expectedFarrowingDate(CDbConnection& conn, const QString& breed, const QString& day)
{
    return addDays(day, gestationDays(conn, breed));
}

int nextParity(bool hasLatest, const QString& latestParity, const QString& latestReturned)
{
    if (!hasLatest)
        return 1;
    const int parity = TextUtil::intPrefix(latestParity);
    return latestReturned == QLatin1String("N") ? parity + 1 : parity;
}

int nextParityFor(CDbConnection& conn, const QString& sow, qint64 excludeId)
{
    CDbRecordset rs(&conn);
    QString sql = QStringLiteral("select 胎次,返情否 from 配种 where 母猪耳号=") + TextUtil::sqlQuote(sow);
    if (excludeId > 0)
        sql += QStringLiteral(" and id<>%1").arg(excludeId);
    sql += QStringLiteral(" order by id desc limit 1");
    if (!rs.Open(sql) || rs.IsEOF())
        return nextParity(false, QString(), QString());
    QString parity, returned;
    rs.GetFieldText(0, parity);
    rs.GetFieldText(1, returned);
    return nextParity(true, parity, returned);
}

QString pigletTagPrefix(const QString& boar, const QString& sow, const QString& farmNumber,
                        const QString& subFarmNumber, const QString& farrowingDate, const QString& litterNumber)
{
    return boar.left(1) + sow.left(1) + farmNumber + subFarmNumber + farrowingDate.mid(2, 2) + litterNumber;
}

QString nextPigletNumber(const QString& tag1, const QString& tag2, const QString& tag3)
{
    const int a1 = TextUtil::intPrefix(tag1.right(2));
    const int a2 = TextUtil::intPrefix(tag2.right(2));
    const int a3 = TextUtil::intPrefix(tag3.right(2));
    if (a1 - a2 != a2 - a3)
        return QString();
    return QStringLiteral("%1").arg(a1 + 1, 2, 10, QLatin1Char('0'));
}

QString litterNumberText(int number)
{
    return QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0'));
}

QString newLitterNumber(CDbConnection& conn, const QString& expectedDate)
{
    CDbRecordset rs(&conn);
    const QString sql = QStringLiteral("select count(*) from 产仔记录 where 分娩日期 like ")
                        + TextUtil::sqlQuote(expectedDate.left(4) + QLatin1Char('%'));
    int count = 0;
    if (rs.Open(sql) && !rs.IsEOF())
        rs.GetFieldInt(0, count);
    return litterNumberText(count);
}

CorrectedWeights correctedWeights(double weight, int weaningAge)
{
    const double k = float(1.0E-5); // held in single precision
    const double d = weaningAge;
    const double f20 = 2.3393551 - 0.11048802 * d + 0.0027120553 * d * d - 2.6368479 * k * d * d * d;
    const double f28 = 2.9464019 - 0.14044308 * d + 0.0034884801 * d * d - 3.4249969 * k * d * d * d;
    CorrectedWeights w;
    w.day20 = QString::asprintf("%.2f", double(float(weight * f20)));
    w.day28 = QString::asprintf("%.2f", double(float(weight * f28)));
    return w;
}

} // namespace EntryRules
