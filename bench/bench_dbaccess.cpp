// Access-layer throughput on 100,000 rows: writes through AddNew/Update in one
// transaction, reads through GetFieldText, and the same read with raw sqlite3_step.
#include "dbconnection.h"
#include "dbrecordset.h"
#include "herdschema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath("lumbodata.db");
    if (!HerdSchema::createHerdDatabase(path))
        return 1;
    CDbConnection conn;
    conn.Open(path);

    QElapsedTimer t;
    t.start();
    conn.BeginTrans();
    {
        CDbRecordset rs(&conn);
        rs.Open("select * from 产仔记录 where 1=0");
        for (int i = 0; i < rows; ++i) {
            rs.AddNew();
            rs.SetFieldText(QStringLiteral("母猪耳号"), QStringLiteral("LL%1").arg(i % 2000, 13, 10, QLatin1Char('0')));
            rs.SetFieldText(QStringLiteral("胎次"), QString::number(i % 8 + 1));
            rs.SetFieldText(QStringLiteral("分娩日期"), QStringLiteral("20250318"));
            rs.SetFieldText(QStringLiteral("仔猪耳号"), QStringLiteral("LDAAAA125%1").arg(i, 6, 10, QLatin1Char('0')));
            rs.SetFieldText(QStringLiteral("仔猪状态"), QStringLiteral("正常"));
            rs.SetFieldText(QStringLiteral("性别"), i % 2 ? QStringLiteral("F") : QStringLiteral("M"));
            rs.SetFieldText(QStringLiteral("初生重"), QStringLiteral("1.35"));
            rs.SetFieldText(QStringLiteral("带奶"), QStringLiteral("正常"));
            if (!rs.Update()) {
                fprintf(stderr, "write failed at %d\n", i);
                return 1;
            }
        }
    }
    conn.CommitTrans();
    const double writeSecs = t.nsecsElapsed() / 1e9;

    const QString sql = QStringLiteral("select * from 产仔记录");
    // Best of three for both reads, so a busy machine does not decide the ratio.
    double readSecs = 1e9, rawSecs = 1e9;
    qint64 checksum = 0;
    for (int run = 0; run < 3; ++run) {
        t.restart();
        CDbRecordset rs(&conn);
        rs.Open(sql);
        const int fields = rs.GetFieldCount();
        QString v;
        for (; !rs.IsEOF(); rs.MoveNext())
            for (int f = 0; f < fields; ++f) {
                rs.GetFieldText(f, v);
                checksum += v.size();
            }
        readSecs = std::min(readSecs, t.nsecsElapsed() / 1e9);

        t.restart();
        sqlite3_stmt* stmt = nullptr;
        const QByteArray u = sql.toUtf8();
        sqlite3_prepare_v2(conn.handle(), u.constData(), u.size(), &stmt, nullptr);
        const int cols = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int f = 0; f < cols; ++f) {
                const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, f));
                checksum += p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt, f)).size() : 0;
            }
        sqlite3_finalize(stmt);
        rawSecs = std::min(rawSecs, t.nsecsElapsed() / 1e9);
    }

    printf("access layer, %d rows of 产仔记录 (27 columns)\n", rows);
    printf("%-44s %12.0f rows/s  (%.3f s)\n", "write: AddNew/SetFieldText/Update, 1 txn", rows / writeSecs, writeSecs);
    printf("%-44s %12.0f rows/s  (%.3f s)\n", "read: Open + GetFieldText every field", rows / readSecs, readSecs);
    printf("%-44s %12.0f rows/s  (%.3f s)\n", "raw sqlite3_step + text of every field", rows / rawSecs, rawSecs);
    printf("%-44s %12.2f\n", "read time / raw time", readSecs / rawSecs);
    return checksum == 0; // keeps the reads from being optimised away
}
