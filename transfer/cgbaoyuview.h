#pragma once
#include "transferscreen.h"

// 保育猪管理: weaned piglets leave the nursery for one of the farm's groups (库表); the
// save gives each its 子猪管理 row, from which the reserve and fattening screens go on.
class CGBaoYuView : public CTransferScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32814;
    explicit CGBaoYuView(QWidget* parent = nullptr);

    enum Column {
        ColTag = 1, ColGroup, ColMoveDate, ColBirth, ColBirthWeight, ColWeight20, ColWeight28, ColState, ColSow,
        ColBoar, ColumnCount
    };

protected:
    void configureGrid() override;
    bool loadType(int type) override;
    void endCellEdit(int row, int col, const QString& oldText) override;
    bool writeSave(QString& error, QString& message) override;
    bool writeDelete(int row, const QString& tag, QString& error) override;
};
