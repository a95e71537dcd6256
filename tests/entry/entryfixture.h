#pragma once
// A farm for the data-entry tests: a temporary herd database, a connection with a lazy
// transaction as the screens hold one, and quick fixtures.
#include "appclock.h"
#include "commandids.h"
#include "dbconnection.h"
#include "dbrecordset.h"
#include "editoutcome.h"
#include "testsupport.h"

#include <QTest>
#include <memory>

// The shared screen commands the entry tests press.
constexpr int Save = Cmd::Save, Delete = Cmd::Delete, Add = Cmd::AddRows;

struct EntryFarm {
    TempHerdDb db;
    CDbConnection conn;

    EntryFarm()
    {
        if (!conn.Open(db.path()))
            qFatal("cannot open the test farm");
        conn.SetOwnerName(QStringLiteral("测试窗口"));
    }
    // The screen's lazy transaction: opened at the first write.
    WriteAccess access()
    {
        return [this] { return conn.TransLevel() > 0 || conn.BeginTrans() > 0; };
    }
    // What another connection (a reading screen) sees: the saved state only.
    QStringList saved(const QString& sql) const { return db.rows(sql); }
    QString savedScalar(const QString& sql) const { return db.scalar(sql); }
    // What this connection sees, unsaved writes included.
    QStringList mine(const QString& sql)
    {
        QStringList out;
        CDbRecordset rs(&conn);
        if (!rs.Open(sql))
            return out;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            QStringList f;
            for (int i = 0; i < rs.GetFieldCount(); ++i) {
                QString v;
                f << (rs.IsFieldNull(i) ? QStringLiteral("<null>") : (rs.GetFieldText(i, v), v));
            }
            out << f.join(QLatin1Char('|'));
        }
        return out;
    }
    QString mineScalar(const QString& sql)
    {
        const QStringList r = mine(sql);
        return r.isEmpty() ? QString() : r.first().section(QLatin1Char('|'), 0, 0);
    }
    void card(const QString& tag, const QString& sex = QStringLiteral("F"))
    {
        QVERIFY(db.exec(QStringLiteral("insert into 种猪卡(耳号,性别,不存在) values('%1','%2','no')").arg(tag, sex)));
    }
};

// A screen set up on a test farm as the frame sets it up; kept alive by the test.
template <class View>
std::unique_ptr<View> openScreen(const TempHerdDb& db)
{
    auto v = std::make_unique<View>();
    v->setAttribute(Qt::WA_DeleteOnClose, false);
    v->setDatabasePath(db.path());
    if (!v->initialUpdate())
        qWarning("screen did not start");
    return v;
}
