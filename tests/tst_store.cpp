// The record store: data sources bound to grids, writing a row when it is left, Escape,
// and several data sources on one file at once.
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "panels/GridBinding.h"
#include "store/DataSource.h"
#include "store/RecordSources.h"
#include "store/RecordStore.h"
#include "ui/DataGrid.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

bool openSlots(DataSource &source)
{
    source.setColumns(RecordSources::slotColumns());
    source.setRecordSource(RecordSources::slotTable());
    return source.refresh();
}

// One grid on the slot table of a fresh database, shown so keys reach it.
struct SlotGrid {
    explicit SlotGrid(int slotCount = 1000)
    {
        if (slotCount != 1000)
            folder.makeDatabase(slotCount);
        if (!store.open())
            qWarning("the store did not open");
        openSlots(source);
        GridBinding::bind(&grid, &source, &dialogs);
        grid.resize(700, 400);
        grid.show();
        grid.activateWindow();
        if (!QTest::qWaitForWindowActive(&grid))
            qWarning("grid window not active");
        grid.setFocus();
    }

    QVariant stored(const char *field, int slot) const
    {
        return SideConnection(folder.databasePath())
            .value(QStringLiteral("SELECT %1 FROM Varnel WHERE FileNumber = ?").arg(field), {slot});
    }
    QString shown(int row, int column) const { return source.data(source.index(row, column)).toString(); }

    // Types text into a cell the way a user does: the key that opens the editor, then Enter (or
    // whichever key closes it).
    void type(int row, int column, const QString &text, Qt::Key close = Qt::Key_Return)
    {
        grid.setCurrentIndex(source.index(row, column));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, close);
        QCoreApplication::processEvents(); // the delegate commits and closes the editor queued
    }
    void down() { QTest::keyClick(&grid, Qt::Key_Down); }

    TestFolder folder;
    ScriptedDialogs dialogs;
    RecordStore store{folder.path()};
    DataSource &source = store.file();
    DataGrid grid{QStringLiteral("grdFile")};
};

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT
private slots:
    void halfReadResultNeverLocksOutAWriteFarDown();
    void rowIsWrittenOnlyWhenLeft();
    void escapeDropsTheWholeRowEdit();
    void refusedDateIsReportedAndNothingStored();
    void refreshWritesThePendingRowAndSeesChangesElsewhere();
    void failedReadIsReportedNotShownAsOpenSlots();
    void closedStoreFailsAndStaysClosed();
};

void StoreTest::halfReadResultNeverLocksOutAWriteFarDown()
{
    // A second data source on the file has read only its first block when a row far beyond the
    // first blocks is written through the grid.
    SlotGrid g(3000);
    DataSource &search = g.store.search();
    QVERIFY(openSlots(search));
    QCOMPARE(search.data(search.index(10, 0)).toInt(), 11);
    for (int row : {0, 127, 128, 1500, 2999})
        QCOMPARE(g.shown(row, 0).toInt(), row + 1);

    g.type(2500, 1, QStringLiteral("far down"));
    g.down();
    QVERIFY2(!g.source.hasPendingEdit(), qPrintable(g.source.lastError()));
    QCOMPARE(g.stored("Keywords", 2501), QVariant(QStringLiteral("far down")));
    QCOMPARE(g.source.currentRow(), 2501);
    QCOMPARE(g.shown(2500, 1), QStringLiteral("far down"));
    QCOMPARE(search.data(search.index(200, 0)).toInt(), 201);
}

void StoreTest::rowIsWrittenOnlyWhenLeft()
{
    SlotGrid g;
    g.type(4, 1, QStringLiteral("passport"));
    g.type(4, 2, QStringLiteral("Travel"));
    g.type(4, 3, QStringLiteral("2030-01-01"));
    // Enter closed every editor, but the user is still on the row: nothing is written yet.
    QVERIFY(g.stored("Keywords", 5).isNull());
    QVERIFY(g.source.hasPendingEdit());

    g.down();
    QVERIFY(!g.source.hasPendingEdit());
    QCOMPARE(g.source.currentRow(), 5);
    QCOMPARE(g.stored("Keywords", 5), QVariant(QStringLiteral("passport")));
    QCOMPARE(g.stored("Category", 5), QVariant(QStringLiteral("Travel")));
    QCOMPARE(g.stored("Reminder", 5), QVariant(QStringLiteral("2030-01-01")));
    QCOMPARE(g.shown(4, 3), QStringLiteral("1/1/2030"));

    // Cells cleared (or left blank) are stored as null, not as empty text.
    g.type(4, 1, QStringLiteral("   "));
    g.type(4, 2, QString());
    g.type(4, 3, QString());
    g.down();
    for (const char *field : {"Keywords", "Category", "Reminder"})
        QVERIFY2(g.stored(field, 5).isNull(), field);
}

void StoreTest::escapeDropsTheWholeRowEdit()
{
    SlotGrid g;
    g.type(2, 1, QStringLiteral("kept"));
    g.down();

    g.type(2, 1, QStringLiteral("typed over"));
    g.type(2, 3, QStringLiteral("1/2/2003"));
    QTest::keyClick(&g.grid, Qt::Key_Escape);
    QVERIFY(!g.source.hasPendingEdit());
    QCOMPARE(g.shown(2, 1), QStringLiteral("kept"));
    QCOMPARE(g.shown(2, 3), QString());
    g.down();
    QCOMPARE(g.stored("Keywords", 3), QVariant(QStringLiteral("kept")));
    QVERIFY(g.stored("Reminder", 3).isNull());

    // Escape inside an open editor also drops the cells already typed in that row.
    g.type(6, 1, QStringLiteral("first cell"));
    g.type(6, 2, QStringLiteral("Bills"), Qt::Key_Escape);
    QVERIFY(!g.source.hasPendingEdit());
    g.down();
    QVERIFY(g.stored("Keywords", 7).isNull());
}

void StoreTest::refusedDateIsReportedAndNothingStored()
{
    SlotGrid g;
    g.type(0, 3, QStringLiteral("soon"));
    QTRY_COMPARE(g.dialogs.messages().size(), 1);
    QVERIFY(g.dialogs.messages().first().contains(QStringLiteral("\"soon\" is not a date")));
    // The typed text waits in the reopened editor for correction.
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = qobject_cast<QLineEdit *>(QApplication::focusWidget())));
    QCOMPARE(editor->text(), QStringLiteral("soon"));
    QVERIFY(g.stored("Reminder", 1).isNull());
    editor->setText(QStringLiteral("7/4/26"));
    QTest::keyClick(editor, Qt::Key_Return);
    g.down();
    QCOMPARE(g.stored("Reminder", 1), QVariant(QStringLiteral("2026-07-04")));
    QCOMPARE(g.dialogs.messages().size(), 1);
}

void StoreTest::refreshWritesThePendingRowAndSeesChangesElsewhere()
{
    // A row still being edited is written by a refresh, not dropped.
    SlotGrid g;
    g.type(9, 1, QStringLiteral("tax return"));
    QVERIFY(g.source.refresh());
    QCOMPARE(g.stored("Keywords", 10), QVariant(QStringLiteral("tax return")));
    QCOMPARE(g.source.currentRow(), 0);

    // The key list is kept between refreshes while nothing changed; any change must show, and so
    // must a different query on an unchanged file.
    auto countAfter = [&](const QString &sql) {
        SideConnection(g.folder.databasePath()).exec(sql);
        return g.source.refresh() ? g.source.recordCount() : -1;
    };
    auto countOf = [&](const RecordSource &query) {
        g.source.setRecordSource(query);
        return g.source.refresh() ? g.source.recordCount() : -1;
    };
    QCOMPARE(countAfter(QStringLiteral("INSERT INTO Varnel (FileNumber) VALUES (1001)")), 1001);
    QCOMPARE(countAfter(QStringLiteral("DELETE FROM Varnel WHERE FileNumber <= 10")), 991);
    QCOMPARE(g.shown(0, 0).toInt(), 11);

    RecordSource some = RecordSources::slotTable();
    some.condition = QStringLiteral("FileNumber > ?");
    some.bindValues = {990};
    QCOMPARE(countOf(some), 11);
    some.bindValues = {995};
    QCOMPARE(countOf(some), 6);
    // An emptied data source leaves no stale list behind for the same query.
    QCOMPARE(countOf({}), 0);
    QCOMPARE(countOf(some), 6);
}

void StoreTest::failedReadIsReportedNotShownAsOpenSlots()
{
    // Rows beyond the blocks already read cannot be read once the table is gone.
    SlotGrid g(3000);
    QSignalSpy failed(&g.source, &DataSource::readFailed);
    QCOMPARE(g.shown(0, 0), QStringLiteral("1"));
    QVERIFY(SideConnection(g.folder.databasePath()).exec(QStringLiteral("ALTER TABLE Varnel RENAME TO Gone")));
    QCOMPARE(g.shown(2000, 0), QString());
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY(failed.first().first().toString().contains(QLatin1String("Varnel")));
    QCOMPARE(g.source.rowCount(), 0); // no row left to pass for an open slot
}

void StoreTest::closedStoreFailsAndStaysClosed()
{
    // Opened, the store answers without any data source having been read; closed, every call fails
    // with a reason and nothing opens the index behind the caller's back.
    TestFolder folder;
    QVERIFY(SideConnection(folder.databasePath())
                .exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Passport', Reminder = '2026-01-02' "
                                     "WHERE FileNumber = 7")));
    RecordStore store(folder.path());
    QVERIFY(!store.isOpen());
    for (bool open : {true, false}) {
        if (open)
            QVERIFY(store.open());
        else
            store.close();
        QString error;
        QVector<SlotValues> filled;
        QHash<int, QString> keywords;
        QCOMPARE(store.filledSlots(&filled, &error), open);
        QCOMPARE(filled.size(), open ? 1 : 0);
        QCOMPARE(store.keywordsBetween(1, 10, &keywords), open);
        QCOMPARE(keywords.value(7), open ? QStringLiteral("Passport") : QString());
        QCOMPARE(store.dueCount(QDate(2026, 1, 2)), open ? 1 : -1);
        QCOMPARE(store.fillSlots({{8, QStringLiteral("Will"), std::nullopt, std::nullopt}}, &error), open);
        QCOMPARE(store.searchFor(QStringLiteral("pass")), open);
        QCOMPARE(store.search().recordCount(), open ? 1 : 0);
        if (!open)
            QVERIFY2(error.contains(QLatin1String("not open")), qPrintable(error));
        QCOMPARE(store.isOpen(), open);
    }
}

QTEST_MAIN(StoreTest)
#include "tst_store.moc"
