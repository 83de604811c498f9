#pragma once

#include "store/DataFolder.h"

#include <QString>

namespace Startup {

// Finds the data folder for this program folder (the program folder itself when portable, the
// user's own when installed: see DataFolder), creates it when missing and makes it the current
// directory. When Varnel.mdb is missing there, creates it as a byte-for-byte copy of the program
// folder's Varnel.tpl. An existing database is never touched. Every step that fails is skipped
// without a word: the main window tells the user if the database cannot be opened.
// Returns the data folder.
QString prepareProgramFolder(const QString &programFolder, const QString &userDataHome = DataFolder::userDataHome());

} // namespace Startup
