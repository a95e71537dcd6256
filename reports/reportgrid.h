#pragma once
#include <QStringList>

class CGridCtrl;

// Small grid helpers the report screens and the cards share.
namespace ReportGrid {
// Header texts of one row from column 0, centred (format 0x15); empty texts are skipped.
void setHeader(CGridCtrl* grid, int row, const QStringList& texts);
// A cell's text centred both ways.
void setCentred(CGridCtrl* grid, int row, int col, const QString& text);
}
