#pragma once

#include "store/Pattern.h"

#include <QString>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The keyword search on a connection to Varnel.mdb.
//
//   FileNumber IN papyra_hits(term)
//     the slots whose keywords, category or reminder in the form the grids show contain the term
//     (`*term*` matched with the search's wildcards, case ignored per character); a null field
//     never matches.
//
// A trigram index in the file finds the candidates and the exact matcher confirms each of them.
// The index holds the keywords and category of every slot already folded, and also with their
// accents taken off (Pattern::loosen), which is what it is searched by, so that what it finds is a
// superset of the matches of a search that forgives accents. It lives in the file beside the two tables, under names of
// its own:
//
//   papyra_index     FTS5 table, trigram tokenizer, rowid = FileNumber
//   papyra_changed   the slots written since the index last took them in
//   papyra_meta      the form of the index (its version and the Unicode tables of the folding)
//   papyra_reminder  an index on Varnel(Reminder), for the reminder part and the due list
//   papyra_slots     an index on Varnel(FileNumber), the slot list read from a fraction of the file
//   three triggers   on Varnel, writing to papyra_changed
//
// The triggers are plain SQL, so every program that writes Varnel (another SQLite tool included)
// logs what it changed, in the same transaction: a rollback takes the log back with the rows. A
// search reads the slots in the log from Varnel itself, so the index never has to be current; the
// log is taken into the index when the connection opens or closes, and when it grows large. An
// index that is missing, of another form, or whose objects differ from these, is built afresh when
// the file opens; a file that cannot be written is searched by reading the whole table.
//
// The term is bound as a value, so no search text ever becomes SQL text.
namespace SqliteSearch {

// Registers papyra_hits on the connection and brings the index up to date (building it when
// needed, which writes to the file). Fails only when papyra_hits cannot be registered.
bool install(sqlite3 *db, QString *error = nullptr);
// Takes the log into the index when it holds more than longerThan entries: every entry when the
// connection is about to close, and a long log (an import, another program's bulk change) before a
// query reads it again and again. Best effort; never inside a transaction.
void flushLog(sqlite3 *db, int longerThan = 0);
// Reads the connection's distinct reminders (one index seek each) ahead of the first search, which
// would otherwise read them. Best effort: a failure shows again, and is told, at the search.
void prepare(sqlite3 *db);
// Whether an object of sqlite_schema is one of the index's own, exactly as the program makes it.
bool isOwnObject(const QString &type, const QString &name, const QString &sql);

// The pieces of the rule for one slot.
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
