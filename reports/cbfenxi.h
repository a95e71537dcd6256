#pragma once
#include "gridscreen.h"

class QComboBox;
class QLabel;
class QPushButton;

// 生产报表: this month's and this year's results of one breed or of the whole farm, set
// against the year's targets of 生产目标, with the completion of the main figures.
class CBFenXi : public CGridScreen
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32881;
    explicit CBFenXi(QWidget* parent = nullptr);

    // "分析": false when the breed choice was refused.
    bool analyse();

    QComboBox* breedCombo() const { return m_breed; }
    QPushButton* analyseButton() const { return m_analyse; }

    // What one column (this month, this year) is computed from.
    struct Figures {
        int matings = 0, returns = 0, abortions = 0;
        int litters = 0, stillborn = 0, liveBorn = 0, mummified = 0;
        double birthWeightSum = 0;
        int smallestLitter = 0, highestParity = 0;
        int died01 = 0, died28 = 0, died9 = 0, died = 0;
        int weanedLitters = 0, weaned = 0;
        double weanWeightSum = 0, weanAgeSum = 0;
        int gilts = 0, sows = 0, added = 0, culled = 0, sowsDied = 0, farrowedSows = 0, boars = 0;
    };
    // The figures of the breed prefix P ("" for every breed) since the date text F.
    Figures figures(const QString& prefix, const QString& from);

    // IExportable
    bool exportSetBreed(const QString& codeOrAll) override;
    bool exportAction() override { analyse(); return true; }

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;

private:
    void shapeGrid();
    void writeColumn(int col, const Figures& f);
    void writeTargets(const QString& prefix, const Figures& year);
    int count(const QString& sql);

    QLabel* m_breedLabel = nullptr;
    QComboBox* m_breed = nullptr;
    QPushButton* m_analyse = nullptr;
};
