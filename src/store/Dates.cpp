#include "store/Dates.h"

#include <QRegularExpression>

namespace Dates {

std::optional<QDate> parseEntry(const QString &text)
{
    const QString t = text.trimmed();
    static const QRegularExpression usForm(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    static const QRegularExpression isoForm(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    int year = 0, month = 0, day = 0;
    if (const auto m = usForm.match(t); m.hasMatch()) {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        const QString y = m.captured(3);
        year = y.toInt();
        if (y.size() == 2)
            year += year < 30 ? 2000 : 1900;
    } else if (const auto m = isoForm.match(t); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString toDisplay(const QDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

QString toStorage(const QDate &date) { return date.toString(Qt::ISODate); }

QDate fromStorage(const QString &stored) { return QDate::fromString(stored, Qt::ISODate); }

QString storageToDisplay(const QString &stored)
{
    const QDate date = fromStorage(stored);
    return date.isValid() ? toDisplay(date) : stored;
}

} // namespace Dates
