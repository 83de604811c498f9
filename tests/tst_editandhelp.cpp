// The Edit menu acting on the focused control, Quit, and the Help menu's web page.
#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "app/ShellOpen.h"
#include "panels/AddFilesPanel.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>

// Receives what would have gone to the desktop's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class EditAndHelpTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void commandsActOnceOnTheFocusedText_data();
    void commandsActOnceOnTheFocusedText();
    void commandsDoNothingOnButtonsAndTabStrip_data();
    void commandsDoNothingOnButtonsAndTabStrip();
    void quitWritesTheRowBeingEditedAndCloses();
    void helpOpensTheSupportPage();

private:
    // Opens the Keywords cell of a slot on the Add Files tab for typing.
    QLineEdit *openSlotEditor(int row)
    {
        m_window->SwitchTab(3);
        DataGrid *grid = m_window->addFilesPanel()->grid();
        const QModelIndex cell =
            grid->model()->index(row, m_window->store().file().columnIndex(QStringLiteral("Keywords")));
        grid->setFocus();
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        return qobject_cast<QLineEdit *>(QApplication::focusWidget());
    }

    std::unique_ptr<WindowFixture> m_fixture;
    MainWindow *m_window = nullptr;
};

void EditAndHelpTest::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    QVERIFY(m_fixture->open());
    m_window = &m_fixture->window();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
}

void EditAndHelpTest::commandsActOnceOnTheFocusedText_data()
{
    QTest::addColumn<bool>("cellEditor"); // else the search box
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("key"); // the same command by its key
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");

    // The control holds "car insurance" with "insurance" selected, typed as one edit.
    for (bool cellEditor : {false, true}) {
        const char *where = cellEditor ? "cell editor" : "search box";
        QTest::addRow("copy, %s", where) << cellEditor << QStringLiteral("mnuCopy") << int(Qt::Key_C)
                                         << QStringLiteral("car insurance") << QStringLiteral("insurance");
        QTest::addRow("cut, %s", where) << cellEditor << QStringLiteral("mnuCut") << int(Qt::Key_X)
                                        << QStringLiteral("car ") << QStringLiteral("insurance");
        QTest::addRow("paste, %s", where) << cellEditor << QStringLiteral("mnuPaste") << int(Qt::Key_V)
                                          << QStringLiteral("car clip") << QStringLiteral("clip");
        QTest::addRow("undo, %s", where) << cellEditor << QStringLiteral("mnuUndo") << int(Qt::Key_Z) << QString()
                                         << QStringLiteral("clip");
    }
}

void EditAndHelpTest::commandsActOnceOnTheFocusedText()
{
    QFETCH(bool, cellEditor);
    QFETCH(QString, item);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);

    for (bool byKey : {false, true}) {
        if (!cellEditor)
            m_window->SwitchTab(1);
        QLineEdit *box = cellEditor ? openSlotEditor(2) : m_window->searchBox();
        QVERIFY(box);
        const int tab = m_window->tabStrip()->currentIndex();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("car insurance"));
        box->setSelection(4, 9);
        QApplication::clipboard()->setText(QStringLiteral("clip"));

        if (byKey)
            QTest::keyClick(box, Qt::Key(key), Qt::ControlModifier);
        else
            m_window->action(item)->trigger();

        QCOMPARE(box->text(), text);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(m_window->tabStrip()->currentIndex(), tab);
        QCOMPARE(QApplication::focusWidget(), box);
    }
}

void EditAndHelpTest::commandsDoNothingOnButtonsAndTabStrip_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("GO! button") << QStringLiteral("Command3");
    QTest::newRow("tab strip") << QStringLiteral("TabStrip");
    QTest::newRow("Undo button of Add Files") << QStringLiteral("Command2");
}

void EditAndHelpTest::commandsDoNothingOnButtonsAndTabStrip()
{
    QFETCH(QString, target);
    m_window->searchBox()->setText(QStringLiteral("kept"));
    if (target == QLatin1String("Command2"))
        m_window->SwitchTab(3);
    QWidget *widget = m_window->findChild<QWidget *>(target);
    QVERIFY(widget);
    widget->setFocus();
    const int tab = m_window->tabStrip()->currentIndex();

    for (const char *item : {"mnuPaste", "mnuCut", "mnuUndo", "mnuCopy"})
        m_window->action(QString::fromLatin1(item))->trigger();

    QCOMPARE(m_window->searchBox()->text(), QStringLiteral("kept"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));
    QCOMPARE(m_window->tabStrip()->currentIndex(), tab);
    QCOMPARE(QApplication::focusWidget(), widget);
    QVERIFY(!m_window->store().file().hasPendingEdit());
    QVERIFY(m_fixture->dialogs().shown.isEmpty());
}

void EditAndHelpTest::quitWritesTheRowBeingEditedAndCloses()
{
    QLineEdit *editor = openSlotEditor(0);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("passports"));
    m_window->action(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_fixture->dialogs().shown.isEmpty());

    m_fixture->closeWindow(); // lets go of the database file
    QCOMPARE(
        SideConnection(m_fixture->folder().databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 1"),
        QVariant(QStringLiteral("passports")));
}

void EditAndHelpTest::helpOpensTheSupportPage()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    m_window->SwitchTab(3);
    m_window->action(QStringLiteral("mnuHelpHelp"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    QCOMPARE(catcher.opened, QList<QUrl>{QUrl(supportPageAddress)});
    QCOMPARE(m_window->tabStrip()->currentIndex(), 2);
    QVERIFY(m_fixture->dialogs().shown.isEmpty());
}

QTEST_MAIN(EditAndHelpTest)
#include "tst_editandhelp.moc"
