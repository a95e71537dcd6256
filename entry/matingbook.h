#pragma once
#include "editoutcome.h"

#include <QStringList>
#include <QVector>

class CDbConnection;

// The mating screen's work on 配种 and the sow cards, without widgets.
class MatingBook
{
public:
    // One mating as the grid shows it: cells[c - 1] is grid column c (1..14).
    struct Row {
        qint64 id = 0;
        QStringList cells;
        QString farrowed; // 已产
        QString checked;  // 检查时间
    };
    enum class Colour { Default, Red, Blue };

    // The 配种 fields of grid columns 1..14.
    static const QStringList& fields();
    enum Column {
        ColSow = 1, ColSowBreed, ColBoar, ColBoarBreed, ColFirst, ColSecond, ColParity, ColMethod,
        ColReturned, ColDue, ColTechnician, ColAbnormal, ColAbnormalDate, ColRemark
    };

    MatingBook(CDbConnection& conn, WriteAccess access);

    // Each sow's latest mating, ordered by first mating time; false when the statement
    // could not be opened.
    bool load(QVector<Row>& rows) const;
    // Red for an abnormality date, else blue for a return to heat.
    static Colour colourOf(const QString& returned, const QString& abnormalDate);

    // The sow ear tag of row id (0: an empty row) changed from oldTag to newTag.
    EditOutcome editSow(qint64 id, const QString& oldTag, const QString& newTag);
    // Any other column of the mating row id, whose sow is sow.
    EditOutcome editField(qint64 id, int column, const QString& sow, const QString& oldText, const QString& newText);
    // Deletes the mating row; the cards stay as they are.
    bool deleteMating(qint64 id, QString* message);

    // The line under the grid for a clicked row: the sow's previous mating, or her card
    // when this is her first.
    QString clickInfo(const QString& sow, const QString& parity) const;

    static QString noPreviousText() { return QStringLiteral("配种数据不完整，没有找到上一次配种信息。"); }

private:
    bool readRow(qint64 id, Row& row) const;

    CDbConnection& m_conn;
    WriteAccess m_access;
};
