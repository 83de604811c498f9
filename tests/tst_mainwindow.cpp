// The main window: tab changes by every route, what each tab prepares, the tour restart, the
// category commands, and nothing typed lost when the program ends.
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/PicturePanel.h"
#include "store/AddFilesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "tour/Slides.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QtTest>

namespace {

int shownPanel(const MainWindow &window)
{
    int shown = -1;
    for (int i = 0; i < 5; ++i) {
        if (window.panel(i)->isVisible()) {
            if (shown >= 0)
                return -2; // more than one
            shown = i;
        }
    }
    return shown;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsOnTheSearchTab();
    void tabChangeByEveryRoute_data();
    void tabChangeByEveryRoute();
    void searchTabSelectsTheTrimmedText();
    void otherTabsLeaveTheFocusAlone();
    void categoryCommandsOnlyOnTheCategoriesTab();
    void startPictureShownWhenPresent();
    void quittingWritesTheRowBeingEdited_data();
    void quittingWritesTheRowBeingEdited();
    void databaseVanishingDuringUse();

private:
    void press(QKeySequence key);

    TestFolder *m_folder = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    MainWindow *m_window = nullptr;
};

void MainWindowTest::init()
{
    m_folder = new TestFolder;
    m_dialogs = new ScriptedDialogs;
    m_window = new MainWindow(m_folder->path(), m_dialogs);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void MainWindowTest::cleanup()
{
    delete m_window;
    delete m_dialogs;
    delete m_folder;
}

void MainWindowTest::press(QKeySequence key)
{
    QTest::keySequence(m_window, key);
}

void MainWindowTest::startsOnTheSearchTab()
{
    QCOMPARE(m_window->tabStrip()->currentIndex(), 0);
    QCOMPARE(shownPanel(*m_window), 0);
    QCOMPARE(m_window->slidestep(), qint16(0));
    QCOMPARE(QApplication::focusWidget(), m_window->tabStrip());
    QVERIFY(m_window->slideTimer()->isActive());
    QCOMPARE(m_window->slideTimer()->interval(), 3000);
    QStringList captions;
    for (int i = 0; i < m_window->tabStrip()->count(); ++i)
        captions << m_window->tabStrip()->tabText(i);
    QCOMPARE(captions, (QStringList{"F1 - &Search", "F2 - Search &Results", "F3 - Add &Files",
                                    "F4 - My &Categories", "F9 - Start &Here"}));
    QVERIFY(m_window->findChild<QObject *>(QStringLiteral("Tabpanel(4)")));
    QVERIFY(m_window->findChild<QObject *>(QStringLiteral("Command1(1)")));
}

void MainWindowTest::tabChangeByEveryRoute_data()
{
    QTest::addColumn<QString>("route"); // "click", "key" or "menu"
    QTest::addColumn<int>("tab");       // one-based
    const struct {
        int tab;
        const char *key;
    } tabs[] = {{2, "F2"}, {3, "F3"}, {4, "F4"}, {5, "F9"}, {1, "F1"}};
    for (const auto &t : tabs)
        for (const char *route : {"click", "key", "menu"})
            QTest::addRow("%s %s", route, t.key) << QString::fromLatin1(route) << t.tab;
}

void MainWindowTest::tabChangeByEveryRoute()
{
    QFETCH(QString, route);
    QFETCH(int, tab);
    static const char *keys[] = {"F1", "F2", "F3", "F4", "F9"};
    static const char *items[] = {"mnuAbout", "mnuData", "mnuFind", "mnuCat", "mnuStart"};

    // Start from another tab, with the tour somewhere in the middle.
    m_window->SwitchTab(tab == 3 ? 2 : 3);
    m_window->setSlidestep(17);

    if (route == QLatin1String("click"))
        QTest::mouseClick(m_window->tabStrip(), Qt::LeftButton, {},
                          m_window->tabStrip()->tabRect(tab - 1).center());
    else if (route == QLatin1String("key"))
        press(QKeySequence(QString::fromLatin1(keys[tab - 1])));
    else
        m_window->action(QString::fromLatin1(items[tab - 1]))->trigger();

    QCOMPARE(m_window->tabStrip()->currentIndex(), tab - 1);
    QCOMPARE(shownPanel(*m_window), tab - 1);
    QCOMPARE(m_window->slidestep(), qint16(1));
    QCOMPARE(m_window->action(QStringLiteral("mnuAddcat"))->isEnabled(), tab == 4);
    QCOMPARE(m_window->action(QStringLiteral("mnuDelcat"))->isEnabled(), tab == 4);

    // The same tab again still restarts the tour.
    m_window->setSlidestep(9);
    m_window->SwitchTab(qint16(tab));
    QCOMPARE(m_window->slidestep(), qint16(1));
    QCOMPARE(shownPanel(*m_window), tab - 1);
}

void MainWindowTest::searchTabSelectsTheTrimmedText()
{
    QLineEdit *box = m_window->searchBox();
    box->setText(QStringLiteral("  car  "));
    m_window->SwitchTab(2);
    press(QKeySequence(Qt::Key_F1));
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectionStart(), 0);
    QCOMPARE(box->selectedText(), QStringLiteral("  c")); // the length of "car", from the start
    QCOMPARE(box->text(), QStringLiteral("  car  "));

    // Pressing F1 while already there lands in the box again.
    m_window->tabStrip()->setFocus();
    press(QKeySequence(Qt::Key_F1));
    QCOMPARE(QApplication::focusWidget(), box);
}

void MainWindowTest::otherTabsLeaveTheFocusAlone()
{
    m_window->tabStrip()->setFocus();
    for (qint16 tab : {2, 3, 4, 5, 3}) {
        m_window->SwitchTab(tab);
        QCOMPARE(QApplication::focusWidget(), m_window->tabStrip());
    }
}

void MainWindowTest::categoryCommandsOnlyOnTheCategoriesTab()
{
    for (qint16 tab : {1, 2, 3, 5}) {
        m_window->SwitchTab(tab);
        QVERIFY(!m_window->action(QStringLiteral("mnuAddcat"))->isEnabled());
        const int rows = m_window->categoriesSource()->rowCount();
        press(QKeySequence(Qt::Key_F7));
        press(QKeySequence(Qt::Key_F8));
        QCOMPARE(m_window->tabStrip()->currentIndex(), tab - 1);
        QCOMPARE(m_window->categoriesSource()->rowCount(), rows);
        QVERIFY(m_dialogs->shown.isEmpty());
    }
    m_window->SwitchTab(4);
    QVERIFY(m_window->action(QStringLiteral("mnuAddcat"))->isEnabled());
    QVERIFY(m_window->action(QStringLiteral("mnuDelcat"))->isEnabled());
}

void MainWindowTest::startPictureShownWhenPresent()
{
    // No pictures in the folder: the panel stays black and the tour still starts.
    m_window->SwitchTab(5);
    QVERIFY(m_window->startHerePanel()->picture().isNull());
    QCOMPARE(m_window->slidestep(), qint16(1));

    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("slideshow/images")));
    QImage picture(697, 441, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(Slides::path(m_folder->path(), Slides::startPicture()), "JPEG"));
    m_window->SwitchTab(1);
    QCOMPARE(m_window->startHerePanel()->picture().size(), QSize(697, 441));

    // A damaged file: black again, nothing said.
    QFile broken(Slides::path(m_folder->path(), Slides::startPicture()));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    m_window->SwitchTab(5);
    QVERIFY(m_window->startHerePanel()->picture().isNull());
    QCOMPARE(m_window->slidestep(), qint16(1));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void MainWindowTest::quittingWritesTheRowBeingEdited_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("Quit") << true;
    QTest::newRow("close box") << false;
}

void MainWindowTest::quittingWritesTheRowBeingEdited()
{
    QFETCH(bool, byMenu);
    m_window->SwitchTab(3);
    DataGrid *grid = m_window->addFilesPanel()->grid();
    DataSource *file = m_window->fileSource();
    grid->setFocus();
    grid->setCurrentIndex(file->index(41, 1));
    grid->edit(file->index(41, 1)); // F2 belongs to the Jump menu here
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("birth certificates")); // editor still open

    if (byMenu)
        m_window->action(QStringLiteral("mnuExit"))->trigger();
    else
        m_window->close();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(SideConnection(m_folder->databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 42"),
             QVariant(QStringLiteral("birth certificates")));
}

void MainWindowTest::databaseVanishingDuringUse()
{
    // The data sources hold the file open; moving it away makes the next refresh fail.
    m_window->commitPendingEdits();
    for (DataSource *source : m_window->dataSources())
        source->release();
    QVERIFY(QFile::rename(m_folder->databasePath(), m_folder->filePath(QStringLiteral("elsewhere.mdb"))));

    m_window->SwitchTab(3);
    m_window->SwitchTab(4);
    m_window->SwitchTab(3);
    QCOMPARE(m_dialogs->messages().size(), 1);
    QCOMPARE(shownPanel(*m_window), 2);
    QVERIFY(!QFile::exists(m_folder->databasePath()));

    // Once the file is back, the tabs work again; a later failure is told again.
    QVERIFY(QFile::rename(m_folder->filePath(QStringLiteral("elsewhere.mdb")), m_folder->databasePath()));
    m_window->SwitchTab(3);
    QCOMPARE(m_window->fileSource()->recordCount(), 1000);
    QCOMPARE(m_dialogs->messages().size(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
