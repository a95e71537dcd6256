#include "commandtable.h"

namespace {

CommandInfo screen(int id, const char* caption, const char* cls, int module, int icon, const char* nav,
                   const char* prompt = "")
{
    CommandInfo c;
    c.id = id;
    c.menuText = QString::fromUtf8(caption);
    c.className = QString::fromUtf8(cls);
    c.module = module;
    c.icon = icon;
    c.navName = QString::fromUtf8(nav);
    c.prompt = QString::fromUtf8(prompt);
    return c;
}

CommandInfo command(int id, const char* text, const char* prompt = "", const char* nav = "")
{
    CommandInfo c;
    c.id = id;
    c.menuText = QString::fromUtf8(text);
    c.prompt = QString::fromUtf8(prompt);
    c.navName = QString::fromUtf8(nav);
    return c;
}

QVector<CommandInfo> buildCommands()
{
    return {
        // The screen registry, in its order: the navigation bar takes the first match.
        screen(32771, "种猪档案", "CTamvoView", 0, 133, "种猪档案", "输入、修改本场种猪的档案资料\n种猪档案输入"),
        screen(32772, "配种记录", "CInPeiView", 0, 134, "配种记录", "增加、修改、删除配种记录\n配种记录"),
        screen(32773, "产仔记录", "CInZaiView", 0, 135, "产仔记录"),
        screen(32774, "屠宰测定", "CInTouView", 0, 137, ""),
        screen(32775, "肥育测定", "CInFeiView", 0, 136, ""),
        screen(32813, "仔猪管理", "CGZaizhuView", 1, 135, "仔猪管理"),
        screen(32814, "保育猪管理", "CGBaoYuView", 1, 135, "保育猪管理"),
        screen(32815, "后备猪管理", "CGHouBeiView", 1, 135, "后备猪管理"),
        screen(32816, "肥育猪管理", "CGFeiYuView", 1, 135, "肥育猪管理"),
        screen(32817, "种猪管理", "CGZhongZhuView", 1, 135, "种猪管理"),
        screen(32900, "今日工作", "CTodayWork", 2, 135, "今日工作", "今天要做的工作：各提醒和警报列表的头数一览\n今日工作"),
        screen(32819, "母猪待配提醒", "CTDaiPei", 2, 135, "母猪待配提醒"),
        screen(32820, "后备母猪适配提醒", "CTShiPei", 2, 135, "后备适配母猪提醒"),
        screen(32821, "母猪妊娠提醒", "CTRenShen", 2, 135, "母猪妊娠提醒"),
        screen(32822, "母猪妊娠检查提醒", "CTJianCha", 2, 135, "母猪妊娠检查提醒"),
        screen(32823, "母猪预产提醒", "CTYuChan", 2, 135, "母猪预产提醒"),
        screen(32824, "母猪哺乳提醒", "CTBuYu", 2, 135, "母猪哺乳提醒"),
        screen(32825, "母猪断奶提醒", "CTDuanNai", 2, 135, "母猪断奶提醒"),
        screen(32826, "公猪配种频率提醒", "CTPinLv", 2, 135, "公猪配种频率提醒"),
        screen(32827, "母猪待配警报", "CJDaiPei", 3, 136, "母猪待配警告"),
        screen(32828, "后备母猪适配警报", "CJShiPei", 3, 136, "后备母猪待配警告"),
        screen(32829, "母猪妊娠检查警报", "CJJianCha", 3, 136, "母猪妊娠检查警告"),
        screen(32830, "母猪预产警报", "CJYuChan", 3, 136, "母猪预产警告"),
        screen(32831, "母猪断奶警报", "CJDuanNai", 3, 136, "母猪断奶警告"),
        screen(32832, "公猪配种频率警报", "CJPinLv", 3, 136, "公猪配种频率警告"),
        screen(32837, "母猪生产力分析", "CFSPI", 4, 137, "母猪生产力分析"),
        screen(32838, "公猪品种分布", "CFPinZhongG", 4, 136, "公猪品种分布"),
        screen(32839, "母猪品种分布", "CFPinZhongM", 4, 137, "母猪品种分布"),
        screen(32840, "后备公猪品种分布", "CFPinZhongGH", 4, 136, "后备公猪品种分布"),
        screen(32841, "后备母猪品种分布", "CFPinZhongMH", 4, 137, "后备母猪品种分布"),
        screen(32870, "所有公猪品种年度分布", "CFPinZhongGYear", 4, 137, "所有公猪品种年度分布"),
        screen(32871, "所有母猪品种年度分布", "CFPinZhongMYear", 4, 137, "所有母猪品种年度分布"),
        screen(32842, "公猪年龄分布", "CFNNianLingG", 4, 133, "公猪年龄分布"),
        screen(32843, "母猪年龄分布", "CFNNianLingM", 4, 134, "母猪年龄分布"),
        screen(32844, "母猪胎次分布", "CFNTaiCiM", 4, 134, "母猪胎次分布"),
        screen(32845, "猪群性别分布", "CFSEX", 4, 135, "猪群性别分布"),
        screen(32846, "按时段分析", "CFFaQingSD", 4, 136, "发情时段分析"),
        screen(32847, "按月份分析", "CFFaQingYF", 4, 137, "发情月份分析"),
        screen(32848, "配种率时段分析", "CFPPeiZhongLvSD", 4, 133, "配种率时段分析"),
        screen(32849, "配种率月份分析", "CFPPeiZhongLvYF", 4, 134, "配种率月份分析"),
        screen(32850, "返情率时段分析", "CFPFanQingLvSD", 4, 135, "返情率时段分析"),
        screen(32851, "返情率月份分析", "CFPFanQingLvYF", 4, 136, "返情率月份分析"),
        screen(32852, "母猪配种成功次数分析", "CFPChengGongCiShuM", 4, 137, "母猪配种成功次数分析"),
        screen(32853, "公猪配种频度分析", "CFPPinDuG", 4, 133, "公猪配种频度分析"),
        screen(32854, "公猪配种成功率分析", "CFPPeiZhongLvG", 4, 135, "公猪配种成功率分析"),
        screen(32855, "配种方式分析", "CFPPeiZhongFangShi", 4, 136, "配种方式分析"),
        screen(32856, "受胎率时段分析", "CFRShouTaiLvSD", 4, 137, "受胎率时段分析"),
        screen(32857, "受胎率月份分析", "CFRShouTaiLvYF", 4, 133, "受胎率月份分析"),
        screen(32858, "异常率时段分析", "CFRYiChangSD", 4, 134, "异常率时段分析"),
        screen(32859, "异常率月份分析", "CFRYiChangYF", 4, 135, "异常率月份分析"),
        screen(32872, "妊娠异常群体分析", "CFRYiChangQT", 4, 134, "妊娠异常群体分析"),
        screen(32873, "妊娠异常个体分析", "CFRYiChangGT", 4, 133, "妊娠异常个体分析"),
        screen(32860, "分娩率时段分析", "CFFenMianLvSD", 4, 136, "分娩率时段分析"),
        screen(32861, "分娩率月份分析", "CFFenMianLvYF", 4, 137, "分娩率月份分析"),
        screen(32862, "窝数时段分布", "CFCWoShuSD", 4, 135, "窝数时段分析"),
        screen(32863, "窝数月份分布", "CFCWoShuYF", 4, 136, "窝数月份分析"),
        screen(32864, "胎数/窝数分布", "CFCTaiCiWoShu", 4, 137, "胎数、窝数分析"),
        screen(32869, "哺乳分析", "CFBuRu", 4, 133, "哺乳分析"),
        screen(32866, "按时段分析", "CFSiWanSD", 4, 134, "死亡率时段分析"),
        screen(32867, "按月份分析", "CFSiWanYF", 4, 135, "死亡率月份分析"),
        screen(32868, "销售分析", "CFXiaoShou", 4, 136, "销售分析"),
        screen(32879, "配种报表", "CBPeiZhong", 5, 133, "配种报表"),
        screen(32880, "产仔报表", "CBChanZai", 5, 134, "产仔报表"),
        screen(32881, "生产报告", "CBFenXi", 5, 135, "生产报告"),

        // Dialog and frame commands.
        command(32874, "种猪卡打印", "", "种猪卡打印"),
        command(32875, "母猪卡打印", "", "母猪卡打印"),
        command(32776, "打开窗口", "切换到不同输入窗口\n打开窗口"),
        command(32882, "参数设置"),
        command(32887, "数据库清理"),
        command(32885, "数据库备份"),
        command(32886, "数据库导入"),
        command(32884, "数据库压缩"),
        command(32888, "配种自动配对"),
        command(32889, "种猪状态查询"),
        command(32785, "帮助主题", "打开帮助文件\n帮助"),
        command(57664, "关于 Tamvo(&A)...", "显示程序信息、版本号和版权\n关于"),
        command(32894, "塔沃公司网站", "访问塔沃公司网站 http://www.tamvo.com/\n塔沃公司网站"),
        command(32895, "塔沃技术支持", "访问塔沃技术支持网页 http://www.tamvo.com/support/\n技术支持"),
        command(32901, "启动时打开今日工作", "程序启动时是否打开今日工作\n启动时打开今日工作"),
        command(32818, "导航条(&D)", "关闭、开启导航条窗口\n导航条"),
        command(32833, "显示/隐藏", "显示、隐藏标签视图\n显示"),
        command(32834, "顶部/底部", "标签置于顶部或者底部\n重置"),
        command(32835, "显示图标", "标签是否显示图像\n显示图像"),
        command(32836, "开始显示页数", "设置显示标签的文档页数\n设置显示"),
        command(32811, "参数设置"),
        command(32812, "数据维护"),

        // Shared screen commands (the active screen handles them).
        command(32777, "保存\tCtrl+S", "保存活动文档\n保存"),
        command(32788, "全部保存", "保存全部活动文档\n保存所有"),
        command(32778, "剪切(&T)\tCtrl+X", "剪切被选对象并将其置于剪贴板上\n剪切"),
        command(32779, "复制(&C)\tCtrl+C", "复制被选对象并将其置于剪贴板上\n复制"),
        command(32780, "粘贴(&P)\tCtrl+V", "插入剪贴板内容\n粘贴"),
        command(32781, "插入", "在当前位置插入一行\n插入"),
        command(32782, "删除", "删除当前数据\n删除"),
        command(32783, "增加", "增加表格空间\n增加"),
        command(32784, "查找", "查找指定的正文\n查找"),
        command(32790, "显示横向线条"),
        command(32791, "显示纵向线条"),
        command(32792, "容许调整行高"),
        command(32793, "容许调整列宽"),
        command(32795, "冻结列"),
        command(32796, "冻结行"),
        command(57607, "打印 ...\tCtrl+P", "打印活动文档\n打印"),
        command(57608, "打印", "使用当前选项打印活动文档\n快速打印"),
        command(57609, "打印预览 ...", "显示整页\n打印预览"),

        // The framework's own commands, with its standard prompts.
        command(57602, "关闭窗口", "关闭活动文档\n关闭"),
        command(57606, "打印设置 ...", "更改打印机选项\n打印设置"),
        command(57648, "新建窗口(&N)", "为活动文档打开另一个窗口\n新建窗口"),
        command(57650, "层叠(&C)", "以重叠方式排列窗口\n层叠窗口"),
        command(57651, "平铺(&T)", "以互不重叠的方式平铺窗口\n平铺窗口"),
        command(57649, "排列图标(&A)", "在窗口底部排列图标\n排列图标"),
        command(59392, "工具栏(&T)", "显示或隐藏工具栏\n显隐工具栏"),
        command(59393, "状态栏(&S)", "显示或隐藏状态栏\n显隐状态栏"),
    };
}

QVector<ModuleInfo> buildModules()
{
    auto m = [](int module, const char* name, int menu, int shortMenu, int first, const char* popup,
                const char* own) {
        return ModuleInfo{module, QString::fromUtf8(name), menu, shortMenu, first, QString::fromUtf8(popup),
                          QString::fromUtf8(own)};
    };
    return {
        m(0, "数据输入模块", 129, 138, 32771, "数据输入", "输入(&I)"),
        m(1, "转群管理模块", 155, 154, 32813, "转群管理", "管理(&L)"),
        m(2, "生产提醒模块", 158, 156, 32819, "日常提醒", "提醒(&T)"),
        m(3, "生产警报模块", 159, 160, 32827, "系统警报", "警报(&J)"),
        m(4, "生产分析模块", 162, 161, 32837, "生产分析", "分析(&X)"),
        m(5, "", 166, 165, 0, "报表统计", "报表(&B)"),
    };
}

// Shorthands for the menu layouts below.
MenuItem c(int id)
{
    MenuItem i;
    i.id = id;
    return i;
}

const MenuItem sep;

MenuItem popup(const char* caption, QVector<MenuItem> items)
{
    MenuItem i;
    i.popup = QString::fromUtf8(caption);
    i.items = std::move(items);
    return i;
}

QVector<MenuItem> ids(std::initializer_list<int> list)
{
    QVector<MenuItem> items;
    for (int id : list)
        items.append(id ? c(id) : sep);
    return items;
}

// The module's popup of the default menu. In the alert module's menu the two yearly
// breed distributions stand at the end of the analysis popup instead.
QVector<MenuItem> moduleItems(int module, bool yearlyAtEnd = false)
{
    switch (module) {
    case 0: return ids({32771, 32772, 32773});
    case 1: return ids({32813, 32814, 0, 32815, 32816, 0, 32817});
    case 2: return ids({32900, 0, 32819, 32820, 0, 32821, 32822, 32823, 32824, 32825, 0, 32826});
    case 3: return ids({32827, 32828, 0, 32829, 32830, 32831, 32832});
    case 4: {
        QVector<MenuItem> breeds = yearlyAtEnd ? ids({32838, 32839, 0, 32840, 32841})
                                               : ids({32838, 32839, 0, 32840, 32841, 0, 32870, 32871});
        QVector<MenuItem> items{
            c(32837), sep,
            popup("猪群品种分布", breeds),
            popup("猪群年龄胎次分布", ids({32842, 0, 32843, 32844})),
            c(32845), sep,
            popup("发情分析", ids({32846, 32847})),
            popup("配种分析", ids({32848, 32849, 0, 32850, 32851, 0, 32852, 0, 32853, 32854, 0, 32855})),
            popup("妊娠分析", ids({32856, 32857, 0, 32858, 32859, 32872, 32873})),
            popup("分娩分析", ids({32860, 32861})),
            popup("产仔分析", ids({32862, 32863, 0, 32864})),
            c(32869), sep,
            popup("死亡分析", ids({32866, 32867})),
            c(32868),
        };
        if (yearlyAtEnd)
            items << sep << c(32870) << c(32871);
        return items;
    }
    case 5: return ids({32874, 32875, 0, 32879, 32880, 0, 32881});
    }
    return {};
}

MenuItem maintenancePopup()
{
    return popup("数据维护", ids({32887, 0, 32885, 32886, 32884}));
}

MenuItem toolsPopup() { return popup("工具(&T)", ids({32888, 32889})); }
MenuItem helpPopup() { return popup("帮助(&H)", ids({32785, 32894, 32895, 57664})); }

QVector<MenuItem> defaultMenu()
{
    QVector<MenuItem> menu;
    for (const ModuleInfo& m : CommandTable::modules()) {
        MenuItem p = popup("", moduleItems(m.module));
        p.popup = m.popup;
        menu.append(p);
    }
    menu << toolsPopup() << popup("系统(&S)", {c(32882), maintenancePopup(), sep, c(32818)}) << helpPopup();
    return menu;
}

QVector<MenuItem> moduleMenu(const ModuleInfo& mod)
{
    const int id = mod.menuId;
    QVector<MenuItem> newItems = (id == 129 || id == 162 || id == 166) ? ids({32771, 32772, 32773, 0, 32774, 32775})
                                                                        : moduleItems(mod.module);
    QVector<MenuItem> menu;
    menu << popup("文件(&F)", {popup("新建", newItems), c(57602), sep, c(32777), c(32788), sep, c(57607),
                               c(57609), c(57606)});
    MenuItem own = popup("", moduleItems(mod.module));
    own.popup = mod.ownPopup;
    menu << own;

    MenuItem others = popup("模块(&M)", {});
    for (const ModuleInfo& m : CommandTable::modules()) {
        if (m.module == mod.module)
            continue;
        MenuItem p = popup("", moduleItems(m.module, id == 159));
        p.popup = m.popup;
        others.items << p;
    }
    if (id == 129 || id == 158)
        others.items << sep << c(32811) << c(32812);
    menu << others;

    if (id == 129 || id == 155)
        menu << popup("编辑(&E)", ids({32778, 32779, 32780}));
    if (id == 129 || id == 155 || id == 158 || id == 159)
        menu << popup("表格(&G)", ids({32790, 32791, 0, 32792, 32793, 0, 32795, 32796}));
    menu << popup("查看(&V)", {c(59392), c(59393), sep, c(32818), c(32901),
                               popup("标签条", ids({32833, 32836, 0, 32834, 32835}))});
    menu << popup("窗口(&W)", ids({57648, 57650, 57651, 57649}));
    menu << toolsPopup();
    menu << popup("系统(&S)", {c(32882), maintenancePopup()});
    menu << helpPopup();
    return menu;
}

} // namespace

namespace CommandTable {

const QVector<CommandInfo>& commands()
{
    static const QVector<CommandInfo> table = buildCommands();
    return table;
}

const CommandInfo* find(int id)
{
    for (const CommandInfo& c : commands())
        if (c.id == id)
            return &c;
    return nullptr;
}

const CommandInfo* findByNavName(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (const CommandInfo& c : commands())
        if (c.navName == name)
            return &c;
    return nullptr;
}

const QVector<ModuleInfo>& modules()
{
    static const QVector<ModuleInfo> table = buildModules();
    return table;
}

const ModuleInfo* module(int module)
{
    for (const ModuleInfo& m : modules())
        if (m.module == module)
            return &m;
    return nullptr;
}

const ModuleInfo* moduleOfMenu(int menuId)
{
    for (const ModuleInfo& m : modules())
        if (m.menuId == menuId || m.shortMenuId == menuId)
            return &m;
    return nullptr;
}

QVector<MenuItem> menu(int menuId)
{
    if (menuId == DefaultMenu)
        return defaultMenu();
    const ModuleInfo* mod = moduleOfMenu(menuId);
    if (!mod)
        return {};
    if (menuId == mod->menuId)
        return moduleMenu(*mod);
    if (menuId == 138)
        return {popup("文件(&F)", ids({32771, 32772, 32773}))};
    MenuItem p = popup("", moduleItems(mod->module));
    p.popup = mod->popup;
    return {p};
}

QList<int> menuIds()
{
    QList<int> result{DefaultMenu};
    for (const ModuleInfo& m : modules())
        result << m.menuId;
    for (const ModuleInfo& m : modules())
        result << m.shortMenuId;
    return result;
}

QString webAddress(int id)
{
    if (id == Cmd::WebSite)
        return QStringLiteral("http://www.tamvo.com/");
    if (id == Cmd::WebSite2)
        return QStringLiteral("http://www.tamvo.com/support/");
    return QString();
}

} // namespace CommandTable
