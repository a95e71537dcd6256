#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

class CDbConnection;

// Loading and storing the pick lists and the alert thresholds that the settings hub
// edits. Each list is stored whole: its rows are replaced in one transaction, so a
// failed save leaves the previous list as it was.
namespace SettingsLists {

struct ListDef {
    QString table;
    QStringList fields; // written by name for each entry
    QString loadSql;
    int capacity;
};

enum class List { Breeds, CoatColours, Inseminators, Stockmen, Vets, Origins, SalePlaces };
const ListDef& definition(List list);

// One entry per row of the load statement, at most the list's capacity; each entry
// holds the list's fields in order. Empty when the connection is not open.
QVector<QStringList> load(CDbConnection& conn, const ListDef& def);
// Replaces the table's rows by the entries (in order). False, with the reason in
// *error, when nothing could be stored; the table then keeps its old rows.
bool store(CDbConnection& conn, const ListDef& def, const QVector<QStringList>& entries, QString* error = nullptr);

// The first five `参数` rows in id order, as names and whole-number values.
struct Thresholds {
    QStringList names;
    QVector<int> values;
};
Thresholds loadThresholds(CDbConnection& conn);
// Writes each value to every row whose 名称 is the name read with it.
bool storeThresholds(CDbConnection& conn, const Thresholds& thresholds, QString* error = nullptr);

// Why a write transaction could not start or finish, for the message.
QString failureText(CDbConnection& conn);

} // namespace SettingsLists
