#include "settingslists.h"

#include "dbconnection.h"
#include "dbrecordset.h"
#include "textutil.h"

namespace SettingsLists {

namespace {

// Runs work inside one transaction; rolls back when it answers false.
template <typename Work>
bool inTransaction(CDbConnection& conn, QString* error, Work work)
{
    auto fail = [&]() {
        if (error)
            *error = failureText(conn);
        return false;
    };
    if (!conn.IsOpen() || conn.BeginTrans() < 0)
        return fail();
    if (!work()) {
        const QString reason = failureText(conn);
        conn.RollbackTrans();
        if (error)
            *error = reason;
        return false;
    }
    if (!conn.CommitTrans()) {
        const QString reason = failureText(conn);
        conn.RollbackTrans();
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

} // namespace

const ListDef& definition(List list)
{
    static const ListDef defs[] = {
        {QStringLiteral("品种表"), {QStringLiteral("品种代号"), QStringLiteral("品种名称")},
         QStringLiteral("select 品种代号,品种名称 from 品种表 order by 品种代号"), 30},
        {QStringLiteral("毛色表"), {QStringLiteral("毛色")}, QStringLiteral("select 毛色 from 毛色表"), 30},
        {QStringLiteral("配种员表"), {QStringLiteral("姓名")}, QStringLiteral("select 姓名 from 配种员表"), 30},
        {QStringLiteral("饲养员表"), {QStringLiteral("姓名")}, QStringLiteral("select 姓名 from 饲养员表"), 30},
        {QStringLiteral("兽医表"), {QStringLiteral("姓名")}, QStringLiteral("select 姓名 from 兽医表"), 30},
        {QStringLiteral("来源"), {QStringLiteral("来源")}, QStringLiteral("select 来源 from 来源"), 100},
        {QStringLiteral("出售地点"), {QStringLiteral("地点")}, QStringLiteral("select 地点 from 出售地点"), 100},
    };
    return defs[static_cast<int>(list)];
}

QVector<QStringList> load(CDbConnection& conn, const ListDef& def)
{
    QVector<QStringList> entries;
    if (!conn.IsOpen())
        return entries;
    CDbRecordset rs(&conn);
    rs.SetCursorLocation(3);
    if (!rs.Open(def.loadSql))
        return entries;
    for (; !rs.IsEOF() && entries.size() < def.capacity; rs.MoveNext()) {
        QStringList entry;
        for (int i = 0; i < def.fields.size(); ++i) {
            QString text;
            rs.GetFieldText(i, text);
            entry << text;
        }
        entries << entry;
    }
    rs.Close();
    return entries;
}

bool store(CDbConnection& conn, const ListDef& def, const QVector<QStringList>& entries, QString* error)
{
    return inTransaction(conn, error, [&]() {
        CDbRecordset rs(&conn);
        rs.SetCursorLocation(3);
        rs.Open(QStringLiteral("delete from ") + def.table);
        if (!rs.Open(QStringLiteral("select * from ") + def.table))
            return false;
        for (const QStringList& entry : entries) {
            if (entry.value(0).isEmpty())
                break; // the entries in use end at the first empty one
            if (!rs.AddNew())
                return false;
            for (int i = 0; i < def.fields.size(); ++i)
                if (!rs.SetFieldText(def.fields.at(i), entry.value(i)))
                    return false;
            if (!rs.Update())
                return false;
        }
        rs.Close();
        return true;
    });
}

Thresholds loadThresholds(CDbConnection& conn)
{
    Thresholds t;
    if (!conn.IsOpen())
        return t;
    CDbRecordset rs(&conn);
    rs.SetCursorLocation(3);
    if (!rs.Open(QStringLiteral("select 名称,参数 from 参数 order by id")))
        return t;
    for (; !rs.IsEOF() && t.names.size() < 5; rs.MoveNext()) {
        QString name, value;
        rs.GetFieldText(0, name);
        rs.GetFieldText(1, value);
        t.names << name;
        t.values << TextUtil::intPrefix(value);
    }
    rs.Close();
    return t;
}

bool storeThresholds(CDbConnection& conn, const Thresholds& thresholds, QString* error)
{
    return inTransaction(conn, error, [&]() {
        CDbRecordset rs(&conn);
        rs.SetCursorLocation(3);
        if (!rs.Open(QStringLiteral("select 名称,参数 from 参数 order by id")))
            return false;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            QString name;
            rs.GetFieldText(0, name);
            const int i = thresholds.names.indexOf(name);
            if (i < 0 || i >= thresholds.values.size())
                continue;
            if (!rs.SetFieldText(1, QString::asprintf("%d", thresholds.values.at(i))) || !rs.Update())
                return false;
        }
        rs.Close();
        return true;
    });
}

QString failureText(CDbConnection& conn)
{
    if (!conn.IsOpen())
        return QStringLiteral("数据库没有连接。");
    const QString holder = conn.OtherWriteLockHolder();
    if (!holder.isEmpty())
        return QStringLiteral("窗口“%1”有尚未保存的修改，正占用数据库。\n请先在那个窗口保存或关闭它，再修改设置。").arg(holder);
    if (conn.LastErrorWasBusy())
        return QStringLiteral("数据库正被另一个程序修改。\n请稍后再试。");
    return conn.LastError();
}

} // namespace SettingsLists
