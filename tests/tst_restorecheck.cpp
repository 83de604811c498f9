#include "store/FileCopy.h"
#include "store/History.h"
#include "store/Schema.h"
#include "store/SqliteEngine.h"
#include "store/SqliteFile.h"

#include "TestFolder.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#endif

namespace {

// Runs statements on a connection of its own, straight through SQLite, then whileOpen, and closes it.
bool runSql(const QString &path, const QStringList &statements, const std::function<bool()> &whileOpen = {})
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK;
    for (const QString &sql : statements)
        ok = ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        qWarning("%s", sqlite3_errmsg(db));
    ok = ok && (!whileOpen || whileOpen());
    sqlite3_close(db);
    return ok;
}

const QStringList papyraTables{
    "CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords TEXT, Category TEXT, Reminder TEXT)",
    "CREATE TABLE Categories (Category TEXT)",
    "INSERT INTO Varnel VALUES (1, 'Car insurance', 'Auto', '2002-12-31'), (2, NULL, NULL, NULL)",
    "INSERT INTO Categories VALUES ('Auto')",
};

// A WAL-mode database whose tables are only in its -wal: copies of both files, taken while the
// writer still holds them, as if it had been killed before a checkpoint.
bool walNeverCheckpointed(const QString &path)
{
    const QString live = path + ".live";
    return runSql(live, QStringList{"PRAGMA journal_mode = WAL", "PRAGMA wal_autocheckpoint = 0"} + papyraTables,
                  [&] { return QFile::copy(live, path) && QFile::copy(live + "-wal", path + "-wal"); });
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
    void copiesReachFoldersNamedInAnyLetters();
};

void RestoreCheckTest::restoreInstallsOnlyWhatItChecked_data()
{
    // How to make the chosen file, and a piece of the refusal ("" when it must restore).
    using Make = std::function<bool(const QString &)>;
    QTest::addColumn<Make>("make");
    QTest::addColumn<QString>("refusal");
    const auto row = [](const char *name, Make make, const char *refusal) {
        QTest::newRow(name) << make << QString::fromLatin1(refusal);
    };
    const auto sql = [](const QStringList &statements) -> Make {
        return [statements](const QString &path) { return runSql(path, statements); };
    };
    const auto withTables = [&](const QStringList &before, const QStringList &after = {}) {
        return sql(before + papyraTables + after);
    };
    // Varnel made another way, beside a sound Categories.
    const auto varnelAs = [&](const QString &fileNumber, const QString &others = "Keywords, Category, Reminder",
                              const QString &after = "") {
        return sql({"CREATE TABLE Varnel (" + fileNumber + ", " + others + ")" + after,
                    "CREATE TABLE Categories (Category TEXT)"});
    };
    const auto edited = [](std::function<void(QByteArray &)> edit) -> Make {
        return [edit](const QString &path) {
            QByteArray bytes;
            return runSql(path, papyraTables) && (bytes = readFile(path), edit(bytes), writeFile(path, bytes));
        };
    };

    row("sound database", sql(papyraTables), "");
    row("write-ahead log, closed cleanly", withTables({"PRAGMA journal_mode = WAL"}), "");
    row("65,536-byte pages", withTables({"PRAGMA page_size = 65536"}), "");
    row("UTF-16", withTables({"PRAGMA encoding = 'UTF-16le'"}), "");
    row("other tables and indexes too",
        withTables({}, {"CREATE TABLE Notes (x)", "CREATE INDEX k ON Varnel(Keywords)"}), "");
    // The newest committed edits of a database in write-ahead-log form may lie in its -wal only.
    row("tables only in the -wal beside it", walNeverCheckpointed, "");
    row("last byte missing", edited([](QByteArray &b) { b.chop(1); }), "holds");
    row("a page overwritten", edited([](QByteArray &b) { b.replace(4096, 4096, QByteArray(4096, 'x')); }), "damaged");
    row(
        "text file", [](const QString &p) { return writeFile(p, "Dear diary,\nno database.\n"); }, "not a database");
#ifndef Q_OS_WIN // Windows: a device in the file's place, in failedCopyNamesTheCause
    row(
        "named pipe", [](const QString &p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
        "not a regular file");
#endif
    row(
        "no such file", [](const QString &) { return true; }, "does not exist");
    row("FileNumber declared TEXT", varnelAs("FileNumber TEXT PRIMARY KEY"), "integer key");
    row("FileNumber a descending key", varnelAs("FileNumber INTEGER PRIMARY KEY DESC"), "integer key");
    row("FileNumber no key", varnelAs("FileNumber INTEGER"), "integer key");
    row("without rowid", varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords, Category, Reminder", " WITHOUT ROWID"),
        "no rowid");
    row("virtual table",
        sql({"CREATE VIRTUAL TABLE Varnel USING fts5(FileNumber, Keywords, Category, Reminder)",
             "CREATE TABLE Categories (Category TEXT)"}),
        "virtual");
    row("view for a table",
        sql({papyraTables[0], "CREATE TABLE c2 (Category)", "CREATE VIEW Categories AS SELECT * FROM c2"}), "view");
    row("Keywords may not be empty",
        varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords NOT NULL, Category, Reminder"), "cannot be empty");
    row("computed Category", varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords, Category AS (Keywords), Reminder"),
        "computed");
    row("Keywords with a CHECK",
        varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords CHECK (length(Keywords) < 5), Category, Reminder"),
        "CHECK constraint");
    row("Keywords UNIQUE", varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords UNIQUE, Category, Reminder"), "UNIQUE");
    row("STRICT with Keywords INTEGER",
        varnelAs("FileNumber INTEGER PRIMARY KEY", "Keywords INTEGER, Category TEXT, Reminder TEXT", " STRICT"),
        "STRICT");
    row("a field named \"check\"", withTables({}, {"ALTER TABLE Varnel ADD COLUMN \"check\" TEXT /* CHECK */"}), "");
    row("Papyra's own history",
        withTables({}, {"CREATE TABLE PapyraHistory (Id INTEGER PRIMARY KEY, ChangedAt TEXT, "
                        "ChangedBy TEXT, Kind TEXT, FileNumber INTEGER, Keywords TEXT, "
                        "Category TEXT, Reminder TEXT, NewName TEXT)"}),
        "");
    row("a foreign PapyraHistory", withTables({}, {"CREATE TABLE PapyraHistory (Id INTEGER PRIMARY KEY, Note TEXT)"}),
        "PapyraHistory has no field");
    row("trigger deleting every row",
        withTables({}, {"CREATE TRIGGER t AFTER UPDATE ON Varnel BEGIN DELETE FROM Varnel; END"}), "triggers");
    // A backup made by the program holds its search index, triggers included, beside its history.
    const auto indexed = [&](const QStringList &after) -> Make {
        return [after](const QString &path) {
            if (!runSql(path, papyraTables))
                return false;
            {
                SqliteEngine engine(path);
                QSqlDatabase db = engine.open(nullptr) ? engine.connection() : QSqlDatabase();
                if (!db.isOpen() || !History::prepare(db, engine.autoKeyDeclaration()) ||
                    !History::keep(db, "Varnel", "FileNumber", 1, {{"Keywords", "Car"}}) ||
                    !QSqlQuery(db).exec("UPDATE Varnel SET Keywords = 'Car insurance' WHERE FileNumber = 1"))
                    return false;
            }
            return runSql(path, after);
        };
    };
    row("the program's own search index and history", indexed({}), "");
    row("a trigger under the index's name doing more",
        indexed({"DROP TRIGGER papyra_slot_removed",
                 "CREATE TRIGGER papyra_slot_removed AFTER DELETE ON Varnel BEGIN DELETE FROM Categories; END"}),
        "triggers");
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
    const QByteArray before = readFile(database);
    const QStringList entriesBefore = QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden);

    QString error;
    const bool restored = SqliteFile::restoreFrom(chosen, database, &error);
    QVERIFY2(restored == refusal.isEmpty(), qPrintable(error));
    QVERIFY2(error.contains(refusal), qPrintable(error));
    // Nothing left beside the database but the database itself.
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
    if (!restored) {
        QCOMPARE(readFile(database), before);
        return;
    }
    // A single file in rollback-journal form, which Papyra opens and finds its slot in.
    const QByteArray installed = readFile(database);
    QCOMPARE(int(installed.at(18)), 1);
    QCOMPARE(int(installed.at(19)), 1);
    SqliteEngine db(database);
    QVERIFY(db.open(nullptr));
    QSqlQuery query(db.connection());
    QVERIFY(query.exec("SELECT Keywords FROM Varnel WHERE FileNumber = 1") && query.next());
    QCOMPARE(query.value(0).toString(), "Car insurance");
    // A file that came without the search index has it built on opening; either way the search finds the slot.
    QVERIFY(query.exec("SELECT count(*) FROM sqlite_schema WHERE name = 'papyra_index'") && query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    QVERIFY(query.prepare("SELECT FileNumber FROM Varnel WHERE " + db.matchCondition()));
    query.addBindValue("insurance");
    QVERIFY2(query.exec() && query.next(), qPrintable(query.lastError().text()));
    QCOMPARE(query.value(0).toInt(), 1);
    QVERIFY(!query.next());
}

void RestoreCheckTest::failedCopyNamesTheCause_data()
{
    // A copy from one path to another, in a folder holding Varnel.mdb, a regular file, a folder and a
    // named pipe, and the cause its failure must name.
    using Copy = std::function<bool(const QString &, const QString &, QString *)>;
    QTest::addColumn<Copy>("copy");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("cause");
    // The system's own words, in whatever language the system speaks.
    const auto row = [](const char *name, Copy copy, const char *from, const char *to, const QString &cause) {
        QTest::newRow(name) << copy << QString(from) << QString(to) << cause;
    };
    const Copy backup = SqliteFile::backupTo, restore = SqliteFile::restoreFrom, copy = FileCopy::copyInto;
#ifdef Q_OS_WIN
    const auto said = [](DWORD code) {
        wchar_t *text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        const QString message = QString::fromWCharArray(text).trimmed();
        LocalFree(text);
        return message;
    };
    row("backup under a regular file", backup, "Varnel.mdb", "plain.txt\\x", said(ERROR_PATH_NOT_FOUND));
    row("backup onto a folder", backup, "Varnel.mdb", "folder", said(ERROR_ACCESS_DENIED));
    row("restore into a folder under a regular file", restore, "Varnel.mdb", "plain.txt/Varnel.mdb",
        said(ERROR_PATH_NOT_FOUND));
    row("copy from a device", copy, "\\\\.\\NUL", "copy", QString("not a regular file"));
#else
    const auto said = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
    row("backup under a regular file", backup, "Varnel.mdb", "plain.txt/x", said(ENOTDIR));
    row("backup onto a folder", backup, "Varnel.mdb", "folder", said(EISDIR));
    row("restore into a folder under a regular file", restore, "Varnel.mdb", "plain.txt/Varnel.mdb", said(ENOTDIR));
    row("full disk", copy, "Varnel.mdb", "/dev/full", said(ENOSPC));
    const Copy writeBytes = [](const QString &, const QString &to, QString *error) {
        return FileCopy::writeInto("File #,Keywords\r\n", to, error);
    };
    row("export to a full disk", writeBytes, "", "/dev/full", said(ENOSPC));
    row("copy from a named pipe", copy, "pipe", "copy", QString("not a regular file"));
#endif
}

void RestoreCheckTest::failedCopyNamesTheCause()
{
    QFETCH(std::function<bool(const QString &, const QString &, QString *)>, copy);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(Schema::createDatabase(folder.filePath("Varnel.mdb"), 5));
    QVERIFY(writeFile(folder.filePath("plain.txt"), "notes"));
    QVERIFY(folder.mkdir("folder"));
#ifndef Q_OS_WIN
    QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);
#endif
    QString error;
    QVERIFY(!copy(folder.filePath(from), folder.filePath(to), &error));
    QVERIFY2(error.contains(cause) && !error.contains("Unknown error"), qPrintable(error));
}

void RestoreCheckTest::openingTurnsLogIntoJournal()
{
    // A database left in write-ahead-log form (by an older version, another tool) becomes one file again.
    QTemporaryDir dir;
    const QString database = dir.filePath("Varnel.mdb");
    QVERIFY(runSql(database, QStringList{"PRAGMA journal_mode = WAL"} + papyraTables));
    SqliteEngine db(database);
    QVERIFY(db.open(nullptr));
    QSqlQuery query(db.connection());
    QVERIFY(query.exec("PRAGMA journal_mode") && query.next());
    QCOMPARE(query.value(0).toString(), "delete");
    QVERIFY(query.exec("PRAGMA synchronous") && query.next());
    QCOMPARE(query.value(0).toInt(), 2); // FULL
}

void RestoreCheckTest::copiesReachFoldersNamedInAnyLetters()
{
    // A user named Jörg keeps the data in a folder with his name; paths are given in the system's
    // own form (backslashes on Windows). The backup replaces an older one whole, the restore brings
    // it back, and nothing is left beside them.
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("Jörg Ωμέγα 文件"));
    QVERIFY(QDir().mkpath(folder));
    const QString database = QDir::toNativeSeparators(QDir(folder).filePath("Varnel.mdb"));
    const QString backup = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("Sicherung März.bkp")));
    QVERIFY(Schema::createDatabase(database, 5));
    QVERIFY(writeFile(backup, QByteArray(1 << 20, 'x')));
    QString error;
    QVERIFY2(SqliteFile::backupTo(database, backup, &error), qPrintable(error));
    const QByteArray saved = readFile(backup);
    QCOMPARE(saved, readFile(database));

    QVERIFY(QFile::remove(database));
    QVERIFY(Schema::createDatabase(database, 7));
    QVERIFY(readFile(database) != saved);
    QVERIFY2(SqliteFile::restoreFrom(backup, database, &error), qPrintable(error));
    QCOMPARE(readFile(database), saved);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"Sicherung März.bkp", "Varnel.mdb"}));
}

QTEST_MAIN(RestoreCheckTest)
#include "tst_restorecheck.moc"
