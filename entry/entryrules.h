#pragma once
#include <QString>
#include <QStringList>

class CDbConnection;

// The value rules the data-entry screens share: ear tags, dates, mating times, the
// proposals a new mating or litter gets, and the age-corrected weaning weights.
namespace EntryRules {

// Texts shown when a typed value is refused (caption "错误", stop icon).
extern const char* const kEarTag15;        // "耳号必须15位"
extern const char* const kBoarTag15;       // "公猪耳号必须15位"
extern const char* const kArchiveDate;     // "日期为8位\n\n格式:YYYYMMDD"
extern const char* const kMatingTime9;     // "配种时间必须为9位\n\n8位时间+A或P"
extern const char* const kMatingDate8;     // "配种时间必须为8位\n\n格式YYYYMMDD"

// Default pregnancy length when the breed has no 生理周期 row.
constexpr int kDefaultGestationDays = 114;

// The first field of every row of a statement, in the order returned (the combo lists).
QStringList pickList(CDbConnection& conn, const QString& sql);

// Exactly 15 bytes in GBK.
bool isEarTag(const QString& text);
// The breed code: the first two characters of an ear tag.
QString breedCode(const QString& earTag);

// A real calendar date YYYYMMDD.
bool isDate(const QString& text);
// A real date followed by "A" or "P".
bool isMatingTime(const QString& text);
// The 8-character day of a mating time.
QString matingDay(const QString& matingTime);

// Whole days from one date text to another (negative when to is earlier); 0 when
// either is not a date.
int daysBetween(const QString& from, const QString& to);
// The date text days after a date text; empty when it is not a date.
QString addDays(const QString& date, int days);

// Pregnancy length of a breed: 妊娠天数 of its 生理周期 row, else 114.
int gestationDays(CDbConnection& conn, const QString& breed);
// Expected farrowing date of a mating on day (YYYYMMDD) for a sow of the breed.
QString expectedFarrowingDate(CDbConnection& conn, const QString& breed, const QString& day);

// Parity of a sow's next mating from her latest one: 1 without matings; the same
// parity after a failed mating (returned "Y"), else one more.
int nextParity(bool hasLatest, const QString& latestParity, const QString& latestReturned);
// The same, reading her latest mating (highest id) from the database; excludeId skips
// one mating row (the one being re-assigned), 0 skips none.
int nextParityFor(CDbConnection& conn, const QString& sow, qint64 excludeId = 0);

// The first 13 characters of a piglet's ear tag: sire's first character, dam's first
// character, farm number (4), sub-farm number (1), the farrowing year's last two digits
// (characters 3-4 of the farrowing date) and the litter number (4).
QString pigletTagPrefix(const QString& boar, const QString& sow, const QString& farmNumber,
                        const QString& subFarmNumber, const QString& farrowingDate, const QString& litterNumber);
// The next piglet number when the three rows above are evenly numbered (a1 nearest):
// a1 + 1 as two digits; empty otherwise.
QString nextPigletNumber(const QString& tag1, const QString& tag2, const QString& tag3);
// A litter number: "%4d" with blanks as "0".
QString litterNumberText(int number);
// Litter number of a new litter: the piglet rows farrowed in the year of its expected
// farrowing date.
QString newLitterNumber(CDbConnection& conn, const QString& expectedDate);

// Weaning weights corrected to 20 and 28 days of age, as "%.2f".
struct CorrectedWeights {
    QString day20;
    QString day28;
};
CorrectedWeights correctedWeights(double weight, int weaningAge);

} // namespace EntryRules
