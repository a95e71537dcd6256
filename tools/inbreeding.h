#pragma once
#include <QString>
#include <QStringList>
#include <array>

class CDbRecordset;

// The inbreeding coefficient of a litter from the three-generation pedigrees on the
// boar's and the sow's cards. A common ancestor standing in generation gb of the boar's
// pedigree and gs of the sow's adds (1/2)^(gb + gs + 1); the ancestors of a common
// ancestor count too, unless it stands in the same position on both cards.
namespace Inbreeding {

// The card's fourteen pedigree columns in this order.
const QStringList& pedigreeColumns(); // 父亲,母亲,父父,父母,母父,母母,父父父 ... 母母母

// A pig's ancestors as the card holds them, in pedigreeColumns() order; an entry the
// card lacks is empty text.
using Pedigree = std::array<QString, 14>;

// Reads the fourteen entries from the first fourteen fields of the current row.
Pedigree readPedigree(const CDbRecordset& rs);

// The eight lines of descent (parent, grandparent, great-grandparent).
using Lines = std::array<std::array<QString, 3>, 8>;
Lines lines(const Pedigree& pedigree);

// F of a boar x sow mating, single precision as the planner shows it. Unrecorded
// (empty) ancestors are no common ancestors: two cards without a pedigree give 0.
float coefficient(const Pedigree& boar, const Pedigree& sow);

// "%.5f".
QString coefficientText(float f);

} // namespace Inbreeding
