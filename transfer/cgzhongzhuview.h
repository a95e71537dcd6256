#pragma once
#include "transferscreen.h"

// 种猪管理: a breeding pig leaves the farm, sold, culled, dead or otherwise. The save
// marks its card gone (不存在 "yes") and records the disposal as a 子猪管理 row of the
// group "种猪"; the other lists show the disposed pigs by kind with their card data.
class CGZhongZhuView : public CTransferScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32817;
    explicit CGZhongZhuView(QWidget* parent = nullptr);

    enum Column {
        ColTag = 1, ColOut, ColOutDate, ColPlace, ColPrice, ColWeight, ColSex, ColBirth, ColEntry, ColBirthWeight,
        ColWeanWeight, ColWeanAge, ColColour, ColTeats, ColSource, ColumnCount
    };

protected:
    void configureGrid() override;
    bool loadType(int type) override;
    void beginCellEdit(int row, int col) override;
    void endCellEdit(int row, int col, const QString& oldText) override;
    bool writeSave(QString& error, QString& message) override;
    bool writeDelete(int row, const QString& tag, QString& error) override;
};
