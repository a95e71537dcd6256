#include "databasecheck.h"
#include "dbbackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DatabaseCheck {

QString readOnlyText(const QString& databasePath)
{
    return QStringLiteral("数据库文件 %1 在只读的位置(只读的文件夹、光盘或网络共享)，只能查看和打印，修改不能保存。")
        .arg(QDir::toNativeSeparators(databasePath));
}

QString damagedText(const QString& databasePath, const QString& problem, const QString& backup)
{
    QString text = QStringLiteral("数据库文件已损坏: %1\n%2\n\n").arg(QDir::toNativeSeparators(databasePath), problem.left(300));
    if (backup.isEmpty())
        return text + QStringLiteral("在 %1 没有找到备份。数据库以只读方式打开，修改不能保存。").arg(QDir::toNativeSeparators(DbBackup::backupFolder(databasePath)));
    return text + QStringLiteral("最近的备份: %1 (%2)\n要用这个备份替换损坏的文件吗？损坏的文件会改名保留。\n选“否”时数据库以只读方式打开，修改不能保存。")
                      .arg(QDir::toNativeSeparators(backup), QFileInfo(backup).lastModified().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
}

QString otherDatabaseText(const QString& runningDatabase, const QString& requestedDatabase)
{
    QString text = QStringLiteral("塔沃种猪管理大师已经在运行");
    if (!runningDatabase.isEmpty())
        text += QStringLiteral("，使用的数据库是 %1").arg(QDir::toNativeSeparators(runningDatabase));
    return text + QStringLiteral("。\n没有打开数据库 %1：要使用它，请先关闭正在运行的程序，再用 --database 启动。")
                      .arg(QDir::toNativeSeparators(requestedDatabase));
}

bool restoreBackup(const QString& databasePath, const QString& backup, QString* kept, const QDateTime& now)
{
    const QString aside = databasePath + QStringLiteral(".损坏-") + now.toString(QStringLiteral("yyyyMMddhhmmss"));
    if (kept)
        *kept = aside;
    if (!QFile::rename(databasePath, aside))
        return false;
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString side = databasePath + QLatin1String(suffix);
        if (QFile::exists(side))
            QFile::rename(side, aside + QLatin1String(suffix));
    }
    if (QFile::copy(backup, databasePath))
        return true;
    QFile::remove(databasePath);
    QFile::rename(aside, databasePath); // as it was
    return false;
}

} // namespace DatabaseCheck
