#include "todaywork.h"
#include "appclock.h"
#include "reminderlists.h"
#include "screenregistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kListColumn = 1;
constexpr int kKindColumn = 2;
constexpr int kCountColumn = 3;
const QColor kAlertRed(0xff, 0, 0);
const QString kPending = QStringLiteral("…");

// The list's caption as its menu names it.
QString listCaption(const ReminderLists::Definition& def)
{
    const ScreenEntry* e = ScreenRegistry::find(def.commandId);
    return e ? ScreenRegistry::plainCaption(e->caption) : def.title;
}
} // namespace

CTodayWork::CTodayWork(QWidget* parent)
    : CGridScreen(kCommandId, 2, parent)
{
    setTitle(QStringLiteral("今日工作"));
    setOffers(OfferCopy | OfferFind | OfferGrid | OfferPrint);
    setCopyRule(CopyRule::Always);
    setFindPrompt(QStringLiteral("输入您要查找的工作:"));
    for (const ReminderLists::Definition& d : ReminderLists::definitions())
        m_commands << d.commandId;
    m_counts.fill(-1, m_commands.size());
    m_next = m_commands.size();
    // Made here, not at set-up: set-up may run while the page is already shown.
    m_refresh = new QPushButton(QStringLiteral("刷新"), this);
    m_state = new QLabel(this);
    connect(m_refresh, &QPushButton::clicked, this, &CTodayWork::refresh);
    m_step = new QTimer(this);
    m_step->setSingleShot(true);
    m_step->setInterval(0);
    connect(m_step, &QTimer::timeout, this, &CTodayWork::computeNext);
    connect(grid(), &CGridCtrl::cellActivated, this, [this](int row, int) { openRow(row); });
}

void CTodayWork::createControls()
{
    setTemplateSize(QSize(520, 420));
    m_refresh->setGeometry(8, 6, 80, 28);
    m_state->setGeometry(100, 6, 412, 28);
    grid()->setGeometry(0, 40, 520, 380);
}

void CTodayWork::anchorControls()
{
    addAnchor(m_refresh, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(m_state, Anchor::TopLeft, Anchor::TopRight);
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
}

void CTodayWork::loadScreen()
{
    fillRows();
    refresh();
}

void CTodayWork::fillRows()
{
    CGridCtrl* g = grid();
    const auto& defs = ReminderLists::definitions();
    g->SetRowCount(1 + defs.size());
    g->SetColumnCount(4);
    g->SetFixedRowCount(1);
    g->SetFixedColumnCount(1);
    const QStringList headers{QStringLiteral("序号"), QStringLiteral("工作"), QStringLiteral("类别"), QStringLiteral("头数")};
    for (int c = 0; c < headers.size(); ++c) {
        g->SetItemText(0, c, headers[c]);
        g->SetItemFormat(0, c, 0x11);
    }
    for (int i = 0; i < defs.size(); ++i) {
        const int r = i + 1;
        g->SetItemText(r, 0, QString::number(r));
        g->SetItemText(r, kListColumn, listCaption(defs[i]));
        g->SetItemText(r, kKindColumn, defs[i].alert ? QStringLiteral("警报") : QStringLiteral("提醒"));
        g->SetItemFormat(r, kCountColumn, 0x12); // right, centred vertically
        showCount(i);
    }
    g->AutoSize();
    // Room for four digits, so the column does not jump as the counts arrive.
    g->SetColumnWidth(kCountColumn, std::max(g->GetColumnWidth(kCountColumn), fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12));
}

void CTodayWork::showCount(int index)
{
    CGridCtrl* g = grid();
    const int r = index + 1;
    const int n = m_counts.value(index, -1);
    g->SetItemText(r, kCountColumn, n < 0 ? kPending : QString::number(n));
    // An alert with animals on it is today's first job: the whole row in red.
    const ReminderLists::Definition* def = ReminderLists::find(m_commands.value(index));
    const QColor colour = def && def->alert && n > 0 ? kAlertRed : QColor();
    for (int c = 0; c < g->GetColumnCount(); ++c)
        g->SetItemFgColour(r, c, colour);
}

void CTodayWork::refresh()
{
    if (!isConnected())
        return;
    m_counts.fill(-1);
    for (int i = 0; i < m_counts.size(); ++i)
        showCount(i);
    m_next = 0;
    if (m_state)
        m_state->setText(QStringLiteral("正在统计 %1 的工作…").arg(AppClock::today().toString(QStringLiteral("yyyy-MM-dd"))));
    m_step->start();
}

void CTodayWork::computeNext()
{
    if (m_next >= m_commands.size())
        return;
    const int index = m_next++;
    const ReminderLists::Definition* def = ReminderLists::find(m_commands[index]);
    const ReminderTable table = ReminderLists::compute(*def, connection(), AppClock::now());
    m_counts[index] = table.openFailed ? 0 : int(table.rows.size());
    showCount(index);
    if (m_next < m_commands.size()) {
        m_step->start();
        return;
    }
    if (m_state) {
        int alerts = 0;
        for (int i = 0; i < m_counts.size(); ++i)
            if (ReminderLists::find(m_commands[i])->alert && m_counts[i] > 0)
                ++alerts;
        m_state->setText(alerts ? QStringLiteral("%1 的工作；有 %2 项警报，双击一行打开该列表。")
                                      .arg(AppClock::today().toString(QStringLiteral("yyyy-MM-dd")))
                                      .arg(alerts)
                                : QStringLiteral("%1 的工作；没有警报。双击一行打开该列表。")
                                      .arg(AppClock::today().toString(QStringLiteral("yyyy-MM-dd"))));
    }
    emit countsComplete();
}

void CTodayWork::computeAll()
{
    if (!isConnected())
        return;
    if (m_next >= m_commands.size()) {
        m_counts.fill(-1);
        m_next = 0;
    }
    m_step->stop();
    while (m_next < m_commands.size())
        computeNext();
}

int CTodayWork::commandOfRow(int row) const
{
    return row >= 1 && row <= m_commands.size() ? m_commands[row - 1] : 0;
}

int CTodayWork::countOfRow(int row) const
{
    return row >= 1 && row <= m_counts.size() ? m_counts[row - 1] : -1;
}

bool CTodayWork::openRow(int row)
{
    const int id = commandOfRow(row);
    return id && ScreenRegistry::openCommand(id);
}

bool CTodayWork::exportAction()
{
    refresh();
    computeAll();
    return true;
}
