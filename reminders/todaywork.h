#pragma once
#include "gridscreen.h"

class QLabel;
class QPushButton;
class QTimer;

// 今日工作: one row per reminder and alert list with how many animals it lists today.
// The counts come from the lists' own computation; after the page shows they fill in
// one list at a time, so the window never waits for all fourteen. A double click or
// Enter on a row opens that list.
class CTodayWork : public CGridScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32900;
    explicit CTodayWork(QWidget* parent = nullptr);

    // The list's command id on a grid row (1..14), 0 elsewhere.
    int commandOfRow(int row) const;
    // The count shown on a row; -1 while it is still being worked out.
    int countOfRow(int row) const;
    bool isComplete() const { return m_next >= m_counts.size(); }

    // "刷新": counts again, as they are now, one list per turn of the event loop.
    void refresh();
    // Works out every count at once (the command line and tests).
    void computeAll();
    // Opens the list of a row through the frame; false on a row without a list.
    bool openRow(int row);

    QPushButton* refreshButton() const { return m_refresh; }

    // "刷新", all counts at once.
    bool exportAction() override;

signals:
    void countsComplete();

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;

private:
    void fillRows();
    void computeNext();
    void showCount(int index);

    QVector<int> m_commands;
    QVector<int> m_counts;
    int m_next = 0;
    QPushButton* m_refresh = nullptr;
    QLabel* m_state = nullptr;
    QTimer* m_step = nullptr;
};
