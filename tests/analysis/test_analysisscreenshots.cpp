// Pictures of analysis screens with their charts, for a person to look at: set
// TAMVO_SHOT_DIR (where the pictures go) and TAMVO_SHOT_FARM (a demo farm made with
// --create-demo ... --now 20261211); skipped otherwise.
#include "analysisfixture.h"
#include "estrusanalyses.h"
#include "matinganalyses.h"

#include <QDir>

class TestAnalysisScreenshots : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shots();

private:
    template <class Screen>
    void shoot(const QString& name, const QString& from, const QString& to, const QString& selection = QString());
    QString m_dir;
    QString m_farm;
};

void TestAnalysisScreenshots::initTestCase()
{
    m_dir = qEnvironmentVariable("TAMVO_SHOT_DIR");
    m_farm = qEnvironmentVariable("TAMVO_SHOT_FARM");
    if (m_dir.isEmpty() || m_farm.isEmpty())
        QSKIP("set TAMVO_SHOT_DIR and TAMVO_SHOT_FARM to take the pictures");
    QDir().mkpath(m_dir);
    AppClock::setNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
}

template <class Screen>
void TestAnalysisScreenshots::shoot(const QString& name, const QString& from, const QString& to, const QString& selection)
{
    auto s = std::make_unique<Screen>();
    s->setAttribute(Qt::WA_DeleteOnClose, false);
    s->setDatabasePath(m_farm);
    s->resize(1100, 760);
    s->show();
    QVERIFY(s->initialUpdate());
    QVERIFY(analysePeriod(*s, from, to, selection));
    QTest::qWait(200);
    QVERIFY(s->grab().save(QDir(m_dir).filePath(name + QStringLiteral(".png"))));
}

void TestAnalysisScreenshots::shots()
{
    shoot<CFFaQingSD>(QStringLiteral("faqing-sd"), QStringLiteral("20251211"), QStringLiteral("20261211"));
    shoot<CFPFanQingLvYF>(QStringLiteral("fanqinglv-yf"), QStringLiteral("20251211"), QStringLiteral("20261211"));
    shoot<CFPPeiZhongFangShi>(QStringLiteral("peizhong-fangshi"), QStringLiteral("20251211"), QStringLiteral("20261211"));
    shoot<CFPPeiZhongLvSD>(QStringLiteral("peizhonglv-sd"), QStringLiteral("20251211"), QStringLiteral("20261211"));
}

QTEST_MAIN(TestAnalysisScreenshots)
#include "test_analysisscreenshots.moc"
