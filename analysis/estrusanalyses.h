#pragma once
#include "analysisscreen.h"

#include <functional>

// 发情间隔: days from a farrowing to the sow's first mating of her next parity, and from a
// mating that returned to heat to her next mating of the same parity. Both screens find
// the intervals the same way.
class CEstrusIntervalScreen : public CAnalysisScreen
{
    Q_OBJECT
public:
    using CAnalysisScreen::CAnalysisScreen;

protected:
    // Every interval whose farrowing (first pass) or returned mating (second pass) lies
    // from day S to day E: f(the farrowing date or the returned mating's time, whether it
    // is a mating time, days). Each sow's
    // litter counts once per month when byMonth is set (as when each month is analysed
    // on its own), else once in the period.
    void collectIntervals(const AnalysisRun& run, const QString& S, const QString& E, bool byMonth,
                          const std::function<void(const QString& when, bool matingTime, int days)>& f);
};

class CFFaQingSD : public CEstrusIntervalScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32846;
    explicit CFFaQingSD(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

class CFFaQingYF : public CEstrusIntervalScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32847;
    explicit CFFaQingYF(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};
