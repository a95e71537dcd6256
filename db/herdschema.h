#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The herd database's tables, columns (in their fixed order) and the rows a new farm
// starts with.
namespace HerdSchema {

struct Table {
    QString name;
    QStringList columns;
};

// Every table of the herd database, in order of importance.
const QVector<Table>& tables();
const Table* table(const QString& name);

// Creates a new farm database at path (schema, indexes, fixed lists, default
// parameters). Refuses an existing file. On failure no file is left behind.
bool createHerdDatabase(const QString& path, QString* error = nullptr);
// True when the file exists, opens as a database and holds the herd tables.
bool isHerdDatabase(const QString& path);
// Creates the database when the file is missing; an existing file is left as it is.
// False when it had to be created and that failed.
bool ensureHerdDatabase(const QString& path, QString* error = nullptr);

} // namespace HerdSchema
