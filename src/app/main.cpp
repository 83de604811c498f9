#include "ui/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "Version.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyra"));
    QApplication::setApplicationVersion(QStringLiteral(PAPYRA_VERSION_STRING));

    const QString programFolder = QApplication::applicationDirPath();
    Startup::prepareProgramFolder(programFolder);

    Dialogs dialogs;
    MainWindow window(programFolder, &dialogs);
    window.show();
    return app.exec();
}
