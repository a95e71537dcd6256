#include "csettingsdlg.h"

#include "appmessage.h"
#include "cadress.h"
#include "cbianhao.h"
#include "cchaodays.h"
#include "cman.h"
#include "cmaose.h"
#include "cparamgriddlg.h"
#include "cpinzhong.h"
#include "gridscreen.h"
#include "pkmessage.h"
#include "settingslists.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

CSettingsDlg::DialogRunner& dialogRunner()
{
    static CSettingsDlg::DialogRunner runner;
    return runner;
}

CSettingsDlg::FarmNumberAccess& farmAccess()
{
    static CSettingsDlg::FarmNumberAccess access;
    return access;
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The library's questions and notices go through the program's message function.
void bridgeLibraryMessages()
{
    ParamKit::setMessageHandler([](const ParamKit::Message& m) {
        switch (m.kind) {
        case ParamKit::MessageKind::Question:
            return AppMessageBox(m.text, m.caption, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
        case ParamKit::MessageKind::Warning:
            AppMessageBox(m.text, m.caption, MsgIcon::Warning);
            return true;
        case ParamKit::MessageKind::Notice:
            break;
        }
        AppMessageBox(m.text, m.caption, MsgIcon::None);
        return true;
    });
}

// The editors' arrays: one text per entry, or code and name for the breeds.
template <int N>
void fillArray(QString (&array)[N], const QVector<QStringList>& entries)
{
    for (int i = 0; i < N; ++i)
        array[i] = i < entries.size() ? entries.at(i).value(0) : QString();
}

template <int N>
void fillArray(QString (&array)[N][2], const QVector<QStringList>& entries)
{
    for (int i = 0; i < N; ++i) {
        array[i][0] = i < entries.size() ? entries.at(i).value(0) : QString();
        array[i][1] = i < entries.size() ? entries.at(i).value(1) : QString();
    }
}

template <int N>
QVector<QStringList> readArray(const QString (&array)[N])
{
    QVector<QStringList> entries;
    for (int i = 0; i < N && !array[i].isEmpty(); ++i)
        entries << QStringList{array[i]};
    return entries;
}

template <int N>
QVector<QStringList> readArray(const QString (&array)[N][2])
{
    QVector<QStringList> entries;
    for (int i = 0; i < N && !array[i][0].isEmpty(); ++i)
        entries << QStringList{array[i][0], array[i][1]};
    return entries;
}

template <typename Editor>
void setTitle(Editor&, const QString&)
{
}
void setTitle(CMan& editor, const QString& title)
{
    editor.m_title = title;
    editor.setWindowTitle(title);
}
void setTitle(CAdress& editor, const QString& title)
{
    editor.m_title = title;
    editor.setWindowTitle(title);
}

} // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("参数设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    bridgeLibraryMessages();

    auto* layout = new QVBoxLayout(this);
    auto* farm = new QGroupBox(QStringLiteral("猪场与警报"), this);
    auto* lists = new QGroupBox(QStringLiteral("列表"), this);
    auto* breeds = new QGroupBox(QStringLiteral("品种参数"), this);
    for (QGroupBox* box : {farm, breeds, lists})
        layout->addWidget(box);
    auto* farmGrid = new QGridLayout(farm);
    auto* breedGrid = new QGridLayout(breeds);
    auto* listGrid = new QGridLayout(lists);

    auto add = [&](QGridLayout* grid, int id, const char* text, void (CSettingsDlg::*slot)(), int row, int col) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        m_buttons.insert(id, b);
        grid->addWidget(b, row, col);
        connect(b, &QPushButton::clicked, this, slot);
    };
    add(farmGrid, IDC_FARM, "猪场编号", &CSettingsDlg::OnFarmNumber, 0, 0);
    add(farmGrid, IDC_ALERT, "警报设置", &CSettingsDlg::OnAlert, 0, 1);
    add(breedGrid, IDC_PHYSIOLOGY, "生理参数", &CSettingsDlg::OnPhysiology, 0, 0);
    add(breedGrid, IDC_TARGETS, "年生产目标", &CSettingsDlg::OnTargets, 0, 1);
    add(listGrid, IDC_BREEDS, "品种设置", &CSettingsDlg::OnBreeds, 0, 0);
    add(listGrid, IDC_COLOURS, "毛色设置", &CSettingsDlg::OnCoatColours, 0, 1);
    add(listGrid, IDC_ORIGINS, "来源地点", &CSettingsDlg::OnOrigins, 1, 0);
    add(listGrid, IDC_SALE_PLACES, "出售地点", &CSettingsDlg::OnSalePlaces, 1, 1);
    add(listGrid, IDC_INSEMINATORS, "配种员", &CSettingsDlg::OnInseminators, 2, 0);
    add(listGrid, IDC_STOCKMEN, "饲养员", &CSettingsDlg::OnStockmen, 2, 1);
    add(listGrid, IDC_VETS, "兽医", &CSettingsDlg::OnVets, 3, 0);
    layout->addStretch();
}

CSettingsDlg::~CSettingsDlg() = default;

bool CSettingsDlg::setUp(const QString& databasePath)
{
    const QString path = databasePath.isEmpty() ? CGridScreen::defaultDatabasePath() : databasePath;
    m_connection.SetOwnerName(QStringLiteral("参数设置"));
    if (!m_connection.Open(path)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    return true;
}

CSettingsDlg::DialogRunner CSettingsDlg::setDialogRunner(DialogRunner runner)
{
    DialogRunner previous = dialogRunner();
    dialogRunner() = std::move(runner);
    return previous;
}

int CSettingsDlg::runDialog(QDialog* dialog)
{
    return dialogRunner() ? dialogRunner()(dialog) : dialog->exec();
}

void CSettingsDlg::setFarmNumberAccess(const FarmNumberAccess& access)
{
    farmAccess() = access;
}

void CSettingsDlg::run(QWidget* frame)
{
    CSettingsDlg hub(frame);
    hub.setUp();
    runDialog(&hub);
}

void CSettingsDlg::saveFailed(const QString& reason)
{
    AppMessageBox(QStringLiteral("保存失败，原来的设置没有改变。\n%1").arg(reason), QStringLiteral("错误"), MsgIcon::Stop,
                  MsgButtons::Ok, this);
}

void CSettingsDlg::OnFarmNumber()
{
    CBianHao dlg(this);
    if (farmAccess().get) {
        const QPair<QString, QString> numbers = farmAccess().get();
        dlg.m_farmNumber = numbers.first;
        dlg.m_subFarmNumber = numbers.second;
    }
    dlg.OnInitDialog();
    if (runDialog(&dlg) != QDialog::Accepted)
        return;
    if (farmAccess().set && !farmAccess().set(dlg.m_farmNumber, dlg.m_subFarmNumber))
        AppMessageBox(QStringLiteral("猪场编号文件 code.ini 无法写入，新的编号只在本次运行中有效。"), QStringLiteral("错误"),
                      MsgIcon::Stop, MsgButtons::Ok, this);
}

void CSettingsDlg::OnAlert()
{
    SettingsLists::Thresholds thresholds = SettingsLists::loadThresholds(m_connection);
    CChaoDays dlg(this);
    for (int i = 0; i < CChaoDays::kCount && i < thresholds.values.size(); ++i)
        dlg.m_values[i] = thresholds.values.at(i);
    dlg.OnInitDialog();
    if (runDialog(&dlg) != QDialog::Accepted || !m_connection.IsOpen())
        return;
    for (int i = 0; i < thresholds.values.size(); ++i)
        thresholds.values[i] = dlg.m_values[i];
    QString error;
    if (!SettingsLists::storeThresholds(m_connection, thresholds, &error))
        saveFailed(error);
}

void CSettingsDlg::OnPhysiology()
{
    CParamGridDlg dlg(CParamGridDlg::Mode::Physiology, this);
    dlg.setUp(m_connection.DatabasePath());
    runDialog(&dlg);
}

void CSettingsDlg::OnTargets()
{
    CParamGridDlg dlg(CParamGridDlg::Mode::Targets, this);
    dlg.setUp(m_connection.DatabasePath());
    runDialog(&dlg);
}

template <typename Editor>
void CSettingsDlg::editList(int list, const QString& title)
{
    const SettingsLists::ListDef& def = SettingsLists::definition(static_cast<SettingsLists::List>(list));
    Editor editor(this);
    {
        WaitCursor wait;
        fillArray(editor.m_list, SettingsLists::load(m_connection, def));
    }
    setTitle(editor, title);
    editor.OnInitDialog();
    if (runDialog(&editor) != QDialog::Accepted || !m_connection.IsOpen())
        return;
    QString error;
    bool stored;
    {
        WaitCursor wait;
        stored = SettingsLists::store(m_connection, def, readArray(editor.m_list), &error);
    }
    if (!stored)
        saveFailed(error);
}

void CSettingsDlg::OnBreeds()
{
    editList<CPinZhong>(int(SettingsLists::List::Breeds), QString());
}

void CSettingsDlg::OnCoatColours()
{
    editList<CMaoSe>(int(SettingsLists::List::CoatColours), QString());
}

void CSettingsDlg::OnOrigins()
{
    editList<CAdress>(int(SettingsLists::List::Origins), QStringLiteral("设置来源地点"));
}

void CSettingsDlg::OnSalePlaces()
{
    editList<CAdress>(int(SettingsLists::List::SalePlaces), QStringLiteral("设置出售地点"));
}

void CSettingsDlg::OnInseminators()
{
    editList<CMan>(int(SettingsLists::List::Inseminators), QStringLiteral("设置配种员"));
}

void CSettingsDlg::OnStockmen()
{
    editList<CMan>(int(SettingsLists::List::Stockmen), QStringLiteral("设置饲养员"));
}

void CSettingsDlg::OnVets()
{
    editList<CMan>(int(SettingsLists::List::Vets), QStringLiteral("设置兽医"));
}
