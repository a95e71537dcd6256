#include "cadress.h"
#include "cman.h"
#include "cmaose.h"
#include "cpinzhong.h"

CPinZhong::CPinZhong(QWidget* parent)
    : CListEditDlg(IDD, kCapacity, true, parent)
{
    setWindowTitle(QStringLiteral("品种设置"));
    setFieldLabels(QStringLiteral("代号："), QStringLiteral("名称："));
}

CMaoSe::CMaoSe(QWidget* parent)
    : CListEditDlg(IDD, kCapacity, false, parent)
{
    setWindowTitle(QStringLiteral("毛色种类设置"));
    setFieldLabels(QStringLiteral("毛色："));
}

CMan::CMan(QWidget* parent)
    : CListEditDlg(IDD, kCapacity, false, parent)
{
    setFieldLabels(QStringLiteral("姓名："));
}

// The caller sets the title after construction, so it is applied as the dialog opens.
void CMan::showEvent(QShowEvent* event)
{
    setWindowTitle(m_title);
    CListEditDlg::showEvent(event);
}

CAdress::CAdress(QWidget* parent)
    : CListEditDlg(IDD, kCapacity, false, parent)
{
    setFieldLabels(QStringLiteral("地点"));
}

void CAdress::showEvent(QShowEvent* event)
{
    setWindowTitle(m_title);
    CListEditDlg::showEvent(event);
}
