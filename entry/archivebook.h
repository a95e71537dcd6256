#pragma once
#include "editoutcome.h"

#include <QStringList>
#include <QVector>

class CDbConnection;

// The breeding-pig archive's work on 种猪卡, without widgets: loading the cards of the
// pigs on the farm, storing one cell edit, deleting a pig with its matings and litters.
class ArchiveBook
{
public:
    // Grid columns 1..25 show these card fields in this order.
    static const QStringList& fields();
    // The grid's header texts, column 0..25 (also the field names messages use).
    static const QStringList& headers();
    static constexpr int kEarTagColumn = 1;
    static constexpr int kJoinedColumn = 5;
    static constexpr int kBirthColumn = 8;
    static constexpr int kFirstPedigreeColumn = 12;

    ArchiveBook(CDbConnection& conn, WriteAccess access);

    // The cards with 不存在='no', each as its 25 field texts; false when the statement
    // could not be opened.
    bool load(QVector<QStringList>& cards, int* sows = nullptr, int* boars = nullptr) const;
    static QString summaryText(int total, int sows, int boars);
    // The herd's counts as the summary line gives them.
    bool count(int* total, int* sows, int* boars) const;
    // "F" is a sow, any other value a boar.
    static bool isSow(const QString& sex) { return sex == QLatin1String("F"); }

    // An edit of the ear-tag column: a new card when the row had none, else a rename.
    EditOutcome editEarTag(const QString& oldTag, const QString& newTag);
    // An edit of column 2..25 on the row of rowTag.
    EditOutcome editField(int column, const QString& rowTag, const QString& oldText, const QString& newText);
    // Removes the card and the matings and litters of that sow. False when refused
    // (*message then says why; empty when the user has been told).
    bool deletePig(const QString& earTag, QString* message);

    static QString duplicateTagText(const QString& tag);

private:
    CDbConnection& m_conn;
    WriteAccess m_access;
};
