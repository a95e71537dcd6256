#pragma once
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// The program's one printing path. Whatever prints (a grid, a report, a card, the
// planner's list) hands over a render function; printing with the dialog, printing
// at once, the preview and a PDF file all draw through it on one shared printer, so
// the page set-up chosen once carries over between screens.
namespace PrintService {
enum class Mode { Dialog, Direct, Preview };
using Render = std::function<void(QPrinter* printer)>;
// Replaces what a print or preview does (tests, headless runs); returns the old one.
using Handler = std::function<void(Mode mode, const Render& render)>;

// Told when a print preview opens (true) and closes (false): the frame hides its tabs meanwhile.
using PreviewObserver = std::function<void(bool showing)>;
void setPreviewObserver(PreviewObserver observer);

// The farm's owner name printed in the grid screens' headings (the application sets
// where it comes from).
void setOwnerNameSource(std::function<QString()> source);
QString ownerName();

QPrinter* sharedPrinter();
Handler setHandler(Handler handler);
void run(Mode mode, const Render& render, QWidget* parent = nullptr);
// Renders into a PDF file with the shared printer's page set-up. False when nothing
// complete could be written; takePdfWriteFailed() then tells a failed write (full disk)
// from a render that produced nothing (and clears what it tells).
bool toPdf(const Render& render, const QString& path);
bool takePdfWriteFailed();
}
