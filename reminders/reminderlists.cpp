#include "reminderlists.h"
#include "appclock.h"
#include "boarfrequency.h"
#include "dbconnection.h"
#include "herdparams.h"
#include "reminderquery.h"
#include "textutil.h"

#include <QHash>

using ReminderQuery::key;
using ReminderQuery::readAll;
using TextUtil::dateText;

namespace ReminderLists {

namespace {

const QColor kDarkRed(204, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

QStringList headersOf(std::initializer_list<const char*> names)
{
    QStringList out{QStringLiteral("序号")};
    for (const char* n : names)
        out << QString::fromUtf8(n);
    return out;
}

// Days since a date text (its first 8 characters), truncated toward zero.
int daysSince(const QDateTime& now, const QString& text)
{
    return TextUtil::dayDifference(now, TextUtil::parseDateText(text.left(8)));
}

QString number(int n)
{
    return QString::number(n);
}

// ---- 母猪待配 ----

// The sow's latest litter: the parity of her latest farrowing, its boar and its number of
// piglets (one 产仔记录 row each). Loaded for all the sows of a list in one statement.
class LatestLitters
{
public:
    struct Litter {
        bool any = false;
        QString parity;
        QString boar;
        int piglets = 0;
    };

    LatestLitters(CDbConnection& conn, const QString& sowSelect)
    {
        QVector<QStringList> rows;
        m_ok = readAll(conn,
                       QStringLiteral("select 母猪耳号,胎次,公猪耳号,分娩日期 from 产仔记录 where 母猪耳号 in (%1) order by rowid")
                           .arg(sowSelect),
                       rows);
        QHash<QString, QVector<int>> bySow;
        for (int i = 0; i < rows.size(); ++i)
            bySow[key(rows[i][0])] << i;
        for (auto it = bySow.cbegin(); it != bySow.cend(); ++it) {
            // The parity of the row with the latest farrowing date.
            int latest = -1;
            for (int i : it.value())
                if (latest < 0 || rows[i][3] > rows[latest][3])
                    latest = i;
            const QString parity = rows[latest][1];
            Litter l;
            // An unknown parity matches no row.
            if (!parity.isEmpty()) {
                for (int i : it.value()) {
                    if (key(rows[i][1]) != key(parity))
                        continue;
                    if (!l.any) {
                        l.any = true;
                        l.parity = rows[i][1];
                        l.boar = rows[i][2];
                    }
                    ++l.piglets;
                }
            }
            m_litters.insert(it.key(), l);
        }
    }
    bool ok() const { return m_ok; }
    Litter of(const QString& sow) const { return m_litters.value(key(sow)); }

private:
    bool m_ok = false;
    QHash<QString, Litter> m_litters;
};

ReminderTable daiPei(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "断奶/返情时间", "间隔天数", "毛色", "奶头数", "出生日期", "上胎胎次", "上胎与配公猪",
                           "上胎产活仔数", "备注"});
    t.headerFormat = 0x15;
    const int n = HerdParams::threshold(conn, QStringLiteral("待配天数"), 2);
    const QDate today = now.date();
    const QString from = dateText(today.addDays(-28));
    const QString to = dateText(today.addDays(-3));
    // The alert has no lower bound; a return exactly three days ago counts there, a weaning not.
    const QString window = alert ? QStringLiteral("(返情日期 <= '%1' or 断奶日期 < '%1')").arg(to)
                                 : QStringLiteral("((返情日期 between '%1' and '%2') or (断奶日期 between '%1' and '%2'))").arg(from, to);
    const QString where = QStringLiteral(" from 种猪卡 where 不存在='no' and ") + window;
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 耳号,毛色,[奶头数(左)],[奶头数(右)],出生日期,返情日期,断奶日期,备注") + where +
                     QStringLiteral(" order by 耳号,来源时间,出生日期,rowid"),
                 rows)) {
        t.openFailed = true;
        t.reportOpenFailure = true;
        return t;
    }
    const HerdParams::PhysiologyTable phys(conn, {QStringLiteral("返情后发情天数"), QStringLiteral("断奶后发情天数")});
    const LatestLitters litters(conn, QStringLiteral("select 耳号") + where);
    for (const QStringList& r : rows) {
        const QString& tag = r[0];
        const QString& back = r[5];
        const QString& weaned = r[6];
        QDate heat;
        if (TextUtil::gbkLength(back) == 8)
            heat = TextUtil::parseDateText(back).addDays(phys.value(tag, 0, 0));
        else if (TextUtil::gbkLength(weaned) == 8)
            heat = TextUtil::parseDateText(weaned).addDays(phys.value(tag, 1, 0));
        if (!heat.isValid())
            continue;
        const int d = TextUtil::dayDifference(now, heat);
        if (alert ? !(d > n) : !(-n <= d && d <= n))
            continue;
        const QString shown = back.isEmpty() ? weaned : back;
        ReminderRow row;
        row.cells << tag << shown << number(daysSince(now, shown)) << r[1] << ReminderQuery::teats(r[2], r[3]) << r[4];
        if (!litters.ok()) {
            row.cells << QStringLiteral("---") << QStringLiteral("---") << QStringLiteral("---");
        } else {
            const LatestLitters::Litter l = litters.of(tag);
            row.cells << l.parity << l.boar << number(l.piglets);
        }
        row.cells << r[7];
        // A sow back in heat after a failed service stands out from the weaned ones.
        if (!alert && !back.isEmpty())
            row.colour = kDarkRed;
        t.rows << row;
    }
    return t;
}

// ---- 后备适配 ----

ReminderTable shiPei(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "出生日龄", "来源", "毛色", "奶头数", "出生日期", "出生重", "断奶重", "断奶日龄", "父亲",
                           "母亲", "备注"});
    const int n = HerdParams::threshold(conn, QStringLiteral("初配天数"), 2);
    const QDate today = now.date();
    const QString from = dateText(today.addDays(alert ? -240 : -250));
    const QString to = dateText(today.addDays(-180));
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 耳号,来源,毛色,[奶头数(左)],[奶头数(右)],出生日期,出生重,断奶重,断奶日龄,父亲,母亲,备注 "
                                "from 种猪卡 where 返情日期='none' and 断奶日期='none' and (出生日期 between '%1' and '%2')")
                     .arg(from, to),
                 rows)) {
        t.openFailed = true;
        return t;
    }
    const HerdParams::PhysiologyTable phys(conn, {QStringLiteral("初配日龄")});
    for (const QStringList& r : rows) {
        const int age = daysSince(now, r[5]);
        const int firstMating = phys.value(r[0], 0, 0);
        const bool listed = alert ? age - firstMating > n : (-n <= firstMating - age && firstMating - age <= n);
        if (!listed)
            continue;
        ReminderRow row;
        row.cells << r[0] << number(age) << r[1] << r[2] << ReminderQuery::teats(r[3], r[4]) << r[5] << r[6] << r[7] << r[8]
                  << r[9] << r[10] << r[11];
        t.rows << row;
    }
    return t;
}

// ---- 妊娠, 妊娠检查 ----

const QString kOpenMating = QStringLiteral("已产='no' and (异常时间='' or 异常时间 is null) and 返情否='N'");

ReminderTable renShen(CDbConnection& conn, const QDateTime& now)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "胎次", "妊娠天数", "配种日期", "与配公猪", "配种方式", "预产日期", "配种员", "备注"});
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 母猪耳号,胎次,[配种日期(1)],公猪耳号,配种方式,预产日期,配种员,备注 from 配种 where ") +
                     kOpenMating + QStringLiteral(" order by [配种日期(1)] asc,id"),
                 rows)) {
        t.openFailed = true;
        return t;
    }
    for (const QStringList& r : rows) {
        ReminderRow row;
        row.cells << r[0] << r[1] << number(daysSince(now, r[2])) << r[2].left(8) << r[3] << r[4] << r[5] << r[6] << r[7];
        t.rows << row;
    }
    return t;
}

ReminderTable jianCha(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "胎次", "与配公猪", "配种时间", "已配天数", "配种方式", "配种员", "备注"});
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 母猪耳号,胎次,公猪耳号,[配种日期(1)],配种方式,配种员,备注 from 配种 where ") + kOpenMating +
                     QStringLiteral(" and (检查时间='no' or 检查时间 is null) order by [配种日期(1)] asc,id"),
                 rows)) {
        t.openFailed = true;
        return t;
    }
    for (const QStringList& r : rows) {
        const int d = daysSince(now, r[3]);
        // Checks are due from the 21st to the 35th day after the service; later, overdue.
        if (alert ? !(d > 35) : !(21 <= d && d <= 35))
            continue;
        ReminderRow row;
        row.cells << r[0] << r[1] << r[2] << r[3].left(8) << number(d) << r[4] << r[5] << r[6];
        t.rows << row;
    }
    // The alert's grid is as long as its statement; the rows after the overdue ones stay empty.
    if (alert)
        t.dataRowsShown = rows.size();
    return t;
}

// ---- 预产 ----

ReminderTable yuChan(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "与配公猪", "胎次", "配种时间", "预产日期", "配种方式", "几次配成", "配种员", "备注"});
    const int n = HerdParams::threshold(conn, QStringLiteral("预产天数"), 2);
    const QDate today = now.date();
    const QString where = QStringLiteral(" from 配种 where 已产<>'yes' and 返情否='N' and (异常时间='' or 异常时间 is null) and 预产日期 %1'%2'")
                              .arg(alert ? QStringLiteral("< ") : QStringLiteral(">="), dateText(today.addDays(-n)));
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 母猪耳号,公猪耳号,胎次,[配种日期(1)],预产日期,配种方式,配种员,备注") + where +
                     QStringLiteral(" order by 预产日期,id"),
                 rows)) {
        t.openFailed = true;
        return t;
    }
    // How many services each listed sow had in that parity, for all sows at once.
    QVector<QStringList> counts;
    readAll(conn,
            QStringLiteral("select 母猪耳号,胎次,count(*) from 配种 where 胎次 is not null and 母猪耳号 in (select 母猪耳号") + where +
                QStringLiteral(") group by 母猪耳号,胎次"),
            counts);
    QHash<QString, int> services;
    for (const QStringList& c : counts)
        services.insert(key(c[0], c[1]), TextUtil::intPrefix(c[2]));
    const int dueBy = dateText(today.addDays(n)).toInt();
    for (const QStringList& r : rows) {
        ReminderRow row;
        row.cells << r[0] << r[1] << r[2] << r[3].left(8) << r[4] << r[5] << number(services.value(key(r[0], r[2]), 0)) << r[6]
                  << r[7];
        // Due within the next N days, or already due.
        if (!alert && TextUtil::intPrefix(r[4]) <= dueBy)
            row.colour = kRed;
        t.rows << row;
    }
    return t;
}

// ---- 哺乳 ----

ReminderTable buYu(CDbConnection& conn)
{
    ReminderTable t;
    t.headers = headersOf({"母猪耳号", "胎次", "公猪耳号", "配种日期", "配种方式"});
    QVector<QStringList> rows;
    if (!readAll(conn,
                 QStringLiteral("select 母猪耳号,胎次,公猪耳号,配种日期,配种方式 from 产仔记录 where 转群日期='' or 转群日期 is null "
                                "group by 母猪耳号,胎次,公猪耳号,配种日期,配种方式 order by 配种日期,母猪耳号,胎次,公猪耳号,配种方式"),
                 rows)) {
        t.openFailed = true;
        t.reportOpenFailure = true;
        return t;
    }
    for (const QStringList& r : rows)
        t.rows << ReminderRow{r, QColor()};
    return t;
}

// ---- 断奶 ----

struct Mating {
    QString boar, date, way, note, parity;
    bool found = false;
};

ReminderTable duanNai(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    t.headers = headersOf({"耳号", "胎次", "产仔时间", "哺乳日龄", "公猪耳号", "配种方式", "产仔数", "死亡数", "未断奶仔猪数",
                           "妊娠天数", "备注"});
    const int n = HerdParams::threshold(conn, QStringLiteral("断奶天数"), 2);
    const QDate today = now.date();
    const QString sowWhere = QStringLiteral(" from 种猪卡 where (断奶日期='' or 断奶日期 is null) and (预产日期<>'' and "
                                            "预产日期<>'none' and 预产日期 is not null) and 不存在='no'");
    QVector<QStringList> sows;
    if (!readAll(conn, QStringLiteral("select 耳号") + sowWhere + QStringLiteral(" order by 预产日期,rowid"), sows)) {
        t.openFailed = true;
        return t;
    }
    const HerdParams::PhysiologyTable phys(conn, {QStringLiteral("哺乳天数")});

    // Every mating of these sows, once: the latest farrowed one, and whether a later one followed it.
    QVector<QStringList> matings;
    readAll(conn,
            QStringLiteral("select 母猪耳号,公猪耳号,[配种日期(1)],配种方式,备注,胎次,已产 from 配种 where 母猪耳号 in (select 耳号") +
                sowWhere + QStringLiteral(") order by id"),
            matings);
    QHash<QString, Mating> farrowed;
    QHash<QString, QString> latestService;
    for (const QStringList& m : matings) {
        const QString sow = key(m[0]);
        const QString date = key(m[2]);
        QString& latest = latestService[sow];
        if (date > latest)
            latest = date;
        if (key(m[6]) != QLatin1String("yes"))
            continue;
        Mating& f = farrowed[sow];
        // Latest by mating date; of two on one date, the later record.
        if (!f.found || date >= key(f.date))
            f = {m[1], m[2], m[3], m[4], m[5], true};
    }

    // Served again after her latest litter: that litter was weaned in fact, whatever the card says.
    auto servedAgain = [&](const QString& sow, const Mating& m) { return latestService.value(key(sow)) > key(m.date); };

    // The litter rows of each remaining sow's farrowed parity inside her window (which
    // depends on her breed's nursing days), in one statement.
    struct Litter {
        int total = 0, weaned = 0, dead = 0;
        QString farrowed;
    };
    QHash<QString, Litter> litters;
    QStringList wanted;
    for (const QStringList& s : sows) {
        const auto it = farrowed.constFind(key(s[0]));
        if (it == farrowed.constEnd() || servedAgain(s[0], *it))
            continue;
        const int nursing = phys.value(s[0], 0, 28);
        wanted << QStringLiteral("(%1,%2,'%3')")
                      .arg(TextUtil::sqlQuote(s[0]), TextUtil::sqlQuote(it->parity), dateText(today.addDays(-nursing - n)));
    }
    if (!wanted.isEmpty()) {
        wanted.removeDuplicates();
        // The look-up by sow and parity must go through the litter index: left to itself the
        // planner may index the whole table for a few hundred litters.
        auto litterSql = [&](const QString& hint) {
            return QStringLiteral("with w(t,p,e) as (values ") + wanted.join(QLatin1Char(',')) +
                   QStringLiteral(") select 母猪耳号,分娩日期,实断奶日,转群去向 from w cross join 产仔记录 ") + hint +
                   QStringLiteral(" on 母猪耳号=w.t and 胎次=w.p where 分娩日期 ") + (alert ? QStringLiteral("<") : QStringLiteral(">=")) +
                   QStringLiteral(" w.e order by 产仔记录.rowid");
        };
        QVector<QStringList> rows;
        if (!readAll(conn, litterSql(QStringLiteral("indexed by ix_litter_sow")), rows))
            readAll(conn, litterSql(QString()), rows);
        for (const QStringList& r : rows) {
            Litter& l = litters[key(r[0])];
            ++l.total;
            if (!r[2].isEmpty())
                ++l.weaned;
            if (r[3] == QStringLiteral("死亡"))
                ++l.dead;
            l.farrowed = r[1];
        }
    }

    for (const QStringList& s : sows) {
        const QString& tag = s[0];
        const auto m = farrowed.constFind(key(tag));
        if (m == farrowed.constEnd())
            continue;
        if (servedAgain(tag, *m))
            continue;
        const Litter l = litters.value(key(tag));
        if (l.total == 0)
            continue;
        const int nursing = phys.value(tag, 0, 28);
        const int unweaned = l.total - l.dead - l.weaned;
        ReminderRow row;
        row.cells << tag << m->parity << l.farrowed << number(daysSince(now, l.farrowed)) << m->boar << m->way
                  << number(l.total) << number(l.dead) << number(unweaned)
                  << (unweaned == 0 ? QStringLiteral("数据错误!") : number(daysSince(now, m->date))) << m->note;
        if (unweaned == 0)
            row.colour = kBlue;
        else if (!alert && TextUtil::intPrefix(l.farrowed) <= dateText(today.addDays(-nursing + n)).toInt())
            row.colour = kRed;
        t.rows << row;
    }
    return t;
}

// ---- 公猪配种频率 ----

ReminderTable pinLv(CDbConnection& conn, const QDateTime& now, bool alert)
{
    ReminderTable t;
    const QDate end = now.date();
    const QDate start = BoarFrequency::defaultStart(end);
    if (alert) {
        t.headers = headersOf({"公猪耳号", "时间", "星期", "配种次数"});
        t.rows = BoarFrequency::alert(conn, start, end, BoarFrequency::threshold(conn));
        return t;
    }
    t.headers = QStringList{QStringLiteral("序号"), QStringLiteral("公猪耳号")};
    const BoarFrequency::Table table = BoarFrequency::reminder(conn, start, end);
    for (const QString& month : table.monthLabels)
        for (const char* w : {"一周", "二周", "三周", "四周"})
            t.headers << month + QString::fromUtf8(w);
    for (const BoarFrequency::BoarWeeks& b : table.boars) {
        ReminderRow row;
        row.cells << b.boar;
        for (int c : b.counts)
            row.cells << number(c);
        t.rows << row;
    }
    return t;
}

} // namespace

const QVector<Definition>& definitions()
{
    static const QVector<Definition> defs = {
        {32819, Kind::DaiPei, false, 2, QStringLiteral("母猪适配提醒")},
        {32820, Kind::ShiPei, false, 2, QStringLiteral("后备适配提醒")},
        {32821, Kind::RenShen, false, 2, QStringLiteral("母猪妊娠提醒")},
        {32822, Kind::JianCha, false, 2, QStringLiteral("母猪妊娠检查提醒")},
        {32823, Kind::YuChan, false, 2, QStringLiteral("母猪预产提醒")},
        {32824, Kind::BuYu, false, 2, QStringLiteral("母猪哺乳提醒")},
        {32825, Kind::DuanNai, false, 2, QStringLiteral("母猪断奶提醒")},
        {32826, Kind::PinLv, false, 2, QStringLiteral("公猪配种频率提醒")},
        {32827, Kind::DaiPei, true, 3, QStringLiteral("母猪适配警报")},
        {32828, Kind::ShiPei, true, 3, QStringLiteral("后备适配警报")},
        {32829, Kind::JianCha, true, 3, QStringLiteral("母猪妊娠检查警报")},
        {32830, Kind::YuChan, true, 3, QStringLiteral("母猪预产警报")},
        {32831, Kind::DuanNai, true, 3, QStringLiteral("母猪断奶警报")},
        {32832, Kind::PinLv, true, 3, QStringLiteral("公猪配种频率警报")},
    };
    return defs;
}

const Definition* find(int commandId)
{
    for (const Definition& d : definitions())
        if (d.commandId == commandId)
            return &d;
    return nullptr;
}

ReminderTable compute(const Definition& def, CDbConnection& conn, const QDateTime& now)
{
    switch (def.kind) {
    case Kind::DaiPei:
        return daiPei(conn, now, def.alert);
    case Kind::ShiPei:
        return shiPei(conn, now, def.alert);
    case Kind::RenShen:
        return renShen(conn, now);
    case Kind::JianCha:
        return jianCha(conn, now, def.alert);
    case Kind::YuChan:
        return yuChan(conn, now, def.alert);
    case Kind::BuYu:
        return buYu(conn);
    case Kind::DuanNai:
        return duanNai(conn, now, def.alert);
    case Kind::PinLv:
        return pinLv(conn, now, def.alert);
    }
    return ReminderTable();
}

int rowCount(int commandId, const QString& databasePath)
{
    const Definition* def = find(commandId);
    if (!def)
        return -1;
    CDbConnection conn;
    if (!conn.Open(databasePath))
        return -1;
    return compute(*def, conn, AppClock::now()).rows.size();
}

} // namespace ReminderLists
