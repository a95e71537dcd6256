// Start-up and export facing the database file itself: a damaged file (bytes overwritten)
// is told, with the last backup offered, and nothing is written to it; a read-only
// database is told; a second copy asked for another database says so on both sides.
#include "ctamvoview.h"
#include "databasecheck.h"
#include "dbbackup.h"
#include "dbconnection.h"
#include "exportcommand.h"
#include "herdschema.h"
#include "mainframe.h"
#include "tamvoapp.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString damagedWords = QStringLiteral("数据库文件已损坏");

void fillCards(const TempHerdDb& db, int count, const QString& prefix)
{
    for (int i = 0; i < count; ++i)
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,备注,不存在) values ('%1%2','F','%3','no')")
                            .arg(prefix)
                            .arg(i, 15 - prefix.size(), 10, QLatin1Char('0'))
                            .arg(QString(200, QLatin1Char('x')))));
}

// Bytes in the middle of the file overwritten, as a failing disk leaves them.
void damage(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.size() > 8 * 4096);
    f.seek(f.size() / 2 / 4096 * 4096);
    f.write(QByteArray(3000, '\x5a'));
}

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

} // namespace

class TestDatabaseCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void damagedFileWithoutBackupStaysUntouched();
    void damagedFileIsReplacedByTheLastBackup();
    void exportOfADamagedFileEndsWithOne();
    void readOnlyDatabaseIsTold();
    void secondCopyWithAnotherDatabaseIsTold();
};

void TestDatabaseCheck::damagedFileWithoutBackupStaysUntouched()
{
    TempHerdDb db;
    fillCards(db, 300, QStringLiteral("LL"));
    damage(db.path());
    const QByteArray before = fileHash(db.path());
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = db.path();
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl)); // the window opens: the farm can still be looked at
    QVERIFY(!messages.shown().isEmpty());
    QVERIFY(messages.shown().at(0).text.startsWith(damagedWords));
    QVERIFY(messages.shown().at(0).text.contains(QStringLiteral("没有找到备份")));
    QCOMPARE(messages.shown().at(0).buttons, MsgButtons::Ok);

    // A screen opened now cannot write into the damaged file.
    messages.clear();
    auto view = std::make_unique<CTamvoView>();
    view->setAttribute(Qt::WA_DeleteOnClose, false);
    view->setDatabasePath(db.path());
    if (view->initialUpdate()) {
        QVERIFY(view->connection().IsReadOnly());
        QVERIFY(view->runCommand(32783)); // rows to type into
        const int row = view->grid()->GetRowCount() - 1;
        QVERIFY(view->grid()->EditCell(row, 1, QStringLiteral("LLXX00000000001")));
        QCOMPARE(view->grid()->GetItemText(row, 1), QString());
        QVERIFY(!view->isModified());
        view->queryClose();
    }
    view.reset();
    app.mainFrame()->close();
    app.ExitInstance();
    QCOMPARE(fileHash(db.path()), before);
    QVERIFY(!CDbConnection::ForceReadOnly()); // lifted when the program ends
}

void TestDatabaseCheck::damagedFileIsReplacedByTheLastBackup()
{
    TempHerdDb db;
    fillCards(db, 300, QStringLiteral("LL"));
    // Two backups in the folder beside the database; the newer one is offered.
    TempHerdDb older;
    TempHerdDb newer;
    fillCards(newer, 2, QStringLiteral("YY"));
    const QString folder = DbBackup::backupFolder(db.path());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(older.path(), folder + QStringLiteral("/lumbodata-20261209.db")));
    QVERIFY(QFile::copy(newer.path(), folder + QStringLiteral("/lumbodata-20261210.db")));
    damage(db.path());

    ScriptedMessages messages;
    messages.queue(MsgAnswer::Yes);
    CTamvoApp app;
    CommandLine cl;
    cl.database = db.path();
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));
    QVERIFY(messages.shown().size() >= 2);
    QVERIFY(messages.shown().at(0).text.startsWith(damagedWords));
    QVERIFY(messages.shown().at(0).text.contains(QStringLiteral("lumbodata-20261210.db")));
    QCOMPARE(messages.shown().at(0).buttons, MsgButtons::YesNo);
    QVERIFY(messages.texts().contains(QStringLiteral("数据库恢复成功!"), Qt::CaseSensitive) || std::any_of(messages.shown().begin(), messages.shown().end(), [](const AppMessage& m) { return m.text.startsWith(QStringLiteral("数据库恢复成功!")); }));
    QVERIFY(!CDbConnection::ForceReadOnly());
    QVERIFY(CDbConnection::WritesHeld().isEmpty());
    // The backup's records are back; the damaged file is kept beside it.
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 种猪卡")), QStringLiteral("2"));
    const QStringList kept = QDir(db.dir()).entryList({QStringLiteral("lumbodata.db.损坏-??????????????")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    app.mainFrame()->close();
    app.ExitInstance();
}

void TestDatabaseCheck::exportOfADamagedFileEndsWithOne()
{
    TempHerdDb db;
    fillCards(db, 300, QStringLiteral("LL"));
    damage(db.path());
    QString errors;
    const QString out = db.dir() + QStringLiteral("/archive.csv");
    QCOMPARE(ExportCommand::exec({"Tamvo", "--export", "种猪档案", "--database", db.path(), "--out", out}, &errors), 1);
    QVERIFY2(errors.contains(damagedWords), qPrintable(errors));
    QVERIFY(!QFile::exists(out));
}

void TestDatabaseCheck::readOnlyDatabaseIsTold()
{
    TempHerdDb db;
    ScriptedMessages messages;
    CDbConnection::SetForceReadOnly(true); // as a file on a CD opens
    CTamvoApp app;
    CommandLine cl;
    cl.database = db.path();
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));
    QVERIFY(!messages.shown().isEmpty());
    QVERIFY(messages.shown().at(0).text.contains(QStringLiteral("修改不能保存")));
    QCOMPARE(messages.shown().at(0).icon, MsgIcon::Warning);
    app.mainFrame()->close();
    app.ExitInstance();
}

void TestDatabaseCheck::secondCopyWithAnotherDatabaseIsTold()
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo");
    if (!QFile::exists(program))
        QSKIP("the program is not built");
    TempHerdDb db;
    TempHerdDb other;
    ScriptedMessages messages;
    CTamvoApp app;
    CommandLine cl;
    cl.database = db.path();
    cl.noSplash = true;
    QVERIFY(app.InitInstance(cl));

    QProcess second;
    second.setProgram(program);
    second.setArguments({"--nosplash", "--database", other.path()});
    second.start();
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
    QCOMPARE(second.exitCode(), 1);
    const QString err = QString::fromUtf8(second.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("已经在运行")), qPrintable(err));
    QVERIFY2(err.contains(other.path()), qPrintable(err));
    QVERIFY2(err.contains(db.path()), qPrintable(err));
    // The running window says it too.
    QTRY_VERIFY_WITH_TIMEOUT(!messages.shown().isEmpty(), 5000);
    QVERIFY(messages.shown().last().text.contains(other.path()));
    QVERIFY(messages.shown().last().text.contains(db.path()));

    // The same database again: handed over without a word, as before.
    messages.clear();
    QProcess same;
    same.start(program, {"--nosplash", "--database", db.path()});
    QVERIFY(same.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(same.state() == QProcess::NotRunning, 15000);
    QCOMPARE(same.exitCode(), 0);
    QTest::qWait(200);
    QVERIFY(messages.shown().isEmpty());
    app.mainFrame()->close();
    app.ExitInstance();
}

QTEST_MAIN(TestDatabaseCheck)
#include "test_databasecheck.moc"
