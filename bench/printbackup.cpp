#include "BenchUtil.h"

#include "app/MainWindow.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace Bench {

namespace {

void fillKeywords(const QString &databasePath)
{
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fill"));
        db.setDatabaseName(databasePath);
        filled = db.open() &&
                 QSqlQuery(db).exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Folder ' || FileNumber || ' bank "
                                                   "statements and letters from the building society', Category = "
                                                   "'Bank', Reminder = '2024-05-01'"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
    if (!filled)
        fail(QStringLiteral("cannot fill %1").arg(databasePath));
}

} // namespace

// The database report to PDF, and backup and restore, each as the menu command runs it.
void printAndBackup(int reportSlots, int backupSlots, int runs)
{
    {
        const QString folder = makeProgramFolder(QStringLiteral("report-%1").arg(reportSlots), reportSlots);
        fillKeywords(QDir(folder).filePath(QStringLiteral("Varnel.mdb")));
        AnsweringDialogs dialogs;
        dialogs.file = QDir(folder).filePath(QStringLiteral("report.pdf"));
        MainWindow window(folder, &dialogs);
        window.show();
        window.SwitchTab(3); // printed with the slot grid on screen, as a user would
        QApplication::processEvents();
        const double ms = medianMs(runs, [&] {
            window.action(QStringLiteral("mnuPrint"))->trigger();
            QApplication::processEvents();
        });
        if (dialogs.messages || QFileInfo(dialogs.file).size() == 0)
            fail(QStringLiteral("the report was not printed to %1").arg(dialogs.file));
        report(QStringLiteral("report of %1 filled slots to PDF").arg(reportSlots), ms, QStringLiteral("<= 1000 ms"));
    }
    // As the template makes it (open slots), and with every slot filled: ten times the file.
    for (const bool filled : {false, true}) {
        const QString what = QStringLiteral("%1 %2 slots").arg(backupSlots).arg(filled ? "filled" : "open");
        const QString folder =
            makeProgramFolder(QStringLiteral("backup-%1-%2").arg(backupSlots).arg(filled), backupSlots);
        if (filled)
            fillKeywords(QDir(folder).filePath(QStringLiteral("Varnel.mdb")));
        AnsweringDialogs dialogs;
        dialogs.file = QDir(folder).filePath(QStringLiteral("Papyra.bkp"));
        MainWindow window(folder, &dialogs);
        window.show();
        QApplication::processEvents();
        const double backupMs = medianMs(runs, [&] {
            window.action(QStringLiteral("mnuBackup"))->trigger();
            QApplication::processEvents();
        });
        report(QStringLiteral("backup of ") + what, backupMs, QStringLiteral("<= 100 ms"));
        const double restoreMs = medianMs(runs, [&] {
            window.action(QStringLiteral("mnuRestore"))->trigger();
            QApplication::processEvents();
        });
        if (dialogs.messages != 2 * runs)
            fail(QStringLiteral("%1 messages for %2 backups and restores, one each expected")
                     .arg(dialogs.messages)
                     .arg(runs));
        report(QStringLiteral("restore of ") + what, restoreMs, QStringLiteral("<= 100 ms"));
    }
}

} // namespace Bench
