// Pictures of the five transfer screens on a farm database, for a person to look at:
// runs when TAMVO_SHOT_DIR (where the pictures go) and TAMVO_SHOT_DB (the farm) are
// set; skipped otherwise.
#include "cgbaoyuview.h"
#include "cghoubeiview.h"
#include "cgzaizhuview.h"
#include "cgzhongzhuview.h"

#include <QDir>
#include <QTest>
#include <memory>

class TestTransferScreenshots : public QObject
{
    Q_OBJECT

    template <class View>
    void shoot(const QString& name, int type)
    {
        auto v = std::make_unique<View>();
        v->setAttribute(Qt::WA_DeleteOnClose, false);
        v->setDatabasePath(m_db);
        QVERIFY(v->initialUpdate());
        if (type > 0) {
            v->chooseType(type);
            QVERIFY(v->refresh());
        }
        v->show();
        v->resize(1100, 560); // the grid follows the window
        QTest::qWait(100);
        QVERIFY(v->grab().save(QDir(m_dir).filePath(name + QStringLiteral(".png"))));
    }

    QString m_dir;
    QString m_db;

private slots:
    void initTestCase()
    {
        m_dir = qEnvironmentVariable("TAMVO_SHOT_DIR");
        m_db = qEnvironmentVariable("TAMVO_SHOT_DB");
        if (m_dir.isEmpty() || m_db.isEmpty())
            QSKIP("set TAMVO_SHOT_DIR and TAMVO_SHOT_DB to take the pictures");
        QDir().mkpath(m_dir);
    }

    void shots()
    {
        shoot<CGZaizhuView>(QStringLiteral("zaizhu-0"), 0);
        shoot<CGZaizhuView>(QStringLiteral("zaizhu-2"), 2);
        shoot<CGBaoYuView>(QStringLiteral("baoyu-0"), 0);
        shoot<CGHouBeiView>(QStringLiteral("houbei-0"), 0);
        shoot<CGFeiYuView>(QStringLiteral("feiyu-2"), 2);
        shoot<CGZhongZhuView>(QStringLiteral("zhongzhu-0"), 0);
        shoot<CGZhongZhuView>(QStringLiteral("zhongzhu-2"), 2);
    }
};

QTEST_MAIN(TestTransferScreenshots)
#include "test_transferscreenshots.moc"
