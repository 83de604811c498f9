#include "search/KeywordSearch.h"

#include "search/SearchFunctions.h"
#include "store/Database.h"
#include "store/RecordSources.h"
#include "store/RecordStore.h"

#include <QSqlQuery>

namespace KeywordSearch {

QString searchTerm(const QString &boxText)
{
    // Case is ignored character by character while matching; upper-casing the whole text here
    // would turn "ß" into "SS" before any wildcard is read.
    return boxText.trimmed();
}

RecordSource recordSource(const QString &term)
{
    RecordSource source = RecordSources::slotTable();
    source.condition = QStringLiteral("papyra_search(?, rowid)");
    source.bindValues = {term};
    return source;
}

void install(Database &database)
{
    database.addInitializer([](QSqlDatabase &db, QString *error) {
        // Each search walks the whole slot table. SQLite's default page cache (2 MB) holds the table
        // of some 60,000 slots; 16 MB keeps the walk out of the file for every size in use.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -16384"));
        return SearchFunctions::install(db, error);
    });
}

bool run(RecordStore &store, const QString &boxText)
{
    store.search().setRecordSource(recordSource(searchTerm(boxText)));
    return store.refresh(store.search());
}

} // namespace KeywordSearch
