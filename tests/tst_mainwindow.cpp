// The main window: tab changes by every route, where the focus goes, and nothing typed lost when
// the program ends or the database goes away.
#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/AddFilesPanel.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>

namespace {

// The one panel on screen: -1 when none is, -2 when several are.
int shownPanel(const MainWindow &window)
{
    int shown = -1;
    for (int i = 0; i < 5; ++i)
        if (window.panel(i)->isVisible())
            shown = shown == -1 ? i : -2;
    return shown;
}

const char *const tabKeys[] = {"F1", "F2", "F3", "F4", "F9"};
const char *const tabItems[] = {"mnuAbout", "mnuData", "mnuFind", "mnuCat", "mnuStart"};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void tabChangeByEveryRoute_data();
    void tabChangeByEveryRoute();
    void quittingWritesTheRowBeingEdited_data();
    void quittingWritesTheRowBeingEdited();
    void databaseVanishingDuringUse();

private:
    void press(QKeySequence key) { QTest::keySequence(m_window, key); }

    std::unique_ptr<WindowFixture> m_fixture;
    MainWindow *m_window = nullptr;
};

void MainWindowTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    QVERIFY(m_fixture->open());
    m_window = &m_fixture->window();
}

void MainWindowTest::tabChangeByEveryRoute_data()
{
    QTest::addColumn<QString>("route"); // "click", "key" or "menu"
    QTest::addColumn<int>("tab");       // one-based
    for (int tab : {2, 3, 4, 5, 1})
        for (const char *route : {"click", "key", "menu"})
            QTest::addRow("%s %s", route, tabKeys[tab - 1]) << QString::fromLatin1(route) << tab;
}

void MainWindowTest::tabChangeByEveryRoute()
{
    QFETCH(QString, route);
    QFETCH(int, tab);

    // Start from another tab, with the tour somewhere in the middle.
    m_window->SwitchTab(tab == 3 ? 2 : 3);
    m_window->setSlidestep(17);
    QLineEdit *box = m_window->searchBox();
    box->setText(QStringLiteral("  car  "));
    // The Search tab puts the focus in its box and selects as many characters as the trimmed text
    // has, from the start; the other tabs leave the focus alone.
    auto checkFocus = [&] {
        if (tab != 1)
            return QApplication::focusWidget() != box;
        return QApplication::focusWidget() == box && box->selectionStart() == 0 &&
               box->selectedText() == QLatin1String("  c") && box->text() == QLatin1String("  car  ");
    };

    if (route == QLatin1String("click"))
        QTest::mouseClick(m_window->tabStrip(), Qt::LeftButton, {}, m_window->tabStrip()->tabRect(tab - 1).center());
    else if (route == QLatin1String("key"))
        press(QKeySequence(QString::fromLatin1(tabKeys[tab - 1])));
    else
        m_window->action(QString::fromLatin1(tabItems[tab - 1]))->trigger();

    QCOMPARE(m_window->tabStrip()->currentIndex(), tab - 1);
    QCOMPARE(shownPanel(*m_window), tab - 1);
    QCOMPARE(m_window->slidestep(), qint16(1));
    QCOMPARE(m_window->action(QStringLiteral("mnuAddcat"))->isEnabled(), tab == 4);
    QCOMPARE(m_window->action(QStringLiteral("mnuDelcat"))->isEnabled(), tab == 4);
    QVERIFY(checkFocus());

    // The same tab again still restarts the tour and puts the focus in the search box.
    m_window->tabStrip()->setFocus();
    m_window->setSlidestep(9);
    press(QKeySequence(QString::fromLatin1(tabKeys[tab - 1])));
    QCOMPARE(m_window->slidestep(), qint16(1));
    QCOMPARE(shownPanel(*m_window), tab - 1);
    QVERIFY(checkFocus());
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
    DataSource *file = &m_window->store().file();
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
    QVERIFY(m_fixture->dialogs().shown.isEmpty());
    QCOMPARE(
        SideConnection(m_fixture->folder().databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 42"),
        QVariant(QStringLiteral("birth certificates")));
}

void MainWindowTest::databaseVanishingDuringUse()
{
    // With the index closed and its file moved away, every refresh fails, and nothing opens (or
    // creates) the file behind the user's back.
    const QString away = m_fixture->folder().filePath(QStringLiteral("elsewhere.mdb"));
    auto vanish = [&] {
        m_window->store().close();
        return QFile::rename(m_fixture->folder().databasePath(), away);
    };
    QVERIFY(vanish());
    for (qint16 tab : {3, 4, 3})
        m_window->SwitchTab(tab);
    QCOMPARE(m_fixture->dialogs().messages().size(), 1);
    QCOMPARE(shownPanel(*m_window), 2);
    QVERIFY(!QFile::exists(m_fixture->folder().databasePath()));

    // Once the file is back, the tabs work again; a later failure is told again.
    QVERIFY(QFile::rename(away, m_fixture->folder().databasePath()));
    QVERIFY(m_window->store().open());
    m_window->SwitchTab(3);
    QCOMPARE(m_window->store().file().recordCount(), 1000);
    QCOMPARE(m_fixture->dialogs().messages().size(), 1);
    QVERIFY(vanish());
    m_window->SwitchTab(4);
    QCOMPARE(m_fixture->dialogs().messages().size(), 2);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
