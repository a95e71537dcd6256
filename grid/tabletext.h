#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// Tables as text: the tab-separated form the clipboard carries between the grid and
// spreadsheets (LibreOffice, WPS, Excel), and the comma-separated form of exports.
// A field holding a separator, a line break or a quote is quoted, quotes doubled.
namespace TableText {
using Rows = QVector<QStringList>;

// Rows joined with CR LF, the line end spreadsheets write and read.
QString toTsv(const Rows& rows);
// Reads what a spreadsheet put on the clipboard: quoted fields may hold tabs and line
// breaks; CR LF, LF and CR all end a row; a final line end adds no empty row.
Rows parseTsv(const QString& text);

QString csvField(const QString& field);
// One CSV line (RFC 4180) without its line end.
QString csvLine(const QStringList& fields);
}
