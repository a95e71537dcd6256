#pragma once
#include <QStringList>

class CGridCtrl;

// Small grid helpers the report screens and the cards share.
namespace ReportGrid {
// Header texts of one row from column 0, centred (format 0x15); empty texts are skipped.
void setHeader(CGridCtrl* grid, int row, const QStringList& texts);
// A cell's text centred both ways.
void setCentred(CGridCtrl* grid, int row, int col, const QString& text);
// Widens columns first..last so every unmerged text fits whole as the font draws it:
// a sum of single-character widths can fall a few pixels short of a drawn ear tag, and
// the printout would then cut it to "…".
void fitColumns(CGridCtrl* grid, int first, int last);
// The same for long reports, without measuring every cell again: each column gets a
// few percent more room than the sum of its characters' widths.
void padColumns(CGridCtrl* grid);
}
