#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// What the command line asks for. Unknown options are an error (exit code 2).
struct CommandLine {
    QString database;      // --database PATH
    QDateTime now;         // --now YYYYMMDD[hhmm]
    bool noSplash = false; // --nosplash
    bool help = false;     // --help
    bool version = false;  // --version
    QString error;         // why the command line was refused

    static CommandLine parse(const QStringList& arguments);
    static QString usage();
};
