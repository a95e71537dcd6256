#include "cbianhao.h"
#include "cchaodays.h"
#include "cflash.h"
#include "pkmessages.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestSettingsDialogs : public QObject
{
    Q_OBJECT
private slots:
    void farmNumberShowsMembers();
    void farmNumber_data();
    void farmNumber();
    void thresholdsShowMembers();
    void thresholds_data();
    void thresholds();
    void flashClosesOnlyOnLeftClick();
};

void TestSettingsDialogs::farmNumberShowsMembers()
{
    CBianHao dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("猪场编号"));
    dlg.m_farmNumber = "AB12";
    dlg.m_subFarmNumber = "3";
    dlg.show();
    QCOMPARE(dlg.farmEdit()->text(), QStringLiteral("AB12"));
    QCOMPARE(dlg.subFarmEdit()->text(), QStringLiteral("3"));
    QCOMPARE(dlg.farmEdit()->maxLength(), 4);
    QCOMPARE(dlg.subFarmEdit()->maxLength(), 1);
    dlg.reject();
}

void TestSettingsDialogs::farmNumber_data()
{
    QTest::addColumn<QString>("farm");
    QTest::addColumn<QString>("sub");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("letters and digits") << "ZX09" << "2" << true;
    QTest::newRow("farm number too short") << "ZX0" << "2" << false;
    QTest::newRow("no sub-farm number") << "ZX09" << "" << false;
    QTest::newRow("chinese is two bytes per character") << "猪场" << "2" << false;
    QTest::newRow("blank inside") << "Z 09" << "2" << false;
}

void TestSettingsDialogs::farmNumber()
{
    QFETCH(QString, farm);
    QFETCH(QString, sub);
    QFETCH(bool, accepted);
    LibraryMessages messages;
    CBianHao dlg;
    dlg.m_farmNumber = "AAAA";
    dlg.m_subFarmNumber = "1";
    dlg.show();
    dlg.farmEdit()->setText(farm); // typed text bypasses nothing here: setText skips the validator
    dlg.subFarmEdit()->setText(sub);
    dlg.OnOK();
    if (accepted) {
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.m_farmNumber, farm);
        QCOMPARE(dlg.m_subFarmNumber, sub);
        QVERIFY(messages.shown().isEmpty());
    } else {
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.m_farmNumber, QStringLiteral("AAAA"));
        QCOMPARE(dlg.m_subFarmNumber, QStringLiteral("1"));
        QCOMPARE(messages.shown().size(), 1);
        dlg.reject();
    }
}

void TestSettingsDialogs::thresholdsShowMembers()
{
    CChaoDays dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("警报设置"));
    const int values[] = {3, 4, 5, 6, 7};
    for (int i = 0; i < 5; ++i)
        dlg.m_values[i] = values[i];
    dlg.show();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(dlg.field(i)->text(), QString::number(values[i]));
        QCOMPARE(dlg.field(i)->objectName(), QString::number(CChaoDays::kFieldIds[i]));
    }
    dlg.reject();
}

void TestSettingsDialogs::thresholds_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("whole numbers") << QStringList{"1", "2", "3", "4", "10"} << true;
    QTest::newRow("blanks around") << QStringList{" 1", "2 ", "3", "4", "5"} << true;
    QTest::newRow("empty field") << QStringList{"1", "", "3", "4", "5"} << false;
    QTest::newRow("letters") << QStringList{"1", "2", "3", "x4", "5"} << false;
    QTest::newRow("fraction") << QStringList{"1", "2", "3.5", "4", "5"} << false;
    QTest::newRow("negative") << QStringList{"1", "2", "3", "4", "-5"} << false;
}

void TestSettingsDialogs::thresholds()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, accepted);
    LibraryMessages messages;
    CChaoDays dlg;
    dlg.show();
    for (int i = 0; i < 5; ++i)
        dlg.field(i)->setText(texts.at(i));
    dlg.OnOK();
    if (accepted) {
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dlg.m_values[i], texts.at(i).trimmed().toInt());
    } else {
        QVERIFY(dlg.isVisible()); // the dialog stays open
        QCOMPARE(messages.texts(), QStringList{"请输入一个整数。"});
        for (int i = 0; i < 5; ++i)
            QCOMPARE(dlg.m_values[i], 0);
        dlg.reject();
    }
}

void TestSettingsDialogs::flashClosesOnlyOnLeftClick()
{
    QPixmap picture(120, 80);
    picture.fill(Qt::darkGreen);
    CFlash flash(picture);
    QVERIFY(flash.windowFlags() & Qt::FramelessWindowHint);
    QSignalSpy finished(&flash, &QDialog::finished);
    flash.show();
    QCOMPARE(flash.size(), QSize(120, 80));
    QTest::keyClick(&flash, Qt::Key_Escape);
    QTest::keyClick(&flash, Qt::Key_Return);
    QTest::keyClick(&flash, Qt::Key_Enter);
    QTest::mouseClick(&flash, Qt::RightButton);
    QVERIFY(finished.isEmpty());
    QVERIFY(flash.isVisible());
    QTest::mouseClick(&flash, Qt::LeftButton);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(flash.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestSettingsDialogs)
#include "test_settingsdialogs.moc"
