#include "pinlvscreen.h"
#include "appclock.h"
#include "appmessage.h"
#include "boarfrequency.h"
#include "reminderlists.h"
#include "reminderscreen.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

CPinLvScreen::CPinLvScreen(int commandId, bool alert, QWidget* parent)
    : CGridScreen(commandId, alert ? 3 : 2, parent)
    , m_alert(alert)
    , m_from(new QLabel(QStringLiteral("自"), this))
    , m_start(new QDateEdit(this))
    , m_to(new QLabel(QStringLiteral("到"), this))
    , m_end(new QDateEdit(this))
    , m_refresh(new QPushButton(QStringLiteral("刷新"), this))
{
    setTitle(ReminderLists::find(commandId)->title);
    setOffers(OfferCopy | OfferFind | OfferGrid | OfferPrint);
    setCopyRule(CopyRule::Always);
    for (QDateEdit* e : {m_start, m_end}) {
        e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        e->setCalendarPopup(true);
    }
    // Six months back to today.
    const QDate today = AppClock::today();
    setPeriod(BoarFrequency::defaultStart(today), today);
    connect(m_refresh, &QPushButton::clicked, this, &CPinLvScreen::refresh);
}

QDate CPinLvScreen::startDate() const
{
    return m_start->date();
}

QDate CPinLvScreen::endDate() const
{
    return m_end->date();
}

void CPinLvScreen::setPeriod(const QDate& start, const QDate& end)
{
    m_start->setDate(start);
    m_end->setDate(end);
}

void CPinLvScreen::createControls()
{
    setTemplateSize(QSize(640, 420));
    m_from->setGeometry(8, 8, 16, 24);
    m_start->setGeometry(28, 6, 130, 26);
    m_to->setGeometry(168, 8, 16, 24);
    m_end->setGeometry(188, 6, 130, 26);
    m_refresh->setGeometry(330, 5, 80, 28);
    grid()->setGeometry(0, 40, 640, 380);
}

void CPinLvScreen::anchorControls()
{
    for (QWidget* w : {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_start), static_cast<QWidget*>(m_to),
                       static_cast<QWidget*>(m_end), static_cast<QWidget*>(m_refresh)})
        addAnchor(w, Anchor::TopLeft, Anchor::TopLeft);
    addAnchor(grid(), Anchor::TopLeft, Anchor::BottomRight);
}

void CPinLvScreen::loadScreen()
{
    if (!m_alert)
        return;
    // The alert shows its headers from the start; the reminder's depend on the period.
    ReminderTable empty;
    empty.headers = QStringList{QStringLiteral("序号"), QStringLiteral("公猪耳号"), QStringLiteral("时间"),
                                QStringLiteral("星期"), QStringLiteral("配种次数")};
    fillReminderGrid(grid(), empty);
    m_threshold = BoarFrequency::threshold(connection());
}

bool CPinLvScreen::periodAccepted(const QDate& start, const QDate& end)
{
    if (BoarFrequency::isLong(start, end)
        && AppMessageBox(QStringLiteral("您选择分析的时间过长，可能要花费较长时间\n建议分析时间间隔不要超过半年\n\n      要继续吗？"),
                         QStringLiteral("警告"), MsgIcon::Warning, MsgButtons::YesNo, this)
               != MsgAnswer::Yes)
        return false;
    if (BoarFrequency::monthCount(start, end) <= 0) {
        AppMessageBox(QStringLiteral("时间选择错误"), appTitle(), MsgIcon::None, MsgButtons::Ok, this);
        return false;
    }
    return true;
}

void CPinLvScreen::refresh()
{
    const QDate start = startDate();
    const QDate end = endDate();
    if (!periodAccepted(start, end))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_refresh->setEnabled(false);
    if (m_alert)
        showAlert(start, end);
    else
        showReminder(start, end);
    m_refresh->setEnabled(true);
    QApplication::restoreOverrideCursor();
    grid()->AutoSize();
    // A month label spans its four week columns: it needs no more height than one line.
    if (!m_alert && grid()->GetRowCount() > 1)
        grid()->SetRowHeight(0, grid()->GetRowHeight(1));
}

void CPinLvScreen::showReminder(const QDate& start, const QDate& end)
{
    const BoarFrequency::Table table = isConnected() ? BoarFrequency::reminder(connection(), start, end) : BoarFrequency::Table();
    const int months = BoarFrequency::monthCount(start, end);
    CGridCtrl* g = grid();
    g->DeleteAllItems();
    g->SetRowCount(2 + table.boars.size());
    g->SetColumnCount(2 + 4 * months);
    g->SetFixedRowCount(2);
    g->SetFixedColumnCount(2);
    auto header = [g](int row, int col, const QString& text) {
        g->SetItemText(row, col, text);
        g->SetItemFormat(row, col, 0x11);
    };
    header(0, 0, QStringLiteral("序号"));
    header(0, 1, QStringLiteral("公猪耳号"));
    g->SetFixedCellCombine(0, 0, 2, 1);
    g->SetFixedCellCombine(0, 1, 2, 1);
    const QString weeks[4] = {QStringLiteral("一周"), QStringLiteral("二周"), QStringLiteral("三周"), QStringLiteral("四周")};
    for (int k = 0; k < months; ++k) {
        header(0, 2 + 4 * k, BoarFrequency::monthLabel(start, k));
        g->SetFixedCellCombine(0, 2 + 4 * k, 1, 4);
        for (int w = 0; w < 4; ++w)
            header(1, 2 + 4 * k + w, weeks[w]);
    }
    for (int i = 0; i < table.boars.size(); ++i) {
        const int r = i + 2;
        g->SetItemText(r, 0, QString::number(r - 1));
        g->SetItemText(r, 1, table.boars[i].boar);
        for (int c = 0; c < table.boars[i].counts.size(); ++c)
            g->SetItemText(r, 2 + c, QString::number(table.boars[i].counts[c]));
    }
}

void CPinLvScreen::showAlert(const QDate& start, const QDate& end)
{
    ReminderTable table;
    table.headers = QStringList{QStringLiteral("序号"), QStringLiteral("公猪耳号"), QStringLiteral("时间"),
                                QStringLiteral("星期"), QStringLiteral("配种次数")};
    if (isConnected())
        table.rows = BoarFrequency::alert(connection(), start, end, m_threshold);
    fillReminderGrid(grid(), table);
}

bool CPinLvScreen::exportSetFrom(const QDate& date)
{
    m_start->setDate(date);
    return m_start->date() == date;
}

bool CPinLvScreen::exportSetTo(const QDate& date)
{
    m_end->setDate(date);
    return m_end->date() == date;
}

bool CPinLvScreen::exportAction()
{
    refresh();
    return true;
}
