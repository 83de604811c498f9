#include "store/SqliteFile.h"

#include "store/FileCopy.h"
#include "store/Schema.h"
#include "store/SqliteSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <sqlite3.h>

namespace SqliteFile {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// The files SQLite may read beside a database as part of it.
const char *const companionSuffixes[] = {"-wal", "-shm", "-journal"};

bool hasCompanion(const QString &path)
{
    for (const char *suffix : companionSuffixes) {
        if (QFileInfo::exists(path + QLatin1String(suffix)))
            return true;
    }
    return false;
}

void removeWithCompanions(const QString &path)
{
    for (const char *suffix : companionSuffixes)
        QFile::remove(path + QLatin1String(suffix));
    QFile::remove(path);
}

quint32 bigEndian(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// The file's length must be exactly what its header says: a copy cut short by a few bytes still
// passes integrity_check, yet its last page is gone.
QString sizeProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("SqliteFile", "The file cannot be read: %1.").arg(file.errorString());
    const QByteArray header = file.read(100);
    static const QByteArray magic("SQLite format 3\0", 16);
    if (header.size() < 100 || !header.startsWith(magic))
        return QCoreApplication::translate("SqliteFile", "The file is not a database.");
    const quint32 sizeField = bigEndian(header, 16, 2);
    const quint32 pageSize = sizeField == 1 ? 65536 : sizeField;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return QCoreApplication::translate("SqliteFile", "The file is damaged: its header gives no valid page size.");
    const quint32 pageCount = bigEndian(header, 28, 4);
    // The page count is kept only while the change counter and the "valid for" number agree.
    const bool countValid = pageCount != 0 && bigEndian(header, 24, 4) == bigEndian(header, 92, 4);
    const qint64 size = file.size();
    if (countValid ? size != qint64(pageSize) * pageCount : size % pageSize != 0)
        return QCoreApplication::translate(
                   "SqliteFile", "The file is damaged: it holds %1 bytes, but its header says %2 pages of %3 bytes.")
            .arg(size)
            .arg(countValid ? pageCount : quint32(size / pageSize) + 1)
            .arg(pageSize);
    return QString();
}

// Runs sql and hands each row to onRow; false (with SQLite's error in *error) when it fails.
template <typename OnRow> bool eachRow(sqlite3 *db, const char *sql, QString *error, OnRow onRow)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            onRow(statement);
    }
    if (rc != SQLITE_DONE && error)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

QString columnText(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)));
}

QString integrityProblem(sqlite3 *db)
{
    QStringList found;
    QString error;
    if (!eachRow(db, "PRAGMA integrity_check", &error, [&](sqlite3_stmt *row) { found << columnText(row, 0); }))
        return QCoreApplication::translate("SqliteFile", "The file is damaged (%1).").arg(error);
    if (found != QStringList{QStringLiteral("ok")})
        return QCoreApplication::translate("SqliteFile", "The file is damaged (%1).")
            .arg(found.mid(0, 3).join(QStringLiteral("; ")));
    return QString();
}

// Whether a CREATE TABLE statement holds a CHECK constraint: the word outside quotes and comments.
bool hasCheckConstraint(const QString &sql)
{
    QString bare;
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        QChar close;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
            close = c;
        else if (c == QLatin1Char('['))
            close = QLatin1Char(']');
        if (!close.isNull()) {
            i = sql.indexOf(close, i + 1);
            if (i < 0)
                break;
            bare += QLatin1Char(' ');
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            i = sql.indexOf(QLatin1Char('\n'), i);
            if (i < 0)
                break;
            bare += QLatin1Char(' ');
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            i = sql.indexOf(QLatin1String("*/"), i + 2);
            if (i < 0)
                break;
            ++i;
            bare += QLatin1Char(' ');
        } else {
            bare += c.isLetterOrNumber() || c == QLatin1Char('_') ? c.toUpper() : QLatin1Char(' ');
        }
    }
    return bare.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QLatin1String("CHECK"));
}

// Papyra edits its tables through their rowids and stores nulls in open slots: a table of the
// right name but another shape would turn one edit into a change of two rows, or make every edit fail.
QString shapeProblem(sqlite3 *db)
{
    QString error;
    struct TableKind {
        QString type;
        bool withoutRowid = false;
        bool strict = false;
    };
    QHash<QString, TableKind> tables; // by lower-case name, as SQLite compares names
    if (!eachRow(db, "PRAGMA main.table_list", &error, [&](sqlite3_stmt *row) {
            tables.insert(columnText(row, 1).toLower(),
                          {columnText(row, 2), sqlite3_column_int(row, 4) != 0, sqlite3_column_int(row, 5) != 0});
        }))
        return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);
    // Papyra's own search index logs every change of Varnel through triggers; any other trigger
    // (or one of those names doing something else) would run on the user's edits.
    int foreignTriggers = 0;
    if (!eachRow(db, "SELECT type, name, sql FROM main.sqlite_schema WHERE type = 'trigger'", &error,
                 [&](sqlite3_stmt *row) {
                     foreignTriggers +=
                         !SqliteSearch::isOwnObject(columnText(row, 0), columnText(row, 1), columnText(row, 2));
                 }))
        return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);
    auto notOurs = [](const QString &why) {
        return QCoreApplication::translate("SqliteFile", "The file is not a Papyra database: %1.").arg(why);
    };
    if (foreignTriggers > 0)
        return notOurs(QCoreApplication::translate("SqliteFile", "it holds triggers"));

    QHash<QString, QString> definitions; // the CREATE statement of each table, by lower-case name
    if (!eachRow(db, "SELECT name, sql FROM main.sqlite_schema WHERE type = 'table'", &error,
                 [&](sqlite3_stmt *row) { definitions.insert(columnText(row, 0).toLower(), columnText(row, 1)); }))
        return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);

    QVector<Schema::Table> checked = Schema::expectedTables();
    // Papyra's own history table may be missing (Papyra adds it); when it is there, it is checked as the others.
    if (tables.contains(Schema::historyTable().name.toLower()))
        checked.append(Schema::historyTable());
    for (const Schema::Table &want : std::as_const(checked)) {
        const QString &table = want.name;
        const auto kind = tables.constFind(table.toLower());
        if (kind == tables.constEnd())
            return notOurs(QCoreApplication::translate("SqliteFile", "the table %1 is missing").arg(table));
        if (kind->type != QLatin1String("table"))
            return notOurs(QCoreApplication::translate("SqliteFile", "%1 is a %2, not a table").arg(table, kind->type));
        if (kind->withoutRowid)
            return notOurs(QCoreApplication::translate("SqliteFile", "the table %1 has no rowid").arg(table));
        // A strict table refuses text in a field declared as a number; a CHECK refuses what it
        // does not foresee: either would make edits fail that Papyra must be able to write.
        if (kind->strict)
            return notOurs(QCoreApplication::translate("SqliteFile", "the table %1 is STRICT").arg(table));
        if (hasCheckConstraint(definitions.value(table.toLower())))
            return notOurs(QCoreApplication::translate("SqliteFile", "the table %1 has a CHECK constraint").arg(table));
        // Two slots may hold the same keywords and the category list the same name twice.
        QString uniqueIndex;
        const QByteArray indexes = "PRAGMA main.index_list(" + table.toLatin1() + ")";
        if (!eachRow(db, indexes.constData(), &error, [&](sqlite3_stmt *row) {
                if (sqlite3_column_int(row, 2) != 0 && columnText(row, 3) != QLatin1String("pk"))
                    uniqueIndex = columnText(row, 1);
            }))
            return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);
        if (!uniqueIndex.isEmpty())
            return notOurs(
                QCoreApplication::translate("SqliteFile", "the table %1 has a UNIQUE constraint").arg(table));

        struct Column {
            QString type;
            bool notNull = false;
            int key = 0;
            int hidden = 0;
        };
        QHash<QString, Column> columns;
        int keyColumns = 0;
        const QByteArray info = "PRAGMA main.table_xinfo(" + table.toLatin1() + ")";
        if (!eachRow(db, info.constData(), &error, [&](sqlite3_stmt *row) {
                const Column column{columnText(row, 2), sqlite3_column_int(row, 3) != 0, sqlite3_column_int(row, 5),
                                    sqlite3_column_int(row, 6)};
                keyColumns += column.key > 0;
                columns.insert(columnText(row, 1).toLower(), column);
            }))
            return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);
        for (const QString &field : want.fields) {
            const auto column = columns.constFind(field.toLower());
            if (column == columns.constEnd())
                return notOurs(
                    QCoreApplication::translate("SqliteFile", "the table %1 has no field %2").arg(table, field));
            if (column->hidden != 0)
                return notOurs(QCoreApplication::translate("SqliteFile", "the field %1 of the table %2 is computed")
                                   .arg(field, table));
            if (field != QLatin1String("FileNumber") && field != QLatin1String("Id") && column->notNull)
                return notOurs(QCoreApplication::translate("SqliteFile", "the field %1 of the table %2 cannot be empty")
                                   .arg(field, table));
        }
        // Varnel is written by FileNumber and the history numbers its rows by Id: each must be the table's rowid.
        const QString keyField = table == QLatin1String("Varnel")       ? QStringLiteral("FileNumber")
                                 : table == Schema::historyTable().name ? QStringLiteral("Id")
                                                                        : QString();
        if (keyField.isEmpty())
            continue;
        // Only "INTEGER PRIMARY KEY" makes the key the rowid itself; any other key (TEXT, a
        // descending key, one over two columns) comes with an index of its own.
        const Column number = columns.value(keyField.toLower());
        bool keyIndex = false;
        if (!eachRow(db, indexes.constData(), &error,
                     [&](sqlite3_stmt *row) { keyIndex = keyIndex || columnText(row, 3) == QLatin1String("pk"); }))
            return QCoreApplication::translate("SqliteFile", "The file cannot be read as a database (%1).").arg(error);
        if (number.key != 1 || keyColumns != 1 ||
            number.type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) != 0 || keyIndex)
            return notOurs(QCoreApplication::translate("SqliteFile", "%1 is not the integer key of the table %2")
                               .arg(keyField, table));
    }
    return QString();
}

// Opens path for reading and writing, never creating it; null (with *why) when it cannot.
sqlite3 *openDirect(const QString &path, QString *why)
{
    sqlite3 *db = nullptr;
#ifdef Q_OS_WIN
    // SQLite takes file names in UTF-8; Windows' 8-bit encoding would lose the letters of a user
    // named Jörg, whose data folder is C:\Users\Jörg\AppData\Local\Papyra.
    const QByteArray name = QDir::toNativeSeparators(path).toUtf8();
#else
    const QByteArray name = QFile::encodeName(path);
#endif
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        *why = QCoreApplication::translate("SqliteFile", "The file cannot be opened as a database (%1).")
                   .arg(QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    return db;
}

// Turns a database kept in write-ahead-log form into the single file Papyra copies and opens.
bool intoRollbackJournal(const QString &path, QString *why)
{
    sqlite3 *db = openDirect(path, why);
    if (!db)
        return false;
    QString mode;
    QString error;
    const bool ok =
        eachRow(db, "PRAGMA journal_mode = DELETE", &error, [&](sqlite3_stmt *row) { mode = columnText(row, 0); });
    sqlite3_close(db);
    if (ok && mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0)
        return true;
    return fail(
        why,
        QCoreApplication::translate("SqliteFile", "The file cannot be prepared for use (%1).").arg(ok ? mode : error));
}

} // namespace

bool isProgramDatabase(const QString &path, QString *why)
{
    // Looking before opening: a named pipe or a device would block or never end.
    const QFileInfo info(path);
    if (!info.exists())
        return fail(why, QCoreApplication::translate("SqliteFile", "The file does not exist."));
    if (!info.isFile())
        return fail(why, QCoreApplication::translate("SqliteFile", "This is not a regular file."));
    if (hasCompanion(path))
        return fail(why, QCoreApplication::translate(
                             "SqliteFile", "The file has a journal beside it and cannot be checked on its own."));
    QString problem = sizeProblem(path);
    if (!problem.isEmpty())
        return fail(why, problem);
    sqlite3 *db = openDirect(path, &problem);
    if (!db)
        return fail(why, problem);
    problem = integrityProblem(db);
    if (problem.isEmpty())
        problem = shapeProblem(db);
    sqlite3_close(db);
    if (!problem.isEmpty())
        return fail(why, problem);
    return true;
}

bool backupTo(const QString &databasePath, const QString &backupPath, QString *error)
{
    // Copying the database onto itself would leave it intact but give the user no backup at all.
    if (sameFile(databasePath, backupPath))
        return fail(error,
                    QCoreApplication::translate(
                        "SqliteFile", "This is the database file itself. Please choose another file for the backup."));
    return FileCopy::copyAtomically(databasePath, backupPath, error);
}

bool restoreFrom(const QString &backupPath, const QString &databasePath, QString *error)
{
    const QFileInfo chosen(backupPath);
    if (!chosen.exists())
        return fail(error, QCoreApplication::translate("SqliteFile", "The file does not exist."));
    if (!chosen.isFile())
        return fail(error, QCoreApplication::translate("SqliteFile", "This is not a regular file."));
    if (sameFile(backupPath, databasePath))
        return true;

    // What gets checked is the copy that will be installed, on its own: the chosen file's -wal or
    // journal, which SQLite would read along with it, never answers for it.
    QString copy;
    if (!FileCopy::createUnique(QFileInfo(databasePath).absolutePath(), QStringLiteral(".Varnel.mdb.restore-"), &copy,
                                error))
        return false;
    for (const char *suffix : companionSuffixes)
        QFile::remove(copy + QLatin1String(suffix));
    // A database in write-ahead-log form may keep its newest committed edits in the -wal file beside
    // it: that file is copied along and folded into the copy, so the restore holds what the other
    // program last saw. SQLite reads the log only when the file's header says it is in that form.
    const QString log = backupPath + QStringLiteral("-wal");
    const bool withLog = QFileInfo(log).isFile();
    const bool merged =
        !withLog || (FileCopy::copyInto(backupPath, copy, error) &&
                     FileCopy::copyInto(log, copy + QStringLiteral("-wal"), error) && intoRollbackJournal(copy, error));
    if (withLog && merged) {
        QFile::remove(copy + QStringLiteral("-wal")); // a log the file's header does not name was never part of it
        QFile::remove(copy + QStringLiteral("-shm"));
    }
    const bool ok = merged && (withLog || FileCopy::copyInto(backupPath, copy, error)) &&
                    isProgramDatabase(copy, error) && intoRollbackJournal(copy, error) && !hasCompanion(copy) &&
                    FileCopy::matchMode(copy, databasePath) && FileCopy::replace(copy, databasePath, error);
    if (!ok) {
        if (error && error->isEmpty())
            *error = QCoreApplication::translate("SqliteFile", "The file cannot be prepared for use.");
        removeWithCompanions(copy);
    }
    return ok;
}

bool snapshot(const QString &databasePath, const QString &snapshotPath, QString *error)
{
    QString why;
    sqlite3 *source = nullptr;
    const QByteArray sourceName = QFile::encodeName(databasePath);
    if (!QFileInfo(databasePath).isFile() ||
        sqlite3_open_v2(sourceName.constData(), &source, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK) {
        sqlite3_close(source);
        return fail(error, QCoreApplication::translate("SqliteFile", "The database cannot be read."));
    }
    sqlite3_busy_timeout(source, 5000);
    QString partial;
    const QFileInfo target(snapshotPath);
    if (!FileCopy::createUnique(target.absolutePath(), QStringLiteral(".") + target.fileName() + QStringLiteral("."),
                                &partial, error)) {
        sqlite3_close(source);
        return false;
    }
    // In rollback-journal form (the form Papyra keeps its index in) a read transaction keeps every
    // writer from changing the file, so the bytes copied meanwhile are one consistent state: as
    // fast as a plain copy. Any other form goes through SQLite's online backup, page by page.
    QString mode;
    QString readError;
    bool ok = eachRow(source, "BEGIN", &readError, [](sqlite3_stmt *) {}) &&
              eachRow(source, "PRAGMA journal_mode", &readError,
                      [&](sqlite3_stmt *row) { mode = columnText(row, 0).toLower(); }) &&
              eachRow(source, "SELECT count(*) FROM sqlite_schema", &readError, [](sqlite3_stmt *) {});
    if (ok && mode == QLatin1String("delete")) {
        ok = FileCopy::copyInto(databasePath, partial, &why);
        sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(source);
        ok = ok && FileCopy::replace(partial, snapshotPath, &why);
        if (!ok) {
            removeWithCompanions(partial);
            return fail(error, why.isEmpty()
                                   ? QCoreApplication::translate("SqliteFile", "The copy could not be written.")
                                   : why);
        }
        return true;
    }
    sqlite3_exec(source, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3 *copy = openDirect(partial, &why);
    ok = copy != nullptr;
    if (ok) {
        // The copy is flushed to disk once, whole, below; a journal of its own would only cost time.
        sqlite3_exec(copy, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
        sqlite3_backup *backup = sqlite3_backup_init(copy, "main", source, "main");
        int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
        if (backup)
            sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            ok = false;
            why = QString::fromUtf8(sqlite3_errstr(rc == SQLITE_OK ? sqlite3_errcode(copy) : rc));
        } else if (sqlite3_errcode(copy) != SQLITE_OK) {
            ok = false;
            why = QString::fromUtf8(sqlite3_errmsg(copy));
        }
        sqlite3_close(copy);
    }
    sqlite3_close(source);
    // The journal mode set above is not kept in the file: the copy is an ordinary Papyra database.
    ok = ok && FileCopy::syncFile(partial, &why) && FileCopy::replace(partial, snapshotPath, &why);
    if (!ok) {
        removeWithCompanions(partial);
        return fail(error,
                    why.isEmpty() ? QCoreApplication::translate("SqliteFile", "The copy could not be written.") : why);
    }
    return true;
}

int filledCount(const QString &path, QString *error)
{
    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int count = -1;
    QString why;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK)
        eachRow(db, "SELECT count(*) FROM Varnel WHERE Keywords IS NOT NULL AND Keywords <> ''", &why,
                [&](sqlite3_stmt *row) { count = sqlite3_column_int(row, 0); });
    else
        why = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    if (count < 0 && error)
        *error = why;
    return count;
}

} // namespace SqliteFile
