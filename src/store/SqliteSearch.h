#pragma once

#include "store/Pattern.h"

#include <QString>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>

// The SQL function of the keyword search, registered on each connection to Varnel.mdb.
//
//   papyra_search(term, rowid)
//     1 when `*term*` matches the keywords, the category or the reminder in the form the grids
//     show, case ignored per character, of the Varnel slot with that rowid; a null field never
//     matches. Looked up in the matches that the first call of a statement finds in an in-memory
//     copy of the three fields, already folded. The copy is read at the first search on a
//     connection and kept current from the connection's update hook; a change it cannot account
//     for (another connection's commit, a statement the hook does not see, a change of the
//     locale's date form) makes it read the table afresh.
//
// The term is bound as a value, so no search text ever becomes SQL text.
namespace SqliteSearch {

bool install(sqlite3 *db, QString *error = nullptr);

// The pieces of the rule for one slot, which the in-memory copy applies to every slot at once.
enum Field { Keywords, Category, Reminder, FieldCount };
using ShownDates = std::unordered_map<std::string, std::string>; // stored reminder -> folded shown form

// Appends a field as the search sees it: case-folded, and a reminder in the form the grids show.
void appendSearchable(std::string &out, Field field, std::string_view stored, ShownDates &shownDates);
// The pattern a search term stands for: the term anywhere in a field.
Pattern searchPattern(std::string_view term);
std::string_view textOf(sqlite3_value *value);

// What a function works out from its term once per statement run, kept as SQLite auxiliary data
// of the term argument (which is the same for every row).
template <typename T, typename Make> T *perStatement(sqlite3_context *context, Make make)
{
    if (auto *cached = static_cast<T *>(sqlite3_get_auxdata(context, 0)))
        return cached;
    T *made = make();
    if (!made)
        return nullptr;
    sqlite3_set_auxdata(context, 0, made, [](void *p) { delete static_cast<T *>(p); });
    return static_cast<T *>(sqlite3_get_auxdata(context, 0)); // null if SQLite could not keep it
}

} // namespace SqliteSearch
