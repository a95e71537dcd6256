#pragma once
#include <QString>
#include <functional>

class QWidget;

// Backup, restore and compaction of the herd database: one routine with a mode, run by
// the system menu's commands and by the cleanup dialog's buttons. The steps below it
// show no window, so tests and the command line use them directly.
namespace DbMaintenance {

enum Mode { Backup = 0, Restore = 1, Compact = 2 };

// The routine: asks for the file (backup, restore), does the work and says how it went.
// False when it failed or was given up.
bool run(int mode, const QString& databasePath, QWidget* parent = nullptr);

// How the backup or restore file is chosen (a save dialog for the backup, an open dialog
// for the restore); an empty answer gives up. Tests replace it; returns the old one, an
// empty one restores the real dialogs.
using FileChooser = std::function<QString(bool save, const QString& startDir, QWidget* parent)>;
FileChooser setFileChooser(FileChooser chooser);

// Closes every open screen, each asking its own question; false when one stays open.
// The frame installs it; without one there is nothing to close.
using ScreenCloser = std::function<bool()>;
void setScreenCloser(ScreenCloser closer);
bool closeOpenScreens();

// ".db" appended unless the name ends in it.
QString withExtension(const QString& path);

// A herd database of this program that is intact: every table with its columns, and
// "integrity_check" finds nothing. why tells what is wrong.
bool isRestorable(const QString& path, QString* why = nullptr);

// Replaces the database's contents with the file's, after the checks of isRestorable
// and after a copy of the current database was written beside it (keptCopy names it).
// Nothing changes when it fails.
bool restore(const QString& databasePath, const QString& source, QString* keptCopy = nullptr, QString* error = nullptr);

// The compaction's temporary file: the database path without its extension + ".tmp".
QString compactTempPath(const QString& databasePath);
// Rewrites the database without its free pages into the temporary file and renames
// that over the database: the database is either the old file or the whole new one.
// Fails while another connection has the database open.
bool compact(const QString& databasePath, QString* error = nullptr);

} // namespace DbMaintenance
