#pragma once
#include "analysisscreen.h"

// 配种分析: mating rate, return rate, matings needed per parity, boar weekly use, boar
// success and the results by mating method.

// 配种率时段分析: the share of the sows on the farm that were mated in the period.
class CFPPeiZhongLvSD : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32848;
    explicit CFPPeiZhongLvSD(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 配种率月份分析: the same, month by month.
class CFPPeiZhongLvYF : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32849;
    explicit CFPPeiZhongLvYF(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 返情率时段分析: matings of the period that returned to heat.
class CFPFanQingLvSD : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32850;
    explicit CFPFanQingLvSD(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 返情率月份分析: the same, month by month.
class CFPFanQingLvYF : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32851;
    explicit CFPFanQingLvYF(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 配种成功次数分析: how many matings each sow needed per parity.
class CFPChengGongCiShuM : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32852;
    explicit CFPChengGongCiShuM(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 公猪配种频度分析: a boar's matings per week.
class CFPPinDuG : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32853;
    explicit CFPPinDuG(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 公猪配种成功率分析: a boar's matings and returns by method.
class CFPPeiZhongLvG : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32854;
    explicit CFPPeiZhongLvG(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};

// 配种方式分析: matings and returns, artificial against natural.
class CFPPeiZhongFangShi : public CAnalysisScreen
{
public:
    static constexpr int kCommandId = 32855;
    explicit CFPPeiZhongFangShi(QWidget* parent = nullptr);

protected:
    void analyse(const AnalysisRun& run) override;
};
