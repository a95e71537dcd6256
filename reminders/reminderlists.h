#pragma once
#include <QColor>
#include <QDateTime>
#include <QStringList>
#include <QVector>

class CDbConnection;

// The rows of one reminder or alert list, worked out without a window: the screens show
// them, and anything else that needs a list's rows (a count of today's work) takes them
// from the same code.
struct ReminderRow {
    QStringList cells;  // columns 1 on; column 0 is the row number the grid writes
    QColor colour;      // every cell's text colour; invalid for the grid's own
};

struct ReminderTable {
    QStringList headers;       // row 0, "序号" first
    unsigned headerFormat = 0x11;
    QVector<ReminderRow> rows;
    // Grid rows below the header when the list leaves empty rows after its own
    // (the check alert is sized to its statement); -1 when the grid holds just the rows.
    int dataRowsShown = -1;
    // The main statement could not be opened; reportOpenFailure says whether the list
    // tells the user ("打开数据库错误").
    bool openFailed = false;
    bool reportOpenFailure = false;
};

namespace ReminderLists {

enum class Kind {
    DaiPei, ShiPei, RenShen, JianCha, YuChan, BuYu, DuanNai, PinLv,
};

struct Definition {
    int commandId;
    Kind kind;
    bool alert;
    int module;      // 2 日常提醒, 3 系统警报
    QString title;   // frame title
};

// All fourteen lists, reminders first, in menu order.
const QVector<Definition>& definitions();
const Definition* find(int commandId);

// The list's rows at `now` (the boar lists: for their default period ending at now).
ReminderTable compute(const Definition& def, CDbConnection& conn, const QDateTime& now);

// How many animals (rows) the list holds at the program clock's now; -1 when the
// database does not open or the command is not a reminder or alert list.
int rowCount(int commandId, const QString& databasePath);

} // namespace ReminderLists
