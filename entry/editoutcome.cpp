#include "editoutcome.h"

#include "dbconnection.h"

namespace EntryWrite {

QString refusedText(const QString& error)
{
    QString text = QStringLiteral("数据库拒绝了这次修改，记录没有保存。");
    if (!error.isEmpty())
        text += QStringLiteral("\n\n") + error;
    return text;
}

bool runEdit(CDbConnection& conn, const WriteAccess& access, const std::function<bool(QString& error)>& work,
             QString* message)
{
    if (message)
        message->clear();
    if (access && !access())
        return false;
    if (conn.BeginTrans() < 0) {
        if (message)
            *message = refusedText(conn.LastError());
        return false;
    }
    QString error;
    if (work(error) && conn.CommitTrans())
        return true;
    if (error.isEmpty())
        error = conn.LastError();
    conn.RollbackTrans();
    if (message)
        *message = refusedText(error);
    return false;
}

} // namespace EntryWrite
