// The Edit menu acting on the focused control, Quit, and the Help menu's web page.
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/ShellOpen.h"
#include "store/AddFilesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
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
    void cleanup();

    void commandsActOnceInTheSearchBox_data();
    void commandsActOnceInTheSearchBox();
    void commandsActInAGridCellEditor();
    void commandsDoNothingOnButtonsAndTabStrip_data();
    void commandsDoNothingOnButtonsAndTabStrip();
    void quitWritesTheRowBeingEditedAndCloses();
    void helpOpensTheSupportPage();

private:
    QLineEdit *openSlotEditor(int row);

    TestFolder *m_folder = nullptr;
    ScriptedDialogs m_dialogs;
    MainWindow *m_window = nullptr;
};

void EditAndHelpTest::init()
{
    m_folder = new TestFolder;
    m_dialogs.clear();
    m_window = new MainWindow(m_folder->path(), &m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QApplication::clipboard()->setText(QStringLiteral("clip"));
}

void EditAndHelpTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_folder;
    m_folder = nullptr;
}

QLineEdit *EditAndHelpTest::openSlotEditor(int row)
{
    m_window->SwitchTab(3);
    DataGrid *grid = m_window->addFilesPanel()->grid();
    const QModelIndex cell = grid->model()->index(row, m_window->fileSource()->columnIndex(QStringLiteral("Keywords")));
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    return qobject_cast<QLineEdit *>(QApplication::focusWidget());
}

void EditAndHelpTest::commandsActOnceInTheSearchBox_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("key"); // the same command by its key
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");

    // The search box holds "car insurance" with "insurance" selected, typed as one edit.
    QTest::newRow("copy") << QStringLiteral("mnuCopy") << int(Qt::Key_C) << QStringLiteral("car insurance")
                          << QStringLiteral("insurance");
    QTest::newRow("cut") << QStringLiteral("mnuCut") << int(Qt::Key_X) << QStringLiteral("car ")
                         << QStringLiteral("insurance");
    QTest::newRow("paste") << QStringLiteral("mnuPaste") << int(Qt::Key_V) << QStringLiteral("car clip")
                           << QStringLiteral("clip");
    QTest::newRow("undo") << QStringLiteral("mnuUndo") << int(Qt::Key_Z) << QString() << QStringLiteral("clip");
}

void EditAndHelpTest::commandsActOnceInTheSearchBox()
{
    QFETCH(QString, item);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);

    for (bool byKey : {false, true}) {
        m_window->SwitchTab(1);
        QLineEdit *box = m_window->searchBox();
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
        QCOMPARE(m_window->tabStrip()->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), box);
    }
}

void EditAndHelpTest::commandsActInAGridCellEditor()
{
    QLineEdit *editor = openSlotEditor(2);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("bank statements"));
    editor->setSelection(0, 4);

    m_window->action(QStringLiteral("mnuCopy"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bank"));
    editor->end(false);
    m_window->action(QStringLiteral("mnuPaste"))->trigger();
    QCOMPARE(editor->text(), QStringLiteral("bank statementsbank"));
    m_window->action(QStringLiteral("mnuUndo"))->trigger();
    QCOMPARE(editor->text(), QStringLiteral("bank statements"));
    editor->selectAll();
    m_window->action(QStringLiteral("mnuCut"))->trigger();
    QCOMPARE(editor->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bank statements"));

    // The keystroke stays in the editor: it does not open or change any other cell.
    QCOMPARE(QApplication::focusWidget(), editor);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QStringLiteral("bank statements"));
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
    QCOMPARE(QApplication::focusWidget(), widget);
    const int tab = m_window->tabStrip()->currentIndex();

    for (const char *item : {"mnuPaste", "mnuCut", "mnuUndo", "mnuCopy"})
        m_window->action(QString::fromLatin1(item))->trigger();

    QCOMPARE(m_window->searchBox()->text(), QStringLiteral("kept"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));
    QCOMPARE(m_window->tabStrip()->currentIndex(), tab);
    QCOMPARE(QApplication::focusWidget(), widget);
    QVERIFY(!m_window->fileSource()->hasPendingEdit());
    QVERIFY(m_dialogs.shown.isEmpty());
}

void EditAndHelpTest::quitWritesTheRowBeingEditedAndCloses()
{
    QLineEdit *editor = openSlotEditor(0);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("passports"));
    m_window->action(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_dialogs.shown.isEmpty());

    delete m_window; // lets go of the database file
    m_window = nullptr;
    QCOMPARE(SideConnection(m_folder->databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 1"),
             QVariant(QStringLiteral("passports")));
}

void EditAndHelpTest::helpOpensTheSupportPage()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    m_window->SwitchTab(3);
    m_window->action(QStringLiteral("mnuHelpHelp"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(catcher.opened.size(), 1);
    QCOMPARE(catcher.opened.constFirst().path(), QStringLiteral("/customersupport.html"));
    QVERIFY(!catcher.opened.constFirst().host().isEmpty());
    QCOMPARE(catcher.opened.constFirst(), QUrl(supportPageAddress));
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(m_window->tabStrip()->currentIndex(), 2);
}

QTEST_MAIN(EditAndHelpTest)
#include "tst_editandhelp.moc"
