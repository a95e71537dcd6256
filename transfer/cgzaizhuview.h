#pragma once
#include "transferscreen.h"

// 仔猪管理: suckling piglets leave their litter, weaned to the nursery ("保育") or dead
// ("死亡"). The last piglet of a litter marks the mating farrowed and the sow weaned.
class CGZaizhuView : public CTransferScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32813;
    explicit CGZaizhuView(QWidget* parent = nullptr);

    enum Column {
        ColTag = 1, ColSow, ColBoar, ColBirth, ColDestination, ColMoveDate, ColWeight, ColWeight20, ColWeight28,
        ColAge, ColumnCount
    };

protected:
    void configureGrid() override;
    bool loadType(int type) override;
    void endCellEdit(int row, int col, const QString& oldText) override;
    bool writeSave(QString& error, QString& message) override;
    bool writeDelete(int row, const QString& tag, QString& error) override;

private:
    void weigh(int row, int age);
    bool weanLitter(const QString& sow, const QString& parity, const QString& date, QString& error);
};
