#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// A connection of its own on a database file, as another program would open it, for tests that
// write or read the file behind the program's back. It is closed and removed when it goes out of
// scope, so a temporary does a single step: SideConnection(path).exec(sql).
class SideConnection
{
public:
    explicit SideConnection(const QString &databasePath);
    ~SideConnection();
    SideConnection(const SideConnection &) = delete;
    SideConnection &operator=(const SideConnection &) = delete;

    // Runs one statement with these values bound in order.
    bool exec(const QString &sql, const QVariantList &values = {});
    // Runs one statement once for every row of values, all in one transaction.
    bool execRows(const QString &sql, const QList<QVariantList> &rows);
    // The first field of the first row the query returns; invalid when there is none or it fails.
    QVariant value(const QString &sql, const QVariantList &values = {});

private:
    bool run(const QString &sql, const QList<QVariantList> &rows);

    QString m_name;
    QSqlDatabase m_db;
};
