#include "cpie.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {
// Series without a colour of their own take these, in turn.
const QColor kPalette[] = {QColor(65, 105, 225), QColor(220, 20, 60), QColor(46, 139, 87), QColor(255, 140, 0),
                           QColor(138, 43, 226), QColor(0, 139, 139), QColor(165, 42, 42), QColor(112, 128, 144)};

// A round upper end for the value axis, so its ticks read well.
double niceMax(double value)
{
    if (!(value > 0))
        return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (value <= step * magnitude)
            return step * magnitude;
    return 10 * magnitude;
}
} // namespace

// ---- CChartBase ----

CChartBase::CChartBase(QWidget* parent)
    : QWidget(parent)
    , m_chart(new QChart)
    , m_view(new QChartView(m_chart, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_chart->setBackgroundRoundness(0);
}

CChartBase::~CChartBase() = default;

void CChartBase::SetBkFrColor(const QColor& bars, const QColor& background)
{
    m_bars = bars;
    m_background = background;
    m_chart->setBackgroundBrush(background);
    m_view->setBackgroundBrush(background);
}

void CChartBase::SetFontSize(int size)
{
    m_fontSize = std::max(6, size);
}

void CChartBase::SetShowType(int type)
{
    m_type = type;
}

QFont CChartBase::labelFont() const
{
    QFont f = font();
    f.setPixelSize(m_fontSize + 2);
    return f;
}

void CChartBase::clearChart()
{
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
}

// The category axis keeps each label once; a repeated label gets invisible
// zero-width spaces so it still shows, looking the same.
QString CChartBase::uniqueLabel(const QString& label, QStringList& seen) const
{
    QString text = label;
    while (seen.contains(text))
        text += QChar(0x200B);
    seen << text;
    return text;
}

void CChartBase::finishChart(double axisMax, bool percent)
{
    const QList<QAbstractSeries*> series = m_chart->series();
    auto* categories = qobject_cast<QBarCategoryAxis*>(m_chart->axes(Qt::Horizontal).value(0));
    auto* values = new QValueAxis;
    values->setRange(0, percent ? 100 : niceMax(axisMax * 1.1));
    values->setLabelFormat(percent ? QStringLiteral("%.0f%%") : (axisMax >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%.2g")));
    values->setLabelsFont(labelFont());
    m_chart->addAxis(values, Qt::AlignLeft);
    for (QAbstractSeries* s : series)
        s->attachAxis(values);
    if (categories) {
        categories->setLabelsFont(labelFont());
        // Many categories (up to fifty breeds or months) stay legible standing slanted.
        const int count = categories->count();
        categories->setLabelsAngle(count > 24 ? -90 : count > 10 ? -45 : 0);
    }
    m_chart->legend()->setFont(labelFont());
    ++m_shown;
}

bool CChartBase::saveImage(const QString& pngPath)
{
    // The chart is laid out again at the picture's size and drawn from its scene, so the
    // picture does not depend on the size the screen happens to have (or never had).
    const QSize target(std::max(800, width()), std::max(400, height()));
    const QSizeF old = m_chart->size();
    m_chart->resize(target);
    QImage image(target, QImage::Format_ARGB32);
    image.fill(m_background.isValid() ? m_background : QColor(Qt::white));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_chart->scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(target)), QRectF(m_chart->pos(), QSizeF(target)));
    }
    m_chart->resize(old);
    return image.save(pngPath, "PNG");
}

// ---- CPie ----

CPie::CPie(QWidget* parent)
    : CChartBase(parent)
{
}

CPie::~CPie() = default;

void CPie::KillAll()
{
    m_values.clear();
    clearChart();
}

void CPie::AddVar(float value, const QString& label, const QString& note)
{
    m_values.push_back({value, label, note});
}

void CPie::SetMaxMin(float max, float min)
{
    m_max = max;
    m_min = min;
}

void CPie::ShowPie()
{
    clearChart();
    if (m_values.isEmpty()) {
        ++m_shown;
        return;
    }
    const bool percent = m_type == 1;
    auto* set = new QBarSet(QString());
    set->setColor(m_bars);
    set->setBorderColor(m_bars.darker(140));
    set->setLabelColor(Qt::black);
    set->setLabelFont(labelFont());
    QStringList labels;
    double top = 0;
    for (const Value& v : m_values) {
        const double shown = percent ? double(v.value) * 100.0 : double(v.value);
        set->append(shown);
        top = std::max(top, shown);
        labels << uniqueLabel(v.label, labels);
    }
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(percent ? QStringLiteral("@value%") : QStringLiteral("@value"));
    series->setLabelsPrecision(percent ? 4 : 8);
    m_chart->addSeries(series);
    auto* axis = new QBarCategoryAxis;
    axis->append(labels);
    m_chart->addAxis(axis, Qt::AlignBottom);
    series->attachAxis(axis);
    m_chart->legend()->hide();
    finishChart(top, percent);
}

// ---- CSPie ----

CSPie::CSPie(QWidget* parent)
    : CChartBase(parent)
{
}

CSPie::~CSPie() = default;

void CSPie::KillAll()
{
    m_groups.clear();
    m_values.clear();
    m_seriesOrder.clear();
    m_colours.clear();
    clearChart();
}

void CSPie::noteSeries(const QString& series)
{
    if (!m_seriesOrder.contains(series))
        m_seriesOrder << series;
}

void CSPie::AddYear(const QString& group)
{
    m_groups << group;
}

void CSPie::AddVar(int value, const QString& series, const QString& group)
{
    // A value before any group opens the group it names.
    if (m_groups.isEmpty())
        m_groups << group;
    m_values.push_back({value, series, group, int(m_groups.size()) - 1});
    noteSeries(series);
}

void CSPie::AddColor(const QString& series, const QColor& colour)
{
    m_colours.push_back({series, colour});
    noteSeries(series);
}

QColor CSPie::seriesColour(const QString& series) const
{
    for (auto it = m_colours.crbegin(); it != m_colours.crend(); ++it)
        if (it->first == series)
            return it->second;
    const int i = std::max(0, int(m_seriesOrder.indexOf(series)));
    return kPalette[i % int(std::size(kPalette))];
}

void CSPie::SetMaxMin(int max, int min)
{
    m_max = max;
    m_min = min;
}

void CSPie::ShowSPie()
{
    clearChart();
    if (m_values.isEmpty()) {
        ++m_shown;
        return;
    }
    auto* series = new QBarSeries;
    double top = 0;
    for (const QString& name : m_seriesOrder) {
        auto* set = new QBarSet(name);
        const QColor colour = seriesColour(name);
        set->setColor(colour);
        set->setBorderColor(QColor(96, 96, 96));
        set->setLabelColor(Qt::black);
        set->setLabelFont(labelFont());
        QVector<double> row(m_groups.size(), 0.0);
        for (int i = 0; i < m_values.size(); ++i)
            if (m_values[i].series == name)
                row[m_values[i].groupIndex] += m_values[i].value;
        for (double v : row) {
            set->append(v);
            top = std::max(top, v);
        }
        series->append(set);
    }
    series->setLabelsVisible(m_groups.size() * m_seriesOrder.size() <= 60);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    m_chart->addSeries(series);
    QStringList labels;
    for (const QString& g : m_groups)
        labels << uniqueLabel(g, labels);
    auto* axis = new QBarCategoryAxis;
    axis->append(labels);
    m_chart->addAxis(axis, Qt::AlignBottom);
    series->attachAxis(axis);
    m_chart->legend()->setVisible(true);
    m_chart->legend()->setAlignment(Qt::AlignRight);
    finishChart(top, false);
}
