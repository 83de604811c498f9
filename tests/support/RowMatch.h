#pragma once

struct sqlite3;

// papyra_match(term, keywords, category, reminder): the search's rule applied to one row's own
// fields, without the in-memory copy the program searches. Tests compare the copy against it and
// the benchmark times it; the program never registers it.
namespace RowMatch {

bool install(sqlite3 *db);

} // namespace RowMatch
