#pragma once

#include <QString>
#include <QStringList>

class RecordStore;

// The keyword search of the Search tab: Enter in txtFrontSearch and a click on Command3 ("GO!")
// list, on the Search Results tab, every slot whose keywords, category or reminder contain the
// typed text in any case.
namespace KeywordSearch {

// The box text without leading and trailing blanks; blanks inside stay. Case is left to the matcher.
QString searchTerm(const QString &boxText);

// The words of the box text, split at blanks: what Ctrl+Enter looks for in any order.
QStringList words(const QString &boxText);

// Search lists the slots matching `*term*` for the box text, in ascending FileNumber; false when
// the slots could not be read (Search's lastError says why). The caller shows the results tab.
bool run(RecordStore &store, const QString &boxText);

} // namespace KeywordSearch
