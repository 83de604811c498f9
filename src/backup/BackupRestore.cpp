#include "backup/BackupRestore.h"

#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace BackupRestore {

Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode)
{
    // Closing writes what is typed into a grid, as leaving the row would, and lets go of the index
    // while the user chooses the file.
    store.close();

    Outcome outcome;
    outcome.mode = mode;
    const bool backup = mode == Mode::Backup;
    outcome.chosen =
        backup ? dialogs.saveFileName(parent, proposedFileName) : dialogs.openFileName(parent, proposedFileName);
    if (!outcome.chosen.isEmpty()) {
        BusyCursor busy;
        outcome.copied =
            backup ? store.backupTo(outcome.chosen, &outcome.error) : store.restoreFrom(outcome.chosen, &outcome.error);
    }
    // The data sources read whatever index the store has open now: after a restore, the restored one.
    if (store.open(&outcome.readError))
        store.refreshAll(&outcome.readError);
    return outcome;
}

QString Outcome::message() const
{
    if (chosen.isEmpty())
        return QString();
    const bool backup = mode == Mode::Backup;
    if (copied)
        return backup ? QCoreApplication::translate("BackupRestore", "Backup Complete!")
                      : QCoreApplication::translate("BackupRestore", "Restore Complete!");
    const QString where = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    return backup
               ? QCoreApplication::translate("BackupRestore", "Papyra could not back up the database to\n%1\n\n%2")
                     .arg(where, error)
               : QCoreApplication::translate("BackupRestore", "Papyra could not restore the database from\n%1\n\n%2\n\n"
                                                              "Your database was not changed.")
                     .arg(where, error);
}

} // namespace BackupRestore
