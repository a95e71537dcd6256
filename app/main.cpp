#include "backupcommand.h"
#include "commandline.h"
#include "democommand.h"
#include "exportcommand.h"
#include "tamvoapp.h"
#include "tamvoresources.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (ExportCommand::requested(args))
        return ExportCommand::run(argc, argv);
    if (DemoCommand::wants(args))
        return DemoCommand::run(args);
    if (BackupCommand::wants(args)) {
        QCoreApplication core(argc, argv);
        return BackupCommand::run(args);
    }
    const CommandLine options = CommandLine::parse(args);
    if (!options.error.isEmpty()) {
        fprintf(stderr, "%s\n\n%s", qPrintable(options.error), qPrintable(CommandLine::usage()));
        return 2;
    }
    if (options.help) {
        printf("%s", qPrintable(CommandLine::usage()));
        return 0;
    }
    if (options.version) {
        printf("Tamvo %s\n", TAMVO_VERSION_TEXT);
        return 0;
    }

    QApplication app(argc, argv);
    // The desktop menu's entry and the window share one icon and one name.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(TamvoResources::appIcon(size)));
    app.setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tamvo.Tamvo"));
    CTamvoApp::setupLocale(app);
    CTamvoApp tamvo;
    if (!tamvo.InitInstance(options)) {
        tamvo.ExitInstance();
        return tamvo.exitCode();
    }
    const int rc = app.exec();
    tamvo.ExitInstance();
    return rc;
}
