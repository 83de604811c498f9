#include "spreadsheet/SlotExport.h"

#include "spreadsheet/Csv.h"
#include "store/Database.h"
#include "store/Dates.h"

#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

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

bool rows(Database &db, QVector<QStringList> *rows, QString *error)
{
    if (!db.isOpen())
        return fail(error, QStringLiteral("The database is not open."));
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    // Empty text counts as nothing, like null: a slot whose cells were all cleared is an open slot.
    if (!query.exec(QStringLiteral("SELECT FileNumber, Keywords, Category, Reminder FROM Varnel "
                                   "WHERE coalesce(Keywords, '') <> '' OR coalesce(Category, '') <> '' "
                                   "OR coalesce(Reminder, '') <> '' ORDER BY FileNumber")))
        return fail(error, query.lastError().text());
    rows->clear();
    rows->append(header());
    while (query.next()) {
        // A stored reminder that is not a date (from an older database) goes out as it is.
        const QString stored = query.value(3).toString();
        const QDate date = Dates::fromStorage(stored);
        rows->append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                      date.isValid() ? Dates::toStorage(date) : stored});
    }
    const bool ok = !query.lastError().isValid();
    const QString why = query.lastError().text();
    query.finish();
    return ok || fail(error, why);
}

bool writeFile(Database &db, const QString &path, int *count, QString *error)
{
    QVector<QStringList> lines;
    if (!rows(db, &lines, error))
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
