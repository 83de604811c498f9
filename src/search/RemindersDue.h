#pragma once

#include <QDate>
#include <QString>

class RecordStore;

// The slots whose reminder falls due within the coming week, overdue ones included. "Today" is
// the caller's: the program passes the local date, tests a fixed one.
namespace RemindersDue {

// A reminder is due from this many days before its date onwards.
constexpr int windowDays = 7;

// The latest reminder date that counts as due on `today`.
QDate lastDueDate(const QDate &today);

// Search lists the due slots, by Reminder, then FileNumber; false when they cannot be read.
bool list(RecordStore &store, const QDate &today);

// How many slots are due; -1 when the database cannot be read.
int count(const RecordStore &store, const QDate &today);

// The status bar's first panel: "3 reminders due", "1 reminder due", blank for none.
QString statusText(int count);

} // namespace RemindersDue
