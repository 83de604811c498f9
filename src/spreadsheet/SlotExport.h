#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "spreadsheet/Workbook.h"

class RecordStore;

// The file slots as a spreadsheet: a header line, then one line for every slot that holds a
// keyword, a category or a reminder, by FileNumber. The file's form follows its name: .ods and
// .xlsx workbooks hold numbers as numbers and reminders as dates; anything else is CSV, separated
// as the user's locale expects (Csv::localeSeparator), with reminders as stored: yyyy-mm-dd, which
// spreadsheet programs read as a date in every locale (a reminder of an older file that is not a
// date goes out as it is).
namespace SlotExport {

inline const QString proposedFileName = QStringLiteral("Papyra.csv");

QStringList header(); // File #, Keywords, Category, Reminder

// The header and the slot lines; false with error when the database cannot be read.
bool rows(const RecordStore &store, QVector<QStringList> *rows, QString *error = nullptr);

// The same as typed cells, for a workbook.
bool sheet(const RecordStore &store, Workbook::Sheet *sheet, QString *error = nullptr);

// Writes the file atomically: a file already there stays whole unless the new one is complete.
// count receives the number of slots written.
bool writeFile(const RecordStore &store, const QString &path, int *count = nullptr, QString *error = nullptr);

} // namespace SlotExport
