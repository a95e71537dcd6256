// `Tamvo --create-demo PATH` killed half-way leaves nothing at PATH, so the next run can
// make the farm.
#include "herdschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestDemoInterrupted : public QObject
{
    Q_OBJECT
private slots:
    void killedRunLeavesNoFarm()
    {
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo");
        if (!QFile::exists(program))
            QSKIP("the program is not built");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("farm.db"));
        const QStringList args{"--create-demo", path, "--sows", "400", "--years", "4", "--now", "20261211"};
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.setReadChannel(QProcess::StandardError);
        p.start(program, args);
        QVERIFY(p.waitForStarted());
        // Killed once the farm is being written (its progress is past the start).
        QByteArray progress;
        while (!progress.contains("10%") && p.state() == QProcess::Running) {
            p.waitForReadyRead(100);
            progress += p.readAllStandardError();
        }
        QVERIFY2(p.state() == QProcess::Running, "the run ended before it could be killed");
        p.kill();
        p.waitForFinished();
        QVERIFY2(!QFile::exists(path), "a half-made farm at PATH");

        QProcess again;
        again.start(program, {"--create-demo", path, "--sows", "10", "--years", "1", "--now", "20261211"});
        QVERIFY(again.waitForFinished(120000));
        QCOMPARE(again.exitCode(), 0);
        QVERIFY(HerdSchema::isHerdDatabase(path));
        // Nothing is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("farm.db")});
    }
};

QTEST_GUILESS_MAIN(TestDemoInterrupted)
#include "test_demointerrupted.moc"
