#pragma once
#include <QString>
#include <QStringList>

class CGridCtrl;

// `Tamvo --export SCREEN [options] --out FILE.csv`: runs one screen or dialog without a
// display, fills its inputs from the options, presses its action button and writes its
// grid as CSV (and, when asked, its printout as PDF and its chart as PNG). A message the
// screen shows goes to standard error and makes the exit code 1; bad options give 2.
namespace ExportCommand {
// Whether the arguments ask for an export.
bool requested(const QStringList& arguments);
// The whole run in its own process: an offscreen application, then exec().
int run(int argc, char* argv[]);
// The run inside an existing application (tests); errors also land in errorText.
int exec(const QStringList& arguments, QString* errorText = nullptr);
QString usage();
// The grid as CSV: every row (fixed rows too), every column, each cell's text, a merged
// cell's text in its top-left field only. CR LF line ends (RFC 4180).
QString gridCsv(const CGridCtrl& grid);
}
