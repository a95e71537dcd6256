#pragma once
#include <QStringList>

// `Tamvo --create-demo PATH [--sows N] [--years Y] [--seed S] [--profile average|high]
// [--now YYYYMMDD[hhmm]]`: writes a new herd database holding a simulated farm whose
// history ends at the program's current date. Needs no window.
namespace DemoCommand {

// True when the command line asks for a demo farm.
bool wants(const QStringList& arguments);
// Runs it; the process exit code (0 done, 1 refused or failed, 2 bad options).
int run(const QStringList& arguments);
QString usage();

} // namespace DemoCommand
