#include "Version.h"
#include "app/CommandLine.h"
#include "app/IndexSettings.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (first == QLatin1String("--create-shared-index")) {
        // A command for the office's administrator: no window, so no display is needed.
        QCoreApplication app(argc, argv);
        Translations::install(QCoreApplication::applicationDirPath());
        QTextStream out(stdout), err(stderr);
        return CommandLine::createSharedIndex(app.arguments().mid(2), QCoreApplication::applicationDirPath(), out, err);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyra"));
    QApplication::setApplicationVersion(QStringLiteral(PAPYRA_VERSION_STRING));
    // Lets a Wayland desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.papyra.Papyra"));

    const QString programFolder = QApplication::applicationDirPath();
    Translations::install(programFolder);
    const QString dataFolder = Startup::prepareProgramFolder(programFolder);
    const QStringList arguments = app.arguments();
    const int index = int(arguments.indexOf(QStringLiteral("--index")));
    if (index > 0) {
        QString error;
        if (index + 1 >= arguments.size() ||
            !CommandLine::chooseIndex(arguments.at(index + 1), IndexSettings::path(programFolder), &error)) {
            QTextStream(stderr) << "papyra: "
                                << (error.isEmpty() ? QCoreApplication::translate("main", "--index needs an address")
                                                    : error)
                                << '\n';
            return 2;
        }
    }

    Dialogs dialogs;
    // A second start on the same index brings the first window to the front and ends.
    SingleInstance instance(dataFolder);
    switch (instance.claim()) {
    case SingleInstance::Claim::First:
        break;
    case SingleInstance::Claim::Woken:
        return 0;
    case SingleInstance::Claim::Unreached:
        dialogs.message(nullptr,
                        QCoreApplication::translate("main",
                                                    "Papyra is already open with this database, but its window does "
                                                    "not answer.\n\nPlease switch to it, or end it and start Papyra "
                                                    "again."),
                        Dialogs::Icon::Warning);
        return 1;
    }
    MainWindow window(programFolder, dataFolder, &dialogs);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    // After the window is on screen, never before it: the snapshot must not delay the start.
    QTimer::singleShot(0, &window, &MainWindow::startAutomaticBackups);
    return app.exec();
}
