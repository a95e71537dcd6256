#pragma once
#include <QString>
#include <functional>

class CDbConnection;

// What every report and card printout shares: the owner name at the top of the
// heading, and the breed choice offered by the report screens.
namespace ReportHeading {

// The application sets where the owner name comes from; without a source the
// program's default owner name is used.
void setOwnerNameSource(std::function<QString()> source);
QString ownerName();

// The breeds a report can be restricted to: every pure breed code of 品种表 (its two
// characters equal; crosses are not offered), then "所有品种".
QStringList breedChoices(CDbConnection& conn);
QString allBreeds();

} // namespace ReportHeading
