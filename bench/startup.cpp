#include "BenchUtil.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabBar>

namespace Bench {

// Start-up to window shown, and one tab change with its start picture, on a large database.
void startup(int slotCount, int runs)
{
    const QString folder = makeProgramFolder(QStringLiteral("startup-%1").arg(slotCount), slotCount);
    Dialogs dialogs;

    const double startMs = medianMs(runs, [&] {
        Startup::prepareProgramFolder(folder);
        MainWindow window(folder, &dialogs);
        window.show();
        QApplication::processEvents();
    });
    report(QStringLiteral("start-up to window shown, %1 slots").arg(slotCount), startMs, QStringLiteral("<= 250 ms"));

    MainWindow window(folder, &dialogs);
    window.show();
    QApplication::processEvents();
    int tab = 0;
    const double tabMs = medianMs(runs * 4, [&] {
        tab = (tab + 1) % 4; // the Add Files tab (2) re-reads the whole slot list each time
        window.SwitchTab(qint16(tab + 1));
        QApplication::processEvents();
    });
    report(QStringLiteral("tab change incl. start picture, %1 slots").arg(slotCount), tabMs, QStringLiteral("<= 15 ms"));
}

} // namespace Bench
