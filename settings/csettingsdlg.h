#pragma once
#include "dbconnection.h"

#include <QDialog>
#include <QHash>
#include <QPair>
#include <functional>

class QPushButton;

// 参数设置: the hub from which the farm number, the alert thresholds, the pick lists and
// the per-breed parameters are edited. The dialogs come from the settings library; this
// hub loads what they show and stores what they give back.
class CSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32882;
    enum { IDD = 176, IDC_FARM = 1013, IDC_ALERT = 1015, IDC_TARGETS = 1021, IDC_PHYSIOLOGY = 1022,
           IDC_BREEDS = 1023, IDC_COLOURS = 1024, IDC_ORIGINS = 1025, IDC_SALE_PLACES = 1026,
           IDC_INSEMINATORS = 1027, IDC_STOCKMEN = 1028, IDC_VETS = 1029 };

    explicit CSettingsDlg(QWidget* parent = nullptr);
    ~CSettingsDlg() override;

    // Opens the hub's connection (the screens' database when path is empty); on failure
    // says "数据库连接失败!" and the hub stays usable with empty lists.
    bool setUp(const QString& databasePath = QString());
    CDbConnection& connection() { return m_connection; }
    QPushButton* button(int id) const { return m_buttons.value(id); }

    void OnFarmNumber();
    void OnAlert();
    void OnPhysiology();
    void OnTargets();
    void OnBreeds();
    void OnCoatColours();
    void OnOrigins();
    void OnSalePlaces();
    void OnInseminators();
    void OnStockmen();
    void OnVets();

    // How the hub runs the dialogs it opens (tests answer them); returns the runner
    // it replaced, an empty one restores exec().
    using DialogRunner = std::function<int(QDialog*)>;
    static DialogRunner setDialogRunner(DialogRunner runner);
    static int runDialog(QDialog* dialog);

    // Where the farm number lives: the program's values and "code.ini". set answers
    // false when the file could not be written.
    struct FarmNumberAccess {
        std::function<QPair<QString, QString>()> get;
        std::function<bool(const QString& farm, const QString& subFarm)> set;
    };
    static void setFarmNumberAccess(const FarmNumberAccess& access);

    // Runs the hub modally from the frame's command.
    static void run(QWidget* frame);

private:
    template <typename Editor>
    void editList(int list, const QString& title);
    void saveFailed(const QString& reason);

    CDbConnection m_connection;
    QHash<int, QPushButton*> m_buttons;
};
