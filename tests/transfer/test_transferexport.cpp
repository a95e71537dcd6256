#include "exportcommand.h"
#include "registerscreens.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// `Tamvo --export` on the transfer screens: --type chooses the list, --from and --to the
// period, and "刷新" loads it.
class TestTransferExport : public QObject
{
    Q_OBJECT

    static void fill(const TempHerdDb& db)
    {
        QVERIFY(db.exec(QStringLiteral(
            "insert into 种猪卡(耳号,性别,来源时间,出生日期,不存在) values('LLYY00000000001','F','20250101','20240101','no'),"
            "('LLYY00000000002','F','20240101','20230101','yes')")));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 产仔记录(母猪耳号,胎次,公猪耳号,分娩日期,仔猪耳号,仔猪状态,转群去向,转群日期) values"
            "('LLYY00000000001','1','DDAB00000000009','20250423','DLAAAA125000001','正常',NULL,NULL),"
            "('LLYY00000000001','1','DDAB00000000009','20250423','DLAAAA125000002','正常','保育','20250514'),"
            "('LLYY00000000001','1','DDAB00000000009','20250423','DLAAAA125000003','正常','保育','20250514')")));
        QVERIFY(db.exec(QStringLiteral(
            "insert into 子猪管理(耳号,原状态,转群,转群时间,转出,转出时间,去向,单价,重量) values"
            "('DLAAAA125000002','保育','肥育猪','20250601','出售','20251101','屠宰场','16','110'),"
            "('DLAAAA125000003','保育','肥育猪','20250602',NULL,NULL,NULL,NULL,NULL),"
            "('LLYY00000000002','F','种猪',NULL,'淘汰','20250301',NULL,NULL,NULL)")));
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
        QTest::addColumn<QString>("mustHold");
        QTest::newRow("piglets, type 0") << QStringList{"仔猪管理"} << 2 << "1,DLAAAA125000001,LLYY00000000001";
        QTest::newRow("piglets moved") << QStringList{"32813", "--type", "1"} << 3 << "1,DLAAAA125000002,LLYY00000000001,DDAB00000000009,20250423,保育,20250514";
        QTest::newRow("piglets, other period") << QStringList{"32813", "--from", "20250424", "--to", "20250430"} << 1 << "序号,仔猪耳号";
        QTest::newRow("nursery moved on") << QStringList{"保育猪管理", "--type", "2"} << 2 << "1,DLAAAA125000003,肥育猪,20250602,20250423";
        QTest::newRow("reserve") << QStringList{"后备猪管理"} << 1 << "序号,耳号,转入日期,转出,转出时间,去向,单价,重量";
        QTest::newRow("fattening sold") << QStringList{"肥育猪管理", "--type", "2"} << 2 << "1,DLAAAA125000002,20250601,出售,20251101,屠宰场,16,110";
        QTest::newRow("breeding stock") << QStringList{"种猪管理", "--from", "20240101"} << 3 << "1,LLYY00000000001,,,,,,F,20240101,20250101";
        QTest::newRow("culled") << QStringList{"32817", "--type", "2", "--from", "20250101"} << 3 << "1,LLYY00000000002,淘汰,20250301";
    }
    void exports()
    {
        QFETCH(QStringList, options);
        QFETCH(int, lineCount);
        QFETCH(QString, mustHold);
        TempHerdDb db;
        fill(db);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--export")};
        args << options << QStringLiteral("--database") << db.path() << QStringLiteral("--out") << out << QStringLiteral("--now")
             << QStringLiteral("20251201");
        QString errors;
        QCOMPARE(ExportCommand::exec(args, &errors), 0);
        QCOMPARE(errors, QString());
        const QStringList l = lines(out);
        QVERIFY2(l.join('\n').contains(mustHold), qPrintable(l.join('\n')));
        QCOMPARE(l.size(), lineCount);
    }

    void typeOutOfRangeIsAnError()
    {
        TempHerdDb db;
        QTemporaryDir dir;
        QString errors;
        const QStringList args{QStringLiteral("Tamvo"), QStringLiteral("--export"), QStringLiteral("32813"), QStringLiteral("--type"),
                               QStringLiteral("3"), QStringLiteral("--database"), db.path(), QStringLiteral("--out"),
                               dir.filePath(QStringLiteral("x.csv"))};
        QCOMPARE(ExportCommand::exec(args, &errors), 2);
        QVERIFY2(errors.contains(QStringLiteral("--type")), qPrintable(errors));
    }
};

QTEST_MAIN(TestTransferExport)
#include "test_transferexport.moc"
