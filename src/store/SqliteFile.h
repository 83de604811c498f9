#pragma once

#include <QString>

// Papyra's index as a single SQLite file: the checks a file must pass before it may become the
// index, and the copies of backup and restore.
namespace SqliteFile {

// True when path, on its own, is an undamaged SQLite database holding this program's tables in the
// shape it edits them; otherwise why says what is wrong, in a sentence for the user. Refuses
// anything but a regular file without looking inside, a file with a journal or log beside it, a
// length other than its header gives, whatever integrity_check does not call ok, and tables of the
// right names but another shape (triggers other than the search index's own, views, virtual tables,
// no rowid, FileNumber not the integer key, STRICT tables, CHECK and UNIQUE constraints). Papyra's
// own history table may be there, in its own shape, and its search index exactly as the program
// makes it (a file without them gets them when it is opened); other tables and indexes may be there
// too. Opens the file through SQLite, which may write to it, so it is meant for a copy.
bool isProgramDatabase(const QString &path, QString *why = nullptr);

// The copy of each direction. The database is never left half-written. A restore copies the chosen
// file beside the database (with the -wal log beside it, whose committed edits are folded in),
// checks that copy, turns a write-ahead-log database into a single file, and only then renames it
// over the database; on any failure the database is left byte for byte
// as it was.
bool backupTo(const QString &databasePath, const QString &backupPath, QString *error = nullptr);
bool restoreFrom(const QString &backupPath, const QString &databasePath, QString *error = nullptr);

// A consistent copy of the database as it stands, taken through SQLite's online backup while other
// connections may be using it (they wait for the few moments the copy reads). Written under a
// temporary name beside snapshotPath and renamed only when complete, so snapshotPath is never half
// written; on failure nothing is left behind. Uses connections of its own, so any thread may run it.
bool snapshot(const QString &databasePath, const QString &snapshotPath, QString *error = nullptr);

// How many slots of the database file at path hold keywords; -1 (with *error) when it cannot be read.
int filledCount(const QString &path, QString *error = nullptr);

} // namespace SqliteFile
