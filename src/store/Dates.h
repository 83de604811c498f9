#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Reminder dates are stored as ISO text and shown as M/d/yyyy, independent of the system locale.
namespace Dates {

// Accepts M/d/yy, M/d/yyyy and yyyy-MM-dd (surrounding blanks ignored). A two-digit year 00-29
// means 20xx, 30-99 means 19xx.
std::optional<QDate> parseEntry(const QString &text);

QString toDisplay(const QDate &date);        // 12/31/2002
QString toStorage(const QDate &date);        // 2002-12-31
QDate fromStorage(const QString &stored);    // invalid for anything else
QString storageToDisplay(const QString &stored); // stored text that is not ISO is shown as it is

} // namespace Dates
