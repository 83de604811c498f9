#include "app/SingleInstance.h"
#include "backup/AutoBackup.h"
#include "backup/BackupRestore.h"
#include "panels/AddFilesPanel.h"
#include "store/History.h"
#include "store/RecordStore.h"
#include "store/SqliteEngine.h"
#include "store/SqliteFile.h"
#include "ui/DataGrid.h"

#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const QString taxes = QStringLiteral("Tax return 2025, W-2, 1099-INT");

// Slot 3 as the issue found it, and 15 filled slots in all.
bool fillFolders(const QString &database)
{
    SideConnection db(database);
    QList<QVariantList> rows;
    for (int n = 1; n <= 15; ++n)
        rows.append(
            {n == 3 ? taxes : QStringLiteral("Folder %1").arg(n), n == 3 ? QStringLiteral("Taxes") : QString(), n});
    return db.execRows("UPDATE Varnel SET Keywords = ?, Category = ? WHERE FileNumber = ?", rows);
}

// Every slot's fields and every category, in order: what a restore must give back.
QString content(const QString &database)
{
    SideConnection db(database);
    return db.value("SELECT group_concat(FileNumber || '|' || quote(Keywords) || '|' || quote(Category) || '|' || "
                    "quote(Reminder), char(10)) FROM (SELECT * FROM Varnel ORDER BY FileNumber)")
               .toString() +
           db.value("SELECT group_concat(quote(Category), char(10)) FROM (SELECT * FROM Categories ORDER BY rowid)")
               .toString();
}

QString slotText(RecordStore &store, qint64 number)
{
    QVector<SlotValues> filled;
    store.filledSlots(&filled);
    for (const SlotValues &slot : filled)
        if (slot.number == number)
            return slot.keywords + QLatin1Char('|') + slot.category;
    return QStringLiteral("|");
}

int rowOf(DataSource &source, qint64 number)
{
    for (int row = 0; row < source.recordCount(); ++row)
        if (source.data(source.index(row, 0)).toLongLong() == number)
            return row;
    return -1;
}

// Types text into a field of a slot's row and leaves the row, as the grid does.
bool typeAndLeave(DataSource &source, qint64 number, const QString &field, const QString &text)
{
    const int row = rowOf(source, number);
    source.setCurrentRow(row);
    const bool ok = source.setData(source.index(row, source.columnIndex(field)), text);
    source.setCurrentRow(row == 0 ? 1 : 0);
    return ok;
}

bool integrityOk(const QString &path)
{
    // The check may write to the file it opens, so it runs on a copy.
    QTemporaryDir dir;
    const QString copy = dir.filePath("check.mdb");
    QString why;
    const bool ok = QFile::copy(path, copy) && SqliteFile::isProgramDatabase(copy, &why);
    if (!ok)
        qWarning("%s: %s", qPrintable(path), qPrintable(why));
    return ok;
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void everyWriteKeepsWhatItReplaces_data();
    void everyWriteKeepsWhatItReplaces();
    void categoryChangesAreKept();
    void thinningKeepsTheRule();
    void snapshotsKeptByTheRule();
    void restoreIsUndoneByTheSnapshotBeforeIt();
    void snapshotDuringAWriteIsConsistent();
#ifndef Q_OS_WIN // needs fork()
    void killedSnapshotLeavesEverythingIntact();
#endif
    void failedSnapshotLeavesNothing();
    void windowPutsBackAndRestoresAutomatically();
    void secondStartWakesTheFirst();
};

void HistoryTest::everyWriteKeepsWhatItReplaces_data()
{
    using Write = std::function<bool(RecordStore &)>;
    QTest::addColumn<Write>("write");
    QTest::addColumn<QStringList>("versions"); // keywords|category of slot 3's versions, newest first
    QTest::addColumn<QString>("slot");         // slot 3 afterwards
    const QString before = taxes + QStringLiteral("|Taxes");
    const auto fill = [](std::optional<QString> keywords, std::optional<QString> category = std::nullopt) {
        return [=](RecordStore &s) { return s.fillSlots({{3, keywords, category, std::nullopt}}); };
    };
    QTest::newRow("grid row left") << Write([](RecordStore &s) {
        return typeAndLeave(s.file(), 3, "Keywords", "OOPS overwritten");
    }) << QStringList{before} << "OOPS overwritten|Taxes";
    QTest::newRow("search grid row left") << Write([](RecordStore &s) {
        return s.searchFor("r") && typeAndLeave(s.search(), 3, "Keywords", "OOPS overwritten");
    }) << QStringList{before} << "OOPS overwritten|Taxes";
    QTest::newRow("category picked") << Write([](RecordStore &s) {
        return typeAndLeave(s.file(), 3, "Category", "Bank");
    }) << QStringList{before} << taxes + "|Bank";
    QTest::newRow("import") << Write(fill("OOPS overwritten", "Bank")) << QStringList{before}
                            << "OOPS overwritten|Bank";
    QTest::newRow("import of what is there already") << Write(fill(taxes)) << QStringList() << before;
    // Slots far apart are read one by one, a slot named twice again before its second fill.
    QTest::newRow("import of slots far apart") << Write([](RecordStore &s) {
        return s.fillSlots(
            {{1, QString("one"), {}, {}}, {3, QString("OOPS overwritten"), {}, {}}, {15, QString("fifteen"), {}, {}}});
    }) << QStringList{before} << "OOPS overwritten|Taxes";
    QTest::newRow("import naming a slot twice") << Write([](RecordStore &s) {
        return s.fillSlots({{3, QString("first"), {}, {}}, {3, QString("OOPS overwritten"), QString("Bank"), {}}});
    }) << QStringList{"first|Taxes", before} << "OOPS overwritten|Bank";
    QTest::newRow("Escape before leaving") << Write([](RecordStore &s) {
        const int row = rowOf(s.file(), 3);
        s.file().setCurrentRow(row);
        s.file().setData(s.file().index(row, 1), "OOPS");
        s.file().revertPending();
        s.file().setCurrentRow(0);
        return true;
    }) << QStringList() << before;
    QTest::newRow("put back, itself kept") << Write([fill](RecordStore &s) {
        QVector<History::Version> versions;
        return fill("OOPS overwritten")(s) && s.slotHistory(3, &versions) && s.putBack(versions.value(0).id);
    }) << QStringList{"OOPS overwritten|Taxes", before}
                                           << before;
}

void HistoryTest::everyWriteKeepsWhatItReplaces()
{
    QFETCH(std::function<bool(RecordStore &)>, write);
    QFETCH(QStringList, versions);
    QFETCH(QString, slot);
    TestFolder folder;
    QVERIFY(fillFolders(folder.databasePath()));
    RecordStore store(folder.path());
    QVERIFY(store.open() && store.refreshAll());
    QVERIFY(write(store));
    QVector<History::Version> kept;
    QVERIFY(store.slotHistory(3, &kept));
    QStringList found;
    for (const History::Version &v : kept) {
        found << v.keywords + '|' + v.category;
        QVERIFY(qAbs(v.changedAt.secsTo(QDateTime::currentDateTime())) < 3600);
    }
    QCOMPARE(found, versions);
    QCOMPARE(slotText(store, 3), slot);
}

void HistoryTest::categoryChangesAreKept()
{
    TestFolder folder;
    RecordStore store(folder.path());
    QVERIFY(store.open() && store.refreshAll());
    DataSource &categories = store.categories();
    const int count = categories.recordCount();
    categories.addNew();
    QVERIFY(categories.setData(categories.index(count, 0), "Garden"));
    categories.setCurrentRow(0); // added
    categories.setCurrentRow(1);
    QVERIFY(categories.setData(categories.index(1, 0), "Banking"));
    categories.setCurrentRow(0); // renamed
    categories.setCurrentRow(count);
    QVERIFY(categories.deleteCurrent()); // deleted
    const QString kept = SideConnection(folder.databasePath())
                             .value("SELECT group_concat(coalesce(Category, '') || ' -> ' || coalesce(NewName, ''), "
                                    "'; ') FROM (SELECT * FROM PapyraHistory WHERE Kind = 'category' ORDER BY Id)")
                             .toString();
    QCOMPARE(kept, " -> Garden; Bank -> Banking; Garden -> ");
}

void HistoryTest::thinningKeepsTheRule()
{
    TestFolder folder;
    {
        RecordStore store(folder.path());
        QVERIFY(store.open()); // makes the table
    }
    // Slot 1: 60 versions two years old; slot 2: 60 of last month; slot 3: 10 old ones.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QVariantList> rows;
    for (int i = 0; i < 60; ++i) {
        rows.append({now.addYears(-2).addSecs(i).toString("yyyy-MM-ddTHH:mm:ss.zzz"), 1, QString::number(i)});
        rows.append({now.addMonths(-1).addSecs(i).toString("yyyy-MM-ddTHH:mm:ss.zzz"), 2, QString::number(i)});
        if (i < 10)
            rows.append({now.addYears(-3).addSecs(i).toString("yyyy-MM-ddTHH:mm:ss.zzz"), 3, QString::number(i)});
    }
    QVERIFY(SideConnection(folder.databasePath())
                .execRows("INSERT INTO PapyraHistory (ChangedAt, Kind, FileNumber, Keywords) VALUES (?, 'slot', ?, ?)",
                          rows));
    RecordStore store(folder.path());
    QVERIFY(store.open()); // thins
    QVector<History::Version> versions;
    const QVector<int> counts{50, 60, 10};
    for (int slot = 1; slot <= 3; ++slot) {
        QVERIFY(store.slotHistory(slot, &versions));
        QCOMPARE(versions.size(), counts[slot - 1]);
        QCOMPARE(versions.first().keywords, QString::number(slot == 3 ? 9 : 59)); // the newest stay
    }
}

void HistoryTest::snapshotsKeptByTheRule()
{
    // One snapshot a day for 60 days, an hour before "now" on a Monday: kept are the last 24 hours,
    // the newest of each of 7 days, of 4 ISO weeks and of the months there are.
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    QVector<AutoBackup::Snapshot> snapshots;
    for (int age = 0; age < 60; ++age)
        snapshots.append({QString::number(age), now.addDays(-age).addSecs(-3600)});
    QStringList gone = AutoBackup::surplus(snapshots, now);
    QStringList kept;
    for (const AutoBackup::Snapshot &s : snapshots)
        if (!gone.contains(s.path))
            kept << s.path;
    QCOMPARE(kept, (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "15", "37"}));
    // Several on one day (restores, imports) stay while they are younger than a day.
    snapshots = {{"a", now.addSecs(-60)}, {"b", now.addSecs(-7200)}, {"c", now.addSecs(-80000)}};
    QCOMPARE(AutoBackup::surplus(snapshots, now), QStringList());
}

void HistoryTest::restoreIsUndoneByTheSnapshotBeforeIt()
{
    TestFolder folder;
    QVERIFY(fillFolders(folder.databasePath()));
    const QString before = content(folder.databasePath());
    RecordStore store(folder.path());
    QVERIFY(store.open() && store.refreshAll());
    // The template chosen by mistake empties every folder...
    const BackupRestore::Outcome mistake = BackupRestore::restoreFile(store, folder.templatePath());
    QVERIFY2(mistake.copied, qPrintable(mistake.error));
    QVERIFY(mistake.detail().contains("Restore Automatic Backup"));
    QCOMPARE(SqliteFile::filledCount(folder.databasePath()), 0);
    // ... and the snapshot taken before it brings them back.
    QCOMPARE(SqliteFile::filledCount(mistake.snapshot), 15);
    const BackupRestore::Outcome undo = BackupRestore::restoreFile(store, mistake.snapshot);
    QVERIFY2(undo.copied, qPrintable(undo.error));
    store.close();
    QCOMPARE(content(folder.databasePath()), before);
    QCOMPARE(AutoBackup::list(AutoBackup::folderOf(folder.path())).size(), 2);
}

void HistoryTest::snapshotDuringAWriteIsConsistent()
{
    TestFolder folder;
    QVERIFY(folder.makeDatabase(20000));
    SqliteEngine engine(folder.databasePath());
    SideConnection writer(folder.databasePath());
    QVERIFY(writer.exec("BEGIN IMMEDIATE"));
    QVERIFY(writer.exec("UPDATE Varnel SET Keywords = 'uncommitted'"));
    const QString snapshot = folder.filePath("snap.bkp");
    QString error;
    QVERIFY2(engine.snapshotTo(snapshot, &error), qPrintable(error));
    QVERIFY(writer.exec("COMMIT"));
    QVERIFY(integrityOk(snapshot));
    QCOMPARE(SqliteFile::filledCount(snapshot), 0);
}

#ifndef Q_OS_WIN
void HistoryTest::killedSnapshotLeavesEverythingIntact()
{
    TestFolder folder;
    QVERIFY(folder.makeDatabase(300000));
    SqliteEngine engine(folder.databasePath());
    const AutoBackup::Result earlier =
        AutoBackup::take(engine, folder.path(), QString(), QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    QVERIFY2(earlier.ok, qPrintable(earlier.error));
    const QByteArray database = digest(folder.databasePath());
    const QByteArray kept = digest(earlier.path);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        for (;;)
            AutoBackup::take(engine, folder.path(), QString());
    }
    QTest::qWait(700);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    QCOMPARE(digest(folder.databasePath()), database);
    QCOMPARE(digest(earlier.path), kept);
    // Every file under a snapshot's name is a whole database.
    for (const AutoBackup::Snapshot &s : AutoBackup::list(AutoBackup::folderOf(folder.path())))
        QVERIFY(integrityOk(s.path));
}
#endif

void HistoryTest::failedSnapshotLeavesNothing()
{
    TestFolder folder;
    SqliteEngine engine(folder.databasePath());
    const QByteArray database = digest(folder.databasePath());
    // The Backups folder cannot be made: a file has its name.
    QVERIFY(writeFile(AutoBackup::folderOf(folder.path()), "in the way"));
    AutoBackup::Result result = AutoBackup::take(engine, folder.path(), QString());
    QVERIFY(!result.ok && !result.error.isEmpty());
    QCOMPARE(digest(folder.databasePath()), database);
    // A second folder that is gone is told, the snapshot itself is still written.
    QVERIFY(QFile::remove(AutoBackup::folderOf(folder.path())));
    result = AutoBackup::take(engine, folder.path(), folder.filePath("usb-stick"));
    QVERIFY(result.ok);
    QVERIFY(result.secondError.contains("usb-stick"));
    // The database itself gone: no file under the snapshot's name, no stray temporary.
    QVERIFY(QFile::remove(folder.databasePath()));
    result = AutoBackup::take(engine, folder.path(), QString(), QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
    QVERIFY(!result.ok);
    QCOMPARE(QDir(AutoBackup::folderOf(folder.path())).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void HistoryTest::windowPutsBackAndRestoresAutomatically()
{
    WindowFixture fixture;
    QVERIFY(fillFolders(fixture.folder().databasePath()));
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    const QString backups = AutoBackup::folderOf(fixture.folder().path());

    // A fresh start writes one snapshot, a second start that day none.
    QSignalSpy done(&window, &MainWindow::startSnapshotDone);
    window.startAutomaticBackups();
    QVERIFY(done.wait(20000));
    QCOMPARE(done.first().first().toBool(), true);
    window.startAutomaticBackups();
    QCOMPARE(AutoBackup::list(backups).size(), 1);

    // Slot 3 typed over and left; Ctrl+H shows its old keywords and Put Back brings them back.
    window.SwitchTab(Tab::AddFiles);
    DataSource &file = window.store().file();
    QVERIFY(typeAndLeave(file, 3, "Keywords", "OOPS overwritten"));
    file.setCurrentRow(rowOf(file, 3));
    QStringList listed;
    QTimer::singleShot(0, [&listed] {
        auto *list = QApplication::activeModalWidget()->findChild<QTreeWidget *>("lstHistory");
        listed << list->currentItem()->text(0) << list->currentItem()->text(1);
        QApplication::activeModalWidget()->findChild<QPushButton *>("cmdPutBack")->click();
    });
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(listed, (QStringList{taxes, "Taxes"}));
    QCOMPARE(file.data(file.index(rowOf(file, 3), 1)).toString(), taxes);
    QCOMPARE(file.currentRow(), rowOf(file, 3));

    // The restore dialog starts among the user's files and offers Papyra's backups first.
    fixture.dialogs().clear();
    window.action("mnuRestore")->trigger();
    QVERIFY(!fixture.dialogs().openFolders.value(0).startsWith(fixture.folder().path()));
    QCOMPARE(fixture.dialogs().openFilters.value(0), (QStringList{"Papyra backups (*.bkp *.mdb)", "All files (*)"}));

    // Varnel.tpl restored by mistake; Restore Automatic Backup (the newest) brings the 15 folders back.
    fixture.dialogs().fileAnswers.enqueue(fixture.folder().templatePath());
    window.action("mnuRestore")->trigger();
    QVERIFY(fixture.dialogs().messages().constLast().startsWith("Restore Complete!\n\nYour database as it was"));
    QCOMPARE(window.store().file().data(window.store().file().index(2, 1)).toString(), QString());
    QTimer::singleShot(0, [] {
        auto *list = QApplication::activeModalWidget()->findChild<QTreeWidget *>("lstBackups");
        QCOMPARE(list->currentItem()->text(1), "15");
        QApplication::activeModalWidget()->findChild<QPushButton *>("cmdRestore")->click();
    });
    window.action("mnuAutoRestore")->trigger();
    QVERIFY(fixture.dialogs().messages().constLast().startsWith("Restore Complete!"));
    QCOMPARE(SqliteFile::filledCount(fixture.folder().databasePath()), 15);
    QCOMPARE(file.data(file.index(2, 1)).toString(), taxes);
}

void HistoryTest::secondStartWakesTheFirst()
{
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    QCOMPARE(first.claim(), SingleInstance::Claim::First);
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    SingleInstance second(folder.path());
    QCOMPARE(second.claim(), SingleInstance::Claim::Woken);
    QVERIFY(woken.wait(5000));
#ifndef Q_OS_WIN
    // A Papyra that ended without letting go (a crash) does not keep a later start out.
    QTemporaryDir other;
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        SingleInstance crashed(other.path());
        ::_exit(crashed.claim() == SingleInstance::Claim::First ? 0 : 1); // ends holding the lock
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    QCOMPARE(status, 0);
    QVERIFY(QFile::exists(QDir(other.path()).filePath(".papyra.lock")));
    SingleInstance later(other.path());
    QCOMPARE(later.claim(), SingleInstance::Claim::First);
#endif
}

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
