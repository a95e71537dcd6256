#include "cchaodays.h"

#include "pkmessage.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

CChaoDays::CChaoDays(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("警报设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    static const char* const before[kCount] = {"初配超过系统计算的适配日期", "超过系统计算的适配日期",
                                               "超过系统计算的预产日期", "超过系统计算的断奶日期",
                                               "公猪星期配种超过"};
    static const char* const after[kCount] = {"天未配，发出警报", "天未配种，系统发出警报", "天未产，系统发出警报",
                                              "天未断奶，系统发出警报", "次，系统发出警报"};
    auto* grid = new QGridLayout(this);
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this);
    for (int i = 0; i < kCount; ++i) {
        m_fields[i] = new QLineEdit(this);
        m_fields[i]->setObjectName(QString::number(kFieldIds[i]));
        m_fields[i]->setValidator(validator);
        m_fields[i]->setMaximumWidth(60);
        m_fields[i]->setAlignment(Qt::AlignRight);
        grid->addWidget(new QLabel(QString::fromUtf8(before[i]), this), i, 0, Qt::AlignRight);
        grid->addWidget(m_fields[i], i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(after[i]), this), i, 2);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, kCount, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChaoDays::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CChaoDays::OnInitDialog()
{
    for (int i = 0; i < kCount; ++i)
        m_fields[i]->setText(QString::number(m_values[i]));
}

void CChaoDays::showEvent(QShowEvent* event)
{
    OnInitDialog();
    QDialog::showEvent(event);
}

void CChaoDays::OnOK()
{
    int values[kCount];
    for (int i = 0; i < kCount; ++i) {
        bool ok = false;
        const QString text = m_fields[i]->text().trimmed();
        values[i] = text.toInt(&ok);
        if (!ok || values[i] < 0) {
            ParamKit::showMessage({QStringLiteral("请输入一个整数。"), ParamKit::applicationTitle(),
                                   ParamKit::MessageKind::Warning},
                                  this);
            m_fields[i]->setFocus();
            m_fields[i]->selectAll();
            return;
        }
    }
    for (int i = 0; i < kCount; ++i)
        m_values[i] = values[i];
    accept();
}
