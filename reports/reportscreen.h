#pragma once
#include "gridscreen.h"

#include <QDate>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The shared form of the mating and farrowing reports: a breed or an ear-tag beginning,
// a period, "分析". The screen adds its statement, its grid and its title.
class CBReportScreen : public CGridScreen
{
    Q_OBJECT
public:
    enum class Mode { Breed = 0, EarTag = 1 };

    // What "分析" hands to the report: the selection and the period as date texts.
    struct Selection {
        Mode mode = Mode::Breed;
        QString text;  // the breed code, "所有品种" or the typed ear-tag beginning
        QString start; // "%Y%m%d"
        QString end;
    };

    CBReportScreen(int commandId, QWidget* parent = nullptr);

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    void setBreedText(const QString& text);
    void setEarTagText(const QString& text);
    void setStartDate(const QDate& date);
    void setEndDate(const QDate& date);
    QDate startDate() const;
    QDate endDate() const;

    // "分析": checks the selection ("品种选择错误", "母猪耳号错误…"), then builds the report.
    // False when the selection was refused.
    bool analyse();

    // The statement's condition on the sow's ear tag for the selection ("" for all
    // breeds), with the pattern's double wildcard as the reports have always written it.
    static QString earTagCondition(const Selection& sel, const QString& column = QStringLiteral("母猪耳号"));
    // "品种:LL", "所有品种" or "耳号似…".
    static QString selectionText(const Selection& sel);

    QComboBox* breedCombo() const { return m_breed; }
    QComboBox* earTagCombo() const { return m_earTag; }
    QPushButton* analyseButton() const { return m_analyse; }

    // IExportable
    bool exportSetBreed(const QString& codeOrAll) override;
    bool exportSetEarTag(const QString& text) override;
    bool exportSetFrom(const QDate& date) override;
    bool exportSetTo(const QDate& date) override;
    bool exportAction() override { analyse(); return true; }

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;

    // The grid's header (and, for the farrowing report, its empty block) at opening.
    virtual void shapeGrid() = 0;
    // Runs the statement and fills the grid; the print heading is set by the caller.
    virtual void fillReport(const Selection& sel) = 0;
    // The title printed under the owner name.
    virtual QString reportTitle(const Selection& sel) const = 0;

private:
    void applyMode();

    Mode m_mode = Mode::Breed;
    QGroupBox* m_choiceBox = nullptr;
    QRadioButton* m_byBreed = nullptr;
    QRadioButton* m_byEarTag = nullptr;
    QComboBox* m_breed = nullptr;
    QComboBox* m_earTag = nullptr;
    QGroupBox* m_dateBox = nullptr;
    QLabel* m_startLabel = nullptr;
    QDateEdit* m_start = nullptr;
    QLabel* m_endLabel = nullptr;
    QDateEdit* m_end = nullptr;
    QPushButton* m_analyse = nullptr;
};
