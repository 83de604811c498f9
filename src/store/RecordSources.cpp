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
        {QStringLiteral("FileNumber"), QT_TRANSLATE_NOOP("RecordSources", "File #"), Column::Kind::Number, false},
        {QStringLiteral("Keywords"), QT_TRANSLATE_NOOP("RecordSources", "Keywords"), Column::Kind::Text, true},
        {QStringLiteral("Category"), QT_TRANSLATE_NOOP("RecordSources", "Category"), Column::Kind::Text, true},
        // The example date is shown in the user's own form (Dates::captionExample).
        {QStringLiteral("Reminder"), QT_TRANSLATE_NOOP("RecordSources", "Reminder ( %1 )"), Column::Kind::Date, true},
    };
}

QVector<Column> categoryColumns()
{
    return {{QStringLiteral("Category"), QT_TRANSLATE_NOOP("RecordSources", "Category"), Column::Kind::Text, true}};
}

Criterion termCriterion(const QString &condition, const QString &term)
{
    // However the date was typed, it is stored as yyyy-mm-dd.
    if (const std::optional<QDate> date = Dates::parseEntry(term))
        return {QStringLiteral("(%1 OR Reminder = ?)").arg(condition), {term, Dates::toStorage(*date)}};
    return {condition, {term}};
}

Criterion matchingAll(const QString &condition, const QStringList &terms)
{
    Criterion all;
    QStringList conditions;
    for (const QString &term : terms) {
        const Criterion one = termCriterion(condition, term);
        conditions.append(one.condition);
        all.bindValues += one.bindValues;
    }
    all.condition = conditions.join(QStringLiteral(" AND "));
    return all;
}

RecordSource matching(const QStringList &terms)
{
    RecordSource source = slotTable();
    source.keyColumns.clear();
    // No terms: the search for an empty text, as an empty search box runs it.
    source.searchTerms = terms.isEmpty() ? QStringList{QString()} : terms;
    return source;
}

Criterion dueCriterion(const QDate &lastDay)
{
    // Reminders are stored as ISO text, so text order is date order. Only well-formed dates take
    // part: a stray text from an older database must not count as due because it sorts before a
    // digit. The cheap comparison goes first, so the shape is tested on the few due rows only. The
    // shape test (every digit made 0, then compared with 0000-00-00) is plain SQL that SQLite and
    // PostgreSQL read alike.
    QString digitsAsZero = QStringLiteral("Reminder");
    for (char digit = '1'; digit <= '9'; ++digit)
        digitsAsZero = QStringLiteral("replace(%1, '%2', '0')").arg(digitsAsZero, QChar::fromLatin1(digit));
    return {QStringLiteral("Reminder <= ? AND length(Reminder) = 10 AND %1 = '0000-00-00'").arg(digitsAsZero),
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
