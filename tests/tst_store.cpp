// The record store: dates, data sources bound to grids, writing a row when it is left, Escape,
// and several data sources on one file at once.
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dates.h"
#include "store/RecordSources.h"

#include <QLineEdit>
#include <QtTest>

namespace {

// One grid on the slot table of a fresh database, shown so keys reach it.
struct SlotGrid {
    explicit SlotGrid(int slotCount = 1000)
    {
        if (slotCount != 1000)
            folder.makeDatabase(slotCount);
        source.setColumns(RecordSources::slotColumns());
        source.setRecordSource(RecordSources::slotTable());
        source.repoint(folder.path());
        source.refresh();
        grid.bind(&source, &dialogs);
        grid.resize(700, 400);
        grid.show();
        grid.activateWindow();
        if (!QTest::qWaitForWindowActive(&grid))
            qWarning("grid window not active");
        grid.setFocus();
    }

    QVariant stored(const QString &field, int slot) const
    {
        return SideConnection(folder.databasePath())
            .value(QStringLiteral("SELECT %1 FROM Varnel WHERE FileNumber = ?").arg(field), {slot});
    }

    // Types text into a cell the way a user does: the key that opens the editor, then Enter.
    void type(int row, int column, const QString &text)
    {
        grid.setCurrentIndex(source.index(row, column));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits and closes the editor queued
    }

    TestFolder folder;
    ScriptedDialogs dialogs;
    Database db;
    DataSource source{QStringLiteral("File"), &db};
    DataGrid grid{QStringLiteral("grdFile")};
};

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT
private slots:
    void dateEntry_data();
    void dateEntry();
    void datesShowAndStoreIndependentOfLocale();

    void slotsInNumberOrderAcrossBlocks();
    void rowIsWrittenOnlyWhenLeft();
    void escapeDropsTheWholeRowEdit();
    void clearedCellsAreStoredAsNull();
    void refusedDateIsReportedAndNothingStored();
    void refreshWritesThePendingRow();
    void newRowAddsOnlyWhenSomethingWasTyped();
    void halfReadResultNeverLocksOutAWrite();
    void missingFileFailsWithoutCreatingIt();
    void refreshSeesRowsChangedElsewhere();
};

void StoreTest::dateEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("expected"); // invalid: refused

    QTest::newRow("M/d/yyyy") << "12/31/2002" << QDate(2002, 12, 31);
    QTest::newRow("single digits") << "1/2/2003" << QDate(2003, 1, 2);
    QTest::newRow("blanks around") << "  3/4/2005 " << QDate(2005, 3, 4);
    QTest::newRow("yy 00 is 2000") << "1/1/00" << QDate(2000, 1, 1);
    QTest::newRow("yy 29 is 2029") << "6/15/29" << QDate(2029, 6, 15);
    QTest::newRow("yy 30 is 1930") << "6/15/30" << QDate(1930, 6, 15);
    QTest::newRow("yy 99 is 1999") << "12/31/99" << QDate(1999, 12, 31);
    QTest::newRow("ISO") << "2004-02-29" << QDate(2004, 2, 29);
    QTest::newRow("not a leap year") << "2/29/2003" << QDate();
    QTest::newRow("month 13") << "13/1/2003" << QDate();
    QTest::newRow("day/month order is not guessed") << "31/12/2002" << QDate();
    QTest::newRow("three-digit year") << "1/1/203" << QDate();
    QTest::newRow("words") << "next tuesday" << QDate();
    QTest::newRow("trailing junk") << "1/1/2003x" << QDate();
    QTest::newRow("sql") << "1/1/2003' OR '1'='1" << QDate();
}

void StoreTest::dateEntry()
{
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    const auto parsed = Dates::parseEntry(typed);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void StoreTest::datesShowAndStoreIndependentOfLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Dates::toDisplay(QDate(2002, 12, 31)), QStringLiteral("12/31/2002"));
    QCOMPARE(Dates::toDisplay(QDate(2003, 1, 5)), QStringLiteral("1/5/2003"));
    QCOMPARE(Dates::toStorage(QDate(2003, 1, 5)), QStringLiteral("2003-01-05"));
    QCOMPARE(Dates::storageToDisplay(QStringLiteral("2003-01-05")), QStringLiteral("1/5/2003"));
    QLocale::setDefault(QLocale::c());
}

void StoreTest::slotsInNumberOrderAcrossBlocks()
{
    SlotGrid g(3000);
    QCOMPARE(g.source.rowCount(), 3000);
    for (int row : {0, 127, 128, 1500, 2999})
        QCOMPARE(g.source.data(g.source.index(row, 0)).toInt(), row + 1);
    QCOMPARE(g.source.headerData(0, Qt::Horizontal).toString(), QStringLiteral("File #"));
    QCOMPARE(g.source.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Reminder ( 12/31/02 )"));

    // A row far beyond the first blocks is written and stays current.
    g.type(2500, 1, QStringLiteral("far down"));
    g.grid.setCurrentIndex(g.source.index(2501, 1));
    QCOMPARE(g.stored(QStringLiteral("Keywords"), 2501), QVariant(QStringLiteral("far down")));
    QCOMPARE(g.source.currentRow(), 2501);
    QCOMPARE(g.source.data(g.source.index(2500, 1)).toString(), QStringLiteral("far down"));
}

void StoreTest::rowIsWrittenOnlyWhenLeft()
{
    SlotGrid g;
    g.type(4, 1, QStringLiteral("car insurance"));
    g.type(4, 2, QStringLiteral("Insurance"));
    // Enter closed both editors, but the user is still on the row: nothing is written yet.
    QVERIFY(g.stored(QStringLiteral("Keywords"), 5).isNull());
    QVERIFY(g.source.hasPendingEdit());
    QCOMPARE(g.source.headerData(4, Qt::Vertical).toString(), QStringLiteral("\u270E"));

    QTest::keyClick(&g.grid, Qt::Key_Down);
    QCOMPARE(g.stored(QStringLiteral("Keywords"), 5), QVariant(QStringLiteral("car insurance")));
    QCOMPARE(g.stored(QStringLiteral("Category"), 5), QVariant(QStringLiteral("Insurance")));
    QVERIFY(!g.source.hasPendingEdit());
    QCOMPARE(g.source.currentRow(), 5);
}

void StoreTest::escapeDropsTheWholeRowEdit()
{
    SlotGrid g;
    g.type(2, 1, QStringLiteral("kept"));
    QTest::keyClick(&g.grid, Qt::Key_Down);

    g.type(2, 1, QStringLiteral("typed over"));
    g.type(2, 3, QStringLiteral("1/2/2003"));
    QTest::keyClick(&g.grid, Qt::Key_Escape);

    QVERIFY(!g.source.hasPendingEdit());
    QCOMPARE(g.source.data(g.source.index(2, 1)).toString(), QStringLiteral("kept"));
    QCOMPARE(g.source.data(g.source.index(2, 3)).toString(), QString());
    QTest::keyClick(&g.grid, Qt::Key_Down);
    QCOMPARE(g.stored(QStringLiteral("Keywords"), 3), QVariant(QStringLiteral("kept")));
    QVERIFY(g.stored(QStringLiteral("Reminder"), 3).isNull());

    // Escape inside an open editor also drops the cells already typed in that row.
    g.type(6, 1, QStringLiteral("first cell"));
    g.grid.setCurrentIndex(g.source.index(6, 2));
    QTest::keyClick(&g.grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Bills"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!g.source.hasPendingEdit());
    QTest::keyClick(&g.grid, Qt::Key_Down);
    QVERIFY(g.stored(QStringLiteral("Keywords"), 7).isNull());
}

void StoreTest::clearedCellsAreStoredAsNull()
{
    SlotGrid g;
    g.type(0, 1, QStringLiteral("passport"));
    g.type(0, 2, QStringLiteral("Travel"));
    g.type(0, 3, QStringLiteral("2030-01-01"));
    QTest::keyClick(&g.grid, Qt::Key_Down);
    QCOMPARE(g.stored(QStringLiteral("Reminder"), 1), QVariant(QStringLiteral("2030-01-01")));
    QCOMPARE(g.source.data(g.source.index(0, 3)).toString(), QStringLiteral("1/1/2030"));

    g.type(0, 1, QStringLiteral("   "));
    g.type(0, 2, QString());
    g.type(0, 3, QString());
    QTest::keyClick(&g.grid, Qt::Key_Down);
    for (const char *field : {"Keywords", "Category", "Reminder"}) {
        const QVariant v = g.stored(QString::fromLatin1(field), 1);
        QVERIFY2(v.isNull(), field);
    }
}

void StoreTest::refusedDateIsReportedAndNothingStored()
{
    SlotGrid g;
    g.type(0, 3, QStringLiteral("soon"));
    QTRY_COMPARE(g.dialogs.messages().size(), 1);
    QVERIFY(g.dialogs.messages().first().contains(QStringLiteral("\"soon\" is not a date")));
    // The typed text waits in the reopened editor for correction.
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QTRY_VERIFY((editor = qobject_cast<QLineEdit *>(QApplication::focusWidget())));
    QCOMPARE(editor->text(), QStringLiteral("soon"));
    editor->setText(QStringLiteral("7/4/26"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(&g.grid, Qt::Key_Down);
    QCOMPARE(g.stored(QStringLiteral("Reminder"), 1), QVariant(QStringLiteral("2026-07-04")));
    QCOMPARE(g.dialogs.messages().size(), 1);
}

void StoreTest::refreshWritesThePendingRow()
{
    SlotGrid g;
    g.type(9, 1, QStringLiteral("tax return"));
    QVERIFY(g.source.refresh());
    QCOMPARE(g.stored(QStringLiteral("Keywords"), 10), QVariant(QStringLiteral("tax return")));
    QCOMPARE(g.source.currentRow(), 0);
}

void StoreTest::newRowAddsOnlyWhenSomethingWasTyped()
{
    TestFolder folder;
    ScriptedDialogs dialogs;
    Database db;
    DataSource categories(QStringLiteral("Categories"), &db);
    categories.setColumns(RecordSources::categoryColumns());
    categories.setRecordSource(RecordSources::categoryTable());
    categories.setAllowAddNew(true);
    categories.repoint(folder.path());
    QVERIFY(categories.refresh());
    const int before = categories.recordCount();
    QCOMPARE(categories.rowCount(), before + 1);
    QCOMPARE(categories.headerData(before, Qt::Vertical).toString(), QStringLiteral("*"));

    categories.addNew();
    categories.moveFirst(); // left empty: nothing added
    QVERIFY(categories.refresh());
    QCOMPARE(categories.recordCount(), before);

    categories.addNew();
    QVERIFY(categories.setData(categories.index(before, 0), QStringLiteral("Pets")));
    categories.moveFirst();
    QCOMPARE(categories.recordCount(), before + 1);
    QCOMPARE(categories.rowCount(), before + 2); // a fresh add-new row below the written one
    QCOMPARE(SideConnection(folder.databasePath()).value("SELECT count(*) FROM Categories WHERE Category = 'Pets'"),
             QVariant(1));
}

void StoreTest::halfReadResultNeverLocksOutAWrite()
{
    // A big table read only as far as the first screen by one data source, then an edit through
    // another data source on the same file.
    TestFolder folder;
    QVERIFY(folder.makeDatabase(3000));
    Database db;
    DataSource search(QStringLiteral("Search"), &db);
    DataSource file(QStringLiteral("File"), &db);
    for (DataSource *s : {&search, &file}) {
        s->setColumns(RecordSources::slotColumns());
        s->setRecordSource(RecordSources::slotTable());
        s->repoint(folder.path());
        QVERIFY(s->refresh());
    }
    QCOMPARE(search.data(search.index(10, 0)).toInt(), 11);
    file.setCurrentRow(2999);
    QVERIFY(file.setData(file.index(2999, 1), QStringLiteral("last slot")));
    file.moveFirst();
    QVERIFY2(!file.hasPendingEdit(), qPrintable(file.lastError()));
    QCOMPARE(SideConnection(folder.databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 3000"),
             QVariant(QStringLiteral("last slot")));
    QCOMPARE(search.data(search.index(200, 0)).toInt(), 201);
}

void StoreTest::missingFileFailsWithoutCreatingIt()
{
    TestFolder folder(TestFolder::Contents::Empty);
    Database db;
    DataSource file(QStringLiteral("File"), &db);
    file.setColumns(RecordSources::slotColumns());
    file.setRecordSource(RecordSources::slotTable());
    file.repoint(folder.path());
    QVERIFY(!file.refresh());
    QVERIFY(!file.lastError().isEmpty());
    QVERIFY(!QFile::exists(folder.databasePath()));
    QCOMPARE(file.rowCount(), 0);
}

void StoreTest::refreshSeesRowsChangedElsewhere()
{
    // The key list is kept between refreshes while nothing changed; any change must show.
    SlotGrid g;
    auto elsewhere = [&](const QString &sql) { return SideConnection(g.folder.databasePath()).exec(sql); };
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 1000);
    QVERIFY(elsewhere(QStringLiteral("INSERT INTO Varnel (FileNumber) VALUES (1001)")));
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 1001);
    QVERIFY(elsewhere(QStringLiteral("DELETE FROM Varnel WHERE FileNumber <= 10")));
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 991);
    QCOMPARE(g.source.data(g.source.index(0, 0)).toInt(), 11);

    // A different condition on an unchanged file is a different list.
    RecordSource some = RecordSources::slotTable();
    some.condition = QStringLiteral("FileNumber > ?");
    some.bindValues = {990};
    g.source.setRecordSource(some);
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 11);
    some.bindValues = {995};
    g.source.setRecordSource(some);
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 6);
    // And an emptied data source does not leave a stale list behind for the same query.
    g.source.setRecordSource({});
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 0);
    g.source.setRecordSource(some);
    QVERIFY(g.source.refresh());
    QCOMPARE(g.source.recordCount(), 6);
}

QTEST_MAIN(StoreTest)
#include "tst_store.moc"
