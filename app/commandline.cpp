#include "commandline.h"
#include "appclock.h"

CommandLine CommandLine::parse(const QStringList& args)
{
    CommandLine cl;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&](QString& out) {
            if (i + 1 >= args.size()) {
                cl.error = QStringLiteral("选项 %1 缺少参数").arg(a);
                return false;
            }
            out = args.at(++i);
            return true;
        };
        if (a == QLatin1String("--database")) {
            if (!value(cl.database))
                return cl;
        } else if (a == QLatin1String("--now")) {
            QString v;
            if (!value(v))
                return cl;
            cl.now = AppClock::parseNowOption(v);
            if (!cl.now.isValid()) {
                cl.error = QStringLiteral("--now 需要 YYYYMMDD 或 YYYYMMDDhhmm 格式的日期: %1").arg(v);
                return cl;
            }
        } else if (a == QLatin1String("--nosplash") || a == QLatin1String("-nosplash") || a == QLatin1String("/nosplash")) {
            cl.noSplash = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            cl.help = true;
        } else if (a == QLatin1String("--version")) {
            cl.version = true;
        } else {
            cl.error = QStringLiteral("未知选项: %1").arg(a);
            return cl;
        }
    }
    return cl;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "用法: Tamvo [选项]\n"
        "  --database PATH      使用指定的种猪数据库文件(不存在时新建一个猪场数据库)\n"
        "  --now YYYYMMDD[hhmm] 把程序的当前日期固定为给定日期(用于重现提醒列表)\n"
        "  --nosplash           启动时不显示封面图片\n"
        "  --export 窗口 ...     不开窗口,把一个窗口的表格导出为 CSV (详见 --export --help)\n"
        "  --backup PATH        把数据库备份到 PATH 后结束(程序开着时也可以)\n"
        "  --help               显示本说明\n"
        "  --version            显示版本\n");
}
