#pragma once
#include <QString>

class CDbConnection;

// A reserve pig kept for breeding ("自留") becomes a breeding pig: its card, made or
// refreshed from its farrowing row, with the pedigree taken from its parents' cards
// and the state of a pig never mated.
namespace KeptGilt {

// Writes the card of tag, kept on date (the card's 来源时间 when it is new). False
// when a write was refused (*error says why).
bool makeCard(CDbConnection& conn, const QString& tag, const QString& date, QString* error = nullptr);

} // namespace KeptGilt
