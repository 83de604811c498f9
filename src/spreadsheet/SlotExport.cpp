#include "spreadsheet/SlotExport.h"

#include "spreadsheet/Csv.h"
#include "store/Dates.h"
#include "store/FileCopy.h"
#include "store/RecordStore.h"

namespace SlotExport {

QStringList header()
{
    return {QStringLiteral("File #"), QStringLiteral("Keywords"), QStringLiteral("Category"),
            QStringLiteral("Reminder")};
}

bool rows(const RecordStore &store, QVector<QStringList> *rows, QString *error)
{
    QVector<SlotValues> filled;
    if (!store.filledSlots(&filled, error))
        return false;
    rows->clear();
    rows->append(header());
    for (const SlotValues &slot : filled)
        rows->append({QString::number(slot.number), slot.keywords, slot.category, slot.reminder});
    return true;
}

bool sheet(const RecordStore &store, Workbook::Sheet *sheet, QString *error)
{
    QVector<SlotValues> filled;
    if (!store.filledSlots(&filled, error))
        return false;
    using Workbook::Cell;
    sheet->clear();
    QVector<Cell> head;
    for (const QString &caption : header())
        head.append(Cell::ofText(caption));
    sheet->append(head);
    for (const SlotValues &slot : filled) {
        const QDate date = Dates::fromStorage(slot.reminder);
        sheet->append({Cell::ofNumber(double(slot.number)), Cell::ofText(slot.keywords), Cell::ofText(slot.category),
                       date.isValid() ? Cell::ofDate(date) : Cell::ofText(slot.reminder)});
    }
    return true;
}

bool writeFile(const RecordStore &store, const QString &path, int *count, QString *error)
{
    QByteArray bytes;
    int written = 0;
    const Workbook::Format format = Workbook::formatOf(path);
    if (format == Workbook::Format::Csv) {
        // Written a line at a time: a list of every line first cost more than the file itself.
        QVector<SlotValues> filled;
        if (!store.filledSlots(&filled, error))
            return false;
        const QChar separator = Csv::localeSeparator();
        QString text;
        text.reserve(64 * (filled.size() + 1));
        const QStringList head = header();
        Csv::appendRow(&text, head.constData(), int(head.size()), separator);
        for (const SlotValues &slot : std::as_const(filled)) {
            const QString cells[4] = {QString::number(slot.number), slot.keywords, slot.category, slot.reminder};
            Csv::appendRow(&text, cells, 4, separator);
        }
        bytes = Csv::finish(text);
        written = int(filled.size());
    } else {
        Workbook::Sheet cells;
        if (!sheet(store, &cells, error))
            return false;
        bytes = format == Workbook::Format::Ods ? Workbook::writeOds(cells, error) : Workbook::writeXlsx(cells, error);
        if (bytes.isEmpty())
            return false;
        written = cells.size() - 1;
    }
    // Written beside the target and renamed over it; the failure is told in the system's words,
    // so a full disk reads "No space left on device".
    if (!FileCopy::writeAtomically(bytes, path, error))
        return false;
    if (count)
        *count = written;
    return true;
}

} // namespace SlotExport
