#pragma once

#include <QString>

class QSqlDatabase;
struct sqlite3;

// SQL functions of the keyword search, registered on each connection to Varnel.mdb.
//
//   papyra_match(term, keywords, category, reminder)
//     1 when `*term*` matches the upper-cased keywords, the upper-cased category or the reminder in
//     its M/d/yyyy form; a null field never matches. The rule for one row.
//   rowid IN papyra_search(term)
//     the slots of Varnel for which papyra_match holds, answered from an in-memory copy of the
//     three fields already folded to upper case. The copy is built at the first search on a
//     connection and kept current from the connection's update hook; a change it cannot account
//     for (another connection, a statement the hook does not see) makes it read the table afresh.
//
// The term is bound as a value, so no search text ever becomes SQL text.
namespace SearchFunctions
{

bool install(sqlite3 *db, QString *error = nullptr);
bool install(QSqlDatabase &db, QString *error = nullptr);

} // namespace SearchFunctions
