#include "cfinddlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
CFindDlg::Relay& relaySlot()
{
    static CFindDlg::Relay r;
    return r;
}
} // namespace

CFindDlg::CFindDlg(QWidget* owner)
    : QDialog(owner)
    , m_prompt(new QLabel(this))
    , m_text(new QLineEdit(this))
    , m_down(new QPushButton(QStringLiteral("向下查找"), this))
    , m_up(new QPushButton(QStringLiteral("向上查找"), this))
{
    setWindowTitle(QStringLiteral("查找"));
    setModal(false);
    setWindowIcon(QApplication::windowIcon());
    m_prompt->setObjectName(QStringLiteral("1004"));
    m_text->setObjectName(QStringLiteral("1003"));
    m_down->setDefault(true);
    m_down->setAutoDefault(true);
    m_up->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_prompt, 0, 0, 1, 2);
    grid->addWidget(m_text, 1, 0, 1, 2);
    grid->addWidget(m_down, 2, 0);
    grid->addWidget(m_up, 2, 1);
    m_text->setMinimumWidth(260);

    connect(m_down, &QPushButton::clicked, this, [this] { requestFind(true); });
    connect(m_up, &QPushButton::clicked, this, [this] { requestFind(false); });
}

void CFindDlg::setPrompt(const QString& prompt)
{
    m_prompt->setText(prompt);
}

QString CFindDlg::prompt() const
{
    return m_prompt->text();
}

QString CFindDlg::text() const
{
    return m_text->text();
}

void CFindDlg::setText(const QString& text)
{
    m_text->setText(text);
}

CFindDlg::Relay CFindDlg::setRelay(Relay relay)
{
    Relay old = relaySlot();
    relaySlot() = std::move(relay);
    return old;
}

void CFindDlg::requestFind(bool down)
{
    const QString text = m_text->text();
    if (text.isEmpty())
        return;
    if (relaySlot())
        relaySlot()(down, text);
    else
        emit findRequested(down, text);
    // The focus goes back to the window that owns the find window.
    if (QWidget* owner = parentWidget())
        owner->window()->activateWindow();
}
