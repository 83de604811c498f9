#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyra"));

    const QString programFolder = QApplication::applicationDirPath();
    Startup::prepareProgramFolder(programFolder);

    Dialogs dialogs;
    MainWindow window(programFolder, &dialogs);
    window.show();
    return app.exec();
}
