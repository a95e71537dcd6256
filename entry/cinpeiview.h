#pragma once
#include "entryscreen.h"
#include "gridscreen.h"
#include "matingbook.h"

#include <memory>

// 配种记录: each sow's latest mating, one grid row per 配种 row, edited in place. A new
// sow tag on an empty row starts a mating with today's proposals; a click shows the
// sow's previous mating (or her card) on the line under the grid.
class CInPeiView : public CGridScreen
{
    Q_OBJECT
public:
    explicit CInPeiView(QWidget* parent = nullptr);
    ~CInPeiView() override;

    static constexpr int kCommandId = 32772;
    QString infoText() const;
    // The grid row clicked (the entry point the grid's click notification uses).
    void clickRow(int row);
    // The line under the grid for a row (the current row as it moves).
    void showRowInfo(int row);

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;
    void deleteCurrent() override;

private:
    void onBeginEdit(int row, int col);
    void onEndEdit(int row, int col);
    void load();
    void colour(int row);
    qint64 rowId(int row, const QString& sow, const QString& first);

    std::unique_ptr<MatingBook> m_book;
    EntryScreen::InfoLine m_info;
    QString m_oldKey;  // columns 1 and 5
    QString m_oldText; // any other column
    int m_lastClicked = -1;
    QVector<qint64> m_ids; // one per grid row: the mating it shows, 0 for none
};
