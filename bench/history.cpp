#include "BenchUtil.h"

#include "app/MainWindow.h"
#include "store/FileCopy.h"
#include "store/RecordStore.h"
#include "store/SqliteFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>

namespace Bench {

namespace {

void fillAll(const QString &databasePath)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-history"));
        db.setDatabaseName(databasePath);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Folder ' || FileNumber || ' bank statements and "
                                  "letters from the building society', Category = 'Bank', Reminder = '2024-05-01'"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-history"));
}

void line(const QString &what, const QString &value)
{
    if (checkOnly) {
        ran(what);
        return;
    }
    QTextStream out(stdout);
    out << qSetFieldWidth(56) << Qt::left << what << qSetFieldWidth(0) << value << Qt::endl;
}

} // namespace

// Automatic backups and the folders' history: a snapshot against a plain copy of the file, the
// start-up with a snapshot due, and what 100,000 edits add to the file.
void history(int runs)
{
    // Under --check every part runs once, small.
    const QVector<int> sizes = checkOnly ? QVector<int>{1000} : QVector<int>{100000, 1000000};
    for (const int slotCount : sizes) {
        const QString folder = makeProgramFolder(QStringLiteral("snapshot-%1").arg(slotCount), slotCount);
        const QString database = QDir(folder).filePath(QStringLiteral("Varnel.mdb"));
        fillAll(database);
        const int n = slotCount > 100000 ? qMin(runs, 3) : runs;
        const double copy =
            medianMs(n, [&] { FileCopy::copyAtomically(database, database + QStringLiteral(".copy")); });
        const double snapshot =
            medianMs(n, [&] { SqliteFile::snapshot(database, QDir(folder).filePath(QStringLiteral("snap.bkp"))); });
        const QString size = QStringLiteral("%1 MB").arg(QFileInfo(database).size() / 1e6, 0, 'f', 1);
        report(QStringLiteral("plain copy of %1 filled slots (%2)").arg(slotCount).arg(size), copy);
        report(QStringLiteral("snapshot of %1 filled slots").arg(slotCount), snapshot,
               QStringLiteral("<= %1 ms, twice the copy").arg(2 * copy, 0, 'f', 0));
    }

    {
        // The window is shown first; the snapshot starts after it, on a thread of its own.
        const QString folder = makeProgramFolder(QStringLiteral("snapshot-start"), checkOnly ? 1000 : 100000);
        fillAll(QDir(folder).filePath(QStringLiteral("Varnel.mdb")));
        QVector<double> shown, written;
        for (int i = 0; i < runs; ++i) {
            QDir(QDir(folder).filePath(QStringLiteral("Backups"))).removeRecursively();
            AnsweringDialogs dialogs;
            QElapsedTimer clock;
            clock.start();
            MainWindow window(folder, &dialogs);
            window.show();
            QApplication::processEvents();
            shown.append(clock.nsecsElapsed() / 1e6);
            QSignalSpy done(&window, &MainWindow::startSnapshotDone);
            window.startAutomaticBackups();
            done.wait(60000);
            written.append(clock.nsecsElapsed() / 1e6);
        }
        report(QStringLiteral("start-up of 100,000 filled slots, snapshot due: shown"), median(shown));
        report(QStringLiteral("  ... snapshot written (after the window is shown)"), median(written));
    }

    {
        // 100,000 edits of 1,000 slots, as a year of heavy use would never reach.
        const QString folder = makeProgramFolder(QStringLiteral("history-size"), 1000);
        const QString database = QDir(folder).filePath(QStringLiteral("Varnel.mdb"));
        fillAll(database);
        RecordStore store(folder);
        store.open();
        const qint64 before = QFileInfo(database).size();
        QElapsedTimer clock;
        clock.start();
        for (int batch = 0; batch < (checkOnly ? 2 : 100); ++batch) {
            QVector<SlotFill> fills;
            for (int slot = 1; slot <= 1000; ++slot)
                fills.append({slot, QStringLiteral("Edit %1 of folder %2: statements and letters").arg(batch).arg(slot),
                              std::nullopt, std::nullopt});
            store.fillSlots(fills);
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        store.close();
        const qint64 after = QFileInfo(database).size();
        line(QStringLiteral("history of 100,000 edits adds"),
             QStringLiteral("%1 MB (%2 -> %3 bytes; %4 ms for the edits)")
                 .arg((after - before) / 1e6, 0, 'f', 1)
                 .arg(before)
                 .arg(after)
                 .arg(ms, 0, 'f', 0));
    }
}

} // namespace Bench
