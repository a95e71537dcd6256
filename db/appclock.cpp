#include "appclock.h"

namespace {
QDateTime g_fixed;
}

namespace AppClock {

QDateTime now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setNow(const QDateTime& fixed)
{
    g_fixed = fixed;
}

QDateTime parseNowOption(const QString& text)
{
    if (text.size() == 8) {
        const QDate d = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
        // Midday keeps "days since" figures away from the midnight boundary.
        return d.isValid() ? QDateTime(d, QTime(12, 0)) : QDateTime();
    }
    if (text.size() == 12)
        return QDateTime::fromString(text, QStringLiteral("yyyyMMddHHmm"));
    return QDateTime();
}

} // namespace AppClock
