#pragma once
#include "transferscreen.h"

// The reserve and fattening groups: a pig that left the nursery for the group leaves it
// again, kept ("自留"), sold ("出售", with place, price and weight), dead or otherwise.
// The two screens differ in their group and captions, and in that a reserve pig kept
// for breeding gets its breeding card.
class CGroupPigView : public CTransferScreen
{
    Q_OBJECT
public:
    enum Column { ColTag = 1, ColMovedIn, ColOut, ColOutDate, ColPlace, ColPrice, ColWeight, ColumnCount };

protected:
    CGroupPigView(int commandId, const QString& group, bool keptGetCard, QWidget* parent);

    void configureGrid() override;
    bool loadType(int type) override;
    void endCellEdit(int row, int col, const QString& oldText) override;
    bool writeSave(QString& error, QString& message) override;
    // "删除" takes the row off the grid only.
    bool deleteWrites() const override { return false; }

private:
    void applyPlaceRule(int row);

    QString m_group;
    bool m_keptGetCard;
};

// 后备猪管理
class CGHouBeiView : public CGroupPigView
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32815;
    explicit CGHouBeiView(QWidget* parent = nullptr);
};

// 肥育猪管理
class CGFeiYuView : public CGroupPigView
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32816;
    explicit CGFeiYuView(QWidget* parent = nullptr);
};
