// `Tamvo --export` onto a full disk: every write of the CSV, standard output and the PDF
// is checked; the run ends with exit code 1 and "不能写入文件: …", and an existing good
// file is never replaced by a cut-short one.
#include "testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// Above the 32 KB of the WAL index (-shm) that reading the database needs.
constexpr rlim_t kFileSizeLimit = 64 * 1024;
const QByteArray kGoodFile = "a good file from yesterday\n";

struct Run {
    int code = -1;
    QString err;
};

// The real program in its own process; limited: no file may grow past 64 KB there, as
// on a disk that is full (the write fails with EFBIG instead of killing the process).
Run runProgram(const QStringList& args, bool limited, const QString& stdoutFile = QString())
{
    Run r;
    QProcess p;
    p.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo"));
    p.setArguments(args);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    if (limited)
        p.setChildProcessModifier([] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{kFileSizeLimit, kFileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    p.start();
    if (!p.waitForFinished(120000))
        return r;
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestExportFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fullDisk_data();
    void fullDisk();
    void deviceIsWrittenNotReplaced();

private:
    TempHerdDb m_db;
};

void TestExportFaults::initTestCase()
{
    if (!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Tamvo")))
        QSKIP("the program is not built");
    // Enough cards for a CSV and a printout well past the limit.
    QString values;
    for (int i = 0; i < 1500; ++i)
        values += QStringLiteral("%1('LLAAAA1260%2','F','白','本场','20240101','no')")
                      .arg(i ? QStringLiteral(",") : QString())
                      .arg(i, 5, 10, QLatin1Char('0'));
    QVERIFY(m_db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,毛色,来源,出生日期,不存在) values ") + values));
}

void TestExportFaults::fullDisk_data()
{
    QTest::addColumn<QString>("target"); // "out", "pdf" or "stdout"
    QTest::newRow("csv file") << "out";
    QTest::newRow("pdf file") << "pdf";
    QTest::newRow("standard output") << "stdout";
}

void TestExportFaults::fullDisk()
{
    QFETCH(QString, target);
    const QString out = m_db.dir() + QStringLiteral("/archive.csv");
    const QString pdf = m_db.dir() + QStringLiteral("/archive.pdf");
    writeFile(out, kGoodFile);
    writeFile(pdf, kGoodFile);
    QStringList args{"--export", "种猪档案", "--database", m_db.path()};
    QString stdoutFile;
    QString named;
    if (target == QLatin1String("out")) {
        args << "--out" << out;
        named = out;
    } else if (target == QLatin1String("pdf")) {
        args << "--out" << "/dev/null" << "--pdf" << pdf;
        named = pdf;
    } else {
        stdoutFile = QStringLiteral("/dev/full");
        named = QStringLiteral("标准输出");
    }
    // Without the limit the same run works (the output is larger than the limit).
    if (target != QLatin1String("stdout")) {
        const Run fine = runProgram(args, false);
        QCOMPARE(fine.code, 0);
        QVERIFY(readAll(named).size() > qint64(kFileSizeLimit));
        writeFile(out, kGoodFile);
        writeFile(pdf, kGoodFile);
    }
    const Run r = runProgram(args, target != QLatin1String("stdout"), stdoutFile);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("不能写入文件: ") + named), qPrintable(r.err));
    QCOMPARE(readAll(out), kGoodFile);
    QCOMPARE(readAll(pdf), kGoodFile);
}

// Output named as a device is written there directly; a temporary file renamed over it
// would replace the device itself.
void TestExportFaults::deviceIsWrittenNotReplaced()
{
    const Run r = runProgram({"--export", "种猪档案", "--database", m_db.path(), "--out", "/dev/full"}, false);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("不能写入文件: /dev/full")), qPrintable(r.err));
    QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
    const Run n = runProgram({"--export", "种猪档案", "--database", m_db.path(), "--out", "/dev/null"}, false);
    QCOMPARE(n.code, 0);
    QVERIFY(!QFileInfo(QStringLiteral("/dev/null")).isFile());
}

QTEST_GUILESS_MAIN(TestExportFaults)
#include "test_exportfaults.moc"
