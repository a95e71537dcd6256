#include "csowstatusdlg.h"

#include "appmessage.h"
#include "entryrules.h"
#include "gridctrl.h"
#include "gridscreen.h"

#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

CSowStatusDlg::CSowStatusDlg(QWidget* parent)
    : QDialog(parent)
    , m_sow(new QComboBox(this))
    , m_query(new QPushButton(QStringLiteral("查询"), this))
    , m_result(new QPlainTextEdit(this))
    , m_table(new CGridCtrl(this))
{
    setWindowTitle(QStringLiteral("种猪实时状态查询"));
    m_sow->setEditable(true);
    m_sow->setInsertPolicy(QComboBox::NoInsert);
    m_sow->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_sow->setMinimumWidth(180);
    m_result->setReadOnly(true);
    m_result->setMinimumSize(360, 90);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("母猪耳号："), this), 0, 0);
    layout->addWidget(m_sow, 0, 1);
    layout->addWidget(m_query, 0, 2);
    layout->addWidget(line, 1, 0, 1, 3);
    layout->addWidget(m_result, 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    m_table->hide();
    m_table->SetColumnCount(4);
    m_table->SetRowCount(1);
    m_table->SetFixedRowCount(1);
    const QStringList headers = {QStringLiteral("母猪耳号"), QStringLiteral("状态"), QStringLiteral("日期"),
                                 QStringLiteral("查询结果")};
    for (int c = 0; c < headers.size(); ++c)
        m_table->SetItemText(0, c, headers.at(c));
    m_query->setDefault(true);
    connect(m_query, &QPushButton::clicked, this, &CSowStatusDlg::runQuery);
}

CSowStatusDlg::~CSowStatusDlg() = default;

bool CSowStatusDlg::setUp(const QString& databasePath)
{
    const QString path = databasePath.isEmpty() ? CGridScreen::defaultDatabasePath() : databasePath;
    if (!m_connection.Open(path)) {
        AppStandardMessage(QStringLiteral("数据库连接失败!"), this);
        return false;
    }
    m_sow->clear();
    m_sow->addItems(EntryRules::pickList(m_connection, QStringLiteral("select 耳号 from 种猪卡 where 性别='F' and 不存在='no'")));
    m_sow->setEditText(QString());
    return true;
}

QString CSowStatusDlg::resultText() const
{
    return m_result->toPlainText();
}

void CSowStatusDlg::runQuery()
{
    const QString tag = m_sow->currentText();
    m_status = SowStatus::query(m_connection, tag);
    if (m_status.state == SowStatus::State::BadTag) {
        AppMessageBox(QStringLiteral("请选择正确的母猪耳号"), appTitle(), MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    m_result->setPlainText(m_status.text);
    m_table->SetRowCount(2);
    m_table->SetItemText(1, 0, tag);
    m_table->SetItemText(1, 1, SowStatus::stateName(m_status.state));
    m_table->SetItemText(1, 2, m_status.date);
    m_table->SetItemText(1, 3, m_status.text);
}

bool CSowStatusDlg::exportSetSow(const QString& earTag)
{
    m_sow->setEditText(earTag);
    return true;
}

bool CSowStatusDlg::exportAction()
{
    runQuery();
    return true;
}

void CSowStatusDlg::run(QWidget* frame)
{
    CSowStatusDlg dlg(frame);
    if (dlg.setUp())
        dlg.exec();
}
