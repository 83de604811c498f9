#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "store/AddFilesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QtTest>

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

// One field of every row of a data source.
QStringList column(DataSource *source, const QString &field)
{
    QStringList values;
    for (int row = 0; row < source->recordCount(); ++row)
        values << source->index(row, source->columnIndex(field)).data().toString();
    return values;
}

// Notes, when a file dialog opens, whether anything still holds the database.
class WatchingDialogs : public ScriptedDialogs
{
public:
    MainWindow *window = nullptr;
    bool openWhileAsked = true;
    int rowsWhileAsked = -1;
    QStringList filesWhileAsked;

    QString saveFileName(QWidget *parent, const QString &proposed) override
    {
        watch();
        return ScriptedDialogs::saveFileName(parent, proposed);
    }
    QString openFileName(QWidget *parent, const QString &proposed) override
    {
        watch();
        return ScriptedDialogs::openFileName(parent, proposed);
    }

private:
    void watch()
    {
        openWhileAsked = window->database()->isOpen();
        rowsWhileAsked = 0;
        for (DataSource *source : window->dataSources())
            rowsWhileAsked += source->recordCount();
        filesWhileAsked = QDir(window->programFolder()).entryList(QDir::Files | QDir::Hidden);
    }
};

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keysAskForTheFile_data();
    void keysAskForTheFile();
    void roundTripIsByteExact();
    void restoreShowsRestoredData();
    void typedCellIsInTheBackup();
    void restoreRefusesForeignFiles_data();
    void restoreRefusesForeignFiles();
    void failedBackupIsReported_data();
    void failedBackupIsReported();

private:
    MainWindow *openWindow(int slotCount = 40);
    // Runs a menu command whose file dialog answers file; returns the messages it showed.
    QStringList run(const char *action, const QString &file);
    // Every data source open again, released while the dialog was up, no busy pointer left.
    void checkReopened(int slotCount, int categories);

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<WatchingDialogs> m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

void BackupTest::init()
{
    m_folder = std::make_unique<TestFolder>();
    m_dialogs = std::make_unique<WatchingDialogs>();
}

void BackupTest::cleanup()
{
    m_window.reset();
    m_folder.reset();
    QVERIFY(!QGuiApplication::overrideCursor());
}

MainWindow *BackupTest::openWindow(int slotCount)
{
    [&] {
        QVERIFY(m_folder->makeDatabase(slotCount));
        QVERIFY(SideConnection(m_folder->databasePath())
                    .exec("UPDATE Varnel SET Keywords = 'Tax return 2022', Category = 'Taxes', "
                          "Reminder = '2023-04-15' WHERE FileNumber = 3"));
    }();
    m_window = std::make_unique<MainWindow>(m_folder->path(), m_dialogs.get());
    m_dialogs->window = m_window.get();
    return m_window.get();
}

QStringList BackupTest::run(const char *action, const QString &file)
{
    m_dialogs->clear();
    m_dialogs->fileAnswers.enqueue(file);
    m_window->action(QLatin1String(action))->trigger();
    return m_dialogs->messages();
}

void BackupTest::checkReopened(int slotCount, int categories)
{
    QVERIFY(m_window->database()->isOpen());
    QCOMPARE(m_window->fileSource()->recordCount(), slotCount);
    QCOMPARE(m_window->categoriesSource()->recordCount(), categories);
    QCOMPARE(m_window->popCatSource()->recordCount(), categories);
    for (const ScriptedDialogs::Shown &shown : m_dialogs->shown)
        QVERIFY2(!shown.busyPointer, qPrintable(shown.text));
    QVERIFY(!QGuiApplication::overrideCursor());
    // Nothing held the file while it was copied, and no journal was waiting to be written into it.
    QVERIFY(!m_dialogs->openWhileAsked);
    QCOMPARE(m_dialogs->rowsWhileAsked, 0);
    QCOMPARE(m_dialogs->filesWhileAsked.filter(QRegularExpression("-journal|-wal")), QStringList());
}

void BackupTest::keysAskForTheFile_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("Ctrl+B backs up") << int(Qt::Key_B) << "save";
    QTest::newRow("Ctrl+R restores") << int(Qt::Key_R) << "open";
}

void BackupTest::keysAskForTheFile()
{
    QFETCH(int, key);
    QFETCH(QString, dialog);
    MainWindow *w = openWindow();
    const QByteArray before = contents(m_folder->databasePath());
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    // No answer queued: the dialog is cancelled. Nothing is copied and nothing is said.
    QTest::keyClick(w, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.first().kind, dialog);
    QCOMPARE(m_dialogs->proposedFileNames, QStringList{"Papyra.bkp"});
    checkReopened(40, 10);
    QCOMPARE(contents(m_folder->databasePath()), before);
    QVERIFY(!QFileInfo::exists(m_folder->filePath("Papyra.bkp")));
}

void BackupTest::roundTripIsByteExact()
{
    openWindow();
    // An older, longer file stands where the backup goes: it is replaced whole.
    const QString backup = m_folder->filePath("Papyra.bkp");
    QVERIFY(writeFile(backup, QByteArray(3 << 20, 'x')));
    QCOMPARE(run("mnuBackup", backup), QStringList{"Backup Complete!"});
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::None);
    checkReopened(40, 10);
    const QByteArray saved = contents(backup);
    QCOMPARE(saved, contents(m_folder->databasePath()));

    {
        SideConnection side(m_folder->databasePath());
        QVERIFY(side.exec("UPDATE Varnel SET Keywords = 'Changed'"));
        QVERIFY(side.exec("DELETE FROM Categories"));
    }
    QCOMPARE(run("mnuRestore", backup), QStringList{"Restore Complete!"});
    checkReopened(40, 10);
    QCOMPARE(contents(m_folder->databasePath()), saved);
    QCOMPARE(column(m_window->fileSource(), "Keywords").value(2), "Tax return 2022");

    // Restoring from the database file itself leaves it as it is.
    QCOMPARE(run("mnuRestore", m_folder->databasePath()), QStringList{"Restore Complete!"});
    QCOMPARE(contents(m_folder->databasePath()), saved);
}

void BackupTest::restoreShowsRestoredData()
{
    MainWindow *w = openWindow();
    // The backup holds two categories, and slot 20 matches the last search too.
    const QString backup = m_folder->filePath("old.bkp");
    QVERIFY(QFile::copy(m_folder->databasePath(), backup));
    {
        SideConnection side(backup);
        QVERIFY(side.exec("DELETE FROM Categories"));
        QVERIFY(side.exec("INSERT INTO Categories VALUES ('Bank'), ('Home')"));
        QVERIFY(side.exec("UPDATE Varnel SET Keywords = 'Tax bill 1999' WHERE FileNumber = 20"));
    }
    RecordSource search{"Varnel", "FileNumber", "upper(Keywords) LIKE ?", {"%TAX%"}, "FileNumber"};
    w->searchSource()->setRecordSource(search);
    QVERIFY(w->refreshSource(w->searchSource()));
    QCOMPARE(column(w->searchSource(), "FileNumber"), QStringList{"3"});
    w->SwitchTab(3);

    QCOMPARE(run("mnuRestore", backup), QStringList{"Restore Complete!"});
    checkReopened(40, 2);
    QCOMPARE(column(w->popCatSource(), "Category"), (QStringList{"Bank", "Home"}));
    QCOMPARE(w->addFilesPanel()->categoryList()->model()->rowCount(), 2);
    QCOMPARE(column(w->categoriesSource(), "Category"), (QStringList{"Bank", "Home"}));
    QCOMPARE(w->addFilesPanel()->grid()->model()->index(19, 1).data().toString(), "Tax bill 1999");
    QCOMPARE(column(w->searchSource(), "FileNumber"), (QStringList{"3", "20"}));
}

void BackupTest::typedCellIsInTheBackup()
{
    MainWindow *w = openWindow();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->SwitchTab(3);
    DataGrid *grid = w->addFilesPanel()->grid();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    grid->edit(grid->currentIndex());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText("Typed, not yet left");

    const QString backup = m_folder->filePath("Papyra.bkp");
    QCOMPARE(run("mnuBackup", backup), QStringList{"Backup Complete!"});
    QVERIFY(contents(backup).contains("Typed, not yet left"));
    QCOMPARE(column(w->fileSource(), "Keywords").value(0), "Typed, not yet left");
}

void BackupTest::restoreRefusesForeignFiles_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind :
         {"text file", "empty file", "SQLite file without our tables", "SQLite file without Categories",
          "backup cut short", "backup damaged inside", "file gone", "a folder"})
        QTest::newRow(kind) << kind;
}

void BackupTest::restoreRefusesForeignFiles()
{
    QFETCH(QString, kind);
    openWindow(5000); // big enough that cutting it short loses real pages
    const QByteArray before = contents(m_folder->databasePath());
    const QString chosen = m_folder->filePath("chosen.bkp");
    if (kind == "text file")
        QVERIFY(writeFile(chosen, "Dear diary,\nthis is not a database.\n"));
    else if (kind == "empty file")
        QVERIFY(writeFile(chosen, QByteArray()));
    else if (kind == "SQLite file without our tables")
        QVERIFY(SideConnection(chosen).exec("CREATE TABLE Recipes (Name TEXT)"));
    else if (kind == "SQLite file without Categories")
        QVERIFY(SideConnection(chosen).exec("CREATE TABLE Varnel (FileNumber, Keywords, Category, Reminder)"));
    else if (kind == "backup cut short")
        QVERIFY(writeFile(chosen, before.left(before.size() / 2)));
    else if (kind == "backup damaged inside")
        QVERIFY(writeFile(chosen, QByteArray(before).replace(before.size() / 2, 4096, QByteArray(4096, 'x'))));
    else if (kind == "a folder")
        QVERIFY(QDir(m_folder->path()).mkdir("chosen.bkp"));
    const QByteArray chosenBefore = contents(chosen);

    const QStringList messages = run("mnuRestore", chosen);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Warning);
    QVERIFY(messages.first().contains(QDir::toNativeSeparators(chosen)));
    QVERIFY(messages.first().contains("not changed"));
    checkReopened(5000, 10);
    QCOMPARE(contents(m_folder->databasePath()), before);
    QCOMPARE(contents(chosen), chosenBefore);
}

void BackupTest::failedBackupIsReported_data()
{
    QTest::addColumn<QString>("target"); // relative to the test folder
    QTest::newRow("target is a folder") << "backups";
    QTest::newRow("target under a regular file") << "plain.txt/Papyra.bkp";
    QTest::newRow("folder missing") << "nowhere/Papyra.bkp";
    QTest::newRow("the database itself") << "Varnel.mdb";
}

void BackupTest::failedBackupIsReported()
{
    QFETCH(QString, target);
    openWindow();
    QVERIFY(QDir(m_folder->path()).mkdir("backups"));
    QVERIFY(writeFile(m_folder->filePath("plain.txt"), "notes"));
    const QByteArray before = contents(m_folder->databasePath());

    const QStringList messages = run("mnuBackup", m_folder->filePath(target));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first() != "Backup Complete!");
    QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Warning);
    checkReopened(40, 10);
    QCOMPARE(contents(m_folder->databasePath()), before);
    QCOMPARE(contents(m_folder->filePath("plain.txt")), QByteArray("notes"));
    // Nothing else was touched, and no temporary copy is left lying about.
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
             (QStringList{"Varnel.mdb", "Varnel.tpl", "backups", "plain.txt"}));
    QVERIFY(QFileInfo(m_folder->filePath("backups")).isDir());
}

QTEST_MAIN(BackupTest)
#include "tst_backup.moc"
