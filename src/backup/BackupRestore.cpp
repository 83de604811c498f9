#include "backup/BackupRestore.h"

#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"
#include "backup/FileCopy.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/RecordStore.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace BackupRestore {

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

QString quickCheck(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return QStringLiteral("The file cannot be read as a database.");
    const QString result = query.value(0).toString();
    return result == QLatin1String("ok") ? QString() : QStringLiteral("The file is damaged (%1).").arg(result);
}

} // namespace

bool isProgramDatabase(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(why, QStringLiteral("The file cannot be read: %1.").arg(file.errorString()));
    // Every SQLite database starts with this header; checking it first keeps SQLite away from other files.
    static const QByteArray header("SQLite format 3\0", 16);
    if (file.read(header.size()) != header)
        return fail(why, QStringLiteral("The file is not a database."));
    file.close();

    const QString connection = QStringLiteral("papyra-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            problem = QStringLiteral("The file cannot be opened as a database.");
        } else {
            problem = quickCheck(db);
            QString missing;
            if (problem.isEmpty() && !Schema::hasExpectedTables(db, &missing))
                problem = QStringLiteral("The file is not a Papyra database: %1.").arg(missing);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!problem.isEmpty())
        return fail(why, problem);
    return true;
}

bool backupTo(const QString &databasePath, const QString &backupPath, QString *error)
{
    // Copying the database onto itself would leave it intact but give the user no backup at all.
    if (sameFile(databasePath, backupPath))
        return fail(error,
                    QStringLiteral("This is the database file itself. Please choose another file for the backup."));
    return FileCopy::copyAtomically(databasePath, backupPath, error);
}

bool restoreFrom(const QString &backupPath, const QString &databasePath, QString *error)
{
    if (!isProgramDatabase(backupPath, error))
        return false;
    if (sameFile(backupPath, databasePath))
        return true;
    return FileCopy::copyAtomically(backupPath, databasePath, error);
}

Outcome run(RecordStore &store, Dialogs &dialogs, QWidget *parent, Mode mode)
{
    // Releasing a data source writes what is typed into its grid, as leaving the row would.
    store.releaseAll();

    Outcome outcome;
    outcome.mode = mode;
    const bool backup = mode == Mode::Backup;
    outcome.chosen =
        backup ? dialogs.saveFileName(parent, proposedFileName) : dialogs.openFileName(parent, proposedFileName);
    if (!outcome.chosen.isEmpty()) {
        BusyCursor busy;
        outcome.copied = backup ? backupTo(store.databasePath(), outcome.chosen, &outcome.error)
                                : restoreFrom(outcome.chosen, store.databasePath(), &outcome.error);
    }

    const QVector<DataSource *> sources = store.sources();
    for (DataSource *source : sources)
        source->repoint();
    for (DataSource *source : {&store.file(), &store.search(), &store.categories(), &store.popCat()})
        source->setConnect(QString());
    for (DataSource *source : sources) {
        if (!source->refresh() && outcome.readError.isEmpty())
            outcome.readError = source->lastError();
    }
    return outcome;
}

QString Outcome::message() const
{
    if (chosen.isEmpty())
        return QString();
    const bool backup = mode == Mode::Backup;
    if (copied)
        return backup ? QStringLiteral("Backup Complete!") : QStringLiteral("Restore Complete!");
    const QString where = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    return backup ? QStringLiteral("Papyra could not back up the database to\n%1\n\n%2").arg(where, error)
                  : QStringLiteral("Papyra could not restore the database from\n%1\n\n%2\n\n"
                                   "Your database was not changed.")
                        .arg(where, error);
}

} // namespace BackupRestore
