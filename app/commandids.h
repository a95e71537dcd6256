#pragma once

// The command ids of menus, tool bar and navigation bar. They stay the numbers the
// resources have always used, so saved layouts and documentation keep matching.
namespace Cmd {
enum : int {
    // Screens of the data-entry module
    ZhongZhuDangAn = 32771, PeiZhongJiLu = 32772, ChanZaiJiLu = 32773, TuZaiCeDing = 32774,
    FeiYuCeDing = 32775,
    OpenWindow = 32776,  // tool bar: first screen of the current module (drop-down)
    ModuleScreens = 32760, // drop-down part of OpenWindow
    // Shared screen commands
    Save = 32777, Cut = 32778, Copy = 32779, Paste = 32780, InsertRow = 32781, Delete = 32782,
    AddRows = 32783, Find = 32784, HelpTopics = 32785, SaveAll = 32788,
    HorzLines = 32790, VertLines = 32791, RowResize = 32792, ColResize = 32793,
    FreezeCols = 32795, FreezeRows = 32796,
    ModuleSettings = 32811, ModuleMaintenance = 32812,
    // Transfers
    ZaiZhu = 32813, BaoYu = 32814, HouBei = 32815, FeiYu = 32816, ZhongZhu = 32817,
    NavigationBar = 32818,
    // Reminders, alerts
    TDaiPei = 32819, TShiPei = 32820, TRenShen = 32821, TJianCha = 32822, TYuChan = 32823,
    TBuYu = 32824, TDuanNai = 32825, TPinLv = 32826,
    JDaiPei = 32827, JShiPei = 32828, JJianCha = 32829, JYuChan = 32830, JDuanNai = 32831,
    JPinLv = 32832,
    // Tab strip
    TabsShow = 32833, TabsTopBottom = 32834, TabsImages = 32835, TabsThreshold = 32836,
    // First analysis and the reports
    FSPI = 32837,
    CardPrint = 32874, SowCardPrint = 32875,
    BPeiZhong = 32879, BChanZai = 32880, BFenXi = 32881,
    // Dialogs
    Settings = 32882, DbCompact = 32884, DbBackup = 32885, DbRestore = 32886, DbCleanup = 32887,
    MatingPlanner = 32888, SowStatus = 32889,
    WebSite = 32894, WebSite2 = 32895,
    // The morning view and whether it opens at start-up
    TodayWork = 32900, TodayWorkAtStart = 32901,
    // Framework commands
    CloseWindow = 57602, PrintSetup = 57606, Print = 57607, PrintDirect = 57608,
    PrintPreview = 57609, WindowNew = 57648, WindowArrange = 57649, WindowCascade = 57650,
    WindowTile = 57651, About = 57664, ViewToolBar = 59392, ViewStatusBar = 59393,
};
}
