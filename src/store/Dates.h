#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Reminder dates are stored as ISO text and shown and typed in the short date form of the user's locale
// (QLocale()) with the year widened to four digits: 4/5/2003 (en_US), 05/04/2003 (en_GB), 05.04.2003 (de_DE),
// 2003/04/05 (ja_JP). Without a chosen locale (C, POSIX) the form is M/d/yyyy. Digits are always 0-9, so a
// year typed into the search box finds its dates in every locale. Every conversion goes through here.
namespace Dates {

// Reads a date as the user types it, or as toDisplay shows it: day, month and year in the order of the
// locale's form, separated by the locale's own separators or by any of / . -, with the form's leading or
// trailing text optional; one or two digits for day and month, two or four for the year (00-29 means 20xx,
// 30-99 19xx). yyyy-mm-dd is always accepted. Blanks around are ignored. A text that is a date only in
// another order than the locale's is refused, as is a year before 1000.
std::optional<QDate> parseEntry(const QString &text);

QString toDisplay(const QDate &date);            // the locale's form; a year before 1000 as yyyy-MM-dd
QString toStorage(const QDate &date);            // 2002-12-31
QDate fromStorage(const QString &stored);        // exactly yyyy-MM-dd; invalid for anything else
QString storageToDisplay(const QString &stored); // stored text that toDisplay would not write back is shown as it is

// The form toDisplay writes and parseEntry reads under the current locale, as a Qt date format
// ("dd.MM.yyyy"). It changes whenever a change of locale changes what they do, so it can key a cache of
// shown dates.
QString shownForm();

// The locale's short form of 31 December 2002 with a two-digit year, as the Reminder caption shows it:
// 12/31/02 (en_US and where no locale is chosen), 31/12/02 (en_GB), 31.12.02 (de_DE).
QString captionExample();

// The form in words for a message: "day, month and year, for example 31.12.2002".
QString entryHint();

} // namespace Dates
