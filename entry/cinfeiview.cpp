#include "cinfeiview.h"

#include <QLabel>
#include <QListWidget>

CEmptyEntryView::CEmptyEntryView(int commandId, const QString& title, const QString& notice, bool withList,
                                 QWidget* parent)
    : CResizableFormView(parent)
    , m_commandId(commandId)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setTemplateSize(QSize(640, 420));
    m_notice = new QLabel(notice, this);
    m_notice->setGeometry(12, 10, 616, 24);
    addAnchor(m_notice, Anchor::TopLeft, Anchor::TopRight);
    if (withList) {
        m_list = new QListWidget(this);
        m_list->setGeometry(12, 40, 616, 368);
        addAnchor(m_list, Anchor::TopLeft, Anchor::BottomRight);
    }
}

QString CEmptyEntryView::notice() const
{
    return m_notice->text();
}

bool CEmptyEntryView::commandEnabled(int, bool* checked) const
{
    if (checked)
        *checked = false;
    return false;
}

CInFeiView::CInFeiView(QWidget* parent)
    : CEmptyEntryView(kCommandId, QStringLiteral("输入肥育测定记录"),
                      QStringLiteral("肥育测定记录暂不在本程序中保存，这里还不能输入数据。"), true, parent)
{
}

CInTouView::CInTouView(QWidget* parent)
    : CEmptyEntryView(kCommandId, QStringLiteral("输入屠宰测定记录"),
                      QStringLiteral("屠宰测定记录暂不在本程序中保存，这里还不能输入数据。"), false, parent)
{
}
