#include "valuerules.h"

#include "appmessage.h"
#include "textutil.h"

#include <QRegularExpression>

namespace ValueRules {

namespace {
QString kg(double v)
{
    return QString::number(v, 'g', 6);
}
} // namespace

bool confirm(const Check& check, QWidget* parent)
{
    switch (check.kind) {
    case Check::Pass:
        return true;
    case Check::Refuse:
        AppMessageBox(check.message, QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, parent);
        return false;
    case Check::Ask:
        return AppMessageBox(check.message, QStringLiteral("警告"), MsgIcon::Question, MsgButtons::YesNo, parent)
               == MsgAnswer::Yes;
    }
    return false;
}

Check first(std::initializer_list<Check> checks)
{
    for (const Check& c : checks)
        if (!c.passes())
            return c;
    return Check::pass();
}

QString earTagShape()
{
    return QStringLiteral("耳号共15位：品种2位、场号4位、分场号1位、年份2位、窝号4位、仔猪号2位，例如 LLAAAA125000101");
}

QString earTagLengthText(const QString& what)
{
    return what + QStringLiteral("必须15位\n\n") + earTagShape();
}

Check earTag(const QString& field, const QString& text, bool allowEmpty)
{
    if ((allowEmpty && text.isEmpty()) || TextUtil::gbkLength(text) == 15)
        return Check::pass();
    return Check::refuse(earTagLengthText(field));
}

Check calendarDate(const QString& field, const QString& text, bool allowEmpty)
{
    if (allowEmpty && text.isEmpty())
        return Check::pass();
    static const QRegularExpression digits(QStringLiteral("^[0-9]{8}$"));
    if (!digits.match(text).hasMatch())
        return Check::refuse(field + QStringLiteral("：日期为8位\n\n格式:YYYYMMDD"));
    if (!TextUtil::isValidDateText(text))
        return Check::refuse(field + QStringLiteral("：日期无效\n\n%1 不是日历上的日期（格式:YYYYMMDD）").arg(text));
    return Check::pass();
}

Check eventDate(const QString& field, const QString& text, bool allowEmpty)
{
    const Check c = calendarDate(field, text, allowEmpty);
    if (!c.passes() || text.isEmpty())
        return c;
    const QString today = TextUtil::todayText();
    if (text > today)
        return Check::refuse(field + QStringLiteral("：%1 晚于今天（%2），不能输入将来的日期").arg(text, today));
    return Check::pass();
}

Check notBefore(const QString& field, const QString& date, const QString& earlierField, const QString& earlier)
{
    if (!TextUtil::isValidDateText(date) || !TextUtil::isValidDateText(earlier) || date >= earlier)
        return Check::pass();
    return Check::refuse(field + QStringLiteral("：%1 早于%2（%3）").arg(date, earlierField, earlier));
}

Check notAfter(const QString& field, const QString& date, const QString& laterField, const QString& later)
{
    if (!TextUtil::isValidDateText(date) || !TextUtil::isValidDateText(later) || date <= later)
        return Check::pass();
    return Check::refuse(field + QStringLiteral("：%1 晚于%2（%3）").arg(date, laterField, later));
}

Check gestation(const QString& matingDay, const QString& farrowDate)
{
    const QDate mated = TextUtil::parseDateText(matingDay);
    const QDate farrowed = TextUtil::parseDateText(farrowDate);
    if (!TextUtil::isValidDateText(matingDay) || !TextUtil::isValidDateText(farrowDate))
        return Check::pass();
    const qint64 days = mated.daysTo(farrowed);
    if (days <= 0)
        return Check::refuse(QStringLiteral("分娩日期：%1 不晚于配种日期（%2）").arg(farrowDate, matingDay));
    if (days < kGestationMin || days > kGestationMax)
        return Check::ask(QStringLiteral("分娩日期 %1 距配种日期 %2 有%3天，不在通常的%4–%5天之内。\n\n仍要输入吗？")
                              .arg(farrowDate, matingDay)
                              .arg(days)
                              .arg(kGestationMin)
                              .arg(kGestationMax));
    return Check::pass();
}

Check weight(const QString& field, const QString& text, double low, double high, bool allowEmpty)
{
    if (allowEmpty && text.isEmpty())
        return Check::pass();
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !(v > 0))
        return Check::refuse(field + QStringLiteral("：“%1”不是有效的重量，请输入大于0的数字（公斤）").arg(text));
    if (v < low || v > high)
        return Check::ask(field + QStringLiteral(" %1公斤不在通常的%2–%3公斤之内。\n\n仍要输入吗？").arg(text.trimmed(), kg(low), kg(high)));
    return Check::pass();
}

Check wholeNumber(const QString& field, const QString& text, int low, int high, bool allowEmpty)
{
    if (allowEmpty && text.isEmpty())
        return Check::pass();
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    const QString t = text.trimmed();
    bool ok = whole.match(t).hasMatch();
    const int v = ok ? t.toInt(&ok) : 0;
    if (!ok || v < low || v > high)
        return Check::refuse(field + QStringLiteral("：“%1”无效，必须是%2到%3之间的整数").arg(text).arg(low).arg(high));
    return Check::pass();
}

} // namespace ValueRules
