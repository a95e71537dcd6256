#pragma once
#include <QString>
#include <initializer_list>

class QWidget;

// The data-quality checks every data-entry and transfer screen applies to a typed value
// before it stores it: real dates not later than today and in the right order, weights
// and counts in natural ranges, ear tags of the right shape. A check either passes,
// refuses (a record that cannot be true: nothing is stored) or asks (a value that is
// possible but unusual: stored only after "是"). Messages name the field and the reason.
namespace ValueRules {

struct Check {
    enum Kind { Pass, Refuse, Ask };
    Kind kind = Pass;
    QString message;

    bool passes() const { return kind == Pass; }
    bool refuses() const { return kind == Refuse; }
    bool asks() const { return kind == Ask; }
    static Check pass() { return {}; }
    static Check refuse(const QString& text) { return {Refuse, text}; }
    static Check ask(const QString& text) { return {Ask, text}; }
};

// Shows what a check found: a refusal as "错误" with the stop icon, a question as
// "警告" with Yes / No. True when the value may be stored (passed, or "是").
bool confirm(const Check& check, QWidget* parent = nullptr);
// The first check that does not pass, else a pass.
Check first(std::initializer_list<Check> checks);

// Natural ranges.
constexpr double kBirthWeightMin = 0.2, kBirthWeightMax = 3.5;   // kg
constexpr double kWeaningWeightMin = 1.0, kWeaningWeightMax = 30.0; // kg
constexpr int kParityMin = 1, kParityMax = 20;
constexpr int kTeatsMin = 0, kTeatsMax = 12;
constexpr int kGestationMin = 100, kGestationMax = 130; // days from mating to farrowing

// What an ear tag looks like, for messages and the ear-tag cells' tooltips.
QString earTagShape();
// "<what>必须15位" followed by the shape, e.g. earTagLengthText("耳号").
QString earTagLengthText(const QString& what = QStringLiteral("耳号"));
// Exactly 15 bytes in GBK; empty passes when allowEmpty.
Check earTag(const QString& field, const QString& text, bool allowEmpty = false);

// A date of an event: 8 digits, a real calendar day, not later than today (the
// program's clock). Empty passes when allowEmpty.
Check eventDate(const QString& field, const QString& text, bool allowEmpty = false);
// A date that may lie ahead (an expected date): 8 digits and a real day.
Check calendarDate(const QString& field, const QString& text, bool allowEmpty = false);
// date must not be earlier than earlier (both real dates; otherwise passes).
Check notBefore(const QString& field, const QString& date, const QString& earlierField, const QString& earlier);
// date must not be later than later (both real dates; otherwise passes).
Check notAfter(const QString& field, const QString& date, const QString& laterField, const QString& later);
// A farrowing farrowDate after the mating of matingDay: before or on the mating day is
// refused, outside 100–130 days asked.
Check gestation(const QString& matingDay, const QString& farrowDate);

// A weight in kg: a positive decimal number; outside low..high asked.
Check weight(const QString& field, const QString& text, double low, double high, bool allowEmpty = true);
// A whole number in low..high.
Check wholeNumber(const QString& field, const QString& text, int low, int high, bool allowEmpty = true);

} // namespace ValueRules
