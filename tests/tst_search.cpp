#include "PgCluster.h"
#include "RowMatch.h"
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/AddFilesPanel.h"
#include "search/KeywordSearch.h"
#include "store/DataSource.h"
#include "store/Pattern.h"
#include "store/PostgresEngine.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "store/SqliteSearch.h"
#include "ui/DataGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include <sqlite3.h>

namespace {

const QVariant null;

// Writes slots (number, keywords, category, reminder) through a connection of its own, as another program would.
bool writeSlots(const QString &path, const QList<QVariantList> &slotList)
{
    return SideConnection(path).execRows("REPLACE INTO Varnel VALUES (?, ?, ?, ?)", slotList);
}

// 20 slots; those not listed here stay open (all null).
bool makeSampleFolder(TestFolder &folder)
{
    // clang-format off
    const QList<QVariantList> sample{
        {1, "Car insurance", "Auto", "2003-05-01"}, {2, "Holiday", "CARS", null},
        {3, "Wool scarf", null, null},              {4, null, null, null},
        {5, "O'Brien will", "Legal", null},         {6, "Café receipts", "Food", null},
        {7, "Füße", null, null},
        {9, null, null, "2002-12-31"},              {13, "Two  spaces", null, null},
        {15, "Straße 5", null, null},               {16, QString::fromUtf8("e\u0301lan vital"), null, null},
        {17, null, null, "next week"},              {18, null, null, "0999-01-01"},
        {19, null, null, QByteArray("Blob date")},  {20, null, null, 20030501},
    };
    // clang-format on
    return folder.makeDatabase(20) && writeSlots(folder.databasePath(), sample);
}

// The File and Search data sources on one connection, as in the window: on the folder's file, or
// on a shared index when uri is given.
struct SearchRig {
    explicit SearchRig(const QString &folder, const QString &uri = QString()) : store(folder)
    {
        ServerAddress address;
        if (!uri.isEmpty() && ServerAddress::parse(uri, &address))
            store.setEngine(std::make_unique<PostgresEngine>(address));
        store.open();
        store.file().refresh();
    }
    QList<int> find(const QString &box)
    {
        if (!KeywordSearch::run(store, box))
            return {-1};
        QList<int> numbers;
        for (int row = 0; row < store.search().recordCount(); ++row)
            numbers << store.search().index(row, 0).data().toInt();
        return numbers;
    }
    RecordStore store;
};

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void matcher_data();
    void matcher();
    void queryRules_data();
    void queryRules();
    void indexFollowsRollbacks();
    void indexFollowsOtherProgramsAndHeals_data();
    void indexFollowsOtherProgramsAndHeals();
    void searchFromTheWindow();
    void statusAndAllWords_data();
    void statusAndAllWords();
    void resultsSortAndShowOnAddFiles();
};

void TestSearch::matcher_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("matching");
    QTest::addColumn<QStringList>("other");
    const auto row = [](const char *name, const QString &pattern, const QStringList &yes, const QStringList &no) {
        QTest::newRow(name) << pattern << yes << no;
    };
    const QString a10000(10000, QLatin1Char('A'));

    row("star", "C*R", {"CAAAR", "CR"}, {"CARS"});
    row("star backtracks", "*AB*AC*", {"XABXABACX"}, {"XABXABAX"});
    row("question is one character", "C?R", {"CAR", "CÉR", "C\U0001F600R"}, {"CR", "CAAR"});
    row("hash", "200#", {"2003"}, {"200A"});
    row("list and negated list", "[ABC][!ABC]", {"BD"}, {"DD", "BA"});
    row("ranges", "[A-C][C-A][À-Ý][!0-9]", {"BBÉX"}, {"DBÉX", "BBEX", "BBÉ5"});
    row("bracketed wildcards", "[*][?][#][[]", {"*?#["}, {"AB1[", "*A#["});
    row("unclosed bracket", "[AB", {"[AB"}, {"A"});
    row("lone closing bracket", "A]", {"A]"}, {"A"});
    row("bang alone", "[!]", {"!"}, {"A"});
    row("Unicode case", "*éTUDE*", {"Études", "ÉTUDES"}, {"ETUDES"});
    row("empty pattern", "", {""}, {"A"});
    row("sharp s is one character", "STRA?E", {"Straße"}, {"Strasse", "Stre"});
    row("ss finds sharp s", "STRASSE", {"STRASSE", "Straße", "STRAẞE"}, {"Strase", "Straßs"});
    row("sharp s found by ss past 64 characters", QString(70, 'x') + "*ss*", {QString(70, 'x') + "aßb"},
        {QString(70, 'x') + "asb"});
    row("two wildcards for sharp s", "STRA??E", {"Strasse"}, {"Straße"});
    row("sharp s is not s", "*ßs*", {"ßs"}, {"sss", "ß"});
    row("letter without accent finds accented", "*muller*", {"Müller", "MULLER", "müller"}, {"Mueller", "Mxller"});
    row("unaccented finds every accent, accented only itself", "caf?-cafe-*é", {"café-CAFÉ-é", "cafe-cafè-é"},
        {"café-cafe-e", "cafe-cafe-è"});
    row("accent found far into a long pattern", QString(70, 'a') + "e", {QString(70, 'a') + "é"},
        {QString(70, 'a') + "f"});
    row("list holding sharp s", "[ß]", {"ß", "ẞ"}, {"S", "SS"});
    row("case per character", "[a-c]x[É]", {"BXé"}, {"DXé", "BXe"});
    row("combining accent found by precomposed", "*élan*", {"e\u0301lan", "ÉLAN"}, {"elan"});
    row("precomposed found by combining accent", "*e\u0301lan*", {"élan"}, {"elan"});
    row("letter with its mark is one character", "?X", {"q\u0303x"}, {"q\u0303\u0323yx"});
    row("a mark never stands alone", "Q?", {"QA"}, {"q\u0303"});
    row("emoji with skin tone", "C?R", {"C\U0001F44D\U0001F3FDR"}, {"C\U0001F44DxR"});
    row("flag", "?", {"\U0001F1E9\U0001F1EA"}, {"AB"});
    row("list matches one character", "[eé]LAN", {"e\u0301lan"}, {"e\u0300lan"});
    row("substring not inside a character", "*E*", {"xex"}, {"e\u20DD", "xe\u20DDx"});
    row("iota subscript folds to a letter of its own", "*\u1FB3*", {"\u1FBC", "\u03B1\u03B9"}, {"\u03B1"});
    row("long term", QLatin1Char('*') + QString(500, 'A') + "?B*", {QString(600, 'A') + "xb"}, {QString(1000, 'A')});
    row("10,000 characters", QLatin1Char('*') + a10000.left(5000) + QLatin1Char('*'), {a10000}, {a10000.left(4999)});
    row("many stars", QStringLiteral("*A").repeated(2000) + QLatin1Char('#'), {}, {a10000.left(3000)});
}

void TestSearch::matcher()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, matching);
    QFETCH(QStringList, other);
    // As stored text, folded once as the search index keeps it, and as any text.
    const Pattern compiled(pattern);
    for (const bool expected : {true, false}) {
        for (const QString &text : expected ? matching : other) {
            QVERIFY2(compiled.matches(Pattern::foldUtf8(text.toStdString())) == expected, qPrintable(text.left(40)));
            QVERIFY2(compiled.matches(text) == expected, qPrintable(text.left(40)));
        }
    }
}

void TestSearch::queryRules_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<QString>("locale");
    const auto row = [](const char *name, const QString &box, const QList<int> &expected, const char *locale = "C") {
        QTest::newRow(name) << box << expected << QString(locale);
    };

    // Slot 4 and the open slots hold only nulls, which never match.
    const QList<int> everyFilled{1, 2, 3, 5, 6, 7, 9, 13, 15, 16, 17, 18, 19, 20};
    row("keywords, category, inside a word, any case, blanks around", "  cAr ", {1, 2, 3});
    row("empty", "", everyFilled);
    row("blank", "   ", everyFilled);
    row("date as yyyy-mm-dd", "2002-12-31", {9});
    row("date with leading zeros", "05/01/2003", {1});
    row("date with a two-digit year", "5/1/03", {1});
    row("not a date", "13/45/2003", {});
    row("unaccented letters", "CAFE", {6});
    row("ss for sharp s", "strasse", {15});
    row("accent left off beside a sharp s typed", "fuß", {7});
    row("words in another order", "insurance car", {});
    // Slot 1's reminder is 1 May 2003.
    row("British date", "01/05/2003", {1}, "en_GB");
    row("British order only", "05/01/2003", {}, "en_GB");
    row("British, yyyy-mm-dd", "2003-05-01", {1}, "en_GB");
    row("German date", "1.5.03", {1}, "de_DE");
    row("reminder year, shown form", "2003", {1, 20});
    row("reminders not stored as dates: text, early year, blob", "eek", {17});
    row("year before 1000 shown as stored", "0999-01", {18});
    row("reminder held as a blob", "lob da", {19});
    row("apostrophe", "o'brien", {5});
    row("quote characters", "\"'; DROP TABLE Varnel; --", {});
    row("accented letter, both sides folded", "cAFé", {6});
    row("inner blanks stay", "two  spaces", {13});
    row("10,000 brackets", QString(10000, QLatin1Char('[')), {});
    row("sharp s typed", "STRAßE", {15});
    row("precomposed accent finds combining", QString::fromUtf8("\u00C9LAN"), {16});
}

void TestSearch::queryRules()
{
    QFETCH(QString, box);
    QFETCH(QList<int>, expected);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    static TestFolder folder; // only read
    static const bool made = makeSampleFolder(folder);
    QVERIFY(made);
    QCOMPARE(SearchRig(folder.path()).find(box), expected);
    // The same case on a shared index made from the same file gives the same slots.
    static QString why;
    static PgCluster *server = PgCluster::shared(&why);
    QVERIFY2(server, qPrintable(why));
    static const QString index = server->createIndex(folder.databasePath(), &why);
    QVERIFY2(!index.isEmpty(), qPrintable(why));
    QCOMPARE(SearchRig(folder.path(), server->uri(index)).find(box), expected);
}

void TestSearch::indexFollowsRollbacks()
{
    // Random writes on the searching connection, some inside transactions and savepoints that are
    // rolled back, some failing half-way; after each step the index answers as the table does.
    QTemporaryDir dir;
    const QString path = dir.filePath("Varnel.mdb");
    QVERIFY(Schema::createDatabase(path, 40, {}));
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QVERIFY(SqliteSearch::install(db));
    QVERIFY(RowMatch::install(db));
    auto exec = [&](const QByteArray &sql) { return sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr); };
    auto rows = [&](const char *sql, const QByteArray &term) {
        QList<qint64> found;
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        sqlite3_bind_text(statement, 1, term.constData(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW)
            found << sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return found;
    };
    const QByteArrayList words{"car",
                               "boat",
                               "CARPET",
                               "bank",
                               "M\xC3\xBCller",
                               "F\xC3\xBC\xC3\x9F"
                               "e"};
    // Terms without the accents find the accented words too, through the index as by the scan.
    const QByteArrayList terms = words + QByteArrayList{"muller", "FUSSE", "m\xC3\xBCl", "fu\xC3\x9F"};
    exec("PRAGMA synchronous = OFF");
    QRandomGenerator random(13);
    auto word = [&] { return words.at(random.bounded(int(words.size()))); };
    for (int step = 0; step < 3000; ++step) {
        const int slot = random.bounded(1, 45);
        const QByteArray number = QByteArray::number(slot);
        const QByteArrayList control{"BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT s", "ROLLBACK TO s"};
        const int kind = random.bounded(9);
        if (kind < 5)
            exec(control[kind]);
        else if (kind == 5)
            exec("DELETE FROM Varnel WHERE FileNumber = " + number);
        else if (kind == 6) // fails on its first clash with a taken number, after moving the rows before it
            exec("UPDATE Varnel SET Keywords = '" + word() + "', FileNumber = FileNumber + 3 WHERE FileNumber > " +
                 number);
        else
            exec("REPLACE INTO Varnel (FileNumber, Keywords) VALUES (" + number + ", '" + word() + " " +
                 QByteArray::number(step) + "')");
        const QByteArray term = terms.at(random.bounded(int(terms.size())));
        const QList<qint64> indexed = rows("SELECT FileNumber FROM Varnel WHERE FileNumber IN papyra_hits(?)", term);
        const QList<qint64> table =
            rows("SELECT rowid FROM Varnel WHERE papyra_match(?, Keywords, Category, Reminder)", term);
        QVERIFY2(indexed == table, qPrintable(QStringLiteral("step %1").arg(step)));
    }
    exec("ROLLBACK");
    sqlite3_close(db);
}

void TestSearch::indexFollowsOtherProgramsAndHeals_data()
{
    // What another program does to the file while the program has it open, or between two runs.
    QTest::addColumn<QStringList>("whileOpen");
    QTest::addColumn<QStringList>("whileClosed");
    QTest::newRow("another program's edits")
        << QStringList{"UPDATE Varnel SET Keywords = 'Sailboat papers' WHERE FileNumber = 7",
                       "UPDATE Varnel SET Category = 'Sailboat' WHERE FileNumber = 9",
                       "UPDATE Varnel SET Keywords = 'land only' WHERE FileNumber = 3"}
        << QStringList{};
    QTest::newRow("index dropped") << QStringList{}
                                   << QStringList{
                                          "DROP TABLE papyra_index",
                                          "UPDATE Varnel SET Keywords = 'Sailboat papers' WHERE FileNumber = 7"};
    QTest::newRow("triggers dropped, then an edit")
        << QStringList{}
        << QStringList{"DROP TRIGGER papyra_slot_changed",
                       "UPDATE Varnel SET Keywords = 'Sailboat papers' WHERE FileNumber = 7"};
    QTest::newRow("index of another form")
        << QStringList{}
        << QStringList{"UPDATE Varnel SET Keywords = 'Sailboat papers'", "DELETE FROM papyra_changed",
                       "UPDATE papyra_meta SET value = 'older'"};
    QTest::newRow("rolled back") << QStringList{"BEGIN", "UPDATE Varnel SET Keywords = 'Sailboat'", "ROLLBACK"}
                                 << QStringList{};
}

void TestSearch::indexFollowsOtherProgramsAndHeals()
{
    QFETCH(QStringList, whileOpen);
    QFETCH(QStringList, whileClosed);
    TestFolder folder;
    QVERIFY(makeSampleFolder(folder));
    QVERIFY(SideConnection(folder.databasePath())
                .exec("UPDATE Varnel SET Keywords = 'Sailboat title' WHERE "
                      "FileNumber = 3"));
    auto expected = [&] {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(folder.databasePath()).constData(), &db);
        RowMatch::install(db);
        QList<int> found;
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT FileNumber FROM Varnel WHERE papyra_match('SAILBOAT', Keywords, Category, "
                           "Reminder) ORDER BY FileNumber",
                           -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            found << sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return found;
    };
    {
        SearchRig rig(folder.path());
        QCOMPARE(rig.find("sailboat"), QList<int>{3});
        SideConnection other(folder.databasePath());
        for (const QString &sql : whileOpen)
            QVERIFY2(other.exec(sql), qPrintable(sql));
        QCOMPARE(rig.find("sailboat"), expected());
    }
    for (const QString &sql : whileClosed)
        QVERIFY2(SideConnection(folder.databasePath()).exec(sql), qPrintable(sql));
    SearchRig again(folder.path());
    QCOMPARE(again.find("sailboat"), expected());
    QCOMPARE(SideConnection(folder.databasePath()).value("SELECT count(*) FROM papyra_meta WHERE value = 'older'"),
             QVariant(0));
}

void TestSearch::searchFromTheWindow()
{
    // Enough matching slots that the result is read in several blocks and is not fully read.
    WindowFixture fixture;
    QVERIFY(fixture.folder().makeDatabase(3000));
    QList<QVariantList> filled;
    for (int n = 1; n <= 3000; ++n)
        filled.append({n, QStringLiteral("Folder %1").arg(n), null, null});
    QVERIFY(writeSlots(fixture.folder().databasePath(), filled));
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    ScriptedDialogs &dialogs = fixture.dialogs();

    // Typing alone searches nothing; Enter does, keeping the text as typed.
    QLineEdit *box = window.searchBox();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral(" fOLDer "));
    QCOMPARE(window.tabStrip()->currentIndex(), 0);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QCOMPARE(window.store().search().recordCount(), 3000);
    QCOMPARE(box->text(), QStringLiteral(" fOLDer "));

    // In the results grid and then in the Add Files grid, leaving the edited row writes it.
    auto stored = [&](int row) {
        return SideConnection(fixture.folder().databasePath())
            .value("SELECT Keywords FROM Varnel WHERE FileNumber = ?", {row + 1})
            .toString();
    };
    auto edit = [&](DataGrid *grid, int row, const QString &text) {
        grid->setCurrentIndex(grid->model()->index(row, 1));
        QVERIFY(grid->model()->setData(grid->currentIndex(), text));
        QCOMPARE(stored(row), QStringLiteral("Folder %1").arg(row + 1));
        grid->setCurrentIndex(grid->model()->index(row + 1, 1));
        QCOMPARE(stored(row), text);
    };
    edit(window.searchGrid(), 1, QStringLiteral("Edited in the results"));
    window.SwitchTab(3);
    QCOMPARE(window.store().file().index(1, 1).data().toString(), QStringLiteral("Edited in the results"));
    edit(window.addFilesPanel()->grid(), 9, QStringLiteral("Edited after a search"));

    // GO! searches too; finding nothing empties the results without a word.
    window.SwitchTab(1);
    box->setText(QStringLiteral("zebra"));
    QTest::mouseClick(window.goButton(), Qt::LeftButton);
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QCOMPARE(window.searchGrid()->model()->rowCount(), 0);
    QVERIFY(dialogs.shown.isEmpty());
    // What another program writes, filling one slot and emptying another, is what the next search finds.
    QVERIFY(writeSlots(fixture.folder().databasePath(), {{7, "Zebra crossing", null, null}, {8, null, null, null}}));
    QTest::mouseClick(window.goButton(), Qt::LeftButton);
    QCOMPARE(window.store().search().recordCount(), 1);
    box->setText(QStringLiteral("folder"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(window.store().search().recordCount(), 3000 - 4); // two edited in the window, two here
}

void TestSearch::statusAndAllWords_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("allWords"); // Ctrl+Enter instead of Enter
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<QString>("status");
    QTest::newRow("found") << "car" << false << QList<int>{1, 2, 3} << "3 folders found";
    QTest::newRow("one") << "holiday" << false << QList<int>{2} << "1 folder found";
    QTest::newRow("nothing, one word") << "zebra" << false << QList<int>{} << "0 folders found";
    QTest::newRow("nothing as written, words in another order")
        << "insurance  car" << false << QList<int>{}
        << "0 folders found; 1 holds all these words in any order: Ctrl+Enter lists it";
    QTest::newRow("nothing in any order") << "insurance zebra" << false << QList<int>{} << "0 folders found";
    QTest::newRow("Ctrl+Enter lists them") << "insurance car" << true << QList<int>{1} << "1 folder found";
    QTest::newRow("Ctrl+Enter, each word in another field")
        << "auto insur*" << true << QList<int>{1} << "1 folder found";
}

void TestSearch::statusAndAllWords()
{
    QFETCH(QString, box);
    QFETCH(bool, allWords);
    QFETCH(QList<int>, found);
    QFETCH(QString, status);
    WindowFixture fixture(TestFolder::Contents::Empty);
    QVERIFY(makeSampleFolder(fixture.folder()));
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    window.searchBox()->setText(box);
    window.searchBox()->setFocus();
    QTest::keyClick(window.searchBox(), Qt::Key_Return, allWords ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(window.tabStrip()->currentIndex(), 1);
    QList<int> numbers;
    for (int row = 0; row < window.store().search().recordCount(); ++row)
        numbers << window.store().search().index(row, 0).data().toInt();
    QCOMPARE(numbers, found);
    QCOMPARE(window.searchStatus(), status);
}

void TestSearch::resultsSortAndShowOnAddFiles()
{
    WindowFixture fixture(TestFolder::Contents::Empty);
    QVERIFY(makeSampleFolder(fixture.folder()));
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    window.searchBox()->setText(QStringLiteral("a"));
    QTest::mouseClick(window.goButton(), Qt::LeftButton);
    DataGrid *grid = window.searchGrid();
    auto column = [&](int c) {
        QStringList values;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            values << grid->model()->index(row, c).data().toString();
        return values;
    };
    QCOMPARE(column(0), QStringList({"1", "2", "3", "5", "6", "13", "15", "16", "19"}));
    // A click on the Keywords caption sorts by it, case ignored; a second click the other way.
    QHeaderView *header = grid->horizontalHeader();
    const QPoint keywords(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, keywords);
    QCOMPARE(column(1), QStringList({"Café receipts", "Car insurance", QString::fromUtf8("e\u0301lan vital"), "Holiday",
                                     "O'Brien will", "Straße 5", "Two  spaces", "Wool scarf", ""}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, keywords);
    // Slot 19 (found by its reminder) has no keywords: empty fields stay last either way.
    QCOMPARE(column(0), QStringList({"3", "13", "15", "5", "2", "16", "1", "6", "19"}));

    // Ctrl+G on a result, or its context menu command, shows that slot on the Add Files tab.
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(column(0).indexOf("16"), 1));
    QTest::keyClick(grid, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(window.tabStrip()->currentIndex(), 2);
    QCOMPARE(window.store().file().currentRow(), 15);
    QVERIFY(grid->actions().value(0) && grid->contextMenuPolicy() == Qt::ActionsContextMenu);
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
