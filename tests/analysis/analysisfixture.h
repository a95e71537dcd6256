#pragma once
// A small farm for the analysis tests: a temporary herd database filled row by row, and
// the screens opened on it and run as the "分析" button runs them.
#include "analysisscreen.h"
#include "appclock.h"
#include "cpie.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QTest>
#include <memory>

struct AnalysisFarm {
    TempHerdDb db;
    int m_piglets = 0;

    // A 15-character ear tag: the breed code and a number.
    static QString tag(const char* breed, int n) { return QString::fromLatin1(breed) + QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

    // A card as the screens keep it: the state dates emptied (NULL).
    void card(const QString& tag, const char* sex = "F", const char* gone = "no")
    {
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','%2','%3')")
                            .arg(tag, QLatin1String(sex), QLatin1String(gone))));
    }
    void mating(const QString& sow, const QString& time, int parity, const char* returned = "N",
                const QString& boar = QStringLiteral("DD0000000000099"), const QString& method = QStringLiteral("本交"))
    {
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,公猪耳号,[配种日期(1)],胎次,返情否,配种方式,已产) "
                                       "values('%1','%2','%3','%4','%5',%6,'no')")
                            .arg(sow, boar, time)
                            .arg(parity)
                            .arg(QLatin1String(returned), method.isNull() ? QStringLiteral("null") : QLatin1Char('\'') + method + QLatin1Char('\''))));
    }
    // A litter of n live piglets farrowed on the day.
    void litter(const QString& sow, int parity, const QString& farrowed, int piglets = 1)
    {
        for (int i = 0; i < piglets; ++i)
            QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(母猪耳号,胎次,分娩日期,预产日期,仔猪耳号,仔猪状态) "
                                           "values('%1','%2','%3','%3','%4','正常')")
                                .arg(sow)
                                .arg(parity)
                                .arg(farrowed, sow.left(2) + QStringLiteral("P%1").arg(++m_piglets, 12, 10, QLatin1Char('0')))));
    }
    // A breeding pig leaving the farm on the day.
    void leaves(const QString& tag, const char* state, const QString& day)
    {
        QVERIFY(db.exec(QStringLiteral("insert into 子猪管理(耳号,原状态,转出,转出时间) values('%1','%2','淘汰','%3')")
                            .arg(tag, QLatin1String(state), day)));
    }
};

template <class Screen>
std::unique_ptr<Screen> openAnalysis(const TempHerdDb& db)
{
    auto s = std::make_unique<Screen>();
    s->setAttribute(Qt::WA_DeleteOnClose, false);
    s->setDatabasePath(db.path());
    if (!s->initialUpdate())
        qWarning("analysis screen did not start");
    return s;
}

inline QDate day(const QString& text)
{
    return QDate::fromString(text, QStringLiteral("yyyyMMdd"));
}

// Sets the period (and the breed or boar when given) and presses "分析".
inline bool analysePeriod(CAnalysisScreen& s, const QString& from, const QString& to, const QString& selection = QString())
{
    s.exportSetFrom(day(from));
    s.exportSetTo(day(to));
    if (!selection.isNull() && !s.exportSetBreed(selection))
        s.exportSetEarTag(selection);
    return s.runAnalysis();
}

// The grid's data rows, each row's cells joined by '|'.
inline QStringList gridRows(const CGridScreen& s, int firstRow = 1)
{
    QStringList out;
    const CComboGridCtrl* g = s.grid();
    for (int r = firstRow; r < g->GetRowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < g->GetColumnCount(); ++c)
            cells << g->GetItemText(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// The chart's values in the order they were fed: "label=value".
inline QStringList pieValues(const CAnalysisScreen& s)
{
    QStringList out;
    if (s.pie())
        for (const CPie::Value& v : s.pie()->values())
            out << v.label + QLatin1Char('=') + QString::number(double(v.value));
    return out;
}
