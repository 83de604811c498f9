#include "search/KeywordSearch.h"

#include "store/RecordStore.h"

#include <QRegularExpression>

namespace KeywordSearch {

QString searchTerm(const QString &boxText)
{
    // Case is ignored character by character while matching; upper-casing the whole text here
    // would turn "ß" into "SS" before any wildcard is read.
    return boxText.trimmed();
}

QStringList words(const QString &boxText)
{
    return boxText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool run(RecordStore &store, const QString &boxText)
{
    return store.searchFor(searchTerm(boxText));
}

} // namespace KeywordSearch
