#pragma once
// A small farm for the reminder tests: a temporary herd database, the program's clock
// fixed at a chosen moment, quick rows for cards, matings and litters, and the lists
// computed headless.
#include "appclock.h"
#include "dbconnection.h"
#include "reminderlists.h"
#include "testsupport.h"
#include "textutil.h"

#include <QTest>

// Menu command ids of the lists.
enum ListId : int {
    TDaiPei = 32819, TShiPei, TRenShen, TJianCha, TYuChan, TBuYu, TDuanNai, TPinLv,
    JDaiPei, JShiPei, JJianCha, JYuChan, JDuanNai, JPinLv,
};

struct ReminderFarm {
    TempHerdDb db;
    QDateTime now;

    explicit ReminderFarm(const QDateTime& at = QDateTime(QDate(2026, 6, 15), QTime(10, 0)))
        : now(at)
    {
        AppClock::setNow(now);
    }
    ~ReminderFarm() { AppClock::setNow(QDateTime()); }

    // The date text `days` days before now (negative: ahead).
    QString ago(int days) const { return TextUtil::dateText(now.date().addDays(-days)); }

    // A row; a null QString() stores NULL.
    void insert(const QString& table, const QList<QPair<QString, QString>>& values) const
    {
        QStringList cols, vals;
        for (const auto& v : values) {
            cols << QLatin1Char('[') + v.first + QLatin1Char(']');
            vals << (v.second.isNull() ? QStringLiteral("NULL") : TextUtil::sqlQuote(v.second));
        }
        QVERIFY(db.exec(QStringLiteral("insert into %1(%2) values(%3)").arg(table, cols.join(','), vals.join(','))));
    }
    // A sow on the farm with her state dates.
    void sow(const QString& tag, const QString& back, const QString& weaned, const QString& due = QString()) const
    {
        insert(QStringLiteral("种猪卡"), {{"耳号", tag}, {"性别", "F"}, {"毛色", "白"}, {"奶头数(左)", "7"}, {"奶头数(右)", "6"},
                                      {"出生日期", "20240101"}, {"返情日期", back}, {"断奶日期", weaned}, {"预产日期", due},
                                      {"不存在", "no"}, {"备注", "备注" + tag.right(2)}});
    }
    // A never-mated gilt born `age` days ago.
    void gilt(const QString& tag, int age) const
    {
        insert(QStringLiteral("种猪卡"), {{"耳号", tag}, {"性别", "F"}, {"来源", "本场"}, {"出生日期", ago(age)},
                                      {"返情日期", "none"}, {"断奶日期", "none"}, {"不存在", "no"}});
    }
    // A mating; `date` is the 9-character mating time.
    void mating(const QString& sow, const QString& date, const QString& parity, const QString& farrowed = QStringLiteral("no"),
                const QString& due = QString(), const QString& checked = QStringLiteral("no"),
                const QString& returned = QStringLiteral("N"), const QString& boar = QStringLiteral("DDSC01123000001")) const
    {
        insert(QStringLiteral("配种"), {{"母猪耳号", sow}, {"公猪耳号", boar}, {"配种日期(1)", date}, {"胎次", parity},
                                     {"配种方式", "人工授精"}, {"返情否", returned}, {"预产日期", due}, {"配种员", "王"},
                                     {"已产", farrowed}, {"检查时间", checked}, {"备注", "注"}});
    }
    // One piglet of a litter; weanedAge empty while unweaned, gone "死亡" for a death.
    void piglet(const QString& sow, const QString& parity, const QString& born, const QString& weanedAge = QString(),
                const QString& gone = QString(), const QString& boar = QStringLiteral("DDSC01123000001")) const
    {
        insert(QStringLiteral("产仔记录"), {{"母猪耳号", sow}, {"胎次", parity}, {"公猪耳号", boar}, {"配种日期", born},
                                        {"配种方式", "本交"}, {"分娩日期", born}, {"仔猪状态", "正常"}, {"实断奶日", weanedAge},
                                        {"转群去向", gone}, {"转群日期", gone.isEmpty() && weanedAge.isEmpty() ? QString() : born}});
    }
    void setParam(const QString& name, const QString& value) const
    {
        QVERIFY(db.exec(QStringLiteral("update 参数 set 参数=%1 where 名称=%2").arg(TextUtil::sqlQuote(value), TextUtil::sqlQuote(name))));
    }
    void dropParam(const QString& name) const
    {
        QVERIFY(db.exec(QStringLiteral("delete from 参数 where 名称=%1").arg(TextUtil::sqlQuote(name))));
    }
    void setPhysiology(const QString& breed, const QString& column, int value) const
    {
        QVERIFY(db.exec(QStringLiteral("update 生理周期 set [%1]='%2' where 品种='%3'").arg(column).arg(value).arg(breed)));
    }

    ReminderTable list(int commandId) const
    {
        CDbConnection c;
        if (!c.Open(db.path()))
            qFatal("cannot open the test farm");
        return ReminderLists::compute(*ReminderLists::find(commandId), c, now);
    }
    // The ear tags (column 1) of a list.
    QStringList tags(int commandId) const
    {
        QStringList out;
        for (const ReminderRow& r : list(commandId).rows)
            out << r.cells.value(0);
        return out;
    }
    // The row of a list for an ear tag; empty cells when it is not listed.
    ReminderRow row(int commandId, const QString& tag) const
    {
        for (const ReminderRow& r : list(commandId).rows)
            if (r.cells.value(0) == tag)
                return r;
        return ReminderRow();
    }
};
