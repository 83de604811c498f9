#include "search/RemindersDue.h"

#include <QCoreApplication>

#include "store/RecordStore.h"

namespace RemindersDue {

QDate lastDueDate(const QDate &today)
{
    return today.addDays(windowDays);
}

bool list(RecordStore &store, const QDate &today)
{
    return store.listDue(lastDueDate(today));
}

int count(const RecordStore &store, const QDate &today)
{
    return store.dueCount(lastDueDate(today));
}

QString statusText(int count)
{
    if (count <= 0)
        return QString();
    if (count == 1)
        return QCoreApplication::translate("RemindersDue", "1 reminder due");
    return QCoreApplication::translate("RemindersDue", "%1 reminders due").arg(count);
}

} // namespace RemindersDue
