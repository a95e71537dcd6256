#pragma once
#include "valuerules.h"

#include <QString>

class CDbConnection;

// The sow-state fields of a breeding-pig card (返情日期, 断奶日期, 预产日期) as the mating
// and farrowing screens set them. Each returns false when a write was refused; a
// missing card is not an error (nothing to mark) and gives true.
namespace SowCard {

// The sow came back into heat after the mating of day.
bool markReturned(CDbConnection& conn, const QString& sow, const QString& day, QString* error = nullptr);
// The sow is pregnant and due on dueDate.
bool markPregnant(CDbConnection& conn, const QString& sow, const QString& dueDate, QString* error = nullptr);
// Her litter is weaned on weaningDate, unless one of the card's dates is later (a
// later event already moved her on). changed tells whether the card was written.
bool markWeaned(CDbConnection& conn, const QString& sow, const QString& weaningDate, bool* changed = nullptr,
                QString* error = nullptr);

// Whether a card with this ear tag exists (on the farm or not).
bool exists(CDbConnection& conn, const QString& earTag);

// Who may be mated: the sow must be a female card still in the herd.
ValueRules::Check mayBeMated(CDbConnection& conn, const QString& sow);
// The boar must be a male card; a tag without a card (semen from an outside stud) is
// asked about, a sow's tag refused.
ValueRules::Check mayServe(CDbConnection& conn, const QString& boar);
// A sow still carrying a litter (her card says pregnant and the due date has not
// passed, or her latest mating has no return, abortion or farrowing and is under 120
// days old): a new mating for her is asked about. excludeId skips one mating row.
ValueRules::Check pregnancyBeforeMating(CDbConnection& conn, const QString& sow, qint64 excludeId = 0);

} // namespace SowCard
