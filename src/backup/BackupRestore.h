#pragma once

#include <QString>

class Dialogs;
class QWidget;
class RecordStore;

// Backup copies the index whole to a file the user names; restore puts such a file back in its
// place. Both close the store first (what is being typed is written) and open it again after.
namespace BackupRestore {

enum class Mode { Backup, Restore };

// Proposed in the file dialog for both directions.
inline const QString proposedFileName = QStringLiteral("Papyra.bkp");

// What a run of the command came to, for the window to show.
struct Outcome {
    Mode mode = Mode::Backup;
    QString chosen; // the file the user chose; empty when they cancelled
    bool copied = false;
    QString error;     // why the copy failed
    QString readError; // why a data source could not be read again afterwards; empty when all could

    // The message that tells the user how the copy went; empty after a cancel.
    QString message() const;
};

// The menu command: close the store, ask for the file, copy, open the store and read every data source again.
Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode);

} // namespace BackupRestore
