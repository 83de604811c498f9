#include "search/KeywordSearch.h"

#include "app/MainWindow.h"
#include "search/SearchFunctions.h"
#include "store/Database.h"
#include "store/RecordSources.h"

#include <QLineEdit>
#include <QPushButton>
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

void attach(MainWindow *window)
{
    window->database()->addInitializer([](QSqlDatabase &db, QString *error) {
        // Each search walks the whole slot table. SQLite's default page cache (2 MB) holds the table
        // of some 60,000 slots; 16 MB keeps the walk out of the file for every size in use.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size = -16384"));
        return SearchFunctions::install(db, error);
    });
    // returnPressed comes for both Return and the keypad's Enter: the keys whose character code is 13.
    QObject::connect(window->searchBox(), &QLineEdit::returnPressed, window, [window] { run(window); });
    QObject::connect(window->goButton(), &QPushButton::clicked, window, [window] { run(window); });
}

void run(MainWindow *window)
{
    DataSource *search = window->searchSource();
    search->setRecordSource(recordSource(searchTerm(window->searchBox()->text())));
    window->refreshSource(search);
    window->SwitchTab(2);
}

} // namespace KeywordSearch
