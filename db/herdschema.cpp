#include "herdschema.h"
#include "dbconnection.h"
#include "textutil.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace HerdSchema {

namespace {

QStringList split(const char* spaced)
{
    return QString::fromUtf8(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString ident(const QString& n)
{
    return QLatin1Char('"') + n + QLatin1Char('"');
}

const char* const kIndexes[] = {
    "create index ix_card_tag on 种猪卡(耳号)",
    "create index ix_mating_sow on 配种(母猪耳号)",
    "create index ix_mating_boar on 配种(公猪耳号)",
    "create index ix_mating_date on 配种(\"配种日期(1)\")",
    "create index ix_litter_sow on 产仔记录(母猪耳号, 胎次)",
    "create index ix_litter_date on 产仔记录(分娩日期)",
    "create index ix_litter_piglet on 产仔记录(仔猪耳号)",
    "create index ix_litter_moved on 产仔记录(转群日期)",
    "create index ix_pigs_tag on 子猪管理(耳号)",
    "create index ix_pigs_moved on 子猪管理(转群时间)",
};

struct Breed {
    const char* code;
    const char* name;
};
// Common breeds and their usual crosses; the farm edits the list in the settings.
const Breed kBreeds[] = {
    {"LL", "长白"}, {"YY", "大白"}, {"DD", "杜洛克"}, {"LY", "长大"}, {"YL", "大长"}, {"DL", "杜长"}, {"DY", "杜大"},
};

struct ListRows {
    const char* table;
    const char* column;
    const char* values;
};
const ListRows kLists[] = {
    {"毛色表", "毛色", "白 黑 棕红 花"},
    {"来源", "来源", "本场 外购"},
    {"出售地点", "地点", "本地市场 屠宰场"},
    {"配种方式表", "配种方式", "人工授精 本交 人工辅助本交"},
    {"配种异常", "异常", "正常 流产 死亡 空怀"},
    {"仔猪状态表", "状态", "正常 死亡 木乃伊"},
    {"去向表", "状态", "自留 出售 死亡"},
    {"库表", "库名称", "后备猪 肥育猪 死亡"},
};

bool exec(sqlite3* db, const QString& sql, QString* error)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(err ? err : "?") + QStringLiteral(" — ") + sql;
        sqlite3_free(err);
        return false;
    }
    return true;
}

QString insertRow(const QString& table, const QStringList& values)
{
    QStringList q;
    for (const QString& v : values)
        q << TextUtil::sqlQuote(v);
    return QStringLiteral("insert into %1 values (%2)").arg(ident(table), q.join(QLatin1Char(',')));
}

} // namespace

const QVector<Table>& tables()
{
    static const QVector<Table> t = {
        {QStringLiteral("种猪卡"),
         split("耳号 性别 毛色 来源 来源时间 奶头数(左) 奶头数(右) 出生日期 出生重 断奶重 断奶日龄 父亲 母亲 父父 父母 "
               "母父 母母 父父父 父父母 父母父 父母母 母父父 母父母 母母父 母母母 返情日期 断奶日期 预产日期 不存在 备注")},
        {QStringLiteral("配种"),
         split("id 母猪耳号 母猪品种 公猪耳号 公猪品种 配种日期(1) 配种日期(2) 胎次 配种方式 返情否 预产日期 配种员 异常 "
               "异常时间 备注 已产 检查时间")},
        {QStringLiteral("产仔记录"),
         split("母猪耳号 母猪品种 胎次 公猪耳号 公猪品种 配种方式 配种日期 预产日期 分娩日期 妊娠天数 饲养员 仔猪耳号 "
               "仔猪状态 性别 奶头数左 奶头数右 毛色 初生重 实断奶日 实断奶重 20日龄校重 28日龄校重 转群去向 转群日期 "
               "带奶 带奶母猪号 备注")},
        {QStringLiteral("子猪管理"), split("耳号 原状态 转群 转群时间 转出 转出时间 去向 单价 重量")},
        {QStringLiteral("参数"), split("id 名称 参数")},
        {QStringLiteral("生理周期"), split("品种 初配日龄 妊娠天数 哺乳天数 返情后发情天数 断奶后发情天数 流产后发情天数")},
        {QStringLiteral("生产目标"),
         split("品种 基础母猪数 年更新率 年产窝数 产仔率 返情率 活仔数/窝 死胎数/窝 木乃伊/窝 平均出生重 0-1仔猪死亡数 "
               "2-8仔猪死亡数 8以上仔猪死亡数 后备母猪数 流产率 断奶日龄 断奶重 母猪最高胎次 窝最少产仔数 配种总数 公猪总数")},
        {QStringLiteral("品种表"), split("品种代号 品种名称")},
        {QStringLiteral("毛色表"), split("毛色")},
        {QStringLiteral("配种员表"), split("姓名")},
        {QStringLiteral("饲养员表"), split("姓名")},
        {QStringLiteral("兽医表"), split("姓名")},
        {QStringLiteral("来源"), split("来源")},
        {QStringLiteral("出售地点"), split("地点")},
        {QStringLiteral("配种方式表"), split("配种方式")},
        {QStringLiteral("配种异常"), split("异常")},
        {QStringLiteral("仔猪状态表"), split("状态")},
        {QStringLiteral("去向表"), split("状态")},
        {QStringLiteral("库表"), split("库名称")},
    };
    return t;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

static QString createStatement(const Table& t)
{
    QStringList cols;
    for (const QString& c : t.columns) {
        if (t.name == QStringLiteral("配种") && c == QLatin1String("id"))
            cols << QStringLiteral("id integer primary key autoincrement");
        else
            cols << ident(c) + QStringLiteral(" text collate nocase");
    }
    return QStringLiteral("create table %1 (%2)").arg(ident(t.name), cols.join(QStringLiteral(", ")));
}

static bool fillNewFarm(sqlite3* db, QString* error)
{
    for (const Table& t : tables())
        if (!exec(db, createStatement(t), error))
            return false;
    for (const char* ix : kIndexes)
        if (!exec(db, QString::fromUtf8(ix), error))
            return false;

    const char* const params[] = {"初配天数", "待配天数", "预产天数", "断奶天数", "星期超配数"};
    const char* const values[] = {"2", "2", "2", "2", "3"};
    for (int i = 0; i < 5; ++i)
        if (!exec(db, insertRow(QStringLiteral("参数"), {QString::number(i + 1), QString::fromUtf8(params[i]), QString::fromUtf8(values[i])}), error))
            return false;

    for (const Breed& b : kBreeds) {
        if (!exec(db, insertRow(QStringLiteral("品种表"), {QString::fromUtf8(b.code), QString::fromUtf8(b.name)}), error))
            return false;
        // First mating at 230 days, 114 days' pregnancy, weaning at 28 days, heat 21 days
        // after a return or an abortion and 7 days after weaning.
        if (!exec(db, insertRow(QStringLiteral("生理周期"), {QString::fromUtf8(b.code), QStringLiteral("230"), QStringLiteral("114"),
                                                          QStringLiteral("28"), QStringLiteral("21"), QStringLiteral("7"), QStringLiteral("21")}),
                  error))
            return false;
    }
    // Whole-farm targets from common commercial figures.
    const QStringList targets = {QStringLiteral("所有品种"), QStringLiteral("300"), QStringLiteral("40"), QStringLiteral("2.3"),
                                 QStringLiteral("85"),       QStringLiteral("8"),   QStringLiteral("11.5"), QStringLiteral("1"),
                                 QStringLiteral("0.4"),      QStringLiteral("1.4"), QStringLiteral("0.5"), QStringLiteral("0.6"),
                                 QStringLiteral("0.4"),      QStringLiteral("60"),  QStringLiteral("1"),   QStringLiteral("24"),
                                 QStringLiteral("6.5"),      QStringLiteral("8"),   QStringLiteral("7"),   QStringLiteral("700"),
                                 QStringLiteral("15")};
    if (!exec(db, insertRow(QStringLiteral("生产目标"), targets), error))
        return false;
    for (const ListRows& l : kLists)
        for (const QString& v : QString::fromUtf8(l.values).split(QLatin1Char(' ')))
            if (!exec(db, insertRow(QString::fromUtf8(l.table), {v}), error))
                return false;
    return true;
}

bool createHerdDatabase(const QString& path, QString* error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("文件已存在: ") + path;
        return false;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "open failed");
        sqlite3_close(db);
        QFile::remove(path);
        return false;
    }
    const bool ok = exec(db, QStringLiteral("pragma journal_mode=wal"), error) && exec(db, QStringLiteral("begin"), error) &&
                    fillNewFarm(db, error) && exec(db, QStringLiteral("commit"), error);
    sqlite3_close(db);
    if (!ok) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
    }
    return ok;
}

bool isHerdDatabase(const QString& path)
{
    CDbConnection c;
    if (!c.Open(path))
        return false;
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "select count(*) from sqlite_master where type='table' and name in ('种猪卡','配种','产仔记录','子猪管理')";
    bool ok = false;
    if (sqlite3_prepare_v2(c.handle(), sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        ok = sqlite3_column_int(stmt, 0) == 4;
    sqlite3_finalize(stmt);
    return ok;
}

bool ensureHerdDatabase(const QString& path, QString* error)
{
    if (QFileInfo::exists(path))
        return true;
    return createHerdDatabase(path, error);
}

} // namespace HerdSchema
