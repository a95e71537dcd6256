#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class CDbConnection;

// The threshold and physiology look-ups every reminder and entry screen shares.
namespace HerdParams {

// The value of a `参数` row by its 名称, read as a decimal prefix; fallback when the
// row is missing.
int threshold(CDbConnection& conn, const QString& key, int fallback);
// One column of the breed's `生理周期` row, read as a decimal prefix; fallback when the
// breed has no row.
int physiology(CDbConnection& conn, const QString& breedCode, const QString& column, int fallback);

// Some columns of every `生理周期` row, read once, for lists that look up the breed of
// many pigs: value() answers as physiology() would for each pig, without a statement.
class PhysiologyTable
{
public:
    PhysiologyTable(CDbConnection& conn, const QStringList& columns);
    // Column `column` (an index into the columns given) of the breed of earTag (its
    // first two characters); fallback when the breed has no row.
    int value(const QString& earTag, int column, int fallback) const;

private:
    QHash<QString, QVector<int>> m_rows;
};

} // namespace HerdParams
