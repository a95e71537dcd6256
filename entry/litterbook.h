#pragma once
#include "editoutcome.h"

#include <QStringList>
#include <QVector>

class CDbConnection;

// The farrowing screen's work on 产仔记录, 配种 and the sow cards, without widgets: the
// litter of a sow and parity, the proposals and computed cells of a piglet row, and the
// save that writes the litter, marks the mating farrowed and the card weaned.
class LitterBook
{
public:
    enum Column {
        ColTag = 1, ColState, ColSex, ColTeatLeft, ColTeatRight, ColColour, ColBirthWeight, ColDestination,
        ColMoveDate, ColWeanWeight, ColWeanAge, ColWeight20, ColWeight28, ColFoster, ColNurse, ColRemark,
        ColumnCount
    };
    // 产仔记录 fields of grid columns 1..16.
    static const QStringList& pigletFields();

    // The side panel: the litter's data, equal for all its piglets.
    struct Panel {
        QString sow, parity, boar, method, matingDay, dueDate, farrowDate, litterNumber, gestation, keeper;
        bool stored = false; // the litter has rows in the database (farrowing date fixed)
    };
    // One grid row: cells[c] is grid column c (0..16; column 0 is the row number).
    struct Piglet {
        QStringList cells;
        bool fosteredIn = false; // a piglet of another sow that this sow nurses
        QString storedTag;       // the tag its database row carries; empty for a new piglet
        QString ownFarrowDate;   // farrowing date of the piglet's own litter
        Piglet();
        QString at(int c) const { return cells.at(c); }
    };
    enum class LoadResult { Stored, New, NoMating };

    LitterBook(CDbConnection& conn, WriteAccess access);

    // Pick lists of the panel and the grid.
    QStringList sows() const;
    QStringList keepers() const;
    QStringList pigletStates() const;
    QStringList colours() const;
    // Sows whose latest mating has farrowed: the nursing sows a piglet can go to.
    QStringList nursingSows() const;
    // The parities of a sow that can have a litter (no return, no abnormality).
    QStringList parities(const QString& sow) const;

    // Loads the litter of panel.sow and panel.parity: its piglets and the piglets it
    // fosters in (Stored), or the mating data of a litter not recorded yet (New).
    LoadResult load(Panel& panel, QVector<Piglet>& rows) const;
    static QString noMatingText(const QString& sow, const QString& parity);

    // The farrowing date as typed: cut to 8 characters; whether the grid may be edited
    // (a real date) and the gestation length it gives.
    struct FarrowDate {
        QString text;
        bool editable = false;
        QString gestation;
    };
    static FarrowDate farrowDateTyped(const QString& typed, const QString& matingDay);

    // The ear tag proposed when the tag cell of a row starts to be edited; above holds
    // the tags of the rows above, nearest first.
    static QString proposeTag(const Panel& panel, const QString& farmNumber, const QString& subFarmNumber,
                              const QStringList& above);
    // The proposals made when a cell starts to be edited (birth state "正常", the
    // transfer date of the row above for a piglet of the same state). Empty: none.
    static QString proposeOnBegin(int column, const Piglet& row, const Piglet* above);
    // The rules applied when a cell's edit ends (the new text already in the row):
    // invalid values emptied, dead piglets' cells locked, ages and weights computed.
    // True when the row changed (the screen is then modified).
    // A value that cannot be true goes back to its old text and *message says why; an
    // unusual weight is asked about and goes back on "否".
    static bool endEdit(Piglet& row, int column, const QString& oldText, const QString& farrowDate,
                        QString* message = nullptr);
    // The grid's header texts, column 0..16 (also the field names messages use).
    static const QStringList& headers();
    // A typed farrowing date: a real day, not later than today, after the mating (an
    // unusual gestation length asks).
    static ValueRules::Check checkFarrowDate(const QString& farrowDate, const QString& matingDay);
    // The litter's weaning date from its rows: "0" nothing weaned, "-1" a live piglet
    // still with its dam, else the latest transfer date.
    static QString weaningDate(const QVector<Piglet>& rows);

    // Writes every row with a 15-character tag, marks the mating farrowed and, when the
    // whole litter is weaned, the card. All or nothing: on failure nothing of the save
    // is kept and *message / *caption say why.
    bool save(Panel& panel, QVector<Piglet>& rows, QString* message, QString* caption);
    // Deletes a piglet of this litter. A fostered-in piglet belongs to another sow's
    // litter and is refused.
    bool deletePiglet(const Piglet& row, QString* message, QString* caption);

private:
    CDbConnection& m_conn;
    WriteAccess m_access;
};
