#include "democommand.h"

#include "appclock.h"
#include "demofarm.h"
#include "tamvoapp.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace DemoCommand {

bool wants(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--create-demo"));
}

QString usage()
{
    return QStringLiteral(
        "用法: Tamvo --create-demo PATH [--sows N] [--years Y] [--seed S] [--profile average|high] [--now YYYYMMDD]\n"
        "  在 PATH 新建一个演示猪场数据库(已有文件不会被覆盖), 其生产记录一直到程序的当前日期。\n"
        "  --sows N       基础母猪头数(默认 300, %1-%2)\n"
        "  --years Y      记录的年数(默认 3, %3-%4)\n"
        "  --seed S       随机种子(默认 1); 同一种子生成同一个数据库\n"
        "  --profile P    生产水平: average(一般猪场, 默认) 或 high(高产猪场)\n"
        "  --now DATE     把当前日期固定为 YYYYMMDD\n"
        "  猪场编号和分场号取自 PATH 所在目录的 code.ini, 没有时为 AAAA 和 1。\n")
        .arg(DemoFarm::kMinSows)
        .arg(DemoFarm::kMaxSows)
        .arg(DemoFarm::kMinYears)
        .arg(DemoFarm::kMaxYears);
}

int run(const QStringList& args)
{
    DemoFarm::Options o;
    QString error;
    for (int i = 1; i < args.size() && error.isEmpty(); ++i) {
        const QString& a = args.at(i);
        if (i + 1 >= args.size()) {
            error = QStringLiteral("选项 %1 缺少参数").arg(a);
            break;
        }
        const QString v = args.at(++i);
        bool ok = true;
        if (a == QLatin1String("--create-demo"))
            o.path = v;
        else if (a == QLatin1String("--sows"))
            o.sows = v.toInt(&ok);
        else if (a == QLatin1String("--years"))
            o.years = v.toInt(&ok);
        else if (a == QLatin1String("--seed"))
            o.seed = v.toULongLong(&ok);
        else if (a == QLatin1String("--profile"))
            ok = DemoFarm::parseProfile(v, &o.profile);
        else if (a == QLatin1String("--now")) {
            const QDateTime now = AppClock::parseNowOption(v);
            ok = now.isValid();
            if (ok)
                AppClock::setNow(now);
        } else
            error = QStringLiteral("未知选项: %1").arg(a);
        if (!ok)
            error = QStringLiteral("选项 %1 的参数无效: %2").arg(a, v);
    }
    if (error.isEmpty() && o.path.isEmpty())
        error = QStringLiteral("缺少数据库文件名");
    if (!error.isEmpty()) {
        fprintf(stderr, "%s\n\n%s", qPrintable(error), qPrintable(usage()));
        return 2;
    }
    o.path = QFileInfo(o.path).absoluteFilePath();
    o.today = AppClock::today();
    // The farm number of the piglet ear tags, as the program would read it beside the file.
    QString farm, subFarm;
    if (CTamvoApp::readCodeIni(QFileInfo(o.path).absolutePath() + QStringLiteral("/code.ini"), farm, subFarm)) {
        o.farmNumber = farm.trimmed();
        o.subFarmNumber = subFarm.trimmed();
    }

    QElapsedTimer timer;
    timer.start();
    int shown = -1;
    DemoFarm::Summary summary;
    const bool ok = DemoFarm::create(o, &error, &summary, [&](int percent, const QString& stage) {
        if (percent / 10 != shown / 10) {
            shown = percent;
            fprintf(stderr, "%3d%% %s\n", percent, qPrintable(stage));
        }
    });
    if (!ok) {
        fprintf(stderr, "生成演示猪场失败: %s\n", qPrintable(error));
        return 1;
    }
    printf("已生成演示猪场 %s\n母猪 %d 头, %d 年, 方案 %s, 种子 %llu, 截止 %s\n"
           "种猪卡 %d (在场 %d), 配种 %d, 产仔记录 %d, 子猪管理 %d, 用时 %.1f 秒\n",
           qPrintable(o.path), o.sows, o.years, qPrintable(DemoFarm::profileName(o.profile)),
           static_cast<unsigned long long>(o.seed), qPrintable(o.today.toString(QStringLiteral("yyyyMMdd"))), summary.cards,
           summary.onFarm, summary.matings, summary.piglets, summary.pigRows, timer.elapsed() / 1000.0);
    return 0;
}

} // namespace DemoCommand
