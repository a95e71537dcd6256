#pragma once
#include <QDateTime>
#include <QString>

// The program's one clock. Every "today" and "now" of a screen comes from here, so a
// fixed time (--now, tests) makes every list and proposal reproducible.
namespace AppClock {
QDateTime now();
QDate today();
// Fixes the clock; an invalid value lets it follow the computer's time again.
void setNow(const QDateTime& fixed);
// Reads "YYYYMMDD" or "YYYYMMDDhhmm"; returns an invalid value for anything else.
QDateTime parseNowOption(const QString& text);
}
