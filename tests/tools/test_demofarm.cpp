// The demo farm: its data obey the rules the screens keep, its history leads to the card
// state of every sow, every daily list has work on its last day, and its key figures lie
// in the published ranges of its profile.
#include "dbconnection.h"
#include "demofarm.h"
#include "entryrules.h"
#include "sowstatus.h"
#include "textutil.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

const QDate kToday(2026, 12, 11);

// Plain reads of a farm file.
class Db
{
public:
    explicit Db(const QString& path) { sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr); }
    ~Db() { sqlite3_close(m_db); }
    QVector<QStringList> rows(const QString& sql) const
    {
        QVector<QStringList> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            qWarning("%s: %s", sqlite3_errmsg(m_db), qPrintable(sql));
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList r;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            out << r;
        }
        sqlite3_finalize(st);
        return out;
    }
    QStringList column(const QString& sql) const
    {
        QStringList out;
        for (const QStringList& r : rows(sql))
            out << r.value(0);
        return out;
    }
    double number(const QString& sql) const { return rows(sql).value(0).value(0).toDouble(); }

private:
    sqlite3* m_db = nullptr;
};

QString day(int daysBack)
{
    return TextUtil::dateText(kToday.addDays(-daysBack));
}

// Whole days from a date text to the farm's today (the lists' "days since" at midday).
int since(const QString& text)
{
    return int(TextUtil::parseDateText(text.left(8)).daysTo(kToday));
}

} // namespace

class TestDemoFarm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QHash<QString, QString> m_farms; // profile -> file

    QString makeFarm(const QString& name, int sows, int years, quint64 seed, DemoFarm::Profile profile)
    {
        DemoFarm::Options o;
        o.path = m_dir.filePath(name);
        o.sows = sows;
        o.years = years;
        o.seed = seed;
        o.profile = profile;
        o.today = kToday;
        QString error;
        DemoFarm::Summary s;
        if (!DemoFarm::create(o, &error, &s))
            qWarning("%s", qPrintable(error));
        return o.path;
    }

    QString farm()
    {
        QFETCH(QString, profile);
        return m_farms.value(profile);
    }

    static void profiles()
    {
        QTest::addColumn<QString>("profile");
        QTest::newRow("average") << QStringLiteral("average");
        QTest::newRow("high") << QStringLiteral("high");
    }

    // Every table's rows in storage order, as one fingerprint.
    static QByteArray fingerprint(const QString& path)
    {
        Db db(path);
        QCryptographicHash h(QCryptographicHash::Sha256);
        for (const char* t : {"种猪卡", "配种", "产仔记录", "子猪管理", "配种员表", "生理周期", "生产目标"})
            for (const QStringList& r : db.rows(QStringLiteral("select * from %1 order by rowid").arg(QString::fromUtf8(t))))
                h.addData(r.join(QLatin1Char('|')).toUtf8());
        return h.result();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_farms.insert(QStringLiteral("average"), makeFarm(QStringLiteral("average.db"), 300, 3, 1, DemoFarm::Profile::Average));
        m_farms.insert(QStringLiteral("high"), makeFarm(QStringLiteral("high.db"), 300, 3, 1, DemoFarm::Profile::High));
        for (const QString& f : m_farms)
            QVERIFY(QFile::exists(f));
    }

    void refusesExistingFileAndBadOptions()
    {
        const QString existing = m_dir.filePath(QStringLiteral("existing.db"));
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        DemoFarm::Options o;
        o.path = existing;
        o.today = kToday;
        QString error;
        QVERIFY(!DemoFarm::create(o, &error));
        QVERIFY(error.contains(QStringLiteral("已存在")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
        f.close();

        o.path = m_dir.filePath(QStringLiteral("bad.db"));
        o.sows = 5;
        QVERIFY(!DemoFarm::create(o, &error));
        o.sows = 300;
        o.farmNumber = QStringLiteral("AAA"); // the piglet tags would not be 15 long
        QVERIFY(!DemoFarm::create(o, &error));
        QVERIFY(!QFile::exists(o.path));
    }

    void sameSeedSameFarm()
    {
        const QString a = makeFarm(QStringLiteral("a.db"), 40, 1, 7, DemoFarm::Profile::Average);
        const QString b = makeFarm(QStringLiteral("b.db"), 40, 1, 7, DemoFarm::Profile::Average);
        const QString c = makeFarm(QStringLiteral("c.db"), 40, 1, 8, DemoFarm::Profile::Average);
        QCOMPARE(fingerprint(a), fingerprint(b));
        QVERIFY(fingerprint(a) != fingerprint(c));
    }

    void dataRules_data() { profiles(); }
    void dataRules()
    {
        Db db(farm());
        const QStringList codes = db.column(QStringLiteral("select 品种代号 from 品种表"));
        const QSet<QString> breeds(codes.begin(), codes.end());
        // Every ear tag is 15 long and starts with a breed code.
        const QStringList tagColumns = {
            QStringLiteral("select 耳号 from 种猪卡"),       QStringLiteral("select 父亲 from 种猪卡 where 父亲 is not null"),
            QStringLiteral("select 母母母 from 种猪卡 where 母母母 is not null"),     QStringLiteral("select 母猪耳号 from 配种"),
            QStringLiteral("select 公猪耳号 from 配种"),     QStringLiteral("select 仔猪耳号 from 产仔记录"),
            QStringLiteral("select 公猪耳号 from 产仔记录"), QStringLiteral("select 带奶母猪号 from 产仔记录 where 带奶母猪号 is not null"),
            QStringLiteral("select 耳号 from 子猪管理")};
        for (const QString& sql : tagColumns)
            for (const QString& tag : db.column(sql)) {
                QVERIFY2(TextUtil::gbkLength(tag) == 15, qPrintable(sql + QLatin1Char(' ') + tag));
                QVERIFY2(breeds.contains(tag.left(2)), qPrintable(tag));
            }
        // Dates are real YYYYMMDD texts; the sentinels only where they belong.
        const QStringList dateColumns = {
            QStringLiteral("select 来源时间 from 种猪卡"), QStringLiteral("select 出生日期 from 种猪卡"),
            QStringLiteral("select 返情日期 from 种猪卡 where 返情日期<>'none'"),
            QStringLiteral("select 断奶日期 from 种猪卡 where 断奶日期<>'none'"),
            QStringLiteral("select 预产日期 from 种猪卡"), QStringLiteral("select 预产日期 from 配种"),
            QStringLiteral("select 异常时间 from 配种"), QStringLiteral("select 检查时间 from 配种 where 检查时间<>'no'"),
            QStringLiteral("select 配种日期 from 产仔记录"), QStringLiteral("select 分娩日期 from 产仔记录"),
            QStringLiteral("select 转群日期 from 产仔记录"), QStringLiteral("select 转群时间 from 子猪管理"),
            QStringLiteral("select 转出时间 from 子猪管理")};
        for (const QString& sql : dateColumns)
            for (const QString& d : db.column(sql))
                if (!d.isEmpty()) {
                    QVERIFY2(TextUtil::isValidDateText(d), qPrintable(sql + QLatin1Char(' ') + d));
                    QVERIFY2(d <= TextUtil::dateText(kToday.addDays(120)), qPrintable(sql + QLatin1Char(' ') + d));
                }
        QCOMPARE(db.number(QStringLiteral("select count(*) from 种猪卡 where 返情日期='none' and 断奶日期<>'none'")), 0.0);
        // Mating times: date + A/P, the second service after the first, none after today.
        const QString lastService = day(0) + QLatin1Char('P');
        for (const QStringList& r : db.rows(QStringLiteral("select [配种日期(1)], [配种日期(2)], 返情否, 已产 from 配种"))) {
            QVERIFY2(TextUtil::isValidMatingTime(r[0]), qPrintable(r[0]));
            QVERIFY2(r[0] <= lastService, qPrintable(r[0]));
            if (!r[1].isEmpty()) {
                QVERIFY2(TextUtil::isValidMatingTime(r[1]), qPrintable(r[1]));
                QVERIFY(r[1] > r[0]);
                QVERIFY2(r[1] <= lastService, qPrintable(r[1]));
            }
            QVERIFY(r[2] == QLatin1String("Y") || r[2] == QLatin1String("N"));
            QVERIFY(r[3] == QLatin1String("yes") || r[3] == QLatin1String("no"));
        }
        // At most one open mating per sow, and only for sows on the farm.
        const QString open = QStringLiteral("已产='no' and (异常时间='' or 异常时间 is null) and 返情否='N'");
        QCOMPARE(db.number(QStringLiteral("select count(*) from (select 母猪耳号 from 配种 where %1 group by 母猪耳号 having count(*)>1)").arg(open)), 0.0);
        QCOMPARE(db.number(QStringLiteral("select count(*) from 配种 where %1 and 母猪耳号 in (select 耳号 from 种猪卡 where 不存在='yes')").arg(open)), 0.0);
        // Piglet tags: unique, and laid out as the farrowing screen proposes them.
        QCOMPARE(db.number(QStringLiteral("select count(*) - count(distinct 仔猪耳号) from 产仔记录")), 0.0);
        for (const QStringList& r : db.rows(QStringLiteral("select 仔猪耳号, 公猪耳号, 母猪耳号, 分娩日期 from 产仔记录 where rowid % 97 = 0"))) {
            QCOMPARE(r[0].left(9), EntryRules::pigletTagPrefix(r[1], r[2], QStringLiteral("AAAA"), QStringLiteral("1"), r[3], QString()));
        }
        // Litters: each farrowed mating has its piglets, each litter its farrowed mating.
        QCOMPARE(db.number(QStringLiteral("select count(*) from 配种 m where 已产='yes' and not exists (select 1 from 产仔记录 p where p.母猪耳号=m.母猪耳号 and p.胎次=m.胎次 and p.配种日期=substr(m.[配种日期(1)],1,8))")), 0.0);
        QCOMPARE(db.number(QStringLiteral("select count(*) from (select distinct 母猪耳号, 胎次, 配种日期 from 产仔记录) p where not exists (select 1 from 配种 m where 已产='yes' and p.母猪耳号=m.母猪耳号 and p.胎次=m.胎次 and p.配种日期=substr(m.[配种日期(1)],1,8))")), 0.0);
        QCOMPARE(db.number(QStringLiteral("select count(*) from (select distinct 母猪耳号, 胎次 from 产仔记录)")),
                 db.number(QStringLiteral("select count(*) from 配种 where 已产='yes'")));
        // Breeding pigs that left: card marked, one disposal row; and the other way round.
        QCOMPARE(db.number(QStringLiteral("select count(*) from 子猪管理 where 转群='种猪' and 耳号 not in (select 耳号 from 种猪卡 where 不存在='yes')")), 0.0);
        QCOMPARE(db.number(QStringLiteral("select count(*) from 种猪卡 where 不存在='yes' and 耳号 not in (select 耳号 from 子猪管理 where 转群='种猪' and 转出<>'')")), 0.0);
        QCOMPARE(db.number(QStringLiteral("select count(*) from 种猪卡 where 不存在 not in ('yes','no')")), 0.0);
        // Weaned piglets carry their age and the corrected weights of that age.
        for (const QStringList& r : db.rows(QStringLiteral("select 实断奶日, 实断奶重, [20日龄校重], [28日龄校重], 分娩日期, 转群日期 from 产仔记录 where 转群去向='保育' and rowid % 13 = 0"))) {
            const EntryRules::CorrectedWeights w = EntryRules::correctedWeights(r[1].toDouble(), r[0].toInt());
            QCOMPARE(r[2], w.day20);
            QCOMPARE(r[3], w.day28);
            QCOMPARE(since(r[4]) - since(r[5]), r[0].toInt());
        }
        // Fostered-out piglets name a sow that farrowed within a day of their dam.
        const QString jd = QStringLiteral("julianday(substr(%1,1,4)||'-'||substr(%1,5,2)||'-'||substr(%1,7,2))");
        QCOMPARE(db.number(QStringLiteral("select count(*) from 产仔记录 p where 带奶='寄出' and not exists (select 1 from 产仔记录 q where q.母猪耳号=p.带奶母猪号 and abs(%1 - %2) <= 1)")
                               .arg(jd.arg(QStringLiteral("q.分娩日期")), jd.arg(QStringLiteral("p.分娩日期")))),
                 0.0);
        QVERIFY(db.number(QStringLiteral("select count(*) from 产仔记录 where 带奶='寄出'")) > 0);
        // Kept reserve pigs became cards with "none" dates and the parents of their litter.
        QCOMPARE(db.number(QStringLiteral("select count(*) from 子猪管理 z where 转出='自留' and not exists (select 1 from 种猪卡 c, 产仔记录 p where c.耳号=z.耳号 and p.仔猪耳号=z.耳号 and c.父亲=p.公猪耳号 and c.母亲=p.母猪耳号 and c.出生日期=p.分娩日期)")), 0.0);
    }

    // The status query reads from every sow's card what her latest records say.
    void cardStateFollowsHistory_data() { profiles(); }
    void cardStateFollowsHistory()
    {
        const QString path = farm();
        Db db(path);
        CDbConnection conn;
        QVERIFY(conn.Open(path));
        using SowStatus::State;
        QHash<State, int> seen;
        for (const QString& sow : db.column(QStringLiteral("select 耳号 from 种猪卡 where 性别='F' and 不存在='no'"))) {
            const QString q = TextUtil::sqlQuote(sow);
            const QStringList m = db.rows(QStringLiteral("select [配种日期(1)], 胎次, 返情否, 已产, 异常时间, 预产日期 from 配种 where 母猪耳号=%1 order by id desc limit 1").arg(q)).value(0);
            State state;
            QString date;
            if (m.isEmpty()) {
                const bool kept = db.number(QStringLiteral("select count(*) from 子猪管理 where 耳号=%1 and 转出='自留'").arg(q)) > 0;
                state = kept ? State::Reserve : State::Undetermined;
            } else if (m[2] == QLatin1String("Y")) {
                state = State::EmptyReturned;
                date = m[0].left(8);
            } else if (m[3] == QLatin1String("yes")) {
                const QString litter = QStringLiteral("母猪耳号=%1 and 胎次='%2' and 带奶<>'寄出'").arg(q, m[1]);
                const bool atFoot = db.number(QStringLiteral("select count(*) from 产仔记录 where %1 and (转群日期 is null or 转群日期='')").arg(litter)) > 0;
                const QString last = db.column(QStringLiteral("select max(转群日期) from 产仔记录 where %1").arg(litter)).value(0);
                if (atFoot || last < m[5]) { // a litter lost before its due date leaves the card as it was
                    state = State::Nursing;
                    date = db.column(QStringLiteral("select 分娩日期 from 产仔记录 where %1").arg(litter)).value(0);
                } else {
                    state = State::EmptyWeaned;
                    date = last;
                }
            } else {
                // open, or ended by an abortion or a late empty finding, which no screen
                // writes to the card: she still reads as pregnant with that date
                state = State::Pregnant;
                date = m[5];
            }
            const SowStatus::Status s = SowStatus::query(conn, sow);
            QVERIFY2(s.state == state && s.date == date,
                     qPrintable(QStringLiteral("%1: %2 %3, history says %4 %5")
                                    .arg(sow, SowStatus::stateName(s.state), s.date, SowStatus::stateName(state), date)));
            ++seen[state];
        }
        for (State st : {State::Reserve, State::Pregnant, State::Nursing, State::EmptyWeaned})
            QVERIFY2(seen.value(st) > 0, qPrintable(SowStatus::stateName(st)));
    }

    // On the last day every reminder and alert has work: the selections of the lists.
    void everyListHasRows_data() { profiles(); }
    void everyListHasRows()
    {
        Db db(farm());
        const int afterWeaning = int(db.number(QStringLiteral("select 断奶后发情天数 from 生理周期 where 品种='LY'")));
        const int afterReturn = int(db.number(QStringLiteral("select 返情后发情天数 from 生理周期 where 品种='LY'")));
        const int firstMating = int(db.number(QStringLiteral("select 初配日龄 from 生理周期 where 品种='LY'")));
        const int nursing = int(db.number(QStringLiteral("select 哺乳天数 from 生理周期 where 品种='LY'")));
        const int n = 2; // the thresholds of a new farm
        auto heatDays = [&](const QStringList& r) { // days since the expected heat, or INT_MIN
            if (r[1].size() == 8)
                return since(r[1]) - afterReturn;
            if (r[2].size() == 8)
                return since(r[2]) - afterWeaning;
            return INT_MIN;
        };
        QMap<QString, int> lists;
        for (const QStringList& r : db.rows(QStringLiteral("select 耳号,返情日期,断奶日期 from 种猪卡 where 不存在='no' and ((返情日期 between '%1' and '%2') or (断奶日期 between '%1' and '%2'))").arg(day(28), day(3))))
            lists[QStringLiteral("母猪待配提醒")] += heatDays(r) != INT_MIN && qAbs(heatDays(r)) <= n;
        for (const QStringList& r : db.rows(QStringLiteral("select 耳号,返情日期,断奶日期 from 种猪卡 where 不存在='no' and (返情日期 <= '%1' or 断奶日期 < '%1')").arg(day(3))))
            lists[QStringLiteral("母猪待配警报")] += heatDays(r) != INT_MIN && heatDays(r) > n;
        for (const QString& b : db.column(QStringLiteral("select 出生日期 from 种猪卡 where 返情日期='none' and 断奶日期='none' and 出生日期 between '%1' and '%2'").arg(day(250), day(180))))
            lists[QStringLiteral("后备母猪适配提醒")] += qAbs(firstMating - since(b)) <= n;
        for (const QString& b : db.column(QStringLiteral("select 出生日期 from 种猪卡 where 返情日期='none' and 断奶日期='none' and 出生日期 between '%1' and '%2'").arg(day(240), day(180))))
            lists[QStringLiteral("后备母猪适配警报")] += since(b) - firstMating > n;
        const QString open = QStringLiteral("已产='no' and (异常时间='' or 异常时间 is null) and 返情否='N'");
        lists[QStringLiteral("母猪妊娠提醒")] = int(db.number(QStringLiteral("select count(*) from 配种 where %1").arg(open)));
        for (const QString& m : db.column(QStringLiteral("select [配种日期(1)] from 配种 where %1 and (检查时间='no' or 检查时间 is null)").arg(open))) {
            lists[QStringLiteral("母猪妊娠检查提醒")] += since(m) >= 21 && since(m) <= 35;
            lists[QStringLiteral("母猪妊娠检查警报")] += since(m) > 35;
        }
        lists[QStringLiteral("母猪预产提醒")] = int(db.number(QStringLiteral("select count(*) from 配种 where %1 and 预产日期 >= '%2'").arg(open, day(n))));
        lists[QStringLiteral("母猪预产警报")] = int(db.number(QStringLiteral("select count(*) from 配种 where %1 and 预产日期 < '%2'").arg(open, day(n))));
        lists[QStringLiteral("母猪哺乳提醒")] = db.rows(QStringLiteral("select 1 from 产仔记录 where 转群日期='' or 转群日期 is null group by 母猪耳号,胎次,公猪耳号,配种日期,配种方式")).size();
        // Weaning: nursing sows (no weaning date, a due date) with a litter of that pregnancy.
        for (const QStringList& r : db.rows(QStringLiteral("select 耳号, 预产日期 from 种猪卡 where (断奶日期='' or 断奶日期 is null) and 预产日期<>'' and 预产日期<>'none' and 不存在='no'"))) {
            const QString born = db.column(QStringLiteral("select max(分娩日期) from 产仔记录 where 母猪耳号=%1 and 预产日期='%2'").arg(TextUtil::sqlQuote(r[0]), r[1])).value(0);
            if (born.isEmpty())
                continue;
            lists[since(born) <= nursing + n ? QStringLiteral("母猪断奶提醒") : QStringLiteral("母猪断奶警报")] += 1;
        }
        // Boars over the weekly limit (weeks 1-7, 8-14, 15-21, 22-end) in the last half year.
        QHash<QString, int> weeks;
        for (const QStringList& r : db.rows(QStringLiteral("select 公猪耳号, [配种日期(1)] from 配种 where [配种日期(1)] >= '%1'").arg(day(183))))
            ++weeks[r[0] + r[1].left(6) + QString::number(qMin(3, (r[1].mid(6, 2).toInt() - 1) / 7))];
        const int limit = int(db.number(QStringLiteral("select 参数 from 参数 where 名称='星期超配数'")));
        for (int c : weeks)
            lists[QStringLiteral("公猪配种频率警报")] += c > limit;
        lists[QStringLiteral("公猪配种频率提醒")] = weeks.size();
        QCOMPARE(lists.size(), 14); // eight reminders and six alerts
        for (auto it = lists.cbegin(); it != lists.cend(); ++it)
            QVERIFY2(it.value() > 0, qPrintable(it.key()));
    }

    // Key figures straight from the database, over the last year, against the published
    // ranges of the profile. The ranges are widened by about the spread of one year of
    // a 300-sow farm (a farrowing rate over 800 services varies by about 1.3 points).
    void keyFigures_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<double>("frLow");
        QTest::addColumn<double>("frHigh");
        QTest::addColumn<double>("baLow");
        QTest::addColumn<double>("baHigh");
        QTest::addColumn<double>("mortLow");
        QTest::addColumn<double>("mortHigh");
        QTest::addColumn<double>("wsiLow");
        QTest::addColumn<double>("wsiHigh");
        QTest::addColumn<double>("psyLow");
        QTest::addColumn<double>("psyHigh");
        // average: farrowing rate 81-84 %; 15.0 born of which 1.12 stillborn and 0.41
        // mummified; 12-14 % dying before weaning; wean-to-service about 7 d (one farm's
        // distribution 6.1 d); 24-27 weaned per sow and year.
        QTest::newRow("average") << QStringLiteral("average") << 79.5 << 85.5 << 12.5 << 14.0 << 11.0 << 15.0 << 5.0 << 8.0 << 23.5 << 27.5;
        // high: 88-90 %; 20-21 born, about 23 % of them lost by weaning (stillborn
        // included), so about 18 born alive and 14 % of them dying; about 5 d; 34-37.
        QTest::newRow("high") << QStringLiteral("high") << 86.5 << 91.5 << 17.0 << 19.5 << 11.0 << 17.0 << 4.0 << 6.0 << 33.0 << 38.0;
    }
    void keyFigures()
    {
        QFETCH(double, frLow);
        QFETCH(double, frHigh);
        QFETCH(double, baLow);
        QFETCH(double, baHigh);
        QFETCH(double, mortLow);
        QFETCH(double, mortHigh);
        QFETCH(double, wsiLow);
        QFETCH(double, wsiHigh);
        QFETCH(double, psyLow);
        QFETCH(double, psyHigh);
        Db db(farm());
        // Farrowing rate: services of the year that ended 120 days ago that farrowed.
        const QString services = QStringLiteral("from 配种 where [配种日期(1)] between '%1A' and '%2P'").arg(day(485), day(120));
        const double fr = 100.0 * db.number(QStringLiteral("select count(*) %1 and 已产='yes'").arg(services))
                          / db.number(QStringLiteral("select count(*) %1").arg(services));
        // Born alive per litter farrowed in the last year.
        const QString year = QStringLiteral("分娩日期 between '%1' and '%2'").arg(day(365), day(0));
        const double litters = db.number(QStringLiteral("select count(*) from (select distinct 母猪耳号, 胎次 from 产仔记录 where %1)").arg(year));
        const double bornAlive = db.number(QStringLiteral("select count(*) from 产仔记录 where %1 and 仔猪状态='正常'").arg(year));
        // Deaths before weaning of the born alive, litters old enough to be weaned.
        const QString weanedLitters = QStringLiteral("分娩日期 between '%1' and '%2' and 仔猪状态='正常'").arg(day(400), day(45));
        const double mortality = 100.0 * db.number(QStringLiteral("select count(*) from 产仔记录 where %1 and 转群去向='死亡'").arg(weanedLitters))
                                 / db.number(QStringLiteral("select count(*) from 产仔记录 where %1").arg(weanedLitters));
        // Wean-to-service: from each weaning of the year to the sow's next service.
        double wsiSum = 0;
        int wsiCount = 0;
        for (const QStringList& r : db.rows(QStringLiteral("select w.母猪耳号, w.d, (select min(substr([配种日期(1)],1,8)) from 配种 m where m.母猪耳号=w.母猪耳号 and [配种日期(1)] > w.d) "
                                                           "from (select 母猪耳号, 胎次, max(转群日期) d from 产仔记录 where 转群去向='保育' and 带奶<>'寄出' group by 母猪耳号, 胎次) w "
                                                           "where w.d between '%1' and '%2'").arg(day(400), day(60)))) {
            if (r[2].isEmpty())
                continue; // culled after weaning
            wsiSum += since(r[1]) - since(r[2]);
            ++wsiCount;
        }
        const double wsi = wsiSum / qMax(1, wsiCount);
        // Pigs weaned per sow and year: weaned in the last year over the mean number of
        // mated sows on the farm (counted monthly).
        const double weaned = db.number(QStringLiteral("select count(*) from 产仔记录 where 转群去向='保育' and 转群日期 between '%1' and '%2'").arg(day(365), day(0)));
        double sows = 0;
        for (int k = 0; k < 12; ++k) {
            const QString d = day(15 + 30 * k);
            sows += db.number(QStringLiteral("select count(*) from 种猪卡 c where 性别='F' and 来源时间<='%1' and (不存在='no' or 耳号 not in (select 耳号 from 子猪管理 where 原状态='F' and 转出时间<'%1')) "
                                             "and exists (select 1 from 配种 m where m.母猪耳号=c.耳号 and [配种日期(1)]<='%1P')").arg(d));
        }
        const double psy = weaned / (sows / 12.0);
        qInfo("farrowing rate %.1f %%, born alive %.2f, pre-weaning mortality %.1f %%, wean-to-service %.2f d, weaned per sow and year %.1f",
              fr, bornAlive / litters, mortality, wsi, psy);
        QVERIFY2(fr >= frLow && fr <= frHigh, qPrintable(QString::number(fr)));
        QVERIFY2(bornAlive / litters >= baLow && bornAlive / litters <= baHigh, qPrintable(QString::number(bornAlive / litters)));
        QVERIFY2(mortality >= mortLow && mortality <= mortHigh, qPrintable(QString::number(mortality)));
        QVERIFY2(wsi >= wsiLow && wsi <= wsiHigh, qPrintable(QString::number(wsi)));
        QVERIFY2(psy >= psyLow && psy <= psyHigh, qPrintable(QString::number(psy)));
    }

    // Founders come from a small population: some boar and sow on the farm share an
    // ancestor, so the mating planner meets non-zero inbreeding coefficients.
    void boarsAndSowsAreRelated()
    {
        Db db(m_farms.value(QStringLiteral("average")));
        const QString pedigree = QStringLiteral("耳号,父亲,母亲,父父,父母,母父,母母,父父父,父父母,父母父,父母母,母父父,母父母,母母父,母母母");
        auto ancestors = [&](const QString& sex) {
            QVector<QSet<QString>> out;
            for (const QStringList& r : db.rows(QStringLiteral("select %1 from 种猪卡 where 性别='%2' and 不存在='no'").arg(pedigree, sex))) {
                QSet<QString> s;
                for (int i = 1; i < r.size(); ++i)
                    if (!r[i].isEmpty())
                        s.insert(r[i]);
                out << s;
            }
            return out;
        };
        const auto boars = ancestors(QStringLiteral("M"));
        const auto sows = ancestors(QStringLiteral("F"));
        int related = 0;
        for (const auto& b : boars)
            for (const auto& s : sows)
                related += b.intersects(s);
        QVERIFY2(related > 0, "no boar shares an ancestor with a sow");
        QVERIFY(related < boars.size() * sows.size()); // but not every pair
    }
};

QTEST_GUILESS_MAIN(TestDemoFarm)
#include "test_demofarm.moc"
