#pragma once
#include <QString>

class CDbConnection;

// The threshold and physiology look-ups every reminder and entry screen shares.
namespace HerdParams {

// The value of a `参数` row by its 名称, read as a decimal prefix; fallback when the
// row is missing.
int threshold(CDbConnection& conn, const QString& key, int fallback);
// One column of the breed's `生理周期` row, read as a decimal prefix; fallback when the
// breed has no row.
int physiology(CDbConnection& conn, const QString& breedCode, const QString& column, int fallback);

} // namespace HerdParams
