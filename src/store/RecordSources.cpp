#include "store/RecordSources.h"

namespace RecordSources {

RecordSource slotTable()
{
    RecordSource source;
    source.table = QStringLiteral("Varnel");
    source.keyField = QStringLiteral("FileNumber");
    source.orderBy = QStringLiteral("FileNumber");
    return source;
}

RecordSource categoryTable()
{
    // Categories has no key of its own and may hold the same name twice; SQLite's rowid tells rows apart.
    RecordSource source;
    source.table = QStringLiteral("Categories");
    source.keyField = QStringLiteral("rowid");
    source.orderBy = QStringLiteral("rowid");
    return source;
}

QVector<Column> slotColumns()
{
    return {
        {QStringLiteral("FileNumber"), QStringLiteral("File #"), Column::Kind::Number, false},
        {QStringLiteral("Keywords"), QStringLiteral("Keywords"), Column::Kind::Text, true},
        {QStringLiteral("Category"), QStringLiteral("Category"), Column::Kind::Text, true},
        {QStringLiteral("Reminder"), QStringLiteral("Reminder ( 12/31/02 )"), Column::Kind::Date, true},
    };
}

QVector<Column> categoryColumns()
{
    return {{QStringLiteral("Category"), QStringLiteral("Category"), Column::Kind::Text, true}};
}

} // namespace RecordSources
