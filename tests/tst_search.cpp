#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "search/KeywordSearch.h"
#include "search/Pattern.h"
#include "search/SearchFunctions.h"
#include "store/AddFilesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/RecordSources.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabBar>
#include <QtTest>

namespace {

struct SlotData {
    int number;
    QVariant keywords, category, reminder;
};

const QVariant null;

// The slots the query rules are tried on; every other slot of the database stays open (all null).
const QList<SlotData> &sampleSlots()
{
    static const QList<SlotData> sample = {
        {1, "Car insurance", "Auto", "2003-05-01"},
        {2, "Holiday", "CARS", null},
        {3, "Wool scarf", null, null},
        {4, null, null, null},
        {5, "O'Brien will", "Legal", null},
        {6, "Café receipts", "Food", null},
        {7, "cur", null, null},
        {8, "Tax 2003", "Taxes", null},
        {9, null, null, "2002-12-31"},
        {10, "Bank", null, "2004-01-15"},
        {11, "Invoice [draft]", null, null},
        {12, "Room 101", null, null},
        {13, "Two  spaces", null, null},
        {14, null, "études", null},
    };
    return sample;
}

// Writes slots through a connection of its own, as another program would, and closes it.
bool writeSlots(const QString &path, const QList<SlotData> &slotList)
{
    QList<QVariantList> rows;
    for (const SlotData &s : slotList)
        rows.append({s.keywords, s.category, s.reminder, s.number});
    return SideConnection(path).execRows(
        "UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?", rows);
}

QVariant storedKeywords(const QString &path, int number)
{
    return SideConnection(path).value("SELECT Keywords FROM Varnel WHERE FileNumber = ?", {number});
}

bool showWindow(MainWindow &window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

void clickGo(MainWindow &window, const QString &text)
{
    window.searchBox()->setText(text);
    QTest::mouseClick(window.goButton(), Qt::LeftButton);
}

QList<int> fileNumbers(DataSource *source)
{
    QList<int> numbers;
    for (int row = 0; row < source->recordCount(); ++row)
        numbers << source->data(source->index(row, 0)).toInt();
    return numbers;
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void matcher_data();
    void matcher();
    void foldIsUnicode();

    void searchTerm_data();
    void searchTerm();
    void queryRules_data();
    void queryRules();
    void indexFollowsEdits();

    void enterAndGoSearchAlike();
    void noMatchShowsEmptyGridQuietly();
    void editInResultsReachesAddFiles();
    void editInOtherGridCommitsAfterSearch();

private:
    // A fresh program folder whose database holds the sample slots among 20.
    bool makeSampleFolder();

    std::unique_ptr<TestFolder> m_readOnlySample; // shared by the rows that only read
    std::unique_ptr<TestFolder> m_folder;
};

void TestSearch::initTestCase()
{
    QVERIFY(makeSampleFolder());
    m_readOnlySample = std::move(m_folder);
}

bool TestSearch::makeSampleFolder()
{
    m_folder = std::make_unique<TestFolder>();
    return m_folder->makeDatabase(20) && writeSlots(m_folder->databasePath(), sampleSlots());
}

void TestSearch::matcher_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    const auto row = [](const char *name, const QString &pattern, const QString &text, bool matches) {
        QTest::newRow(name) << pattern << text << matches;
    };

    row("star takes a run", "C*R", "CAAAR", true);
    row("star takes nothing", "C*R", "CR", true);
    row("whole text must match", "C*R", "CARS", false);
    row("star backtracks", "*AB*AC*", "XABXABACX", true);
    row("star backtracks, no match", "*AB*AC", "XABXABACX", false);
    row("star tries each later start", "*AB?D", "ABABXD", true);
    row("star before a non-ASCII letter", "*É#", "CAFÉ1", true);
    row("star at the end", "AB*", "ABC", true);
    row("star at the end, wrong start", "AB*", "ACB", false);
    row("question is one character", "C?R", "CAR", true);
    row("question is not none", "C?R", "CR", false);
    row("question is not two", "C?R", "CAAR", false);
    row("question takes a non-ASCII letter", "C?R", "CÉR", true);
    row("question takes an emoji", "?", "\U0001F600", true);
    row("hash takes a digit", "200#", "2003", true);
    row("hash refuses a letter", "#", "A", false);
    row("list", "[ABC]", "B", true);
    row("list, not in it", "[ABC]", "D", false);
    row("negated list", "[!ABC]", "D", true);
    row("negated list, in it", "[!ABC]", "A", false);
    row("range", "[A-C]", "B", true);
    row("range, outside", "[A-C]", "D", false);
    row("negated range", "[!0-9]X", "AX", true);
    row("backwards range", "[C-A]", "B", true);
    row("range of accented letters", "[À-Ý]", "É", true);
    row("dash at the end of a list", "[A-]", "-", true);
    row("bracketed star is a star", "[*]", "*", true);
    row("bracketed star is not a run", "[*]", "AB", false);
    row("bracketed question mark", "[?]", "A", false);
    row("bracketed hash", "[#]", "#", true);
    row("bracketed opening bracket", "[[]X", "[X", true);
    row("unclosed bracket is itself", "[AB", "[AB", true);
    row("unclosed bracket is no list", "[AB", "A", false);
    row("unclosed bracket inside stars", "*[DRAFT*", "INVOICE [DRAFT]", true);
    row("lone closing bracket", "A]", "A]", true);
    row("empty brackets are themselves", "[]", "[]", true);
    row("bang alone is a list of bang", "[!]", "!", true);
    row("bang alone is not any character", "[!]", "A", false);
    row("apostrophe", "*O'BRIEN*", "O'BRIEN WILL", true);
    row("empty pattern, empty text", "", "", true);
    row("empty pattern, some text", "", "A", false);
    row("star alone, empty text", "*", "", true);
    row("inner blanks count", "*TWO SPACES*", "TWO  SPACES", false);
    row("pattern longer than text", QString(10000, QLatin1Char('A')), "AAA", false);
    row("long pattern, long text", QLatin1Char('*') + QString(5000, QLatin1Char('A')) + QLatin1Char('*'),
        QString(10000, QLatin1Char('A')), true);
    row("many stars, no match", QString(QStringLiteral("*A")).repeated(2000) + QLatin1Char('#'),
        QString(3000, QLatin1Char('A')), false);
}

void TestSearch::matcher()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(Pattern(pattern).matches(text), matches);
}

void TestSearch::foldIsUnicode()
{
    QCOMPARE(Pattern::fold(QStringLiteral("café")), QStringLiteral("CAFÉ"));
    QCOMPARE(Pattern::foldUtf8("caf\xC3\xA9 car"), std::string("CAF\xC3\x89 CAR"));
    QCOMPARE(Pattern::foldUtf8("o'brien 12/31"), std::string("O'BRIEN 12/31"));
    // Folding a folded text changes nothing, so a term folded twice still matches.
    QCOMPARE(Pattern::fold(Pattern::fold(QStringLiteral("straße"))), Pattern::fold(QStringLiteral("straße")));
}

void TestSearch::searchTerm_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("term");
    const auto row = [](const char *name, const QString &box, const QString &term) {
        QTest::newRow(name) << box << term;
    };
    row("upper-cased", "car", "CAR");
    row("blanks around go", "  car ", "CAR");
    row("inner blanks stay", " two  spaces ", "TWO  SPACES");
    row("all blank", "   ", "");
    row("accented", "café", "CAFÉ");
}

void TestSearch::searchTerm()
{
    QFETCH(QString, box);
    QFETCH(QString, term);
    QCOMPARE(KeywordSearch::searchTerm(box), term);
}

void TestSearch::queryRules_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<int>>("expected");
    const auto row = [](const char *name, const QString &box, const QList<int> &expected) {
        QTest::newRow(name) << box << expected;
    };

    const QList<int> everyFilled{1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    row("keywords, category and inside a word", "car", QList<int>{1, 2, 3});
    row("any case", "CaR", QList<int>{1, 2, 3});
    row("blanks around", "  car ", QList<int>{1, 2, 3});
    row("empty lists every slot with a value", "", everyFilled);
    row("blank lists every slot with a value", "   ", everyFilled);
    row("nothing matches", "zebra", QList<int>{});
    row("year of a reminder or in keywords", "2003", QList<int>{1, 8});
    row("month and day of a reminder", "12/31", QList<int>{9});
    row("reminder as the grid shows it", "5/1/2003", QList<int>{1});
    row("stored form is not the shown form", "2002-12-31", QList<int>{});
    row("question mark", "c?r", QList<int>{1, 2, 3, 7});
    row("number sign", "room ###", QList<int>{12});
    row("list and range", "[a-b]ank", QList<int>{10});
    row("negated list", "[!b]ank", QList<int>{});
    row("apostrophe", "o'brien", QList<int>{5});
    row("quote characters", "\"'; DROP TABLE Varnel; --", QList<int>{});
    row("accented letter any case", "CAFÉ", QList<int>{6});
    row("accented letter in a category", "ÉTUDES", QList<int>{14});
    row("accent is not ignored", "cafe", QList<int>{});
    row("unclosed bracket", "[draft", QList<int>{11});
    row("lone closing bracket", "]", QList<int>{11});
    row("bracketed bracket", "[[]draft]", QList<int>{11});
    row("inner blanks must agree", "two spaces", QList<int>{});
    row("inner blanks agree", "two  spaces", QList<int>{13});
    row("10,000 characters", QString(10000, QLatin1Char('x')), QList<int>{});
    row("10,000 brackets", QString(10000, QLatin1Char('[')), QList<int>{});
}

void TestSearch::queryRules()
{
    QFETCH(QString, box);
    QFETCH(QList<int>, expected);

    Database db;
    db.addInitializer([](QSqlDatabase &c, QString *error) { return SearchFunctions::install(c, error); });
    DataSource search(QStringLiteral("Search"), &db);
    search.setColumns(RecordSources::slotColumns());
    search.repoint(m_readOnlySample->path());
    const QString term = KeywordSearch::searchTerm(box);
    search.setRecordSource(KeywordSearch::recordSource(term));
    QVERIFY2(search.refresh(), qPrintable(search.lastError()));
    QCOMPARE(fileNumbers(&search), expected);

    // The one-row function gives the same answer as the indexed search.
    QSqlQuery query(db.connection());
    QVERIFY(query.prepare(QStringLiteral("SELECT FileNumber FROM Varnel "
                                         "WHERE papyra_match(?, Keywords, Category, Reminder) ORDER BY FileNumber")));
    query.addBindValue(term);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    QList<int> perRow;
    while (query.next())
        perRow << query.value(0).toInt();
    QCOMPARE(perRow, expected);
}

void TestSearch::indexFollowsEdits()
{
    QVERIFY(makeSampleFolder());
    Database db;
    db.addInitializer([](QSqlDatabase &c, QString *error) { return SearchFunctions::install(c, error); });
    DataSource file(QStringLiteral("File"), &db);
    file.setColumns(RecordSources::slotColumns());
    file.setRecordSource(RecordSources::slotTable());
    file.repoint(m_folder->path());
    QVERIFY(file.refresh());
    DataSource search(QStringLiteral("Search"), &db);
    search.setColumns(RecordSources::slotColumns());
    search.repoint(m_folder->path());
    auto find = [&](const QString &box) {
        search.setRecordSource(KeywordSearch::recordSource(KeywordSearch::searchTerm(box)));
        search.refresh();
        return fileNumbers(&search);
    };
    QCOMPARE(find(QStringLiteral("car")), (QList<int>{1, 2, 3}));

    // An edit on the shared connection: Car insurance becomes Boat insurance, an open slot gets a car.
    file.setData(file.index(0, 1), QStringLiteral("Boat insurance"));
    file.setCurrentRow(19);
    file.setData(file.index(19, 1), QStringLiteral("Red car"));
    QVERIFY(file.submitPending());
    QCOMPARE(find(QStringLiteral("car")), (QList<int>{2, 3, 20}));
    QCOMPARE(find(QStringLiteral("boat")), QList<int>{1});

    // A change written by another connection, and a slot emptied there.
    QVERIFY(writeSlots(m_folder->databasePath(), {{3, null, null, null}, {15, "Car wash", null, "2010-01-02"}}));
    QCOMPARE(find(QStringLiteral("car")), (QList<int>{2, 15, 20}));
    QCOMPARE(find(QStringLiteral("2010")), QList<int>{15});
}

void TestSearch::enterAndGoSearchAlike()
{
    QVERIFY(makeSampleFolder());
    ScriptedDialogs dialogs;
    MainWindow window(m_folder->path(), &dialogs);
    QVERIFY(showWindow(window));
    QLineEdit *box = window.searchBox();
    QCOMPARE(box->objectName(), QStringLiteral("txtFrontSearch"));
    QCOMPARE(window.goButton()->objectName(), QStringLiteral("Command3"));
    QCOMPARE(window.searchSource()->recordCount(), 0);

    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("  c?r "));
    QCOMPARE(window.searchSource()->recordCount(), 0); // typing alone searches nothing
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QVERIFY(window.panel(1)->isVisible());
    QCOMPARE(fileNumbers(window.searchSource()), (QList<int>{1, 2, 3, 7}));
    QCOMPARE(window.searchGrid()->model()->rowCount(), 4);
    QCOMPARE(box->text(), QStringLiteral("  c?r "));

    window.SwitchTab(1);
    window.searchSource()->setRecordSource({});
    window.searchSource()->refresh();
    QTest::mouseClick(window.goButton(), Qt::LeftButton);
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QCOMPARE(fileNumbers(window.searchSource()), (QList<int>{1, 2, 3, 7}));
    QCOMPARE(box->text(), QStringLiteral("  c?r "));

    window.SwitchTab(1);
    box->setText(QStringLiteral("o'brien"));
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(fileNumbers(window.searchSource()), QList<int>{5});
    QVERIFY(dialogs.shown.isEmpty());
}

void TestSearch::noMatchShowsEmptyGridQuietly()
{
    QVERIFY(makeSampleFolder());
    ScriptedDialogs dialogs;
    MainWindow window(m_folder->path(), &dialogs);
    QVERIFY(showWindow(window));
    clickGo(window, QStringLiteral("car"));
    QCOMPARE(window.searchSource()->recordCount(), 3);

    window.SwitchTab(1);
    clickGo(window, QStringLiteral("zebra"));
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QCOMPARE(window.searchGrid()->model()->rowCount(), 0); // the earlier result is gone
    QVERIFY(dialogs.shown.isEmpty());
}

void TestSearch::editInResultsReachesAddFiles()
{
    QVERIFY(makeSampleFolder());
    ScriptedDialogs dialogs;
    MainWindow window(m_folder->path(), &dialogs);
    QVERIFY(showWindow(window));
    clickGo(window, QStringLiteral("car"));

    DataGrid *grid = window.searchGrid();
    const QModelIndex keywords = grid->model()->index(1, 1); // slot 2, Holiday
    QVERIFY(grid->model()->flags(keywords) & Qt::ItemIsEditable);
    grid->setCurrentIndex(keywords);
    QVERIFY(grid->model()->setData(keywords, QStringLiteral("Holiday in Rome")));
    QVERIFY(storedKeywords(m_folder->databasePath(), 2).toString() == QStringLiteral("Holiday"));
    grid->setCurrentIndex(grid->model()->index(2, 1)); // leaving the row writes it
    QCOMPARE(storedKeywords(m_folder->databasePath(), 2).toString(), QStringLiteral("Holiday in Rome"));

    window.SwitchTab(3);
    QCOMPARE(window.fileSource()->data(window.fileSource()->index(1, 1)).toString(), QStringLiteral("Holiday in Rome"));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestSearch::editInOtherGridCommitsAfterSearch()
{
    QVERIFY(makeSampleFolder());
    // Enough matching slots that the result is read in several blocks and none is fully read.
    QVERIFY(m_folder->makeDatabase(3000));
    QList<SlotData> filled;
    for (int n = 1; n <= 3000; ++n)
        filled.append({n, QStringLiteral("Folder %1").arg(n), null, null});
    QVERIFY(writeSlots(m_folder->databasePath(), filled));

    ScriptedDialogs dialogs;
    MainWindow window(m_folder->path(), &dialogs);
    QVERIFY(showWindow(window));
    clickGo(window, QStringLiteral("folder"));
    QCOMPARE(window.searchSource()->recordCount(), 3000);

    window.SwitchTab(3);
    DataGrid *grid = window.addFilesPanel()->grid();
    const QModelIndex cell = grid->model()->index(9, 1);
    grid->setCurrentIndex(cell);
    QVERIFY(grid->model()->setData(cell, QStringLiteral("Edited after a search")));
    grid->setCurrentIndex(grid->model()->index(10, 1));
    QCOMPARE(storedKeywords(m_folder->databasePath(), 10).toString(), QStringLiteral("Edited after a search"));
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
