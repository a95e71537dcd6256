#pragma once
#include "editoutcome.h"

#include <QColor>
#include <QSize>
#include <QStringList>

class CGridCtrl;
class CComboGridCtrl;
class CResizableFormView;
class QFrame;
class QLabel;
class QWidget;

// Small pieces the three data-entry screens share.
namespace EntryScreen {

// Shows the outcome's message and puts the right texts into the edited row: the new
// text stays only when it was stored. True when stored.
bool apply(CGridCtrl* grid, int row, int col, const QString& oldText, const EditOutcome& outcome, QWidget* parent);

// Header texts of a fixed row, centred.
void setHeaders(CGridCtrl* grid, int row, const QStringList& headers);
// Numbers rows first..last in column 0 ("%d", from 1).
void numberRows(CGridCtrl* grid, int first, int last);
// Text colour of every cell of a row; an invalid colour gives the grid's own.
void colourRow(CGridCtrl* grid, int row, const QColor& colour);

// The line under the grid: a separator, an arrow "→" and a one-line text, kept at the
// bottom edge of the form. The grid takes the rest of the template.
struct InfoLine {
    QFrame* line = nullptr;
    QLabel* arrow = nullptr;
    QLabel* text = nullptr;
};
InfoLine createInfoLine(CResizableFormView* view, CGridCtrl* grid);
// The area the form's controls are placed in: the template, or the view where it is
// already larger (set-up can run when the view is first shown, maximised).
QSize formSize(const CResizableFormView* view);
void anchorInfoLine(CResizableFormView* view, CGridCtrl* grid, const InfoLine& info);

} // namespace EntryScreen
