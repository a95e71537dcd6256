#pragma once
#include "archivebook.h"
#include "entryscreen.h"
#include "gridscreen.h"

#include <memory>

// 种猪档案: the record card of every breeding pig on the farm, one grid row per card of
// 种猪卡, edited in place; every accepted cell is written at once inside the screen's
// transaction.
class CTamvoView : public CGridScreen
{
    Q_OBJECT
public:
    explicit CTamvoView(QWidget* parent = nullptr);
    ~CTamvoView() override;

    static constexpr int kCommandId = 32771;
    QString summaryText() const;
    // Counts the herd again for the line under the grid.
    void refreshSummary();

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;
    void deleteCurrent() override;

private:
    void onBeginEdit(int row, int col);
    void onEndEdit(int row, int col);
    void load();

    std::unique_ptr<ArchiveBook> m_book;
    EntryScreen::InfoLine m_info;
    QString m_oldTag;
    QString m_oldText;
};
