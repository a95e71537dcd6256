#pragma once
#include "dbconnection.h"
#include "exportable.h"

#include <QDialog>

class CGridCtrl;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

// 种猪配种自动配对: lists the farm's boars for a chosen sow with the inbreeding
// coefficient of their litter, and collects the chosen sow-boar pairs into a pairing
// list to print. It only reads the database.
class CPeiDuiDlg : public QDialog, public IExportable
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32888;

    explicit CPeiDuiDlg(QWidget* parent = nullptr);
    ~CPeiDuiDlg() override;

    // Connects (the screens' database when path is empty) and lists the sows that may
    // be in heat; shows "数据库连接失败!" and answers false when it does not open.
    bool setUp(const QString& databasePath = QString());

    // Button 1031: switches between the sows that may be in heat and all sows.
    void toggleSowList();
    // "配对": the coefficient of every boar older than 150 days with the chosen sow.
    void pair();
    // Double-click on a row of the coefficient list: adds the pair once.
    void addPair(int listRow);
    // The pairing list's selection moved to a row: that pair goes.
    void onPairingSelection(int row, int col);
    // "打印": the pairing list.
    void printPairs();

    QString sow() const;
    void setSow(const QString& earTag);
    QStringList sowItems() const;
    QPushButton* sowModeButton() const { return m_mode; }
    QTreeWidget* coefficientList() const { return m_list; }
    CGridCtrl* pairingGrid() const { return m_pairs; }

    // IExportable: the coefficient list, as it is sorted.
    bool exportSetUp(const QString& databasePath) override { return setUp(databasePath); }
    bool exportSetSow(const QString& earTag) override;
    bool exportSetEarTag(const QString& earTag) override { return exportSetSow(earTag); }
    bool exportAction() override;
    CGridCtrl* exportGrid() override;
    bool exportPdf(const QString& path) override;

    static void run(QWidget* frame);

private:
    void fillSows(const QString& sql);
    void onSowEdited(const QString& text);
    void showSowInList(const QString& text);

    CDbConnection m_connection;
    QLineEdit* m_sowEdit;
    QListWidget* m_sowList;
    QPushButton* m_mode;
    QPushButton* m_pair;
    QTreeWidget* m_list;
    CGridCtrl* m_pairs;
    QPushButton* m_print;
    CGridCtrl* m_export; // not shown: the coefficient list for the exporter
    QString m_listSow; // the sow the coefficient list was computed for
    int m_nextPair = 1;
};
