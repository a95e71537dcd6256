#include "backupcommand.h"

#include "appmessage.h"
#include "dbbackup.h"
#include "dbmaintenance.h"
#include "herdschema.h"
#include "tamvoapp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace BackupCommand {

bool wants(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--backup"));
}

QString usage()
{
    return QStringLiteral(
        "用法: Tamvo --backup PATH [--database DB]\n"
        "  把种猪数据库备份到 PATH(没有 .db 扩展名时自动加上), 程序开着窗口时也可以运行。\n"
        "  --database DB  要备份的数据库(默认为程序使用的数据库)\n");
}

int run(const QStringList& args)
{
    QString target, database, error;
    for (int i = 1; i < args.size() && error.isEmpty(); ++i) {
        const QString& a = args.at(i);
        if (a != QLatin1String("--backup") && a != QLatin1String("--database")) {
            error = QStringLiteral("未知选项: %1").arg(a);
            break;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("选项 %1 缺少参数").arg(a);
            break;
        }
        (a == QLatin1String("--backup") ? target : database) = args.at(++i);
    }
    if (error.isEmpty() && target.isEmpty())
        error = QStringLiteral("缺少备份文件名");
    if (!error.isEmpty()) {
        fprintf(stderr, "%s\n\n%s", qPrintable(error), qPrintable(usage()));
        return 2;
    }
    if (database.isEmpty()) {
        // The same file the program would open.
        QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
        QCoreApplication::setApplicationName(appTitle());
        database = CTamvoApp::defaultDatabasePath(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    }
    database = QFileInfo(database).absoluteFilePath();
    target = DbMaintenance::withExtension(QFileInfo(target).absoluteFilePath());
    if (!HerdSchema::isHerdDatabase(database)) {
        fprintf(stderr, "数据库备份错误! %s 不是种猪数据库\n", qPrintable(database));
        return 1;
    }
    // A damaged database would only replace last night's good copy with a bad one.
    if (!DbBackup::isIntact(database, false, &error)) {
        fprintf(stderr, "数据库备份错误! 数据库已损坏, 没有备份: %s\n", qPrintable(error));
        return 1;
    }
    if (!DbBackup::copyDatabase(database, target, &error)) {
        fprintf(stderr, "数据库备份错误! %s\n", qPrintable(error));
        return 1;
    }
    printf("数据库备份成功! %s -> %s\n", qPrintable(database), qPrintable(target));
    return 0;
}

} // namespace BackupCommand
