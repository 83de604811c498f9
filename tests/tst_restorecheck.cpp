#include "backup/BackupRestore.h"
#include "backup/FileCopy.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Runs statements on a connection of its own, straight through SQLite, and closes it.
bool runSql(const QString &path, const QStringList &statements)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK;
    for (const QString &sql : statements)
        ok = ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        qWarning("%s", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

const QStringList papyraTables{
    "CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords TEXT, Category TEXT, Reminder TEXT)",
    "CREATE TABLE Categories (Category TEXT)",
    "INSERT INTO Varnel VALUES (1, 'Car insurance', 'Auto', '2002-12-31'), (2, NULL, NULL, NULL)",
    "INSERT INTO Categories VALUES ('Auto')",
};

QStringList withTables(QStringList before, const QStringList &after = {})
{
    return before << papyraTables << after;
}

QStringList varnelAs(const QString &create)
{
    return {create, "CREATE TABLE Categories (Category TEXT)"};
}

// A WAL-mode database whose tables are only in its -wal: copies of both files, taken while the
// writer still holds them, as if it had been killed before a checkpoint.
bool walNeverCheckpointed(const QString &path)
{
    const QString live = path + ".live";
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(live).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0", nullptr, nullptr, nullptr) ==
                  SQLITE_OK;
    for (const QString &sql : papyraTables)
        ok = ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const char *suffix : {"", "-wal"})
        ok = ok && QFile::copy(live + suffix, path + suffix);
    sqlite3_close(db);
    return ok;
}

} // namespace

class RestoreCheckTest : public QObject
{
    Q_OBJECT
private slots:
    void restoreInstallsOnlyWhatItChecked_data();
    void restoreInstallsOnlyWhatItChecked();
    void failedCopyNamesTheCause_data();
    void failedCopyNamesTheCause();
    void openingTurnsLogIntoJournal();
};

void RestoreCheckTest::restoreInstallsOnlyWhatItChecked_data()
{
    // How to make the chosen file, and a piece of the refusal ("" when it must restore).
    QTest::addColumn<std::function<bool(const QString &)>>("make");
    QTest::addColumn<QString>("refusal");
    using Make = std::function<bool(const QString &)>;
    const auto row = [](const char *name, Make make, const char *refusal) {
        QTest::newRow(name) << make << QString::fromLatin1(refusal);
    };
    const auto sql = [](const QStringList &statements) -> Make {
        return [statements](const QString &path) { return runSql(path, statements); };
    };
    const auto edited = [](std::function<void(QByteArray &)> edit) -> Make {
        return [edit](const QString &path) {
            if (!runSql(path, papyraTables))
                return false;
            QByteArray bytes = contents(path);
            edit(bytes);
            return writeFile(path, bytes);
        };
    };

    row("sound database", sql(papyraTables), "");
    row("write-ahead log, closed cleanly", sql(withTables({"PRAGMA journal_mode = WAL"})), "");
    row("65,536-byte pages", sql(withTables({"PRAGMA page_size = 65536"})), "");
    row("UTF-16", sql(withTables({"PRAGMA encoding = 'UTF-16le'"})), "");
    row("other tables and indexes too",
        sql(withTables({}, {"CREATE TABLE Notes (x)", "CREATE INDEX k ON Varnel(Keywords)"})), "");
    row("tables only in the -wal", walNeverCheckpointed, "Varnel is missing");
    row("last byte missing", edited([](QByteArray &b) { b.chop(1); }), "holds");
    row("last 10 bytes missing", edited([](QByteArray &b) { b.chop(10); }), "holds");
    row("a page overwritten", edited([](QByteArray &b) { b.replace(4096, 4096, QByteArray(4096, 'x')); }), "damaged");
    row(
        "text file", [](const QString &p) { return writeFile(p, "Dear diary,\nthis is no database.\n"); },
        "not a database");
    row(
        "empty file", [](const QString &p) { return writeFile(p, ""); }, "not a database");
    row(
        "named pipe", [](const QString &p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
        "not a regular file");
    row(
        "folder", [](const QString &p) { return QDir().mkdir(p); }, "not a regular file");
    row(
        "no such file", [](const QString &) { return true; }, "does not exist");
    row("other tables only", sql({"CREATE TABLE Recipes (Name TEXT)"}), "Varnel is missing");
    row("FileNumber declared TEXT",
        sql(varnelAs("CREATE TABLE Varnel (FileNumber TEXT PRIMARY KEY, Keywords, Category, Reminder)")),
        "integer key");
    row("FileNumber a descending key",
        sql(varnelAs("CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY DESC, Keywords, Category, Reminder)")),
        "integer key");
    row("FileNumber no key", sql(varnelAs("CREATE TABLE Varnel (FileNumber INTEGER, Keywords, Category, Reminder)")),
        "integer key");
    row("without rowid",
        sql(varnelAs("CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords, Category, Reminder) "
                     "WITHOUT ROWID")),
        "no rowid");
    row("virtual table",
        sql(varnelAs("CREATE VIRTUAL TABLE Varnel USING fts5(FileNumber, Keywords, Category, Reminder)")), "virtual");
    row("view for a table",
        sql({papyraTables[0], "CREATE TABLE c2 (Category)", "CREATE VIEW Categories AS SELECT * FROM c2"}), "view");
    row("Keywords may not be empty",
        sql(varnelAs("CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords NOT NULL, Category, Reminder)")),
        "cannot be empty");
    row("computed Category",
        sql(varnelAs("CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords, Category AS (Keywords), "
                     "Reminder)")),
        "computed");
    row("trigger deleting every row",
        sql(withTables({}, {"CREATE TRIGGER t AFTER UPDATE ON Varnel BEGIN DELETE FROM Varnel; END"})), "triggers");
    row("trigger calling a missing function",
        sql(withTables({}, {"CREATE TRIGGER t BEFORE UPDATE ON Varnel BEGIN SELECT nowhere(1); END"})), "triggers");
}

void RestoreCheckTest::restoreInstallsOnlyWhatItChecked()
{
    QFETCH(std::function<bool(const QString &)>, make);
    QFETCH(QString, refusal);
    QTemporaryDir program;
    QTemporaryDir elsewhere;
    const QString database = program.filePath("Varnel.mdb");
    const QString chosen = elsewhere.filePath("chosen.bkp");
    QVERIFY(Schema::createDatabase(database, 5));
    QVERIFY(make(chosen));
    const QByteArray before = contents(database);
    const QStringList entriesBefore = QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden);

    QString error;
    const bool restored = BackupRestore::restoreFrom(chosen, database, &error);
    QVERIFY2(restored == refusal.isEmpty(), qPrintable(error));
    QVERIFY2(error.contains(refusal), qPrintable(error));
    // Nothing left beside the database but the database itself.
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    if (!restored) {
        QCOMPARE(contents(database), before);
        return;
    }
    // A single file in rollback-journal form, which Papyra opens and finds its slot in.
    const QByteArray installed = contents(database);
    QCOMPARE(int(installed.at(18)), 1);
    QCOMPARE(int(installed.at(19)), 1);
    Database db;
    QVERIFY(db.attach(this, database));
    QSqlQuery query(db.connection());
    QVERIFY(query.exec("SELECT Keywords FROM Varnel WHERE FileNumber = 1") && query.next());
    QCOMPARE(query.value(0).toString(), "Car insurance");
}

void RestoreCheckTest::failedCopyNamesTheCause_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("cause");
    QTest::newRow("backup under a regular file") << "backup"
                                                 << "plain.txt/Papyra.bkp"
                                                 << "Not a directory";
    QTest::newRow("backup onto a folder") << "backup"
                                          << "folder"
                                          << "Is a directory";
    QTest::newRow("restore into a folder under a regular file") << "restore"
                                                                << "plain.txt/Varnel.mdb"
                                                                << "Not a directory";
    QTest::newRow("restore from a file that cannot be read") << "restore from"
                                                             << "folder/missing.bkp"
                                                             << "does not exist";
    QTest::newRow("full disk") << "copy"
                               << "/dev/full"
                               << "No space left on device";
    QTest::newRow("copy from a named pipe") << "copy from"
                                            << "pipe"
                                            << "not a regular file";
}

void RestoreCheckTest::failedCopyNamesTheCause()
{
    QFETCH(QString, direction);
    QFETCH(QString, target);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString database = dir.filePath("Varnel.mdb");
    QVERIFY(Schema::createDatabase(database, 5));
    QVERIFY(writeFile(dir.filePath("plain.txt"), "notes"));
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = target.startsWith('/') ? target : dir.filePath(target);

    QString error;
    bool ok = true;
    if (direction == "backup")
        ok = BackupRestore::backupTo(database, path, &error);
    else if (direction == "restore")
        ok = !QFile::copy(database, dir.filePath("chosen.bkp")) ||
             BackupRestore::restoreFrom(dir.filePath("chosen.bkp"), path, &error);
    else if (direction == "restore from")
        ok = BackupRestore::restoreFrom(path, database, &error);
    else if (direction == "copy from")
        ok = ::mkfifo(QFile::encodeName(path).constData(), 0600) != 0 ||
             FileCopy::copyInto(path, dir.filePath("copy"), &error);
    else
        ok = FileCopy::copyInto(database, path, &error);
    QVERIFY(!ok);
    QVERIFY2(error.contains(cause), qPrintable(error));
    QVERIFY2(!error.contains("Unknown error"), qPrintable(error));
}

void RestoreCheckTest::openingTurnsLogIntoJournal()
{
    // A database left in write-ahead-log form (by an older version, another tool) becomes one file again.
    QTemporaryDir dir;
    const QString database = dir.filePath("Varnel.mdb");
    QVERIFY(runSql(database, withTables({"PRAGMA journal_mode = WAL"})));
    Database db;
    QVERIFY(db.attach(this, database));
    QSqlQuery query(db.connection());
    QVERIFY(query.exec("PRAGMA journal_mode") && query.next());
    QCOMPARE(query.value(0).toString(), "delete");
    QVERIFY(query.exec("PRAGMA synchronous") && query.next());
    QCOMPARE(query.value(0).toInt(), 2); // FULL
}

QTEST_MAIN(RestoreCheckTest)
#include "tst_restorecheck.moc"
