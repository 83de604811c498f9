#include "store/RecordSources.h"

#include "store/Dates.h"

namespace RecordSources {

RecordSource slotTable()
{
    RecordSource source;
    source.table = QStringLiteral("Varnel");
    source.keyField = QStringLiteral("FileNumber");
    source.orderBy = QStringLiteral("FileNumber");
    source.keyColumns = QStringList{QStringLiteral("FileNumber")};
    return source;
}

RecordSource categoryTable(const QString &key)
{
    RecordSource source;
    source.table = QStringLiteral("Categories");
    source.keyField = key;
    source.orderBy = key;
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

RecordSource matching(const QString &condition, const QString &term)
{
    RecordSource source = slotTable();
    source.keyColumns.clear();
    source.condition = condition;
    source.bindValues = {term};
    return source;
}

Criterion dueCriterion(const QDate &lastDay)
{
    // Reminders are stored as ISO text, so text order is date order. Only well-formed dates take
    // part: a stray text from an older database must not count as due because it sorts before a
    // digit. The cheap comparison goes first, so the pattern is tried on the few due rows only.
    return {QStringLiteral("Reminder <= ? AND Reminder GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'"),
            {Dates::toStorage(lastDay)}};
}

bool isStoredDate(const QVariant &reminder)
{
    if (reminder.isNull() || reminder.typeId() == QMetaType::QByteArray)
        return false;
    const QString text = reminder.toString();
    if (text.size() != 10)
        return false;
    for (int i = 0; i < 10; ++i) {
        const QChar c = text.at(i);
        if (i == 4 || i == 7 ? c != QLatin1Char('-') : (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    return true;
}

RecordSource dueBy(const QDate &lastDay)
{
    const Criterion due = dueCriterion(lastDay);
    RecordSource source = slotTable();
    source.keyColumns.clear();
    source.condition = due.condition;
    source.bindValues = due.bindValues;
    source.orderBy = QStringLiteral("Reminder, FileNumber");
    return source;
}

Criterion openSlot()
{
    return {QStringLiteral("Keywords IS NULL"), {}};
}

Criterion numbered(qint64 number)
{
    return {QStringLiteral("FileNumber = ?"), {number}};
}

} // namespace RecordSources
