#include "store/Database.h"

#include "store/Schema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

Database::Database()
    : m_connectionName(QStringLiteral("papyra-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

Database::~Database() { close(); }

void Database::addInitializer(Initializer init) { m_initializers.push_back(std::move(init)); }

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase Database::connection() const { return QSqlDatabase::database(m_connectionName, false); }

bool Database::attach(const void *user, const QString &path, QString *error)
{
    if (!isOpen() || m_path != path) {
        close();
        if (!open(path, error))
            return false;
    }
    m_users.insert(user);
    return true;
}

void Database::detach(const void *user)
{
    m_users.remove(user);
    if (m_users.isEmpty())
        close();
}

bool Database::open(const QString &path, QString *error)
{
    const QString why = openChecked(path);
    if (why.isEmpty())
        return true;
    // Every handle on the connection is gone by now, so it can be removed cleanly.
    close();
    if (error)
        *error = why;
    return false;
}

QString Database::openChecked(const QString &path)
{
    // SQLite would quietly create an empty file; a missing database must stay missing.
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("The database file does not exist.");
    if (!info.isFile())
        return QStringLiteral("The database path is not a file.");

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return db.lastError().text();
    m_path = path;

    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return QStringLiteral("The file is not a Papyra database (%1).").arg(probe.lastError().text());
    }
    QString why;
    if (!Schema::hasExpectedTables(db, &why))
        return QStringLiteral("The file is not a Papyra database: %1.").arg(why);
    for (const Initializer &init : m_initializers) {
        if (!init(db, &why))
            return why.isEmpty() ? QStringLiteral("The database could not be prepared.") : why;
    }
    return QString();
}

void Database::close()
{
    m_users.clear();
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}
