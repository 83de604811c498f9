#include "backup/BackupRestore.h"

#include "app/BusyCursor.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "backup/FileCopy.h"
#include "store/DataSource.h"
#include "store/Database.h"
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

void run(MainWindow &window, Mode mode)
{
    // Releasing a data source writes what is typed into its grid, as leaving the row would.
    const QVector<DataSource *> sources = window.dataSources(); // File, Search, PopCat, Categories
    for (DataSource *source : sources)
        source->release();
    // With every data source gone the connection is closed; nothing may keep the file open while it is copied.
    if (window.database()->isOpen())
        window.database()->close();

    Dialogs *dialogs = window.dialogs();
    const bool backup = mode == Mode::Backup;
    const QString chosen =
        backup ? dialogs->saveFileName(&window, proposedFileName) : dialogs->openFileName(&window, proposedFileName);
    const QString databasePath = QDir(window.programFolder()).filePath(Schema::databaseFileName);
    bool copied = false;
    QString error;
    if (!chosen.isEmpty()) {
        BusyCursor busy;
        copied = backup ? backupTo(databasePath, chosen, &error) : restoreFrom(chosen, databasePath, &error);
    }

    for (DataSource *source : sources)
        source->repoint(window.programFolder());
    for (DataSource *source :
         {window.fileSource(), window.searchSource(), window.categoriesSource(), window.popCatSource()})
        source->setConnect(QString());
    for (DataSource *source : sources)
        window.refreshSource(source);

    if (chosen.isEmpty())
        return;
    if (copied) {
        dialogs->message(&window, backup ? QStringLiteral("Backup Complete!") : QStringLiteral("Restore Complete!"));
        return;
    }
    const QString where = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    dialogs->message(&window,
                     backup ? QStringLiteral("Papyra could not back up the database to\n%1\n\n%2").arg(where, error)
                            : QStringLiteral("Papyra could not restore the database from\n%1\n\n%2\n\n"
                                             "Your database was not changed.")
                                  .arg(where, error),
                     Dialogs::Icon::Warning);
}

} // namespace BackupRestore
