#include "BenchUtil.h"

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "store/DataSource.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
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
    // Each tab from the one before it. Add Files refreshes the slot list: measured as it comes
    // after nothing changed, and right after an edit, when the whole key list is read again.
    static const char *names[] = {"Search",        "Search Results", "Add Files",
                                  "My Categories", "Start Here",     "Add Files after an edit"};
    for (qint16 step = 1; step <= 6; ++step) {
        const qint16 tab = step == 6 ? 3 : step;
        int edit = 0;
        const double tabMs = medianTimed(runs * 2, [&] {
            window.SwitchTab(tab == 1 ? 5 : tab - 1);
            if (step == 6)
                QSqlQuery(window.store().engine().connection())
                    .exec(QStringLiteral("UPDATE Varnel SET Keywords = 'bench %1' WHERE FileNumber = 7").arg(++edit));
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            window.SwitchTab(tab);
            QApplication::processEvents();
            return timer.nsecsElapsed() / 1e6;
        });
        report(QStringLiteral("tab change to %1, %2 slots").arg(QString::fromLatin1(names[step - 1])).arg(slotCount),
               tabMs, QStringLiteral("<= 15 ms"));
    }
}

} // namespace Bench
