#include "search/RemindersDue.h"

#include "store/Database.h"
#include "store/Dates.h"
#include "store/RecordSources.h"

#include <QSqlQuery>

namespace RemindersDue {

namespace {

// Reminders are stored as ISO text, so text order is date order. Only well-formed dates take part:
// a stray text from an older database must not count as due because it sorts before a digit. The
// cheap comparison goes first, so the pattern is tried on the few due rows only.
const QString dueCondition =
    QStringLiteral("Reminder <= ? AND Reminder GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'");

} // namespace

QDate lastDueDate(const QDate &today)
{
    return today.addDays(windowDays);
}

RecordSource recordSource(const QDate &today)
{
    RecordSource source = RecordSources::slotTable();
    source.condition = dueCondition;
    source.bindValues = {Dates::toStorage(lastDueDate(today))};
    source.orderBy = QStringLiteral("Reminder, FileNumber");
    return source;
}

int count(Database &db, const QDate &today)
{
    if (!db.isOpen())
        return -1;
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT count(*) FROM Varnel WHERE ") + dueCondition))
        return -1;
    query.addBindValue(Dates::toStorage(lastDueDate(today)));
    if (!query.exec() || !query.next())
        return -1;
    const int n = query.value(0).toInt();
    query.finish(); // no read statement may stay open on the shared connection
    return n;
}

QString statusText(int count)
{
    if (count <= 0)
        return QString();
    if (count == 1)
        return QStringLiteral("1 reminder due");
    return QStringLiteral("%1 reminders due").arg(count);
}

} // namespace RemindersDue
