#pragma once
#include <QString>

class CDbConnection;

// Where a sow stands in her reproductive cycle. Nothing stores the state itself: it is
// read from the three state dates of her card (返情日期, 断奶日期, 预产日期), which the
// mating, farrowing and transfer screens keep current, plus one look-up of a litter.
namespace SowStatus {

enum class State {
    BadTag,        // the ear tag is not 15 long; nothing was looked up
    NoCard,        // no card carries the ear tag
    Reserve,       // never mated ("none" in 返情日期 or 断奶日期)
    Pregnant,      // an expected farrowing date and no litter of it yet
    Nursing,       // the litter of the expected date has been recorded
    EmptyWeaned,   // weaned, not mated since
    EmptyReturned, // came back into heat after a failed mating
    Undetermined   // a combination of dates no rule reads (e.g. a card never touched)
};

// The card's three state fields as texts (NULL reads as empty).
struct CardDates {
    QString returnDate;  // 返情日期
    QString weaningDate; // 断奶日期
    QString dueDate;     // 预产日期
};

struct Status {
    QString earTag;
    State state = State::Undetermined;
    QString date; // the date the sentence names (due, farrowing, weaning or return date)
    QString text; // the result line the status query shows
};

// The state the card alone tells. Pregnant means "due date set, no weaning and no
// return": whether she has already farrowed needs the litter look-up of query().
State stateFromCard(const CardDates& card);

// The full query for one ear tag, reading 种猪卡 and 产仔记录 on conn.
Status query(CDbConnection& conn, const QString& earTag);

// The result line for a state: "母猪" + tag followed by the state's sentence (no
// sentence for Undetermined; "没有找到！" for a missing card; empty for BadTag).
QString resultText(const QString& earTag, State state, const QString& date);

// A short name of the state for tables and exports ("妊娠", "哺育" ...).
QString stateName(State state);

} // namespace SowStatus
