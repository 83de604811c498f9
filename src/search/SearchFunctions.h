#pragma once

#include <QString>

class QSqlDatabase;
struct sqlite3;

// SQL functions of the keyword search, registered on each connection to Varnel.mdb.
//
//   papyra_match(term, keywords, category, reminder)
//     1 when `*term*` matches the keywords, the category or the reminder in the form the grids
//     show, case ignored per character; a null field never matches. The rule for one row.
//   papyra_search(term, rowid)
//     the same answer for the Varnel slot with that rowid, looked up in the matches that the first
//     call of a statement finds in an in-memory copy of the three fields, already folded. The copy
//     is read at the first search on a connection and kept current from the connection's update
//     hook; a change it cannot account for (another connection's commit, a statement the hook does
//     not see, a change of the locale's date form) makes it read the table afresh.
//
// The term is bound as a value, so no search text ever becomes SQL text.
namespace SearchFunctions {

bool install(sqlite3 *db, QString *error = nullptr);
bool install(QSqlDatabase &db, QString *error = nullptr);

} // namespace SearchFunctions
