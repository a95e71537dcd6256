#pragma once
#include "reportscreen.h"

// 产仔报表: the period's litters, each in a block of piglet rows with its total and
// average rows and the litter's data down the right-hand column; a black "换行" row
// stands between two blocks (the printout turns it into a page break or a clean gap).
class CBChanZai : public CBReportScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32880;
    // Piglet rows of a block; a litter with more piglets gets a block that holds them all.
    static constexpr int kPigletRows = 25;

    explicit CBChanZai(QWidget* parent = nullptr);

    static QString statement(const Selection& sel);
    // The rows of the blocks as last filled: first row of each block and its piglet rows.
    struct Block {
        int firstRow = 0;
        int pigletRows = kPigletRows;
        int totalRow() const { return firstRow + pigletRows; }
        int averageRow() const { return firstRow + pigletRows + 1; }
        int endRow() const { return firstRow + pigletRows + 2; }
    };
    const QVector<Block>& blocks() const { return m_blocks; }

protected:
    void shapeGrid() override;
    void fillReport(const Selection& sel) override;
    QString reportTitle(const Selection& sel) const override;

private:
    Block addBlock(int pigletRows);
    void addSeparator();

    QVector<Block> m_blocks;
};
