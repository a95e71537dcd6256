#include "reportgrid.h"
#include "gridctrl.h"

#include <QFontMetrics>

namespace ReportGrid {

void setHeader(CGridCtrl* grid, int row, const QStringList& texts)
{
    for (int c = 0; c < texts.size(); ++c) {
        if (texts.at(c).isEmpty())
            continue;
        setCentred(grid, row, c, texts.at(c));
    }
}

void setCentred(CGridCtrl* grid, int row, int col, const QString& text)
{
    grid->SetItemText(row, col, text);
    grid->SetItemFormat(row, col, 0x15);
}

void fitColumns(CGridCtrl* grid, int first, int last)
{
    const QFontMetrics fm(grid->font());
    const CGridModel* m = grid->model();
    for (int c = first; c <= last && c < grid->GetColumnCount(); ++c) {
        int width = grid->GetColumnWidth(c);
        for (int r = 0; r < grid->GetRowCount(); ++r) {
            if (m->isEmpty(r, c) || m->mergeAt(r, c).width() > 1)
                continue;
            width = std::max(width, fm.horizontalAdvance(m->text(r, c)) + 12);
        }
        grid->SetColumnWidth(c, width);
    }
}

void padColumns(CGridCtrl* grid)
{
    for (int c = 0; c < grid->GetColumnCount(); ++c) {
        const int w = grid->GetColumnWidth(c);
        grid->SetColumnWidth(c, w + w / 16 + 4);
    }
}

} // namespace ReportGrid
