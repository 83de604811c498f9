#pragma once

#include <QString>

class MainWindow;

// Backup copies Varnel.mdb whole to a file the user names; restore copies such a file back over
// it. Both make every data source let go of the database first and open them all again after.
namespace BackupRestore {

enum class Mode { Backup, Restore };

// Proposed in the file dialog for both directions.
inline const QString proposedFileName = QStringLiteral("Papyra.bkp");

// True when path is an undamaged SQLite database holding this program's tables; otherwise why
// says what is wrong, in a sentence for the user. Opens the file read-only.
bool isProgramDatabase(const QString &path, QString *why = nullptr);

// The copy of each direction, without any dialog. The database is never left half-written, and a
// restore refuses a file that is not a database of this program.
bool backupTo(const QString &databasePath, const QString &backupPath, QString *error = nullptr);
bool restoreFrom(const QString &backupPath, const QString &databasePath, QString *error = nullptr);

// The menu command: release, ask for the file, copy, reopen, tell the user how it went.
void run(MainWindow &window, Mode mode);

} // namespace BackupRestore
