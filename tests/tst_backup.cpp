#include "SideConnection.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/AddFilesPanel.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"

#include <QLineEdit>
#include <QListView>
#include <QtTest>

namespace {

// Notes, when a file dialog opens, whether anything still holds the database: the connection, a
// data source's rows, or a journal waiting to be written into the file.
class WatchingDialogs : public ScriptedDialogs
{
public:
    MainWindow *window = nullptr;
    bool heldWhileAsked = true;

    QString saveFileName(QWidget *parent, const QString &proposed) override
    {
        watch();
        return ScriptedDialogs::saveFileName(parent, proposed);
    }
    QString openFileName(QWidget *parent, const QString &proposed, const QString &folder,
                         const QStringList &filters) override
    {
        watch();
        return ScriptedDialogs::openFileName(parent, proposed, folder, filters);
    }

private:
    void watch()
    {
        int rows = 0;
        for (DataSource *source : window->store().sources())
            rows += source->recordCount();
        const QDir folder(window->programFolder());
        heldWhileAsked = window->store().isOpen() || rows > 0 ||
                         !folder.entryList({"*-journal", "*-wal"}, QDir::Files | QDir::Hidden).isEmpty();
    }
};

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void roundTripIsByteExact();
    void failureChangesNothing_data();
    void failureChangesNothing();

private:
    // A window on a fresh database of 5,000 slots, shown and active.
    MainWindow *openWindow();
    // Presses Ctrl+B or Ctrl+R, the file dialog answering file; returns the messages shown.
    QStringList run(int key, const QString &file);
    // Every data source open again, released while the dialog was up, no busy pointer left.
    void checkReopened();

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<WatchingDialogs> m_dialogs;
    MainWindow *m_window = nullptr;
    TestFolder *m_folder = nullptr;
};

void BackupTest::cleanup()
{
    m_fixture.reset();
}

MainWindow *BackupTest::openWindow()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_dialogs = std::make_unique<WatchingDialogs>();
    // Big enough that cutting it short loses real pages.
    [&] { QVERIFY(m_fixture->open(5000, m_dialogs.get())); }();
    m_window = &m_fixture->window();
    m_folder = &m_fixture->folder();
    m_dialogs->window = m_window;
    return m_window;
}

QStringList BackupTest::run(int key, const QString &file)
{
    m_dialogs->clear();
    m_dialogs->heldWhileAsked = true;
    m_dialogs->fileAnswers.enqueue(file);
    QTest::keyClick(m_window, Qt::Key(key), Qt::ControlModifier);
    return m_dialogs->messages();
}

void BackupTest::checkReopened()
{
    QVERIFY(m_window->store().isOpen());
    QCOMPARE(m_window->store().file().recordCount(), 5000);
    QCOMPARE(m_window->store().categories().recordCount(), 10);
    QCOMPARE(m_window->store().popCat().recordCount(), 10);
    for (const ScriptedDialogs::Shown &shown : m_dialogs->shown)
        QVERIFY2(!shown.busyPointer, qPrintable(shown.text));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY2(!m_dialogs->heldWhileAsked, "the database was still held while the file was chosen");
}

void BackupTest::roundTripIsByteExact()
{
    MainWindow *w = openWindow();
    // A cell typed into but not yet left belongs in the backup.
    w->SwitchTab(3);
    DataGrid *grid = w->addFilesPanel()->grid();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    grid->edit(grid->currentIndex());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText("Typed, not yet left");

    // An older, longer file stands where the backup goes: it is replaced whole.
    const QString backup = m_folder->filePath("Papyra.bkp");
    QVERIFY(writeFile(backup, QByteArray(3 << 20, 'x')));
    QCOMPARE(run(Qt::Key_B, backup), QStringList{"Backup Complete!"});
    checkReopened();
    const QByteArray saved = readFile(backup);
    QCOMPARE(saved, readFile(m_folder->databasePath()));
    QVERIFY(saved.contains("Typed, not yet left"));

    // Another program changes the database and the window shows it ...
    {
        SideConnection side(m_folder->databasePath());
        QVERIFY(side.exec("UPDATE Varnel SET Keywords = 'Changed'"));
        QVERIFY(side.exec("DELETE FROM Categories"));
    }
    for (DataSource *source : w->store().sources())
        QVERIFY(w->refreshSource(*source));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), "Changed");
    // ... and after the restore every data source shows the backup.
    // The message adds how the restore is undone.
    const QStringList restored = run(Qt::Key_R, backup);
    QCOMPARE(restored.size(), 1);
    QVERIFY(restored.first().startsWith("Restore Complete!\n\n"));
    checkReopened();
    QCOMPARE(readFile(m_folder->databasePath()), saved);
    QCOMPARE(w->addFilesPanel()->categoryList()->model()->rowCount(), 10);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), "Typed, not yet left");
}

void BackupTest::failureChangesNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("chosen");
    // Each refusal is tried file by file elsewhere; here a cancel and one refusal each way go through the window.
    QTest::newRow("restore cancelled") << int(Qt::Key_R) << "nothing";
    QTest::newRow("restore from a backup cut short") << int(Qt::Key_R) << "backup cut short";
    QTest::newRow("backup cancelled") << int(Qt::Key_B) << "nothing";
    QTest::newRow("backup onto the database itself") << int(Qt::Key_B) << "the database itself";
}

void BackupTest::failureChangesNothing()
{
    QFETCH(int, key);
    QFETCH(QString, chosen);
    openWindow();
    const QByteArray before = readFile(m_folder->databasePath());
    const QString path = chosen == "nothing"               ? QString() // the dialog is cancelled
                         : chosen == "the database itself" ? m_folder->databasePath()
                                                           : m_folder->filePath("chosen.bkp");
    if (chosen == "backup cut short")
        QVERIFY(writeFile(path, before.left(before.size() / 2)));
    const QByteArray chosenBefore = readFile(path);
    // The snapshot taken before a restore, and the folder remembered for the next one, may be new.
    auto entries = [&] {
        QStringList names = QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::Hidden);
        names.removeAll("Backups");
        names.removeAll("Papyra.ini");
        return names;
    };
    const QStringList entriesBefore = entries();

    // One warning naming the file (none after Cancel), and nothing changed or left lying about.
    const QStringList messages = run(key, path);
    QCOMPARE(m_dialogs->shown.value(0).kind, key == Qt::Key_B ? "save" : "open");
    QCOMPARE(messages.size(), path.isEmpty() ? 0 : 1);
    if (!path.isEmpty()) {
        QCOMPARE(m_dialogs->shown.last().icon, Dialogs::Icon::Warning);
        QVERIFY(messages.first().contains(QDir::toNativeSeparators(path)));
        QVERIFY(key == Qt::Key_B || messages.first().contains("not changed"));
    }
    checkReopened();
    QCOMPARE(readFile(m_folder->databasePath()), before);
    QCOMPARE(readFile(path), chosenBefore);
    QCOMPARE(entries(), entriesBefore);
}

QTEST_MAIN(BackupTest)
#include "tst_backup.moc"
