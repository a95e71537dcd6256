#include "registerscreens.h"
#include "commandtable.h"
#include "dialogcommands.h"
#include "exportable.h"
#include "screenregistry.h"

#include "cinfeiview.h"
#include "cinpeiview.h"
#include "cinzaiview.h"
#include "cbchanzai.h"
#include "cbfenxi.h"
#include "cbpeizhong.h"
#include "ccleanupdlg.h"
#include "cpeiduidlg.h"
#include "csettingsdlg.h"
#include "reportheading.h"
#include "csowstatusdlg.h"
#include "cgbaoyuview.h"
#include "cghoubeiview.h"
#include "cgzaizhuview.h"
#include "cgzhongzhuview.h"
#include "ctamvoview.h"
#include "pinlvscreen.h"
#include "reminderscreen.h"
#include "todaywork.h"
#include "dbmaintenance.h"
#include "gridscreen.h"
#include "mainframe.h"
#include "tamvoapp.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

// The caption comes from the command table, so the exporter finds screens by menu name.
QString captionOf(int commandId)
{
    const CommandInfo* info = CommandTable::find(commandId);
    return info ? info->menuText : QString();
}

template <typename Screen>
void addScreen()
{
    ScreenRegistry::add({Screen::kCommandId, captionOf(Screen::kCommandId),
                         [](QWidget* parent) -> QWidget* { return new Screen(parent); }});
}

// A dialog command the frame runs modally and the exporter can build headless.
template <typename Dialog>
void addExportableDialog()
{
    DialogCommands::add({Dialog::kCommandId, [](QWidget* frame) { Dialog::run(frame); }});
    ExportDialogs::add({Dialog::kCommandId, captionOf(Dialog::kCommandId),
                        [](QWidget* parent) -> QWidget* { return new Dialog(parent); }});
}

// Restore and compaction need the database to themselves: every screen closes first,
// asking its own question, and goes at once with its connection.
bool closeAllScreens()
{
    const CTamvoApp* app = theApp();
    CMainFrame* frame = app ? app->mainFrame() : nullptr;
    if (!frame)
        return true;
    QList<QPointer<QMdiSubWindow>> windows;
    for (QMdiSubWindow* w : frame->mdiArea()->subWindowList())
        windows << w;
    for (const QPointer<QMdiSubWindow>& w : std::as_const(windows)) {
        if (w && !w->close())
            return false;
        delete w.data();
    }
    return true;
}

void addMaintenance(int commandId, int mode)
{
    DialogCommands::add({commandId, [mode](QWidget* frame) { DbMaintenance::run(mode, CGridScreen::defaultDatabasePath(), frame); }});
}

} // namespace

void registerScreens()
{
    static bool done = false;
    if (done)
        return;
    done = true;

    // Data entry
    addScreen<CTamvoView>();
    addScreen<CInPeiView>();
    addScreen<CInZaiView>();
    addScreen<CInTouView>();
    addScreen<CInFeiView>();
    // New piglet ear tags carry the farm and sub-farm numbers as they are now.
    CInZaiView::setFarmNumberSource([] {
        const CTamvoApp* app = theApp();
        return app ? qMakePair(app->farmNumber(), app->subFarmNumber()) : qMakePair(QStringLiteral("AAAA"), QStringLiteral("1"));
    });

    // Reports: the printed heading carries the owner name as it is now.
    ReportHeading::setOwnerNameSource([] {
        const CTamvoApp* app = theApp();
        return app ? app->ownerName() : QStringLiteral("XXXXXX公司");
    });
    addScreen<CBPeiZhong>();
    addScreen<CBChanZai>();
    addScreen<CBFenXi>();
    // Daily reminders and system alerts
    addScreen<CTodayWork>();
    addScreen<CTDaiPei>();
    addScreen<CTShiPei>();
    addScreen<CTRenShen>();
    addScreen<CTJianCha>();
    addScreen<CTYuChan>();
    addScreen<CTBuYu>();
    addScreen<CTDuanNai>();
    addScreen<CTPinLv>();
    addScreen<CJDaiPei>();
    addScreen<CJShiPei>();
    addScreen<CJJianCha>();
    addScreen<CJYuChan>();
    addScreen<CJDuanNai>();
    addScreen<CJPinLv>();

    // Transfers
    addScreen<CGZaizhuView>();
    addScreen<CGBaoYuView>();
    addScreen<CGHouBeiView>();
    addScreen<CGFeiYuView>();
    addScreen<CGZhongZhuView>();

    // Tools
    addExportableDialog<CSowStatusDlg>();
    addExportableDialog<CPeiDuiDlg>();

    // Database maintenance
    DialogCommands::add({CCleanupDlg::kCommandId, [](QWidget* frame) { CCleanupDlg::run(frame); }});
    addMaintenance(32885, DbMaintenance::Backup);
    addMaintenance(32886, DbMaintenance::Restore);
    addMaintenance(32884, DbMaintenance::Compact);
    DbMaintenance::setScreenCloser(closeAllScreens);

    // Settings: the farm number dialog changes the program's values and "code.ini".
    DialogCommands::add({CSettingsDlg::kCommandId, [](QWidget* frame) { CSettingsDlg::run(frame); }});
    CSettingsDlg::setFarmNumberAccess(
        {[] {
             const CTamvoApp* app = theApp();
             return app ? qMakePair(app->farmNumber(), app->subFarmNumber()) : qMakePair(QString(), QString());
         },
         [](const QString& farm, const QString& subFarm) {
             CTamvoApp* app = theApp();
             if (!app)
                 return false;
             app->setFarmNumbers(farm, subFarm);
             return CTamvoApp::writeCodeIni(app->codeIniPath(), farm, subFarm);
         }});
}
