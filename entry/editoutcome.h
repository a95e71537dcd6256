#pragma once
#include "appmessage.h"
#include "valuerules.h"

#include <QMap>
#include <QString>
#include <functional>

class CDbConnection;

// What one cell edit of a data-entry screen came to: whether the cell keeps the typed
// text, goes back to its old text or is emptied, the message to show, and the other
// cells of the row the edit filled in. The screens apply it to their grid, so the
// grid only ever shows what was stored.
struct EditOutcome {
    enum Kind {
        Unchanged, // nothing to do (same text)
        Accepted,  // stored; the cell keeps the new text
        Restore,   // refused or not stored; the cell gets its old text back
        Clear      // refused; the cell is emptied
    };
    Kind kind = Unchanged;
    QString message;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    QMap<int, QString> cells; // column -> text for other cells of the same row
    qint64 newId = 0;         // a row the edit created (the mating screen's id)

    bool stored() const { return kind == Accepted; }

    static EditOutcome accepted() { return EditOutcome{Accepted, {}, {}, MsgIcon::None, {}, 0}; }
    static EditOutcome unchanged() { return EditOutcome{}; }
    // A refused value: the old text comes back, "错误" with the stop icon.
    static EditOutcome refused(const QString& text)
    {
        return EditOutcome{Restore, text, QStringLiteral("错误"), MsgIcon::Stop, {}, 0};
    }
    // A value typed where a row has no ear tag yet: the cell is emptied.
    static EditOutcome cleared(const QString& text)
    {
        return EditOutcome{Clear, text, QStringLiteral("警告"), MsgIcon::Warning, {}, 0};
    }
    // Not stored, and the user has been told already (or is told by text).
    static EditOutcome notStored(const QString& text = QString())
    {
        return EditOutcome{Restore, text, text.isEmpty() ? QString() : QStringLiteral("错误"),
                           text.isEmpty() ? MsgIcon::None : MsgIcon::Stop, {}, 0};
    }
    // A data-quality check of the new value: true when storing may go on. A refusal
    // becomes a refused outcome (shown by the screen); a question is asked here, and
    // "否" leaves a silent not-stored outcome.
    static bool vet(const ValueRules::Check& check, EditOutcome& out)
    {
        if (check.passes())
            return true;
        if (check.refuses()) {
            out = refused(check.message);
            return false;
        }
        if (ValueRules::confirm(check))
            return true;
        out = notStored();
        return false;
    }
};

// Called before a screen's first write after set-up or a save: opens the screen's
// transaction. False when the write may not happen (another window holds the lock);
// it has then told the user.
using WriteAccess = std::function<bool()>;

namespace EntryWrite {

// The message for a write the database refused.
QString refusedText(const QString& error);

// Runs the writes of one edit as a unit: opens the screen's transaction through
// access, then a savepoint, so a failure part-way leaves nothing of the edit behind.
// work returns false on a failed write and may set error.
// Returns true when everything was stored; otherwise *message holds what to show
// (empty when the user has already been told).
bool runEdit(CDbConnection& conn, const WriteAccess& access, const std::function<bool(QString& error)>& work,
             QString* message);

} // namespace EntryWrite
