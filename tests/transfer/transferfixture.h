#pragma once
// A farm for the transfer tests: the entry tests' farm plus the pigs the transfer
// screens move (cards, matings, litters, 子猪管理 rows).
#include "../entry/entryfixture.h"

#include "transferscreen.h"

struct TransferFarm : EntryFarm {
    void litterPiglet(const QString& tag, const QString& sow, const QString& parity, const QString& born,
                      const QString& state = QStringLiteral("正常"), const QString& destination = QString(),
                      const QString& moved = QString())
    {
        QVERIFY(db.exec(QStringLiteral("insert into 产仔记录(仔猪耳号,母猪耳号,胎次,公猪耳号,分娩日期,仔猪状态,转群去向,转群日期,初生重) "
                                       "values('%1','%2','%3','DDAA00000000009','%4','%5',%6,%7,'1.4')")
                            .arg(tag, sow, parity, born, state, nullable(destination), nullable(moved))));
    }
    void mating(const QString& sow, const QString& parity, const QString& day)
    {
        QVERIFY(db.exec(QStringLiteral("insert into 配种(母猪耳号,胎次,[配种日期(1)],已产) values('%1','%2','%3A','no')")
                            .arg(sow, parity, day)));
    }
    void group(const QString& tag, const QString& from, const QString& to, const QString& when,
               const QString& out = QString(), const QString& outWhen = QString())
    {
        QVERIFY(db.exec(QStringLiteral("insert into 子猪管理(耳号,原状态,转群,转群时间,转出,转出时间) values('%1','%2','%3','%4',%5,%6)")
                            .arg(tag, from, to, when, nullable(out), nullable(outWhen))));
    }
    static QString nullable(const QString& v) { return v.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + v + QLatin1Char('\''); }
};

// The tags shown in column 1 of a transfer screen's data rows.
inline QStringList shownTags(CTransferScreen& v)
{
    QStringList out;
    CComboGridCtrl* g = v.grid();
    for (int r = g->GetFixedRowCount(); r < g->GetRowCount(); ++r)
        out << g->GetItemText(r, 1);
    return out;
}

// What the screen's own connection sees, its unsaved work included.
inline QString screenScalar(CGridScreen& v, const QString& sql)
{
    CDbRecordset rs(&v.connection());
    QString out;
    if (rs.Open(sql) && !rs.IsEOF())
        rs.GetFieldText(0, out);
    return out;
}

// Chooses a list type and presses "刷新".
inline void showType(CTransferScreen& v, int type)
{
    v.chooseType(type);
    v.refresh();
}
