#include "exportcommand.h"
#include "registerscreens.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// `Tamvo --export` on the data-entry screens and the status query: each writes what
// its grid shows, and --pdf what its print command prints.
class TestEntryExport : public QObject
{
    Q_OBJECT

    static void fill(const TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,毛色,不存在,预产日期) values('LLYY00000000001','F','白','no','20250425'),"
            "('DDAB00000000009','M','棕红','no',NULL)")));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 配种(母猪耳号,母猪品种,公猪耳号,公猪品种,[配种日期(1)],[配种日期(2)],胎次,配种方式,返情否,预产日期,已产,检查时间) "
            "values('LLYY00000000001','LL','DDAB00000000009','DD','20250101A','20250101P','1','本交','N','20250425','yes','no')")));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 产仔记录(母猪耳号,胎次,公猪耳号,配种日期,预产日期,分娩日期,仔猪耳号,仔猪状态,初生重,带奶) values"
            "('LLYY00000000001','1','DDAB00000000009','20250101','20250425','20250423','DLAAAA125000001','正常','1.4','正常'),"
            "('LLYY00000000001','1','DDAB00000000009','20250101','20250425','20250423','DLAAAA125000002','死亡','0.9','正常')")));
    }
    static QStringList lines(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() { registerScreens(); }

    void exports_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("mustHold");
        QTest::newRow("archive") << QStringList{"32771"} << 3
                                 << "序号,耳号,性别,毛色,来源,入群时间,奶头数左,奶头数右,出生日期,出生重,断奶重,断奶日龄,父亲,母亲,父父,父母,母父,母母,父父父,父父母,父母父,父母母,母父父,母父母,母母父,母母母"
                                 << "1,DDAB00000000009,M,棕红";
        QTest::newRow("mating by caption") << QStringList{"配种记录"} << 3
                                           << "序号,受配母猪,,与配公猪,,配种日期,,胎次,配种方式,返情,预产日期,配种员,妊娠异常,发生时间,备注"
                                           << "1,LLYY00000000001,LL,DDAB00000000009,DD,20250101A,20250101P,1,本交,N,20250425";
        QTest::newRow("farrowing of a sow") << QStringList{"32773", "--sow", "LLYY00000000001"} << 3
                                            << "序号,耳号,出生状态,性别,奶头数(左),奶头数(右),毛色,初生重,转群去向,转群日期,实断奶重,断奶日龄,20日龄校重,28日龄校重,带奶,带奶母猪,备注"
                                            << "2,DLAAAA125000002,死亡";
        QTest::newRow("status query") << QStringList{"32889", "--sow", "LLYY00000000001"} << 2 << "母猪耳号,状态,日期,查询结果"
                                      << "LLYY00000000001,哺育,20250423,母猪LLYY00000000001处于哺育状态，生产日期为20250423";
    }
    void exports()
    {
        QFETCH(QStringList, options);
        QFETCH(int, lineCount);
        QFETCH(QString, firstLine);
        QFETCH(QString, mustHold);
        TempHerdDb db;
        fill(db);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--export")};
        args << options << QStringLiteral("--database") << db.path() << QStringLiteral("--out") << out;
        const bool printable = options.first() != QLatin1String("32889");
        if (printable)
            args << QStringLiteral("--pdf") << pdf;
        QString errors;
        QCOMPARE(ExportCommand::exec(args, &errors), 0);
        QCOMPARE(errors, QString());
        const QStringList l = lines(out);
        QCOMPARE(l.size(), lineCount);
        QCOMPARE(l.first(), firstLine);
        QVERIFY2(l.join('\n').contains(mustHold), qPrintable(l.join('\n')));
        if (printable) {
            QFile f(pdf);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.read(5) == "%PDF-");
        }
    }

    void badSowIsAnError()
    {
        TempHerdDb db;
        QTemporaryDir dir;
        QString errors;
        const QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--export"), QStringLiteral("32889"), QStringLiteral("--sow"),
                               QStringLiteral("LLYY"), QStringLiteral("--database"), db.path(), QStringLiteral("--out"),
                               dir.filePath(QStringLiteral("x.csv"))};
        QCOMPARE(ExportCommand::exec(args, &errors), 1);
        QVERIFY2(errors.contains(QStringLiteral("请选择正确的母猪耳号")), qPrintable(errors));
    }
};

QTEST_MAIN(TestEntryExport)
#include "test_entryexport.moc"
