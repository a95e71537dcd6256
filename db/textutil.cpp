#include "textutil.h"
#include "appclock.h"

#include <cmath>
#include <cstdlib>

namespace TextUtil {

int gbkLength(const QString& text)
{
    int n = 0;
    for (const QChar c : text) {
        if (c.isLowSurrogate())
            continue; // a character outside the basic plane still counts once
        n += c.unicode() < 0x80 ? 1 : 2;
    }
    return n;
}

QString sqlEscape(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString sqlQuote(const QString& text)
{
    return QLatin1Char('\'') + sqlEscape(text) + QLatin1Char('\'');
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QString();
}

QString todayText()
{
    return dateText(AppClock::today());
}

QDate parseDateText(const QString& text)
{
    if (text.size() < 8)
        return QDate();
    const int y = intPrefix(text.mid(0, 4));
    const int m = intPrefix(text.mid(4, 2));
    const int d = intPrefix(text.mid(6, 2));
    return QDate(y, m, d);
}

bool isValidDateText(const QString& text)
{
    if (text.size() != 8)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return parseDateText(text).isValid();
}

bool isValidMatingTime(const QString& text)
{
    if (text.size() != 9)
        return false;
    const QChar last = text.at(8);
    return (last == QLatin1Char('A') || last == QLatin1Char('P')) && isValidDateText(text.left(8));
}

int dayDifference(const QDateTime& later, const QDate& earlier)
{
    if (!earlier.isValid())
        return 0;
    const qint64 secs = QDateTime(earlier, QTime(0, 0)).secsTo(later);
    return int(secs / 86400); // integer division truncates toward zero
}

int daysSince(const QString& dateText)
{
    return dayDifference(AppClock::now(), parseDateText(dateText));
}

int intPrefix(const QString& text)
{
    const QByteArray b = text.toUtf8();
    return int(std::strtol(b.constData(), nullptr, 10));
}

double doublePrefix(const QString& text)
{
    const QByteArray b = text.toUtf8();
    return std::strtod(b.constData(), nullptr);
}

} // namespace TextUtil
