#include "cnumberdlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kArrowMax = 7;   // the up-down control's range is 0..7
constexpr int kTypedMax = 999; // typed numbers beyond the arrows are still accepted

// The arrows stop at 7 while the field itself takes any number the user types.
class ArrowLimitedSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override
    {
        setValue(qBound(0, value() + steps, kArrowMax));
        selectAll();
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled e = StepNone;
        if (value() > 0)
            e |= StepDownEnabled;
        if (value() < kArrowMax)
            e |= StepUpEnabled;
        return e;
    }
};

CNumberDlg::Answerer& answererSlot()
{
    static CNumberDlg::Answerer a;
    return a;
}

} // namespace

CNumberDlg::CNumberDlg(QWidget* parent)
    : QDialog(parent)
    , m_prompt(new QLabel(this))
    , m_field(new ArrowLimitedSpinBox(this))
{
    setWindowTitle(QStringLiteral("冻结"));
    m_field->setRange(0, kTypedMax);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_field);
    layout->addWidget(buttons);
    m_field->setFocus();
}

void CNumberDlg::setPrompt(const QString& prompt)
{
    m_prompt->setText(prompt);
}

QString CNumberDlg::prompt() const
{
    return m_prompt->text();
}

void CNumberDlg::setValue(int value)
{
    m_field->setValue(value);
    m_field->selectAll();
}

int CNumberDlg::value() const
{
    return m_field->value();
}

void CNumberDlg::setTitleFlag(bool tabTitle)
{
    m_tabTitle = tabTitle;
    setWindowTitle(tabTitle ? QStringLiteral("设置标签") : QStringLiteral("冻结"));
}

std::optional<int> CNumberDlg::askNumber(const NumberRequest& request, QWidget* parent)
{
    if (answererSlot())
        return answererSlot()(request);
    CNumberDlg dlg(parent);
    dlg.setTitleFlag(request.tabTitle);
    dlg.setPrompt(request.prompt);
    dlg.setValue(request.value);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.value();
}

CNumberDlg::Answerer CNumberDlg::setAnswerer(Answerer answerer)
{
    Answerer old = answererSlot();
    answererSlot() = std::move(answerer);
    return old;
}
