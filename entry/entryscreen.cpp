#include "entryscreen.h"

#include "gridctrl.h"
#include "resizableformview.h"

#include <QFrame>
#include <QLabel>

namespace EntryScreen {

bool apply(CGridCtrl* grid, int row, int col, const QString& oldText, const EditOutcome& outcome, QWidget* parent)
{
    switch (outcome.kind) {
    case EditOutcome::Restore:
        grid->SetItemText(row, col, oldText);
        break;
    case EditOutcome::Clear:
        grid->SetItemText(row, col, QString());
        break;
    case EditOutcome::Accepted:
        for (auto it = outcome.cells.cbegin(); it != outcome.cells.cend(); ++it)
            grid->SetItemText(row, it.key(), it.value());
        break;
    case EditOutcome::Unchanged:
        break;
    }
    grid->RedrawCell(row, col);
    if (!outcome.message.isEmpty())
        AppMessageBox(outcome.message, outcome.caption, outcome.icon, MsgButtons::Ok, parent);
    return outcome.stored();
}

void setHeaders(CGridCtrl* grid, int row, const QStringList& headers)
{
    for (int c = 0; c < headers.size() && c < grid->GetColumnCount(); ++c) {
        grid->SetItemText(row, c, headers.at(c));
        grid->SetItemFormat(row, c, GridFormat::Center | GridFormat::VCenter | GridFormat::SingleLine);
    }
}

void numberRows(CGridCtrl* grid, int first, int last)
{
    for (int r = first; r <= last && r < grid->GetRowCount(); ++r)
        grid->SetItemText(r, 0, QString::number(r - first + 1));
}

void colourRow(CGridCtrl* grid, int row, const QColor& colour)
{
    for (int c = 0; c < grid->GetColumnCount(); ++c)
        grid->SetItemFgColour(row, c, colour);
}

QSize formSize(const CResizableFormView* view)
{
    return view->size().expandedTo(view->templateSize());
}

InfoLine createInfoLine(CResizableFormView* view, CGridCtrl* grid)
{
    const QSize t = formSize(view);
    InfoLine info;
    grid->setGeometry(0, 0, t.width(), t.height() - 30);
    info.line = new QFrame(view);
    info.line->setFrameShape(QFrame::HLine);
    info.line->setFrameShadow(QFrame::Sunken);
    info.line->setGeometry(0, t.height() - 28, t.width(), 4);
    info.arrow = new QLabel(QStringLiteral("→"), view);
    info.arrow->setGeometry(6, t.height() - 22, 18, 18);
    info.text = new QLabel(view);
    info.text->setGeometry(28, t.height() - 22, t.width() - 34, 18);
    info.text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The view may already be on screen when its set-up runs.
    for (QWidget* w : {static_cast<QWidget*>(info.line), static_cast<QWidget*>(info.arrow), static_cast<QWidget*>(info.text)})
        w->show();
    return info;
}

void anchorInfoLine(CResizableFormView* view, CGridCtrl* grid, const InfoLine& info)
{
    view->addAnchor(grid, Anchor::TopLeft, Anchor::BottomRight);
    view->addAnchor(info.line, Anchor::BottomLeft, Anchor::BottomRight);
    view->addAnchor(info.arrow, Anchor::BottomLeft, Anchor::BottomLeft);
    view->addAnchor(info.text, Anchor::BottomLeft, Anchor::BottomRight);
}

} // namespace EntryScreen
