#pragma once

#include <QString>

class Dialogs;
class QWidget;
class RecordStore;

// Backup copies Varnel.mdb whole to a file the user names; restore copies such a file back over
// it. Both make every data source let go of the database first and open them all again after.
namespace BackupRestore {

enum class Mode { Backup, Restore };

// Proposed in the file dialog for both directions.
inline const QString proposedFileName = QStringLiteral("Papyra.bkp");

// True when path, on its own, is an undamaged SQLite database holding this program's tables in the
// shape it edits them; otherwise why says what is wrong, in a sentence for the user. Refuses
// anything but a regular file without looking inside, a file with a journal or log beside it, a
// length other than its header gives, whatever integrity_check does not call ok, and tables of the
// right names but another shape (triggers, views, virtual tables, no rowid, FileNumber not the
// integer key). Other tables and indexes may be there too. Opens the file through SQLite, which
// may write to it, so it is meant for a copy.
bool isProgramDatabase(const QString &path, QString *why = nullptr);

// The copy of each direction, without any dialog. The database is never left half-written. A
// restore copies the chosen file beside the database, checks that copy, turns a write-ahead-log
// database into a single file, and only then renames it over the database; on any failure the
// database is left byte for byte as it was.
bool backupTo(const QString &databasePath, const QString &backupPath, QString *error = nullptr);
bool restoreFrom(const QString &backupPath, const QString &databasePath, QString *error = nullptr);

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

// The menu command: release every data source, ask for the file, copy, re-point and refresh them all.
Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode);

} // namespace BackupRestore
