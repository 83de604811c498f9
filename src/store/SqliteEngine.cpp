// The pre-update hook is in Debian's libsqlite3 (built with it); its declaration needs this first.
#define SQLITE_ENABLE_PREUPDATE_HOOK

#include "store/SqliteEngine.h"

#include "store/Schema.h"
#include "store/SqliteFile.h"
#include "store/SqliteSearch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <cstring>

#include <sqlite3.h>

namespace {

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.isOpen() && db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

SqliteEngine::SqliteEngine(const QString &path)
    : m_connectionName(QStringLiteral("papyra-") + QUuid::createUuid().toString(QUuid::WithoutBraces)), m_path(path)
{
}

SqliteEngine::~SqliteEngine()
{
    close();
}

bool SqliteEngine::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase SqliteEngine::connection() const
{
    return QSqlDatabase::contains(m_connectionName) ? QSqlDatabase::database(m_connectionName, false) : QSqlDatabase();
}

bool SqliteEngine::open(QString *error)
{
    if (isOpen())
        return true;
    const QString why = openChecked();
    if (why.isEmpty())
        return true;
    // Every handle on the connection is gone by now, so it can be removed cleanly.
    close();
    if (error)
        *error = why;
    return false;
}

QString SqliteEngine::openChecked()
{
    // SQLite would quietly create an empty file; a missing database must stay missing.
    const QFileInfo info(m_path);
    if (!info.exists())
        return QCoreApplication::translate("SqliteEngine", "The database file does not exist.");
    if (!info.isFile())
        return QCoreApplication::translate("SqliteEngine", "The database path is not a file.");

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return db.lastError().text();
    ++m_openings;

    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return QCoreApplication::translate("SqliteEngine", "The file is not a Papyra database (%1).")
                .arg(probe.lastError().text());
        // A rollback journal keeps the whole database in the one file that backup copies, and a
        // full sync makes each written row survive a power cut. A file in write-ahead-log form is
        // turned back here; where that cannot happen (a read-only file) it is still read as it is.
        probe.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
        probe.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    }
    QString why;
    if (!Schema::hasExpectedTables(db, &why))
        return QCoreApplication::translate("SqliteEngine", "The file is not a Papyra database: %1.").arg(why);
    m_slotColumns.clear();
    {
        QSqlQuery columns(db);
        columns.exec(QStringLiteral("PRAGMA table_info(Varnel)"));
        while (columns.next())
            m_slotColumns << columns.value(1).toString().toLower();
    }
    m_slotColumnChanges.assign(size_t(m_slotColumns.size()), 0);
    sqlite3_preupdate_hook(
        handleOf(db),
        [](void *context, sqlite3 *raw, int op, const char *database, const char *table, sqlite3_int64, sqlite3_int64) {
            if (sqlite3_stricmp(database, "main") != 0 || sqlite3_stricmp(table, "Varnel") != 0)
                return;
            auto &changes = *static_cast<std::vector<quint64> *>(context);
            const int count = std::min(sqlite3_preupdate_count(raw), int(changes.size()));
            for (int c = 0; c < count; ++c) {
                sqlite3_value *before = nullptr, *after = nullptr;
                const bool changed = op != SQLITE_UPDATE || sqlite3_preupdate_old(raw, c, &before) != SQLITE_OK ||
                                     sqlite3_preupdate_new(raw, c, &after) != SQLITE_OK ||
                                     sqlite3_value_type(before) != sqlite3_value_type(after) ||
                                     sqlite3_value_bytes(before) != sqlite3_value_bytes(after) ||
                                     memcmp(sqlite3_value_blob(before), sqlite3_value_blob(after),
                                            size_t(sqlite3_value_bytes(before))) != 0;
                changes[size_t(c)] += changed;
            }
        },
        &m_slotColumnChanges);
    if (!SqliteSearch::install(handleOf(db), &why))
        return why.isEmpty() ? QCoreApplication::translate("SqliteEngine", "The database could not be prepared.") : why;
    return QString();
}

void SqliteEngine::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (sqlite3 *raw = handleOf(db))
            SqliteSearch::flushLog(raw);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QByteArray SqliteEngine::columnStamp(const QString &table, const QString &column) const
{
    const int at = m_slotColumns.indexOf(column.toLower());
    sqlite3 *raw = handleOf(connection());
    if (!raw || table.compare(QLatin1String("Varnel"), Qt::CaseInsensitive) != 0 || at < 0)
        return changeStamp();
    qint64 dataVersion = -1;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(raw, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        dataVersion = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return QByteArray::number(m_openings) + ":c" + QByteArray::number(m_slotColumnChanges[size_t(at)]) + ':' +
           QByteArray::number(dataVersion);
}

QByteArray SqliteEngine::changeStamp() const
{
    sqlite3 *raw = handleOf(connection());
    if (!raw)
        return QByteArray();
    qint64 dataVersion = -1;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(raw, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        dataVersion = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return QByteArray::number(m_openings) + ':' + QByteArray::number(qint64(sqlite3_total_changes64(raw))) + ':' +
           QByteArray::number(dataVersion);
}

void SqliteEngine::prepareSearch()
{
    if (sqlite3 *raw = handleOf(connection()))
        SqliteSearch::prepare(raw);
}

namespace {

int bind(sqlite3_stmt *statement, int i, const QVariant &v)
{
    if (v.isNull())
        return sqlite3_bind_null(statement, i);
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
        return sqlite3_bind_int64(statement, i, v.toLongLong());
    if (v.typeId() == QMetaType::Double)
        return sqlite3_bind_double(statement, i, v.toDouble());
    const QByteArray value = v.toString().toUtf8();
    return sqlite3_bind_text(statement, i, value.constData(), int(value.size()), SQLITE_TRANSIENT);
}

// A column as Qt's SQLite driver gives it: integers as qint64, reals as double, text as QString,
// blobs as QByteArray, NULL as a null QString variant.
QVariant columnValue(sqlite3_stmt *statement, int c)
{
    switch (sqlite3_column_type(statement, c)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, c));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, c);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, c)),
                          sqlite3_column_bytes(statement, c));
    case SQLITE_NULL:
        return QVariant(QMetaType(QMetaType::QString));
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement, c));
    }
    }
}

} // namespace

bool SqliteEngine::readKeys(const QString &sql, const QVariantList &bindValues, QVector<qint64> *keys,
                            QString *error) const
{
    sqlite3 *raw = handleOf(connection());
    if (!raw) {
        if (error)
            *error = QCoreApplication::translate("SqliteEngine", "The database is not open.");
        return false;
    }
    SqliteSearch::flushLog(raw, 2000);
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(raw, text.constData(), int(text.size()), &statement, nullptr);
    for (int i = 0; rc == SQLITE_OK && i < bindValues.size(); ++i)
        rc = bind(statement, i + 1, bindValues.at(i));
    keys->clear();
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            keys->append(sqlite3_column_int64(statement, 0));
    }
    const bool ok = rc == SQLITE_DONE;
    if (!ok && error)
        *error = QString::fromUtf8(sqlite3_errmsg(raw));
    sqlite3_finalize(statement); // never leave a half-read statement behind
    return ok;
}

bool SqliteEngine::readRows(const QString &sql, const QVector<QVariantList> &bindSets, const RowReader &row,
                            QString *error) const
{
    sqlite3 *raw = handleOf(connection());
    if (!raw) {
        if (error)
            *error = QCoreApplication::translate("SqliteEngine", "The database is not open.");
        return false;
    }
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(raw, text.constData(), int(text.size()), &statement, nullptr);
    const int columns = rc == SQLITE_OK ? sqlite3_column_count(statement) : 0;
    QVector<QVariant> values(columns);
    bool stopped = false;
    for (int set = 0; rc == SQLITE_OK && !stopped && set < bindSets.size(); ++set) {
        sqlite3_reset(statement);
        for (int i = 0; rc == SQLITE_OK && i < bindSets.at(set).size(); ++i)
            rc = bind(statement, i + 1, bindSets.at(set).at(i));
        while (rc == SQLITE_OK || rc == SQLITE_ROW) {
            rc = sqlite3_step(statement);
            if (rc != SQLITE_ROW)
                break;
            for (int c = 0; c < columns; ++c)
                values[c] = columnValue(statement, c);
            if (!row(set, values)) {
                stopped = true;
                break;
            }
        }
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    const bool ok = rc == SQLITE_OK || stopped;
    if (!ok && error)
        *error = QString::fromUtf8(sqlite3_errmsg(raw));
    sqlite3_finalize(statement); // never leave a half-read statement behind
    return ok;
}

QString SqliteEngine::matchCondition() const
{
    return QStringLiteral("FileNumber IN papyra_hits(?)");
}

QString SqliteEngine::categoryKey() const
{
    // Categories may hold the same name twice; SQLite's rowid tells rows apart.
    return QStringLiteral("rowid");
}

bool SqliteEngine::backupTo(const QString &path, QString *error)
{
    // The connection is closed, so the file holds every committed row and no journal is pending.
    return SqliteFile::backupTo(m_path, path, error);
}

bool SqliteEngine::restoreFrom(const QString &path, QString *error)
{
    return SqliteFile::restoreFrom(path, m_path, error);
}

bool SqliteEngine::snapshotTo(const QString &path, QString *error)
{
    return SqliteFile::snapshot(m_path, path, error);
}
