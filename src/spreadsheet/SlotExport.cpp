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
    for (const SlotValues &slot : filled) {
        // A stored reminder that is not a date (from an older database) goes out as it is.
        const QDate date = Dates::fromStorage(slot.reminder);
        rows->append({QString::number(slot.number), slot.keywords, slot.category,
                      date.isValid() ? Dates::toStorage(date) : slot.reminder});
    }
    return true;
}

bool writeFile(const RecordStore &store, const QString &path, int *count, QString *error)
{
    QVector<QStringList> lines;
    if (!rows(store, &lines, error))
        return false;
    // Written beside the target and renamed over it; the failure is told in the system's words,
    // so a full disk reads "No space left on device".
    if (!FileCopy::writeAtomically(Csv::write(lines), path, error))
        return false;
    if (count)
        *count = lines.size() - 1;
    return true;
}

} // namespace SlotExport
