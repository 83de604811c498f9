#include "backup/BackupRestore.h"

#include "backup/AutoBackup.h"
#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace BackupRestore {

namespace {

void copy(RecordStore &store, Outcome *outcome)
{
    BusyCursor busy;
    if (outcome->mode == Mode::Backup) {
        outcome->copied = store.backupTo(outcome->chosen, &outcome->error);
        return;
    }
    // The index as it is goes first into a snapshot, so the restore can be undone; without one, no restore.
    const AutoBackup::Result snapshot =
        AutoBackup::take(store.engine(), store.dataFolder(), AutoBackup::Settings(store.dataFolder()).secondFolder());
    outcome->secondFolderError = snapshot.secondError;
    if (!snapshot.ok) {
        outcome->error = QCoreApplication::translate(
                             "BackupRestore", "Papyra could not first keep a copy of your database to undo the restore "
                                              "with: %1")
                             .arg(snapshot.error);
        return;
    }
    outcome->snapshot = snapshot.path;
    outcome->copied = store.restoreFrom(outcome->chosen, &outcome->error);
}

void reopen(RecordStore &store, Outcome *outcome)
{
    // The data sources read whatever index the store has open now: after a restore, the restored one.
    if (store.open(&outcome->readError))
        store.refreshAll(&outcome->readError);
}

} // namespace

QStringList restoreFilters()
{
    return {QCoreApplication::translate("BackupRestore", "Papyra backups (*.bkp *.mdb)"),
            QCoreApplication::translate("BackupRestore", "All files (*)")};
}

QString restoreFolder(const QString &dataFolder)
{
    const QString last = AutoBackup::Settings(dataFolder).lastRestoreFolder();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode)
{
    // Closing writes what is typed into a grid, as leaving the row would, and lets go of the index
    // while the user chooses the file.
    store.close();

    Outcome outcome;
    outcome.mode = mode;
    if (mode == Mode::Backup) {
        outcome.chosen = dialogs.saveFileName(parent, proposedFileName);
    } else {
        outcome.chosen =
            dialogs.openFileName(parent, proposedFileName, restoreFolder(store.dataFolder()), restoreFilters());
        if (!outcome.chosen.isEmpty())
            AutoBackup::Settings(store.dataFolder()).setLastRestoreFolder(QFileInfo(outcome.chosen).absolutePath());
        // A shared index is every desk's: replacing it is asked first, naming what it replaces.
        if (!outcome.chosen.isEmpty() && store.isShared() &&
            !dialogs.askYesNo(
                parent, QCoreApplication::translate("BackupRestore",
                                                    "Restoring replaces the shared index %1 for every desk with the "
                                                    "contents of\n%2\n\nRestore it?")
                            .arg(store.location(), QDir::toNativeSeparators(outcome.chosen))))
            outcome.chosen.clear();
    }
    if (!outcome.chosen.isEmpty())
        copy(store, &outcome);
    reopen(store, &outcome);
    return outcome;
}

Outcome restoreFile(RecordStore &store, const QString &path)
{
    store.close();
    Outcome outcome;
    outcome.mode = Mode::Restore;
    outcome.chosen = path;
    copy(store, &outcome);
    reopen(store, &outcome);
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

QString Outcome::detail() const
{
    if (mode != Mode::Restore || !copied)
        return QString();
    QString text = QCoreApplication::translate(
                       "BackupRestore", "Your database as it was before is kept: File > Restore Automatic Backup... "
                                        "brings it back (%1).")
                       .arg(QFileInfo(snapshot).fileName());
    if (!secondFolderError.isEmpty())
        text += QStringLiteral("\n\n") + secondFolderError;
    return text;
}

void report(const Outcome &outcome, Dialogs &dialogs, QWidget *parent)
{
    const QString message = outcome.message();
    if (message.isEmpty())
        return;
    const QString detail = outcome.detail();
    if (!detail.isEmpty())
        dialogs.messageWithDetail(parent, message, detail);
    else
        dialogs.message(parent, message, outcome.copied ? Dialogs::Icon::None : Dialogs::Icon::Warning);
}

} // namespace BackupRestore
