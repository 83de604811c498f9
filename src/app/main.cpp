#include "Version.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "ui/Dialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyra"));
    QApplication::setApplicationVersion(QStringLiteral(PAPYRA_VERSION_STRING));
    // Lets a Wayland desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.papyra.Papyra"));

    const QString programFolder = QApplication::applicationDirPath();
    Translations::install(programFolder);
    const QString dataFolder = Startup::prepareProgramFolder(programFolder);

    Dialogs dialogs;
    MainWindow window(programFolder, dataFolder, &dialogs);
    window.show();
    return app.exec();
}
