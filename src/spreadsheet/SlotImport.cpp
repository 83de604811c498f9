#include "spreadsheet/SlotImport.h"

#include "store/Dates.h"
#include "store/RecordStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace SlotImport {

namespace {

struct Columns {
    int number = -1;
    int keywords = -1;
    int category = -1;
    int reminder = -1;
};

Columns findColumns(const QStringList &header)
{
    Columns columns;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = header.at(i).trimmed().toLower();
        // The grid's captions in the user's language name the columns too.
        const auto shown = [&](const char *caption) {
            return name == QCoreApplication::translate("RecordSources", caption).toLower();
        };
        const QString reminderCaption = QCoreApplication::translate("RecordSources", "Reminder ( %1 )");
        const QString reminderWord = reminderCaption.left(reminderCaption.indexOf(QLatin1Char('('))).trimmed();
        int *slot = nullptr;
        if (name == QLatin1String("file #") || name == QLatin1String("filenumber") || name == QLatin1String("file") ||
            name == QLatin1String("number") || shown("File #"))
            slot = &columns.number;
        else if (name == QLatin1String("keywords") || shown("Keywords"))
            slot = &columns.keywords;
        else if (name == QLatin1String("category") || shown("Category"))
            slot = &columns.category;
        else if (name == QLatin1String("reminder") || name == reminderWord.toLower())
            slot = &columns.reminder;
        if (slot && *slot < 0) // of two columns with one name, the first counts
            *slot = i;
    }
    return columns;
}

// A cell's value; nullopt for a missing or blank cell, which leaves the slot's field as it is.
std::optional<QString> cell(const QStringList &row, int column)
{
    if (column < 0 || column >= row.size() || row.at(column).trimmed().isEmpty())
        return std::nullopt;
    return Csv::fromText(row.at(column));
}

// An optional sign and 1 to 15 digits 0-9, nothing else.
bool isWholeNumber(const QString &text)
{
    qsizetype i = !text.isEmpty() && (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-')) ? 1 : 0;
    const qsizetype digits = text.size() - i;
    if (digits < 1 || digits > 15)
        return false;
    for (; i < text.size(); ++i) {
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    // Looked at before it is opened: a named pipe would block the window, a device never ends.
    const QFileInfo info(path);
    if (!info.exists())
        *error = QCoreApplication::translate("SlotImport", "The file does not exist.");
    else if (!info.isFile())
        *error = QCoreApplication::translate("SlotImport", "This is not a regular file.");
    else if (info.size() > maxFileSize)
        *error = QCoreApplication::translate("SlotImport",
                                             "The file holds %1 MB; a spreadsheet of file slots is far smaller "
                                             "(Papyra reads files of up to %2 MB).")
                     .arg(info.size() >> 20)
                     .arg(maxFileSize >> 20);
    if (!error->isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    // Read no further than the limit, in case the file grew since it was looked at.
    *bytes = file.read(maxFileSize + 1);
    if (bytes->size() > maxFileSize) {
        bytes->clear();
        *error = QCoreApplication::translate("SlotImport", "The file is larger than %1 MB.").arg(maxFileSize >> 20);
        return false;
    }
    return true;
}

QString expectedHeaders()
{
    return QCoreApplication::translate("SlotImport",
                                       "Papyra reads a file whose first line names its columns: one headed \"File #\" "
                                       "(or \"FileNumber\", \"File\" or \"Number\"), and at least one of \"Keywords\", "
                                       "\"Category\" and \"Reminder\".");
}

Plan plan(const Csv::Table &table, const QHash<qint64, QString> &existing)
{
    Plan result;
    if (!table.error.isEmpty()) {
        result.fileError = table.error;
        return result;
    }
    if (table.rows.isEmpty()) {
        result.fileError = QCoreApplication::translate("SlotImport", "The file is empty.\n\n") + expectedHeaders();
        return result;
    }
    const Columns columns = findColumns(table.rows.constFirst());
    if (columns.number < 0) {
        result.fileError = QCoreApplication::translate("SlotImport", "The file has no column of file numbers.\n\n") +
                           expectedHeaders();
        return result;
    }
    if (columns.keywords < 0 && columns.category < 0 && columns.reminder < 0) {
        result.fileError = QCoreApplication::translate(
                               "SlotImport", "The file has no column of keywords, categories or reminders.\n\n") +
                           expectedHeaders();
        return result;
    }

    QVector<Row> candidates;
    QHash<qint64, int> named;                 // number -> how many rows name it
    QVector<std::pair<qint64, int>> numbered; // every row's number with its line
    QVector<Refusal> refused;
    for (int r = 1; r < table.rows.size(); ++r) {
        const QStringList &fields = table.rows.at(r);
        const int line = table.lines.value(r);
        const std::optional<QString> keywords = cell(fields, columns.keywords);
        const std::optional<QString> category = cell(fields, columns.category);
        const std::optional<QString> reminder = cell(fields, columns.reminder);
        // Nothing to fill: spreadsheet programs often end a file with empty rows.
        if (!keywords && !category && !reminder)
            continue;
        const QString numberText = Csv::fromText(fields.value(columns.number)).trimmed();
        if (numberText.isEmpty()) {
            refused.append({line, QCoreApplication::translate("SlotImport", "no file number")});
            continue;
        }
        if (!isWholeNumber(numberText)) {
            refused.append(
                {line, QCoreApplication::translate("SlotImport", "\"%1\" is not a whole number").arg(numberText)});
            continue;
        }
        const qint64 number = numberText.toLongLong();
        ++named[number];
        numbered.append({number, line});
        if (!existing.contains(number)) {
            refused.append({line, QCoreApplication::translate("SlotImport", "there is no file slot %1").arg(number)});
            continue;
        }
        Row row;
        row.line = line;
        row.number = number;
        row.keywords = keywords;
        row.category = category;
        if (reminder) {
            const auto date = Dates::parseEntry(*reminder);
            if (!date) {
                refused.append(
                    {line, QCoreApplication::translate("SlotImport", "\"%1\" is not a date").arg(reminder->trimmed())});
                continue;
            }
            row.reminder = Dates::toStorage(*date);
        }
        candidates.append(row);
    }

    // A number named twice is refused every time: which of the rows was meant cannot be told.
    QHash<qint64, QStringList> linesOf; // a number named more than once -> the lines of the rows that name it
    for (const auto &[number, line] : std::as_const(numbered)) {
        if (named.value(number) > 1)
            linesOf[number].append(QString::number(line));
    }
    for (const Row &row : std::as_const(candidates)) {
        const QStringList lines = linesOf.value(row.number);
        if (lines.size() > 1) {
            refused.append(
                {row.line, QCoreApplication::translate("SlotImport", "file number %1 appears more than once (lines %2)")
                               .arg(row.number)
                               .arg(lines.join(QStringLiteral(", ")))});
            continue;
        }
        result.rows.append(row);
        const QString held = existing.value(row.number);
        if (row.keywords && !held.isEmpty() && *row.keywords != held)
            ++result.replacingKeywords;
    }
    std::stable_sort(refused.begin(), refused.end(),
                     [](const Refusal &a, const Refusal &b) { return a.line < b.line; });
    result.refused = refused;
    return result;
}

QString refusals(const Plan &plan)
{
    const int refused = plan.refused.size();
    if (refused == 0)
        return QString();
    QString text =
        refused == 1
            ? QCoreApplication::translate("SlotImport", "1 row is refused and will not be imported:")
            : QCoreApplication::translate("SlotImport", "%1 rows are refused and will not be imported:").arg(refused);
    for (int i = 0; i < refused && i < listedRefusals; ++i)
        text += QCoreApplication::translate("SlotImport", "\nLine %1: %2.")
                    .arg(plan.refused.at(i).line)
                    .arg(plan.refused.at(i).reason);
    if (refused > listedRefusals)
        text += QCoreApplication::translate("SlotImport", "\n... and %1 more.").arg(refused - listedRefusals);
    return text;
}

QString question(const Plan &plan)
{
    const int filled = plan.rows.size();
    QString text = filled == 1 ? QCoreApplication::translate("SlotImport", "1 file slot will be filled.")
                               : QCoreApplication::translate("SlotImport", "%1 file slots will be filled.").arg(filled);
    if (plan.replacingKeywords == 0)
        text +=
            QCoreApplication::translate("SlotImport", "\nNone of them holds other keywords that would be replaced.");
    else if (plan.replacingKeywords == 1)
        text += QCoreApplication::translate("SlotImport", "\n1 of them already holds keywords that would be replaced.");
    else
        text += QCoreApplication::translate("SlotImport", "\n%1 of them already hold keywords that would be replaced.")
                    .arg(plan.replacingKeywords);
    text += QStringLiteral("\n\n") +
            (plan.refused.isEmpty() ? QCoreApplication::translate("SlotImport", "No row is refused.") : refusals(plan));
    text += QCoreApplication::translate("SlotImport", "\n\nFill the file slots now?");
    return text;
}

bool apply(RecordStore &store, const Plan &plan, QString *error)
{
    QVector<SlotFill> fills;
    fills.reserve(plan.rows.size());
    for (const Row &row : plan.rows)
        fills.append({row.number, row.keywords, row.category, row.reminder});
    int failed = -1;
    QString why;
    if (store.fillSlots(fills, &why, &failed))
        return true;
    if (error)
        *error = failed < 0
                     ? why
                     : QCoreApplication::translate("SlotImport", "Line %1: %2").arg(plan.rows.at(failed).line).arg(why);
    return false;
}

} // namespace SlotImport
