#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "search/RemindersDue.h"
#include "store/RecordStore.h"

#include <QAction>
#include <QLabel>
#include <QTabBar>
#include <QtTest>

namespace {

// The FileNumbers a data source lists, in its order.
QList<qint64> listed(DataSource &source)
{
    QList<qint64> numbers;
    const int column = source.columnIndex("FileNumber");
    for (int row = 0; row < source.recordCount(); ++row)
        numbers.append(source.data(source.index(row, column)).toLongLong());
    return numbers;
}

QString iso(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

} // namespace

class RemindersTest : public QObject
{
    Q_OBJECT
private slots:
    void dueListEdges_data();
    void dueListEdges();
    void menuAndStatusPanel();
};

void RemindersTest::dueListEdges_data()
{
    // Reminders of slots 1, 2, 3, ... (a null entry: none) and the slots due, in their order.
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("reminders");
    QTest::addColumn<QList<qint64>>("due");
    const QDate today(2026, 6, 15);
    QTest::newRow("window ends at today + 7, across the new year")
        << QDate(2026, 12, 28) << QStringList{"2027-01-04", "2027-01-05"} << QList<qint64>{1};
    // Each of these sorts before today's date as text.
    QTest::newRow("no reminder, or text that is no date")
        << today << QStringList{QString(), "", "1/2/2026", "2026-06-1"} << QList<qint64>();
    QTest::newRow("overdue included; by date, then by number")
        << today << QStringList{iso(today.addDays(3)), iso(today), "1999-01-01", iso(today), iso(today.addDays(8))}
        << QList<qint64>{3, 2, 4, 1};
}

void RemindersTest::dueListEdges()
{
    QFETCH(QDate, today);
    QFETCH(QStringList, reminders);
    QFETCH(QList<qint64>, due);
    TestFolder folder;
    QList<QVariantList> rows;
    for (int i = 0; i < reminders.size(); ++i)
        rows.append({reminders.at(i).isNull() ? QVariant() : QVariant(reminders.at(i)), i + 1});
    QVERIFY(
        SideConnection(folder.databasePath()).execRows("UPDATE Varnel SET Reminder = ? WHERE FileNumber = ?", rows));

    RecordStore store(folder.path());
    QVERIFY(store.open() && RemindersDue::list(store, today));
    QCOMPARE(listed(store.search()), due);
    QCOMPARE(RemindersDue::count(store, today), due.size());
}

void RemindersTest::menuAndStatusPanel()
{
    TestFolder folder;
    const QDate today = QDate::currentDate();
    QVERIFY(SideConnection(folder.databasePath())
                .execRows("UPDATE Varnel SET Keywords = ?, Reminder = ? WHERE FileNumber = ?",
                          {{"Tax return", iso(today.addDays(2)), 5}, {"Passport", iso(today.addDays(30)), 9}}));
    ScriptedDialogs dialogs;
    MainWindow w(folder.path(), &dialogs);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // The count follows the window's first paint.
    auto *panel = w.findChild<QLabel *>("Panel(1)");
    QTRY_COMPARE(panel->text(), QStringLiteral("1 reminder due"));

    // An edit shows in the status text at the next tab change that refreshes the slots.
    QVERIFY(w.store().file().setData(w.store().file().index(8, 3), iso(today.addDays(-1))));
    w.SwitchTab(3);
    QCOMPARE(panel->text(), QStringLiteral("2 reminders due"));

    // Ctrl+D, also pressed in the search box, lists them on the Search Results tab, overdue first;
    // F2 shows the same list again.
    w.SwitchTab(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(w.tabStrip()->currentIndex(), 1);
    QCOMPARE(listed(w.store().search()), (QList<qint64>{9, 5}));
    w.SwitchTab(3);
    QTest::keyClick(&w, Qt::Key_F2);
    QCOMPARE(listed(w.store().search()), (QList<qint64>{9, 5}));

    // Restore runs the list again, against the restored data.
    const QString backup = folder.filePath("Papyra.bkp");
    dialogs.fileAnswers.enqueue(backup);
    w.action("mnuBackup")->trigger();
    QVERIFY(SideConnection(backup).exec("UPDATE Varnel SET Reminder = NULL WHERE FileNumber = 9"));
    dialogs.fileAnswers.enqueue(backup);
    w.action("mnuRestore")->trigger();
    QCOMPARE(dialogs.messages().size(), 2);
    QVERIFY(dialogs.messages().last().startsWith("Restore Complete!"));
    QCOMPARE(listed(w.store().search()), QList<qint64>{5});
    QCOMPARE(panel->text(), QStringLiteral("1 reminder due"));

    // A click on the panel runs it; with none due the panel is blank and a click keeps the last search.
    w.SwitchTab(1);
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(w.tabStrip()->currentIndex(), 1);
    QVERIFY(SideConnection(folder.databasePath()).exec("UPDATE Varnel SET Reminder = NULL"));
    w.SwitchTab(1);
    QCOMPARE(panel->text(), QString());
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(w.tabStrip()->currentIndex(), 0);
}

QTEST_MAIN(RemindersTest)
#include "tst_reminders.moc"
