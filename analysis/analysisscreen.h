#pragma once
#include "analysiskit.h"
#include "dbrecordset.h"
#include "gridscreen.h"

#include <QDate>

class CPie;
class CSPie;
class CChartBase;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// How to add an analysis screen
// -----------------------------
// An analysis screen is a definition plus its computation:
//
//   class CFExample : public CAnalysisScreen {
//   public:
//       static constexpr int kCommandId = 32862;
//       explicit CFExample(QWidget* parent = nullptr);   // CAnalysisScreen(definition(), parent)
//   protected:
//       void analyse(const AnalysisRun& run) override;
//   };
//
// The definition names the title, the form (163/168/169/170/171/172, which decides the
// inputs), what the combo holds (breeds, boars, or hidden), the chart (CPie, CSPie, none
// or hidden) and its type, the column headers, the fixed columns and, for screens with
// fixed bins, the row labels written at set-up. The base does everything else: controls
// and their defaults, anchoring, the connection, the combo, the chart's set-up calls, the
// grid's header, the selection checks and their messages, the wait cursor, KillAll,
// column widths, ShowPie/ShowSPie, and --export with its options and --chart.
//
// analyse() runs the screen's statements and fills the grid and the chart:
//   - run.S / run.E (period texts), run.D (as-of date), run.from / run.to, run.firstYear /
//     run.lastYear, run.breed (empty for "所有品种"), run.boar;
//   - run.likeBreed("母猪耳号") gives "母猪耳号 like 'LL%%' and " (empty for all breeds), to
//     put right after "where" so one statement text serves both variants;
//   - eachRow(sql, f) / count(sql) / rowCount(sql) read the database; pureBreedCodes() (a refused statement
//     reads as no rows / 0);
//   - months(run, cut) cuts the period (AnalysisKit::MonthCut), monthOf...() in
//     AnalysisKit finds a record's month;
//   - setDataRows(n), setText(r, c, text), fillBins(...) write the grid; pie() / spie()
//     take the chart's values; AnalysisKit has the formats and the guarded divisions.
// Register the class in app/registerscreens.cpp with addScreen<CFExample>().

enum class ComboUse { Breed, Boar, Hidden };
enum class ChartKind { Pie, SPie, HiddenPie, None };

struct AnalysisDefinition {
    int commandId = 0;
    QString title;
    int form = 170;                 // 163, 168, 169, 170, 171 or 172
    ComboUse combo = ComboUse::Breed;
    ChartKind chart = ChartKind::Pie;
    int chartType = 0;              // 0 counts, 1 rates (fractions), 3 averages and amounts
    QStringList columns;            // header texts of row 0
    int fixedColumns = 1;
    QStringList rowLabels;          // fixed rows written at set-up (bins, "合计")
    int labelColumn = 1;            // where the row labels go
    bool numberRows = true;         // fixed rows get "1", "2", … in column 0
    bool gridCommands = false;      // takes part in the shared grid commands and printing
};

// What one press of "分析" reads from the inputs.
struct AnalysisRun {
    QDate from, to, asOf;
    int firstYear = 0, lastYear = 0;
    QString S, E, D;  // "%Y%m%d" of from, to and the as-of date
    QString breed;    // the breed code, empty for all breeds
    QString boar;     // the boar's ear tag on the boar screens

    // "<column> like '<breed>%%' and " for a chosen breed, empty for all breeds.
    QString likeBreed(const QString& column) const;
};

// A definition with the usual choices (form 170, breed combo, CPie type 0, one fixed
// column); a screen changes what differs.
AnalysisDefinition defineAnalysis(int commandId, const QString& title, const QStringList& columns);

// Calls f(recordset) for every row of the statement; a refused statement has no rows.
template <typename F>
void forEachRow(CDbConnection& connection, const QString& sql, F f)
{
    CDbRecordset rs(&connection);
    if (!rs.Open(sql))
        return;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        f(rs);
}

class CAnalysisScreen : public CGridScreen
{
    Q_OBJECT
public:
    CAnalysisScreen(const AnalysisDefinition& definition, QWidget* parent = nullptr);
    ~CAnalysisScreen() override;

    const AnalysisDefinition& definition() const { return m_def; }

    // The "分析" button: check the selection, compute, fill the grid and the chart.
    // False when a check refused the inputs (its message has been shown).
    bool runAnalysis();

    // The inputs, as a user would set them.
    QComboBox* selectionCombo() const { return m_combo; }
    QDateEdit* startEdit() const { return m_start; }
    QDateEdit* endEdit() const { return m_end; }
    QLineEdit* firstYearEdit() const { return m_firstYear; }
    QLineEdit* lastYearEdit() const { return m_lastYear; }
    QPushButton* analyseButton() const { return m_button; }
    CChartBase* chartWidget() const;
    CPie* pie() const { return m_pie; }
    CSPie* spie() const { return m_spie; }
    // Number of completed runs (tests check that opening computes nothing).
    int runCount() const { return m_runs; }

    // IExportable
    bool exportSetBreed(const QString& codeOrAll) override;
    bool exportSetEarTag(const QString& text) override;
    bool exportSetFrom(const QDate& date) override;
    bool exportSetTo(const QDate& date) override;
    bool exportSetDate(const QDate& date) override;
    bool exportSetYears(int first, int last) override;
    bool exportAction() override { return runAnalysis(), true; }
    bool exportChart(const QString& pngPath) override;

protected:
    // The screen's statements; the grid is cut back to its fixed rows before.
    virtual void analyse(const AnalysisRun& run) = 0;

    // ---- reading ----
    // Calls f(recordset) for every row of the statement.
    template <typename F>
    void eachRow(const QString& sql, F f)
    {
        forEachRow(connection(), sql, f);
    }
    // First field of the first row as a number (a count); 0 when the statement fails.
    int count(const QString& sql);
    // Number of rows the statement returns.
    int rowCount(const QString& sql);
public:
    static QString field(const CDbRecordset& rs, int index);

protected:

    // The pure-breed codes of the breed table (two equal characters), in its order.
    QStringList pureBreedCodes();

    // ---- the period ----
    QVector<AnalysisKit::MonthWindow> months(const AnalysisRun& run, AnalysisKit::MonthCut cut) const;

    // ---- writing the grid and the chart ----
    // Data rows below the header: screens with fixed row labels keep them (and this is
    // their count), the others are cut back to the header and get n empty rows.
    void setDataRows(int n);
    void setText(int row, int col, const QString& text);
    // The bin table: rows 1..n the bins (label in column 1, count in 2, count × 100 ÷
    // total in 3), then "合计". Each bin also goes to the chart. signPercent writes the
    // distribution screens' "%.2f%%".
    void fillBins(const QStringList& labels, const QVector<int>& counts, bool signPercent = false);

private slots:
    void onAnalyse();

protected:
    void createControls() override;
    void anchorControls() override;
    void loadScreen() override;

private:
    bool readInputs(AnalysisRun& run);
    void setUpGrid();
    void fillSelection();
    bool hasTwoDates() const { return m_def.form == 170 || m_def.form == 171; }
    bool hasOneDate() const { return m_def.form == 163 || m_def.form == 169; }
    bool hasCombo() const { return m_def.form == 163 || m_def.form == 170 || m_def.form == 171 || m_def.form == 172; }

    AnalysisDefinition m_def;
    QLabel* m_comboLabel = nullptr;
    QComboBox* m_combo = nullptr;
    QDateEdit* m_start = nullptr;
    QDateEdit* m_end = nullptr;
    QLineEdit* m_firstYear = nullptr;
    QLineEdit* m_lastYear = nullptr;
    QPushButton* m_button = nullptr;
    CPie* m_pie = nullptr;
    CSPie* m_spie = nullptr;
    QList<QWidget*> m_topControls;
    int m_runs = 0;
};
