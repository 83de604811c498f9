#pragma once

#include <QString>
#include <QStringList>

class Dialogs;
class QWidget;
class RecordStore;

// Backup copies the index whole to a file the user names; restore puts such a file back in its
// place, after a snapshot of the index as it was (AutoBackup), so every restore can be undone. Both
// close the store first (what is being typed is written) and open it again after.
namespace BackupRestore {

enum class Mode { Backup, Restore };

// Proposed in the file dialog for both directions.
inline const QString proposedFileName = QStringLiteral("Papyra.bkp");
// What the restore dialog offers, the first chosen.
QStringList restoreFilters();
// Where the restore dialog starts: the folder last restored from, or else the user's documents.
QString restoreFolder(const QString &dataFolder);

// What a run of the command came to, for the window to show.
struct Outcome {
    Mode mode = Mode::Backup;
    QString chosen; // the file the user chose; empty when they cancelled
    bool copied = false;
    QString error;             // why the copy failed
    QString readError;         // why a data source could not be read again afterwards; empty when all could
    QString snapshot;          // the snapshot taken before a restore
    QString secondFolderError; // why the snapshot's copy in the second folder could not be written

    // The message that tells the user how the copy went; empty after a cancel.
    QString message() const;
    // The smaller text under it: after a restore, how to undo it.
    QString detail() const;
};

// The menu command: close the store, ask for the file, copy, open the store and read every data source again.
Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode);
// Restore from a file already chosen (an automatic backup), exactly as the menu command restores.
Outcome restoreFile(RecordStore &store, const QString &path);
// Tells the user how an outcome went, when there is anything to tell.
void report(const Outcome &outcome, Dialogs &dialogs, QWidget *parent);

} // namespace BackupRestore
