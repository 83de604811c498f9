#pragma once

#include <functional>

class RecordStore;
class Dialogs;
class QWidget;

// The File menu's spreadsheet commands: they ask through the dialogs, read and write through the
// shared connection, and tell the user how it went. Pending grid edits are the caller's to write
// first, so that the file and the question see what the user typed.
namespace SpreadsheetCommands {

// Asks for a file (proposing "Papyra.csv") and writes the slots to it. The number of slots
// written; -1 when cancelled or failed.
int exportSlots(const RecordStore &store, Dialogs &dialogs, QWidget *parent);

// Asks for a file, reads it, asks whether to fill the slots, and fills them in one transaction.
// After a write, showNewData runs before the closing message, so that every grid and the last
// search show the imported data when the user reads it. The number of slots filled; -1 when
// nothing was written.
int importSlots(RecordStore &store, Dialogs &dialogs, QWidget *parent, const std::function<void()> &showNewData);

} // namespace SpreadsheetCommands
