#pragma once

#include "store/DataSource.h"

#include <QString>

class Database;
class RecordStore;

// The keyword search of the Search tab: Enter in txtFrontSearch and a click on Command3 ("GO!")
// list, on the Search Results tab, every slot whose keywords, category or reminder contain the
// typed text in any case.
namespace KeywordSearch {

// The box text without leading and trailing blanks; blanks inside stay. Case is left to the matcher.
QString searchTerm(const QString &boxText);

// The slots of Varnel matching `*term*` in ascending FileNumber, the term bound as a value.
RecordSource recordSource(const QString &term);

// Registers the search functions on every connection of the database. Call before the data sources open.
void install(Database &database);

// Re-points Search, gives it the query for the box text and refreshes it; false when the slots
// could not be read (Search's lastError says why). The caller shows the results tab.
bool run(RecordStore &store, const QString &boxText);

} // namespace KeywordSearch
