#pragma once

#include <QString>

// Error texts come from the operating system (errno, or Windows' own messages), so a full disk reads
// as "No space left on device".
namespace FileCopy {

// Copies from over to, byte for byte. The copy is written to a temporary file beside `to`, flushed
// to disk and renamed over it, so `to` is either untouched or the complete copy, never half of it.
// Copying a file onto itself leaves it as it was.
bool copyAtomically(const QString &from, const QString &to, QString *error = nullptr);

// Makes a new, empty file with a unique name beginning with `prefix` in `folder`; its path goes to *path.
bool createUnique(const QString &folder, const QString &prefix, QString *path, QString *error = nullptr);

// Writes the bytes of `from` into the existing or new file `to` (truncated first) and flushes them to disk.
bool copyInto(const QString &from, const QString &to, QString *error = nullptr);

// Writes bytes into the existing or new file `to` (truncated first) and flushes them to disk.
bool writeInto(const QByteArray &bytes, const QString &to, QString *error = nullptr);

// Writes bytes to a temporary file beside `to` and renames it over `to`, as copyAtomically does.
bool writeAtomically(const QByteArray &bytes, const QString &to, QString *error = nullptr);

// Flushes the file at path to disk.
bool syncFile(const QString &path, QString *error = nullptr);

// Gives path the permissions of the file `like`, or those of a new file when `like` does not exist.
bool matchMode(const QString &path, const QString &like);

// Renames from over to and flushes the folder, so the new name survives a power cut. On Windows an
// existing `to` keeps its security and attributes, and one marked read-only is refused, as Windows
// protects it.
bool replace(const QString &from, const QString &to, QString *error = nullptr);

} // namespace FileCopy
