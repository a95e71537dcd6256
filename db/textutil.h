#pragma once
#include <QDate>
#include <QString>

// Text rules shared by every screen: GBK byte lengths, SQL quoting and the herd
// database's date texts.
namespace TextUtil {

// Byte length of the text in GBK: ASCII counts 1, every other character 2. Ear tags
// ("耳号必须15位") and other length limits are counted this way.
int gbkLength(const QString& text);

// The text between single quotes for splicing into a statement ('' for each ').
QString sqlQuote(const QString& text);
// Only the inside, without the surrounding quotes.
QString sqlEscape(const QString& text);

// "%Y%m%d" of a date.
QString dateText(const QDate& date);
// Today's date text from the program's clock.
QString todayText();
// Characters 1-4 year, 5-6 month, 7-8 day, each read as a decimal prefix; midnight.
// Returns an invalid date when the parts do not make a calendar date.
QDate parseDateText(const QString& text);
// Exactly 8 digits forming a real calendar date.
bool isValidDateText(const QString& text);
// A real date followed by "A" or "P" (9 characters).
bool isValidMatingTime(const QString& text);

// Days from the date text's midnight to now, truncated toward zero; 0 for a text that
// is not a date.
int daysSince(const QString& dateText);
// Same rule between two moments.
int dayDifference(const QDateTime& later, const QDate& earlier);

// The C library's decimal-prefix readings that the herd database's texts need.
int intPrefix(const QString& text);
double doublePrefix(const QString& text);

} // namespace TextUtil
