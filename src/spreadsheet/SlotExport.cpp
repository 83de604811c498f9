#include "spreadsheet/SlotExport.h"

#include "spreadsheet/Csv.h"
#include "store/Dates.h"
#include "store/RecordStore.h"

#include <QSaveFile>

namespace SlotExport {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    const QByteArray bytes = Csv::write(lines);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(error, why);
    }
    if (!file.commit())
        return fail(error, file.errorString());
    if (count)
        *count = lines.size() - 1;
    return true;
}

} // namespace SlotExport
