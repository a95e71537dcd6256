#pragma once
#include <QStringList>

// `Tamvo --backup PATH [--database DB]`: the online backup without a window, for a
// nightly job. Exit code 0 written, 1 failed (the database missing, damaged or the file
// not writable), 2 bad options.
namespace BackupCommand {
bool wants(const QStringList& arguments);
QString usage();
int run(const QStringList& arguments);
}
