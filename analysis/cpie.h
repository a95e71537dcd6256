#pragma once
#include <QColor>
#include <QString>
#include <QVector>
#include <QWidget>

class QChart;
class QChartView;

// The analysis chart, drawn with Qt Charts. Screens feed it in a fixed order: set-up
// (SetMaxMin, SetBkFrColor, SetFontSize, SetShowType), then for every run KillAll, the
// values, and ShowPie / ShowSPie; they never read anything back. The accessors below
// serve the tests and the command-line picture.
//
// Show types: 0 counts, 3 averages and amounts (bars with the value above each), 1 rates
// (fractions 0-1 on a 0-100 % axis, labelled in percent). Labels are shown exactly as
// given, repeats included, in the order the values came.
class CChartBase : public QWidget
{
    Q_OBJECT
public:
    explicit CChartBase(QWidget* parent = nullptr);
    ~CChartBase() override;

    // The two colours: the bars' (first) and the background's (second).
    void SetBkFrColor(const QColor& bars, const QColor& background);
    void SetFontSize(int size);
    void SetShowType(int type);

    int showType() const { return m_type; }
    int fontSize() const { return m_fontSize; }
    QColor barColour() const { return m_bars; }
    QColor backgroundColour() const { return m_background; }
    // How often the chart was drawn (ShowPie / ShowSPie) since it was made.
    int shownCount() const { return m_shown; }
    QChart* chart() const { return m_chart; }

    // The drawn chart as a picture, at least 800 x 400 pixels.
    bool saveImage(const QString& pngPath);

protected:
    void clearChart();
    void finishChart(double axisMax, bool percent);
    QString uniqueLabel(const QString& label, QStringList& seen) const;
    QFont labelFont() const;

    QChart* m_chart;
    QChartView* m_view;
    QColor m_bars = Qt::red;
    QColor m_background = Qt::white;
    int m_fontSize = 11;
    int m_type = 0;
    int m_shown = 0;
};

// One series of float values.
class CPie : public CChartBase
{
    Q_OBJECT
public:
    struct Value {
        float value = 0;
        QString label;
        QString note;
        bool operator==(const Value& o) const { return value == o.value && label == o.label && note == o.note; }
    };

    explicit CPie(QWidget* parent = nullptr);
    ~CPie() override;

    void KillAll();
    void AddVar(float value, const QString& label, const QString& note = QString());
    void ShowPie();
    void SetMaxMin(float max, float min);

    const QVector<Value>& values() const { return m_values; }
    float maxValue() const { return m_max; }
    float minValue() const { return m_min; }

private:
    QVector<Value> m_values;
    float m_max = 1;
    float m_min = 0;
};

// Integer values grouped by category ("years"), one coloured series per name.
class CSPie : public CChartBase
{
    Q_OBJECT
public:
    struct Value {
        int value = 0;
        QString series;
        QString group;
        int groupIndex = 0; // the group open when the value came (the last AddYear)
        bool operator==(const Value& o) const { return value == o.value && series == o.series && group == o.group; }
    };

    explicit CSPie(QWidget* parent = nullptr);
    ~CSPie() override;

    void KillAll();
    void AddYear(const QString& group);
    void AddVar(int value, const QString& series, const QString& group);
    void AddColor(const QString& series, const QColor& colour);
    void ShowSPie();
    void SetMaxMin(int max, int min);

    const QStringList& groups() const { return m_groups; }
    const QVector<Value>& values() const { return m_values; }
    // The series in the order they first appeared (a colour or a value).
    QStringList seriesNames() const { return m_seriesOrder; }
    QColor seriesColour(const QString& series) const;

private:
    void noteSeries(const QString& series);

    QStringList m_groups;
    QVector<Value> m_values;
    QStringList m_seriesOrder;
    QVector<QPair<QString, QColor>> m_colours;
    int m_max = 1;
    int m_min = 0;
};
