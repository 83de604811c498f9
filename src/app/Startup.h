#pragma once

#include <QString>

namespace Startup {

// Makes the program folder the current directory and, when Varnel.mdb is missing there, creates it
// as a byte-for-byte copy of Varnel.tpl. An existing database is never touched. Every step that
// fails is skipped without a word: the main window tells the user if the database cannot be opened.
void prepareProgramFolder(const QString &programFolder);

} // namespace Startup
