#pragma once

#include "store/DataSource.h"

#include <QString>

class MainWindow;

// The keyword search of the Search tab: Enter in txtFrontSearch and a click on Command3 ("GO!")
// list, on the Search Results tab, every slot whose keywords, category or reminder contain the
// typed text in any case.
namespace KeywordSearch {

// The box text without leading and trailing blanks; blanks inside stay. Case is left to the matcher.
QString searchTerm(const QString &boxText);

// The slots of Varnel matching `*term*` in ascending FileNumber, the term bound as a value.
RecordSource recordSource(const QString &term);

// Registers the search functions on every connection of the window's database and wires Enter and
// "GO!". Call before the data sources open.
void attach(MainWindow *window);

// Re-points Search, gives it the query for the box text, refreshes it and shows the results tab.
void run(MainWindow *window);

} // namespace KeywordSearch
