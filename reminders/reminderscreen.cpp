#include "reminderscreen.h"
#include "appclock.h"
#include "appmessage.h"
#include "dbrecordset.h"
#include "textutil.h"

void fillReminderGrid(CGridCtrl* grid, const ReminderTable& table)
{
    const int cols = table.headers.size();
    const int dataRows = std::max(int(table.rows.size()), table.dataRowsShown);
    grid->SetRowCount(1 + dataRows);
    grid->SetColumnCount(cols);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(std::min(2, cols));
    for (int c = 0; c < cols; ++c) {
        grid->SetItemText(0, c, table.headers[c]);
        grid->SetItemFormat(0, c, table.headerFormat);
    }
    for (int i = 0; i < table.rows.size(); ++i) {
        const ReminderRow& row = table.rows[i];
        const int r = i + 1;
        grid->SetItemText(r, 0, QString::number(r));
        for (int c = 0; c < row.cells.size() && c + 1 < cols; ++c)
            grid->SetItemText(r, c + 1, row.cells[c]);
        if (row.colour.isValid())
            for (int c = 0; c < cols; ++c)
                grid->SetItemFgColour(r, c, row.colour);
    }
    grid->AutoSize();
}

CReminderScreen::CReminderScreen(int commandId, QWidget* parent)
    : CGridScreen(commandId, ReminderLists::find(commandId)->module, parent)
    , m_def(*ReminderLists::find(commandId))
{
    setTitle(m_def.title);
    setOffers(OfferCopy | OfferFind | OfferGrid | OfferPrint);
    setCopyRule(CopyRule::Always);
    if (m_def.kind == ReminderLists::Kind::JianCha)
        connect(grid(), &CGridCtrl::selChanged, this, [this](int row, int) {
            if (!m_loading)
                confirmCheck(row);
        });
}

void CReminderScreen::loadScreen()
{
    const ReminderTable table = ReminderLists::compute(m_def, connection(), AppClock::now());
    if (table.openFailed && table.reportOpenFailure)
        AppMessageBox(QStringLiteral("打开数据库错误"), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
    m_listed = table.rows.size();
    // Filling the grid and parking its current cell on the header are no choice of a row:
    // with no current cell, the grid would take its first data row when it gets the focus.
    m_loading = true;
    fillReminderGrid(grid(), table);
    grid()->SetFocusCell(0, 0);
    m_loading = false;
}

void CReminderScreen::confirmCheck(int row)
{
    CGridCtrl* g = grid();
    if (row < 1 || row >= g->GetRowCount())
        return;
    const QString tag = g->GetItemText(row, 1);
    const QString parity = g->GetItemText(row, 2);
    // The check alert keeps empty rows after its list: there is nothing to confirm there.
    if (tag.isEmpty())
        return;
    // Moving along the row just asked about asks nothing more.
    if (row == m_askedRow)
        return;
    m_askedRow = row;
    const MsgAnswer answer = AppMessageBox(QStringLiteral("您确信母猪%1第%2胎已经检查吗？").arg(tag, parity),
                                           QStringLiteral("妊娠检查"), MsgIcon::Warning, MsgButtons::OkCancel, this);
    if (answer != MsgAnswer::Ok)
        return;
    const QString matingDate = g->GetItemText(row, 4);
    // The write waits for no other window: one holding unsaved changes is named and nothing changes.
    if (!beginWrite())
        return;
    CDbRecordset rs(&connection());
    const QString sql = QStringLiteral("select * from 配种 where 母猪耳号=%1 and 胎次=%2 and [配种日期(1)] like '%3%' order by id")
                            .arg(TextUtil::sqlQuote(tag), TextUtil::sqlQuote(parity), TextUtil::sqlEscape(matingDate));
    if (!rs.Open(sql) || rs.IsEOF()) {
        rollbackWork();
        return;
    }
    if (!rs.SetFieldText(QStringLiteral("检查时间"), TextUtil::todayText()) || !rs.Update()) {
        const QString why = rs.LastError();
        rollbackWork();
        AppMessageBox(QStringLiteral("妊娠检查没有记录：%1").arg(why), QStringLiteral("错误"), MsgIcon::Stop, MsgButtons::Ok, this);
        return;
    }
    if (!commitWork()) {
        rollbackWork();
        return;
    }
    g->DeleteRow(row);
    --m_listed;
    m_askedRow = -1;
    g->Refresh();
}
