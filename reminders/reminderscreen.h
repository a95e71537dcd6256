#pragma once
#include "gridscreen.h"
#include "reminderlists.h"

// A reminder or alert list: filled once when it opens from ReminderLists::compute, read
// only; copy, find, freeze, grid lines, resizing and printing as every list screen.
class CReminderScreen : public CGridScreen
{
    Q_OBJECT
public:
    CReminderScreen(int commandId, QWidget* parent);

    const ReminderLists::Definition& definition() const { return m_def; }
    // The animals listed (the grid may hold empty rows after them).
    int listedRows() const { return m_listed; }

    // The pregnancy-check lists: the user picked a row; asks whether that check was
    // done and, on OK, records it and takes the row off the list.
    void confirmCheck(int row);

protected:
    void loadScreen() override;

private:
    const ReminderLists::Definition& m_def;
    int m_listed = 0;
    int m_askedRow = -1;
    bool m_loading = false;
};

// Fills the grid of a list screen from a computed table: header row, numbered rows,
// row colours, the header format; the grid is then sized to its content.
void fillReminderGrid(CGridCtrl* grid, const ReminderTable& table);

#define TAMVO_REMINDER_SCREEN(Class, Id)                                                                               \
    class Class : public CReminderScreen                                                                               \
    {                                                                                                                  \
    public:                                                                                                            \
        static constexpr int kCommandId = Id;                                                                          \
        explicit Class(QWidget* parent = nullptr) : CReminderScreen(kCommandId, parent) {}                             \
    };

TAMVO_REMINDER_SCREEN(CTDaiPei, 32819)
TAMVO_REMINDER_SCREEN(CTShiPei, 32820)
TAMVO_REMINDER_SCREEN(CTRenShen, 32821)
TAMVO_REMINDER_SCREEN(CTJianCha, 32822)
TAMVO_REMINDER_SCREEN(CTYuChan, 32823)
TAMVO_REMINDER_SCREEN(CTBuYu, 32824)
TAMVO_REMINDER_SCREEN(CTDuanNai, 32825)
TAMVO_REMINDER_SCREEN(CJDaiPei, 32827)
TAMVO_REMINDER_SCREEN(CJShiPei, 32828)
TAMVO_REMINDER_SCREEN(CJJianCha, 32829)
TAMVO_REMINDER_SCREEN(CJYuChan, 32830)
TAMVO_REMINDER_SCREEN(CJDuanNai, 32831)

#undef TAMVO_REMINDER_SCREEN
