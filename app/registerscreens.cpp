#include "registerscreens.h"
#include "commandtable.h"
#include "dialogcommands.h"
#include "exportable.h"
#include "screenregistry.h"

#include "cinfeiview.h"
#include "cinpeiview.h"
#include "cinzaiview.h"
#include "cpeiduidlg.h"
#include "csettingsdlg.h"
#include "csowstatusdlg.h"
#include "cgzaizhuview.h"
#include "ctamvoview.h"
#include "tamvoapp.h"

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

    // Transfers
    addScreen<CGZaizhuView>();

    // Tools
    addExportableDialog<CSowStatusDlg>();
    addExportableDialog<CPeiDuiDlg>();

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
