#pragma once

#include <QString>

namespace FileCopy {

// Copies from over to, byte for byte. The copy is written to a temporary file beside `to`, flushed
// to disk and renamed over it, so `to` is either untouched or the complete copy, never half of it.
// Copying a file onto itself leaves it as it was.
bool copyAtomically(const QString &from, const QString &to, QString *error = nullptr);

} // namespace FileCopy
