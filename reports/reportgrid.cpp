#include "reportgrid.h"
#include "gridctrl.h"

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

} // namespace ReportGrid
