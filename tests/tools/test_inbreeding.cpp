#include "inbreeding.h"

#include <QTest>

Q_DECLARE_METATYPE(Inbreeding::Pedigree)

// The coefficient of a litter from the two cards' pedigrees: the worked cases of the
// planner, and unrecorded ancestors that must not look like a shared one.
class TestInbreeding : public QObject
{
    Q_OBJECT

    // "父亲=P 父父=PA" -> a pedigree with those entries and the rest empty.
    static Inbreeding::Pedigree ped(const QString& entries)
    {
        Inbreeding::Pedigree p;
        const QStringList& names = Inbreeding::pedigreeColumns();
        for (const QString& e : entries.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int at = names.indexOf(e.section(QLatin1Char('='), 0, 0));
            Q_ASSERT(at >= 0);
            p[size_t(at)] = e.section(QLatin1Char('='), 1);
        }
        return p;
    }

    // A full pedigree whose every ancestor carries the prefix (unrelated to any other prefix).
    static QString family(const QString& prefix)
    {
        QStringList out;
        for (const QString& n : Inbreeding::pedigreeColumns())
            out << n + QLatin1Char('=') + prefix + n;
        return out.join(QLatin1Char(' '));
    }

private slots:
    void linesFollowTheCard()
    {
        const Inbreeding::Lines l = Inbreeding::lines(ped(family(QStringLiteral("x"))));
        QCOMPARE(l[0][0], QStringLiteral("x父亲"));
        QCOMPARE(l[0][2], QStringLiteral("x父父父"));
        QCOMPARE(l[3][1], QStringLiteral("x父母"));
        QCOMPARE(l[3][2], QStringLiteral("x父母母"));
        QCOMPARE(l[5][1], QStringLiteral("x母父"));
        QCOMPARE(l[5][2], QStringLiteral("x母父母"));
        QCOMPARE(l[7][0], QStringLiteral("x母亲"));
        QCOMPARE(l[7][2], QStringLiteral("x母母母"));
    }

    void coefficient_data()
    {
        QTest::addColumn<Inbreeding::Pedigree>("boar");
        QTest::addColumn<Inbreeding::Pedigree>("sow");
        QTest::addColumn<float>("f");
        QTest::addColumn<QString>("shown");

        const QString sireSide = QStringLiteral("父亲=P 父父=PF 父母=PM 父父父=a 父父母=b 父母父=c 父母母=d");
        const QString damSide = QStringLiteral("母亲=D 母父=DF 母母=DM 母父父=e 母父母=f 母母父=g 母母母=h");
        QTest::newRow("no shared ancestor") << ped(family(QStringLiteral("b"))) << ped(family(QStringLiteral("s"))) << 0.0f
                                            << QStringLiteral("0.00000");
        QTest::newRow("half-siblings by the sire")
            << ped(sireSide + QStringLiteral(" 母亲=BD 母父=BDF 母母=BDM")) << ped(sireSide + QStringLiteral(" 母亲=SD 母父=SDF 母母=SDM"))
            << 0.140625f << Inbreeding::coefficientText(0.140625f);
        QTest::newRow("full siblings") << ped(sireSide + QLatin1Char(' ') + damSide) << ped(sireSide + QLatin1Char(' ') + damSide)
                                       << 0.28125f << QStringLiteral("0.28125");
        QTest::newRow("one great-grandparent in the same position")
            << ped(QStringLiteral("父亲=B1 父父=B2 父父父=Z")) << ped(QStringLiteral("父亲=S1 父父=S2 父父父=Z")) << 0.0078125f
            << QStringLiteral("0.00781");
        QTest::newRow("sire is the sow's maternal grandsire")
            << ped(QStringLiteral("父亲=P 父父=A 父母=B 母亲=BD"))
            << ped(QStringLiteral("父亲=S1 母亲=S2 母父=P 母父父=A 母父母=B")) << 0.09375f << QStringLiteral("0.09375");
        // Only the parents recorded: still the sire's full weight, nothing more.
        QTest::newRow("half-siblings, grandparents unrecorded") << ped(QStringLiteral("父亲=P")) << ped(QStringLiteral("父亲=P"))
                                                                << 0.140625f << Inbreeding::coefficientText(0.140625f);
        // Empty entries on both cards are no common ancestor.
        QTest::newRow("unrecorded pedigrees") << ped(QString()) << ped(QString()) << 0.0f << QStringLiteral("0.00000");
        QTest::newRow("unrelated, partly recorded") << ped(QStringLiteral("父亲=B1 母母父=B2")) << ped(QStringLiteral("母亲=S1"))
                                                    << 0.0f << QStringLiteral("0.00000");
        // A common ancestor in different positions: its ancestors count as well.
        QTest::newRow("sow's sire is the boar's paternal grandsire")
            << ped(QStringLiteral("父亲=B1 父父=P 父父父=Q")) << ped(QStringLiteral("父亲=P 父父=Q")) << 0.078125f
            << Inbreeding::coefficientText(0.078125f);
    }

    void coefficient()
    {
        QFETCH(Inbreeding::Pedigree, boar);
        QFETCH(Inbreeding::Pedigree, sow);
        QFETCH(float, f);
        QFETCH(QString, shown);
        QCOMPARE(Inbreeding::coefficient(boar, sow), f);
        QCOMPARE(Inbreeding::coefficientText(Inbreeding::coefficient(boar, sow)), shown);
    }
};

QTEST_MAIN(TestInbreeding)
#include "test_inbreeding.moc"
