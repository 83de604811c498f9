#include "BenchUtil.h"

#include "RowMatch.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "search/KeywordSearch.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "store/SqliteSearch.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextStream>
#include <memory>
#include <random>
#include <sqlite3.h>

namespace Bench {

namespace {

// Household paper folders: a subject, often a company or person, often a year. Subjects earlier in
// the list are filed more often (weight 1/(i+1)), as a few kinds of paper fill most drawers.
const char *const subjects[] = {"Car insurance",
                                "Bank statements",
                                "Electric bill",
                                "Tax return",
                                "Home insurance",
                                "Credit card statements",
                                "Phone bill",
                                "Medical records",
                                "Pay stubs",
                                "Receipts",
                                "Mortgage statements",
                                "Gas bill",
                                "Water bill",
                                "Health insurance",
                                "Warranty",
                                "School reports",
                                "Car repairs",
                                "Appliance manuals",
                                "Property tax",
                                "Internet bill",
                                "Dental records",
                                "Children's vaccinations",
                                "Lease",
                                "Loan papers",
                                "Pension",
                                "Life insurance",
                                "Investments",
                                "Retirement account",
                                "Donations",
                                "Travel documents",
                                "Car registration",
                                "Café receipts",
                                "Vet records",
                                "Savings bonds",
                                "Résumé",
                                "Contracts",
                                "Deeds",
                                "Wills",
                                "Birth certificate",
                                "Passport"};
const char *const parties[] = {"Allstate",
                               "State Farm",
                               "Wells Fargo",
                               "Chase",
                               "Citibank",
                               "Sears",
                               "Bosch",
                               "Whirlpool",
                               "Sony",
                               "Honda",
                               "Toyota",
                               "AT&T",
                               "Verizon",
                               "PG&E",
                               "Kaiser",
                               "Dr. Smith",
                               "Dr. O'Neil",
                               "IRS",
                               "Lincoln Elementary",
                               "Müller GmbH"};
const char *const people[] = {"John", "Mary", "Emma", "Noah", "Grandma", "Zoë"};
// Filed once in a long while: the rare word of the benchmark is "sailboat".
const char *const rarities[] = {"Sailboat title", "Sailboat survey", "Piano appraisal", "Jury summons"};

struct Generated {
    QString keywords, category, reminder;
};

class SlotGenerator
{
public:
    explicit SlotGenerator(unsigned seed) : m_rng(seed)
    {
        double total = 0;
        for (size_t i = 0; i < std::size(subjects); ++i)
            m_cumulative.push_back(total += 1.0 / double(i + 1));
    }

    Generated next()
    {
        Generated g;
        if (pick(2500) == 0) {
            g.keywords = QString::fromUtf8(rarities[pick(std::size(rarities))]);
        } else {
            const double r = double(m_rng()) / double(std::mt19937::max()) * m_cumulative.back();
            size_t s = 0;
            while (s + 1 < m_cumulative.size() && m_cumulative[s] < r)
                ++s;
            g.keywords = QString::fromUtf8(subjects[s]);
            if (pick(2) == 0)
                g.keywords += QLatin1Char(' ') + QString::fromUtf8(parties[pick(std::size(parties))]);
            if (pick(2) == 0)
                g.keywords += QLatin1Char(' ') + QString::number(1995 + pick(11));
            if (pick(5) == 0)
                g.keywords += QStringLiteral(" - ") + QString::fromUtf8(people[pick(std::size(people))]);
        }
        const QStringList categories = Schema::defaultCategories();
        if (pick(5) != 0)
            g.category = categories.at(int(pick(size_t(categories.size()))));
        if (pick(4) == 0)
            g.reminder = QStringLiteral("%1-%2-%3")
                             .arg(1998 + pick(9))
                             .arg(1 + pick(12), 2, 10, QLatin1Char('0'))
                             .arg(1 + pick(28), 2, 10, QLatin1Char('0'));
        return g;
    }

private:
    size_t pick(size_t n) { return size_t(m_rng() % n); }

    std::mt19937 m_rng;
    std::vector<double> m_cumulative;
};

// The sqlite3 steps of the benchmark; each one that fails ends the benchmark with SQLite's message.
[[noreturn]] void failOn(sqlite3 *db, const char *what)
{
    fail(QStringLiteral("%1: %2").arg(QString::fromUtf8(what), QString::fromUtf8(sqlite3_errmsg(db))));
}

sqlite3 *openDatabase(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK)
        failOn(db, "cannot open the database");
    return db;
}

void execute(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        failOn(db, sql);
}

sqlite3_stmt *prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        failOn(db, sql);
    return statement;
}

// Steps a statement that returns no rows once, and makes it ready for the next bindings.
void stepToEnd(sqlite3 *db, sqlite3_stmt *statement)
{
    if (sqlite3_step(statement) != SQLITE_DONE)
        failOn(db, sqlite3_sql(statement));
    sqlite3_reset(statement);
}

void bindText(sqlite3_stmt *statement, int i, const QString &text)
{
    if (text.isEmpty()) {
        sqlite3_bind_null(statement, i);
    } else {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
}

// Fills the first two thirds of the slots, as a user filling from the next open slot would.
QString makeFilledFolder(int slotCount)
{
    const QString folder = makeProgramFolder(QStringLiteral("search-%1").arg(slotCount), slotCount);
    sqlite3 *db = openDatabase(QDir(folder).filePath(Schema::databaseFileName), SQLITE_OPEN_READWRITE);
    execute(db, "BEGIN");
    sqlite3_stmt *update =
        prepare(db, "UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?");
    SlotGenerator generator(20030531u);
    const int filled = slotCount * 2 / 3;
    for (int n = 1; n <= filled; ++n) {
        const Generated g = generator.next();
        bindText(update, 1, g.keywords);
        bindText(update, 2, g.category);
        bindText(update, 3, g.reminder);
        sqlite3_bind_int(update, 4, n);
        stepToEnd(db, update);
    }
    sqlite3_finalize(update);
    execute(db, "COMMIT");
    sqlite3_close(db);
    return folder;
}

// The plain query a programmer would write first, with SQLite's own upper() and LIKE.
QString likePattern(const QString &term)
{
    QString like = term;
    like.replace(QLatin1Char('*'), QLatin1Char('%')).replace(QLatin1Char('?'), QLatin1Char('_'));
    like.replace(QLatin1Char('#'), QLatin1Char('_'));
    return QLatin1Char('%') + like + QLatin1Char('%');
}

int runStatement(sqlite3 *db, const char *sql, const QString &bound)
{
    sqlite3_stmt *statement = prepare(db, sql);
    const QByteArray utf8 = bound.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    int rows = 0;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        sqlite3_column_int64(statement, 0);
        ++rows;
    }
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE)
        failOn(db, sql);
    return rows;
}

// A connection of its own with both search functions: the program's key query and the per-row rule.
sqlite3 *openSearching(const QString &databasePath)
{
    sqlite3 *db = openDatabase(databasePath, SQLITE_OPEN_READONLY);
    QString error;
    if (!SqliteSearch::install(db, &error))
        fail(QStringLiteral("cannot register the search function: ") + error);
    if (!RowMatch::install(db))
        failOn(db, "cannot register the per-row function");
    return db;
}

const char *const rawScanSql = "SELECT FileNumber FROM Varnel WHERE upper(Keywords) LIKE ?1 OR upper(Category) "
                               "LIKE ?1 OR Reminder LIKE ?1";
const char *const perRowSql = "SELECT FileNumber FROM Varnel WHERE papyra_match(?1, Keywords, Category, Reminder)";
const char *const keyQuerySql = "SELECT FileNumber FROM Varnel WHERE FileNumber IN papyra_hits(?1) ORDER BY FileNumber";

// The search as the user starts it, until the first screen of grdSearch has been painted.
int searchEndToEnd(MainWindow &window, const QString &text)
{
    window.searchBox()->setText(text);
    emit window.searchBox()->returnPressed();
    QApplication::processEvents(); // paints the panel just shown, grdSearch's first screen included
    return window.store().search().recordCount();
}

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    const auto m = line.match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

void resetPeakMemory()
{
    // Writing 5 to clear_refs resets the peak resident size (VmHWM) that the kernel reports.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Term {
    const char *label;
    const char *text;
};

// The term of run i with the case of its letters changed, so that no two runs in a row search for
// the same text and each one reads its key list afresh. Matching ignores case: the rows are the same.
QString variant(const QString &text, int i)
{
    QString out = text;
    int letter = 0;
    for (QChar &c : out) {
        if (!c.isLetter())
            continue;
        if (((i + 1) >> (letter++ % 4)) & 1)
            c = c.isUpper() ? c.toLower() : c.toUpper();
    }
    return out;
}

// Another search between two measured ones, so that even a term without letters ("") is not
// answered from the key list the data source keeps for the text it searched last.
const QString interlude = QStringLiteral("zz-no-such-word");

// The window's search, its key query alone and the per-row rule must find the same slots, or the
// figures compare different work.
void expectSameRows(const QString &text, int expected, int search, int keyQuery, int perRow)
{
    if (search != expected || keyQuery != expected || perRow != expected)
        fail(QStringLiteral("\"%1\": %2 slots expected; the search lists %3, the key query %4, the per-row function %5")
                 .arg(text)
                 .arg(expected)
                 .arg(search)
                 .arg(keyQuery)
                 .arg(perRow));
}

// withMemory: also lists every filled slot, scrolls through them and reports the peak memory.
void searchOneSize(int slotCount, int runs, bool withMemory)
{
    const QString folder = makeFilledFolder(slotCount);
    const QString databasePath = QDir(folder).filePath(Schema::databaseFileName);
    const Term terms[] = {
        {"common word", "insurance"},           {"rare word", "sailboat"},
        {"wildcard, literal runs", "tax*200#"}, {"wildcard, single letters", "c?r"},
        {"empty text (every filled slot)", ""},
    };
    QTextStream out(stdout);
    if (!checkOnly)
        out << "\n## " << slotCount << " slots, " << slotCount * 2 / 3 << " filled\n"
            << "| term | rows | raw scan rows | search ms | raw scan ms | search / raw | key query ms | per-row "
               "function ms | same text again ms |\n"
            << "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";

    Dialogs dialogs;
    Startup::prepareProgramFolder(folder);
    if (withMemory)
        resetPeakMemory();
    auto window = std::make_unique<MainWindow>(folder, &dialogs);
    window->show();
    QApplication::processEvents();

    // Connections of their own: SQLite's upper()/LIKE; the key query alone and the matcher called once
    // per row, without the window.
    sqlite3 *raw = openDatabase(databasePath, SQLITE_OPEN_READONLY);
    sqlite3 *perRow = openSearching(databasePath);

    for (const Term &t : terms) {
        const QString text = QString::fromUtf8(t.text);
        const QString term = KeywordSearch::searchTerm(text);
        // Warm-up, then the four measured in turn within each run, so that a busy moment of the
        // machine weighs on all of them alike.
        int rows = searchEndToEnd(*window, text);
        const QString like = likePattern(term);
        int rawRows = runStatement(raw, rawScanSql, like);
        expectSameRows(text, text.isEmpty() ? slotCount * 2 / 3 : rows, rows, runStatement(perRow, keyQuerySql, term),
                       runStatement(perRow, perRowSql, term));
        QVector<double> searchTimes, rawTimes, keyTimes, perRowTimes, againTimes;
        for (int i = 0; i < runs; ++i) {
            const QString distinct = variant(text, i);
            const QString distinctTerm = KeywordSearch::searchTerm(distinct);
            searchEndToEnd(*window, interlude);
            searchTimes << elapsedMs([&] { rows = searchEndToEnd(*window, distinct); });
            // The same text once more: the data source reuses its key list (the data did not change).
            againTimes << elapsedMs([&] { searchEndToEnd(*window, distinct); });
            rawTimes << elapsedMs([&] { rawRows = runStatement(raw, rawScanSql, likePattern(distinctTerm)); });
            keyTimes << elapsedMs([&] { runStatement(perRow, keyQuerySql, distinctTerm); });
            perRowTimes << elapsedMs([&] { runStatement(perRow, perRowSql, distinctTerm); });
        }
        if (checkOnly)
            continue;
        const double searchMs = median(searchTimes), rawMs = median(rawTimes);
        const double keyMs = median(keyTimes), perRowMs = median(perRowTimes);
        out << QStringLiteral("| %1 \"%2\" | %3 | %4 | %5 | %6 | %7 | %8 | %9 | %10 |\n")
                   .arg(QString::fromUtf8(t.label), text)
                   .arg(rows)
                   .arg(rawRows)
                   .arg(searchMs, 0, 'f', 2)
                   .arg(rawMs, 0, 'f', 2)
                   .arg(rawMs > 0 ? searchMs / rawMs : 0, 0, 'f', 2)
                   .arg(keyMs, 0, 'f', 2)
                   .arg(perRowMs, 0, 'f', 2)
                   .arg(median(againTimes), 0, 'f', 2);
        out.flush();
    }
    // Every search ends in SwitchTab(2), which restarts the tour and so decodes its start picture.
    const double tourMs = medianMs(runs, [&] { window->StartSlideShow(); });
    if (!checkOnly)
        out << QStringLiteral("of each search, restarting the tour (StartSlideShow): %1 ms\n").arg(tourMs, 0, 'f', 2);
    if (withMemory) {
        // Scroll the whole result of the empty text through the grid: every row read once.
        searchEndToEnd(*window, QString());
        DataGrid *grid = window->searchGrid();
        grid->scrollToBottom();
        grid->viewport()->repaint();
        QApplication::processEvents();
        if (!checkOnly)
            out << QStringLiteral("peak memory after full searches: %1 MB (resident now %2 MB)\n")
                       .arg(statusKb("VmHWM") / 1024.0, 0, 'f', 1)
                       .arg(statusKb("VmRSS") / 1024.0, 0, 'f', 1);
    }
    sqlite3_close(raw);
    sqlite3_close(perRow);
    window.reset();

    // The first search on a fresh connection pays for reading the index.
    QVector<double> firsts;
    for (int i = 0; i < (checkOnly ? 1 : std::max(3, runs / 2)); ++i) {
        MainWindow fresh(folder, &dialogs);
        fresh.show();
        QApplication::processEvents();
        firsts.append(elapsedMs([&] { searchEndToEnd(fresh, QStringLiteral("insurance")); }));
    }
    if (!checkOnly)
        out << QStringLiteral("first search after the database opens (reads the index), \"insurance\": %1 ms\n")
                   .arg(median(firsts), 0, 'f', 2);
    out.flush();
    ran(QStringLiteral("search over %1 slots: %2 terms, the tour restart, a fresh window%3")
            .arg(slotCount)
            .arg(std::size(terms))
            .arg(withMemory ? QStringLiteral(", the whole result scrolled") : QString()));
}

// A long term over long texts: 500 "A" and "?B" against slots of textLength characters, nearly all
// "A". A matcher that tries the term at every position of the text takes term x text steps per slot.
void searchLongTerm(int runs, int slotCount, int textLength)
{
    const QString folder = makeProgramFolder(QStringLiteral("search-long-%1").arg(textLength), slotCount);
    const QString databasePath = QDir(folder).filePath(Schema::databaseFileName);
    {
        sqlite3 *db = openDatabase(databasePath, SQLITE_OPEN_READWRITE);
        execute(db, "BEGIN");
        sqlite3_stmt *update = prepare(db, "UPDATE Varnel SET Keywords = ? WHERE FileNumber = ?");
        for (int n = 1; n <= slotCount; ++n) {
            // One slot in ten ends in "B" after enough "A" to match.
            QString keywords(textLength, QLatin1Char('A'));
            if (n % 10 == 0)
                keywords.back() = QLatin1Char('B');
            bindText(update, 1, keywords);
            sqlite3_bind_int(update, 2, n);
            stepToEnd(db, update);
        }
        sqlite3_finalize(update);
        execute(db, "COMMIT");
        sqlite3_close(db);
    }
    const QString text = QString(500, QLatin1Char('A')) + QStringLiteral("?B");

    Dialogs dialogs;
    Startup::prepareProgramFolder(folder);
    MainWindow window(folder, &dialogs);
    window.show();
    QApplication::processEvents();
    sqlite3 *own = openSearching(databasePath);
    int rows = searchEndToEnd(window, text);
    expectSameRows(QStringLiteral("500 \"A\" and \"?B\""), slotCount / 10, rows, runStatement(own, keyQuerySql, text),
                   runStatement(own, perRowSql, text));
    QVector<double> searchTimes, keyTimes, perRowTimes, shortTimes;
    for (int i = 0; i < runs; ++i) {
        const QString distinct = variant(text, i);
        searchEndToEnd(window, interlude);
        searchTimes << elapsedMs([&] { rows = searchEndToEnd(window, distinct); });
        // The same rows found by a term of two letters: what listing and painting them costs.
        searchEndToEnd(window, interlude);
        shortTimes << elapsedMs([&] { searchEndToEnd(window, variant(QStringLiteral("AB"), i)); });
        keyTimes << elapsedMs([&] { runStatement(own, keyQuerySql, distinct); });
        perRowTimes << elapsedMs([&] { runStatement(own, perRowSql, distinct); });
    }
    sqlite3_close(own);
    if (checkOnly) {
        ran(QStringLiteral("long term over %1 slots of %2 characters").arg(slotCount).arg(textLength));
        return;
    }
    QTextStream out(stdout);
    out << QStringLiteral("\nlong term (500 \"A\" and \"?B\") over %1 slots of %2 characters: %3 rows; search %4 ms, "
                          "key query %5 ms, per-row function %6 ms; the same rows found by \"AB\": search %7 ms\n")
               .arg(slotCount)
               .arg(textLength)
               .arg(rows)
               .arg(median(searchTimes), 0, 'f', 2)
               .arg(median(keyTimes), 0, 'f', 2)
               .arg(median(perRowTimes), 0, 'f', 2)
               .arg(median(shortTimes), 0, 'f', 2);
    out.flush();
}

} // namespace

void search(int runs)
{
    if (checkOnly) {
        searchLongTerm(runs, 100, 1000);
        searchOneSize(300, runs, true);
        return;
    }
    searchLongTerm(runs, 1000, 1000);
    searchLongTerm(runs, 1000, 5000);
    if (qEnvironmentVariableIsSet("PAPYRA_BENCH_LONG_ONLY"))
        return;
    for (const int slotCount : {1000, 10000, 100000})
        searchOneSize(slotCount, runs, slotCount == 100000);
}

} // namespace Bench
