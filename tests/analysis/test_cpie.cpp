// The chart component: values kept and drawn in the order added, repeated labels kept,
// KillAll starting clean, an empty run, rates on a percent axis, CSPie's groups, series
// and colours, and the picture.
#include "cpie.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

namespace {
QBarSeries* barSeries(const CChartBase& c)
{
    return qobject_cast<QBarSeries*>(c.chart()->series().value(0));
}
QStringList categories(const CChartBase& c)
{
    auto* axis = qobject_cast<QBarCategoryAxis*>(c.chart()->axes(Qt::Horizontal).value(0));
    return axis ? axis->categories() : QStringList();
}
} // namespace

class TestCPie : public QObject
{
    Q_OBJECT
private slots:
    void valuesInOrderWithRepeatedLabels();
    void killAllStartsClean();
    void ratesOnAPercentAxis();
    void groupedSeriesWithColours();
    void pictureOfTheChart();
};

void TestCPie::valuesInOrderWithRepeatedLabels()
{
    CPie pie;
    pie.SetMaxMin(0.0f, 1.0f);
    pie.SetBkFrColor(QColor(255, 0, 0), QColor(212, 208, 200));
    pie.SetFontSize(11);
    pie.SetShowType(0);
    pie.KillAll();
    pie.AddVar(3, QStringLiteral("LL"), QStringLiteral("a"));
    pie.AddVar(5, QStringLiteral("合计"), QStringLiteral("b"));
    pie.AddVar(7, QStringLiteral("LL"), QStringLiteral("c"));
    pie.ShowPie();
    QCOMPARE(pie.values().size(), 3);
    QCOMPARE(pie.values()[2], (CPie::Value{7, QStringLiteral("LL"), QStringLiteral("c")}));
    QBarSeries* s = barSeries(pie);
    QVERIFY(s);
    QBarSet* set = s->barSets().value(0);
    QCOMPARE(set->count(), 3);
    QCOMPARE(set->at(0), 3.0);
    QCOMPARE(set->at(2), 7.0);
    QCOMPARE(set->color(), QColor(255, 0, 0));
    // The repeated label still has its own bar, and reads the same.
    const QStringList cats = categories(pie);
    QCOMPARE(cats.size(), 3);
    QCOMPARE(QString(cats[2]).remove(QChar(0x200B)), QStringLiteral("LL"));
    QVERIFY(s->isLabelsVisible());
}

void TestCPie::killAllStartsClean()
{
    CPie pie;
    pie.AddVar(1, QStringLiteral("一"));
    pie.ShowPie();
    pie.KillAll();
    QVERIFY(pie.values().isEmpty());
    QVERIFY(pie.chart()->series().isEmpty());
    // A run that adds nothing leaves an empty chart.
    pie.ShowPie();
    QVERIFY(pie.chart()->series().isEmpty());
    QCOMPARE(pie.shownCount(), 2);
}

void TestCPie::ratesOnAPercentAxis()
{
    CPie pie;
    pie.SetShowType(1);
    pie.AddVar(0.25f, QStringLiteral("LL"));
    pie.AddVar(1.0f, QStringLiteral("合计"));
    pie.ShowPie();
    QBarSet* set = barSeries(pie)->barSets().value(0);
    QCOMPARE(set->at(0), 25.0);
    QCOMPARE(set->at(1), 100.0);
    auto* axis = qobject_cast<QValueAxis*>(pie.chart()->axes(Qt::Vertical).value(0));
    QVERIFY(axis);
    QCOMPARE(axis->max(), 100.0);
    QVERIFY(axis->labelFormat().contains(QLatin1Char('%')));
    QCOMPARE(pie.values()[0].value, 0.25f); // what the screen fed is kept as given
}

void TestCPie::groupedSeriesWithColours()
{
    CSPie chart;
    chart.SetShowType(0);
    chart.KillAll();
    chart.AddColor(QStringLiteral("窝数"), QColor(240, 248, 255));
    chart.AddColor(QStringLiteral("平均产仔"), QColor(0, 255, 255));
    chart.AddYear(QStringLiteral("1胎"));
    chart.AddVar(10, QStringLiteral("窝数"), QStringLiteral("1胎"));
    chart.AddVar(12, QStringLiteral("平均产仔"), QStringLiteral("1胎"));
    chart.AddYear(QStringLiteral("2胎"));
    chart.AddVar(8, QStringLiteral("窝数"), QStringLiteral("2胎"));
    chart.AddVar(3, QStringLiteral("平均死亡"), QStringLiteral("2胎")); // no colour given
    chart.ShowSPie();
    QCOMPARE(chart.groups(), (QStringList{"1胎", "2胎"}));
    QCOMPARE(chart.seriesNames(), (QStringList{"窝数", "平均产仔", "平均死亡"}));
    QBarSeries* s = barSeries(chart);
    QCOMPARE(s->count(), 3);
    QCOMPARE(s->barSets()[0]->label(), QStringLiteral("窝数"));
    QCOMPARE(s->barSets()[0]->color(), QColor(240, 248, 255));
    QCOMPARE(s->barSets()[0]->at(0), 10.0);
    QCOMPARE(s->barSets()[0]->at(1), 8.0);
    QCOMPARE(s->barSets()[1]->at(1), 0.0); // no value in that group
    QCOMPARE(s->barSets()[2]->at(1), 3.0);
    QVERIFY(chart.chart()->legend()->isVisible());
    QCOMPARE(categories(chart), (QStringList{"1胎", "2胎"}));

    // Colours given after the last group serve as well.
    chart.KillAll();
    chart.AddYear(QStringLiteral("2024年"));
    chart.AddVar(4, QStringLiteral("LL"), QStringLiteral("2024年"));
    chart.AddColor(QStringLiteral("LL"), QColor(0, 0, 255));
    chart.ShowSPie();
    QCOMPARE(barSeries(chart)->barSets()[0]->color(), QColor(0, 0, 255));
    QCOMPARE(chart.values().size(), 1);
}

void TestCPie::pictureOfTheChart()
{
    QTemporaryDir dir;
    CPie pie;
    pie.resize(300, 200);
    pie.AddVar(3, QStringLiteral("发情"));
    pie.ShowPie();
    const QString path = dir.filePath(QStringLiteral("c.png"));
    QVERIFY(pie.saveImage(path));
    const QImage image(path);
    QCOMPARE(image.size(), QSize(800, 400));
    QCOMPARE(pie.size(), QSize(300, 200)); // the widget keeps its size
}

QTEST_MAIN(TestCPie)
#include "test_cpie.moc"
