#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class CGridCtrl;
class QWidget;

// What a screen or dialog offers to `Tamvo --export`: its inputs set from the command
// line, its action button, its grid for the CSV, its printout and its chart. A setter
// answers false when the screen has no such input or cannot take the value. The
// exporter calls, in order: exportSetUp, the setters of the options given, exportAction,
// then reads exportGrid (and exportPdf, exportChart when asked). A screen without an
// action button brings its grid up to date in the setters themselves.
class IExportable
{
public:
    virtual ~IExportable() = default;

    // Set-up on the given herd database (the screen's initial update); false when the
    // screen could not start (it has shown why).
    virtual bool exportSetUp(const QString& databasePath) = 0;

    virtual bool exportSetBreed(const QString& /*codeOrAll*/) { return false; }
    virtual bool exportSetEarTag(const QString& /*text*/) { return false; }
    virtual bool exportSetFrom(const QDate& /*date*/) { return false; }
    virtual bool exportSetTo(const QDate& /*date*/) { return false; }
    virtual bool exportSetDate(const QDate& /*date*/) { return false; }
    virtual bool exportSetYears(int /*first*/, int /*last*/) { return false; }
    virtual bool exportSetType(int /*type*/) { return false; }
    virtual bool exportSetSow(const QString& /*earTag*/) { return false; }

    // Presses the action button ("分析", "刷新", "配对", "查询"); false when there is none.
    virtual bool exportAction() { return false; }
    virtual CGridCtrl* exportGrid() = 0;
    // What the print command would print, as a PDF; false when it offers no printing.
    virtual bool exportPdf(const QString& /*path*/) { return false; }
    // The screen's chart as a picture; false when it has none.
    virtual bool exportChart(const QString& /*pngPath*/) { return false; }
};

// Dialog commands that can be exported (the status query, the planner): the frame runs
// them modally; the exporter builds them through these factories. Grid screens need no
// entry here: they are found in ScreenRegistry.
namespace ExportDialogs {
struct Entry {
    int commandId = 0;
    QString caption;
    std::function<QWidget*(QWidget* parent)> create;
};
void add(const Entry& entry);
// By command id in digits or by menu caption, as ScreenRegistry::findByName.
const Entry* findByName(const QString& idOrCaption);
QList<Entry> all();
}
