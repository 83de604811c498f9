#include "SideConnection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

bool bindAndExec(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return query.exec();
}

// The test that asked sees false; the log says why.
bool failed(const QString &sql, const QSqlError &error)
{
    qWarning("side connection: %s: %s", qPrintable(sql), qPrintable(error.text()));
    return false;
}

} // namespace

SideConnection::SideConnection(const QString &databasePath)
{
    static int opened = 0;
    m_name = QStringLiteral("side-%1").arg(++opened);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(databasePath);
    if (!m_db.open())
        failed(databasePath, m_db.lastError());
}

SideConnection::~SideConnection()
{
    // Queries live inside one call each, so once this handle is dropped nothing uses the connection.
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool SideConnection::exec(const QString &sql, const QVariantList &values)
{
    return m_db.isOpen() ? run(sql, QList<QVariantList>{values}) : failed(sql, m_db.lastError());
}

bool SideConnection::execRows(const QString &sql, const QList<QVariantList> &rows)
{
    if (!m_db.isOpen() || !m_db.transaction())
        return failed(sql, m_db.lastError());
    if (!run(sql, rows)) {
        m_db.rollback();
        return false;
    }
    return m_db.commit() || failed(sql, m_db.lastError());
}

bool SideConnection::run(const QString &sql, const QList<QVariantList> &rows)
{
    QSqlQuery query(m_db);
    bool ok = query.prepare(sql);
    for (int i = 0; ok && i < rows.size(); ++i)
        ok = bindAndExec(query, rows.at(i));
    return ok || failed(sql, query.lastError());
}

QVariant SideConnection::value(const QString &sql, const QVariantList &values)
{
    if (!m_db.isOpen())
        return {};
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql) || !bindAndExec(query, values)) {
        failed(sql, query.lastError());
        return {};
    }
    return query.next() ? query.value(0) : QVariant();
}
