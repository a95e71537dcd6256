// Pictures of the settings hub and its editors for a person to look at: run with
// TAMVO_SHOT_DIR set; skipped otherwise.
#include "cman.h"
#include "cparamgriddlg.h"
#include "cpinzhong.h"
#include "csettingsdlg.h"
#include "csortlistctrl.h"
#include "settingslists.h"
#include "testsupport.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsScreenshots : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shots();

private:
    void shoot(QWidget* w, const QString& name);
    QString m_dir;
    QTemporaryDir m_settings;
};

void TestSettingsScreenshots::initTestCase()
{
    m_dir = qEnvironmentVariable("TAMVO_SHOT_DIR");
    if (m_dir.isEmpty())
        QSKIP("set TAMVO_SHOT_DIR to take the pictures");
    QDir().mkpath(m_dir);
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
}

void TestSettingsScreenshots::shoot(QWidget* w, const QString& name)
{
    w->show();
    QTest::qWait(100);
    QVERIFY(w->grab().save(QDir(m_dir).filePath(name + QStringLiteral(".png"))));
    w->hide();
}

void TestSettingsScreenshots::shots()
{
    TempHerdDb db;
    QVERIFY(db.exec("insert into 品种表 values('PP','皮特兰')"));
    CSettingsDlg hub;
    hub.setUp(db.path());
    shoot(&hub, "settings-hub");

    CPinZhong breeds;
    const auto entries = SettingsLists::load(hub.connection(), SettingsLists::definition(SettingsLists::List::Breeds));
    for (int i = 0; i < entries.size(); ++i) {
        breeds.m_list[i][0] = entries.at(i).value(0);
        breeds.m_list[i][1] = entries.at(i).value(1);
    }
    breeds.OnInitDialog();
    breeds.list()->SelectItem(2);
    breeds.OnModify();
    shoot(&breeds, "settings-breeds-modify");

    CMan vets;
    vets.m_title = QStringLiteral("设置配种员");
    vets.m_list[0] = QStringLiteral("张三");
    vets.m_list[1] = QStringLiteral("李四");
    vets.m_list[2] = QStringLiteral("王五");
    shoot(&vets, "settings-inseminators");

    CParamGridDlg physiology(CParamGridDlg::Mode::Physiology);
    physiology.setUp(db.path());
    shoot(&physiology, "settings-physiology");

    CParamGridDlg targets(CParamGridDlg::Mode::Targets);
    targets.setUp(db.path());
    shoot(&targets, "settings-targets");
}

QTEST_MAIN(TestSettingsScreenshots)
#include "test_settingsscreenshots.moc"
