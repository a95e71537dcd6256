#pragma once
#include "dbconnection.h"
#include "exportable.h"
#include "sowstatus.h"

#include <QDialog>

class CGridCtrl;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

// 种猪实时状态查询: tells in one sentence where a sow stands in her cycle. The result
// also fills a one-row table (ear tag, state, date, sentence) for the exporter.
class CSowStatusDlg : public QDialog, public IExportable
{
    Q_OBJECT
public:
    static constexpr int kCommandId = 32889;

    explicit CSowStatusDlg(QWidget* parent = nullptr);
    ~CSowStatusDlg() override;

    // Connects to the herd database (the screens' one when path is empty) and fills
    // the sow list; shows "数据库连接失败!" and answers false when it does not open.
    bool setUp(const QString& databasePath = QString());
    // "查询" for the tag in the combo.
    void runQuery();

    QComboBox* sowCombo() const { return m_sow; }
    QString resultText() const;
    const SowStatus::Status& lastStatus() const { return m_status; }

    // IExportable
    bool exportSetUp(const QString& databasePath) override { return setUp(databasePath); }
    bool exportSetSow(const QString& earTag) override;
    bool exportSetEarTag(const QString& earTag) override { return exportSetSow(earTag); }
    bool exportAction() override;
    CGridCtrl* exportGrid() override { return m_table; }

    // Runs the dialog modally from the frame's command.
    static void run(QWidget* frame);

private:
    CDbConnection m_connection;
    QComboBox* m_sow;
    QPushButton* m_query;
    QPlainTextEdit* m_result;
    CGridCtrl* m_table; // not shown: what the exporter writes
    SowStatus::Status m_status;
};
