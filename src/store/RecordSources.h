#pragma once

#include "store/DataSource.h"

#include <QDate>

// The record sources, criteria and column layouts of the four data sources.
namespace RecordSources {

RecordSource slotTable(); // the table Varnel in FileNumber order
// The table Categories in the order names were added; key: the column that tells its rows apart.
RecordSource categoryTable(const QString &key);
QVector<Column> slotColumns(); // File #, Keywords, Category, Reminder
QVector<Column> categoryColumns();

// The slots matching every one of the search terms; the engine finds their keys
// (Engine::searchKeys).
RecordSource matching(const QStringList &terms);
// What the engines' SQL search asks of one term: condition is the engine's, with one placeholder
// for the term. A term that reads as a date (Dates::parseEntry) also finds the reminders on that date.
Criterion termCriterion(const QString &condition, const QString &term);
// Every one of the terms, each as termCriterion() takes it.
Criterion matchingAll(const QString &condition, const QStringList &terms);
// The slots whose well-formed reminder falls on or before lastDay, by Reminder, then FileNumber.
RecordSource dueBy(const QDate &lastDay);
// The same slots as a condition with its value.
Criterion dueCriterion(const QDate &lastDay);
// Whether a stored reminder is a well-formed date, as dueCriterion tests it (yyyy-MM-dd in digits).
bool isStoredDate(const QVariant &reminder);

Criterion openSlot();              // a slot whose keywords are null
Criterion numbered(qint64 number); // the slot with that FileNumber

} // namespace RecordSources
