#pragma once
#include "reportscreen.h"

// 配种报表: one row per mating of the period, for a breed, all breeds or an ear-tag beginning.
class CBPeiZhong : public CBReportScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32879;
    explicit CBPeiZhong(QWidget* parent = nullptr);

    static QString statement(const Selection& sel);

protected:
    void shapeGrid() override;
    void fillReport(const Selection& sel) override;
    QString reportTitle(const Selection& sel) const override;
};
