#include "cbianhao.h"

#include "pkmessage.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
bool isTagPart(const QString& text, int length)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9]+$"));
    return text.size() == length && re.match(text).hasMatch();
}
} // namespace

CBianHao::CBianHao(QWidget* parent)
    : QDialog(parent)
    , m_farm(new QLineEdit(this))
    , m_subFarm(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("猪场编号"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Ear tags are 15 ASCII letters and digits; the two numbers are 5 of them.
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9]*")), this);
    m_farm->setMaxLength(4);
    m_farm->setValidator(validator);
    m_subFarm->setMaxLength(1);
    m_subFarm->setValidator(validator);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("猪场编号:"), m_farm);
    form->addRow(QStringLiteral("分 场 号："), m_subFarm);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBianHao::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CBianHao::OnInitDialog()
{
    m_farm->setText(m_farmNumber);
    m_subFarm->setText(m_subFarmNumber);
}

void CBianHao::showEvent(QShowEvent* event)
{
    OnInitDialog();
    QDialog::showEvent(event);
}

void CBianHao::OnOK()
{
    // A shorter number would make every new piglet ear tag shorter than 15 characters,
    // and the entry screens refuse those.
    if (!isTagPart(m_farm->text(), 4)) {
        ParamKit::showMessage({QStringLiteral("猪场编号必须是4位字母或数字!"), ParamKit::applicationTitle(),
                               ParamKit::MessageKind::Warning},
                              this);
        m_farm->setFocus();
        return;
    }
    if (!isTagPart(m_subFarm->text(), 1)) {
        ParamKit::showMessage({QStringLiteral("分场号必须是1位字母或数字!"), ParamKit::applicationTitle(),
                               ParamKit::MessageKind::Warning},
                              this);
        m_subFarm->setFocus();
        return;
    }
    m_farmNumber = m_farm->text();
    m_subFarmNumber = m_subFarm->text();
    accept();
}
