#include "BenchUtil.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "store/DataSource.h"

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
    // Each tab from the one before it; Add Files re-reads the whole slot list every time.
    static const char *names[] = {"Search", "Search Results", "Add Files", "My Categories", "Start Here"};
    for (qint16 tab = 1; tab <= 5; ++tab) {
        const double tabMs = medianTimed(runs * 2, [&] {
            window.SwitchTab(tab == 1 ? 5 : tab - 1);
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            window.SwitchTab(tab);
            QApplication::processEvents();
            return timer.nsecsElapsed() / 1e6;
        });
        report(QStringLiteral("tab change to %1, %2 slots").arg(QString::fromLatin1(names[tab - 1])).arg(slotCount),
               tabMs, QStringLiteral("<= 15 ms"));
    }
}

} // namespace Bench
