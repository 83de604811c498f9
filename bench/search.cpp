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
    sqlite3 *db = nullptr;
    sqlite3_open(QDir(folder).filePath(Schema::databaseFileName).toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?", -1,
                       &update, nullptr);
    SlotGenerator generator(20030531u);
    const int filled = slotCount * 2 / 3;
    for (int n = 1; n <= filled; ++n) {
        const Generated g = generator.next();
        bindText(update, 1, g.keywords);
        bindText(update, 2, g.category);
        bindText(update, 3, g.reminder);
        sqlite3_bind_int(update, 4, n);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("cannot fill benchmark database: %s", sqlite3_errmsg(db));
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
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        qFatal("benchmark query failed: %s", sqlite3_errmsg(db));
    const QByteArray utf8 = bound.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sqlite3_column_int64(statement, 0);
        ++rows;
    }
    sqlite3_finalize(statement);
    return rows;
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

void searchOneSize(int slotCount, int runs)
{
    const QString folder = makeFilledFolder(slotCount);
    const QString databasePath = QDir(folder).filePath(Schema::databaseFileName);
    const Term terms[] = {
        {"common word", "insurance"},           {"rare word", "sailboat"},
        {"wildcard, literal runs", "tax*200#"}, {"wildcard, single letters", "c?r"},
        {"empty text (every filled slot)", ""},
    };
    QTextStream out(stdout);
    out << "\n## " << slotCount << " slots, " << slotCount * 2 / 3 << " filled\n"
        << "| term | rows | raw scan rows | search ms | raw scan ms | search / raw | key query ms | per-row "
           "function ms | same text again ms |\n"
        << "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";

    Dialogs dialogs;
    Startup::prepareProgramFolder(folder);
    if (slotCount == 100000)
        resetPeakMemory();
    auto window = std::make_unique<MainWindow>(folder, &dialogs);
    window->show();
    QApplication::processEvents();

    // Connections of their own: SQLite's upper()/LIKE; the key query alone and the matcher called once
    // per row, without the window.
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(databasePath.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3 *perRow = nullptr;
    sqlite3_open_v2(databasePath.toUtf8().constData(), &perRow, SQLITE_OPEN_READONLY, nullptr);
    RowMatch::install(perRow);

    for (const Term &t : terms) {
        const QString text = QString::fromUtf8(t.text);
        const QString term = KeywordSearch::searchTerm(text);
        // Warm-up, then the four measured in turn within each run, so that a busy moment of the
        // machine weighs on all of them alike.
        int rows = searchEndToEnd(*window, text);
        const QString like = likePattern(term);
        int rawRows = runStatement(raw, rawScanSql, like);
        runStatement(perRow, keyQuerySql, term);
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
    out << QStringLiteral("of each search, restarting the tour (StartSlideShow): %1 ms\n")
               .arg(medianMs(runs, [&] { window->StartSlideShow(); }), 0, 'f', 2);
    if (slotCount == 100000) {
        // Scroll the whole result of the empty text through the grid: every row read once.
        searchEndToEnd(*window, QString());
        DataGrid *grid = window->searchGrid();
        grid->scrollToBottom();
        grid->viewport()->repaint();
        QApplication::processEvents();
        out << QStringLiteral("peak memory after full searches: %1 MB (resident now %2 MB)\n")
                   .arg(statusKb("VmHWM") / 1024.0, 0, 'f', 1)
                   .arg(statusKb("VmRSS") / 1024.0, 0, 'f', 1);
    }
    sqlite3_close(raw);
    sqlite3_close(perRow);
    window.reset();

    // The first search on a fresh connection pays for reading the index.
    QVector<double> firsts;
    for (int i = 0; i < std::max(3, runs / 2); ++i) {
        MainWindow fresh(folder, &dialogs);
        fresh.show();
        QApplication::processEvents();
        firsts.append(elapsedMs([&] { searchEndToEnd(fresh, QStringLiteral("insurance")); }));
    }
    out << QStringLiteral("first search after the database opens (reads the index), \"insurance\": %1 ms\n")
               .arg(median(firsts), 0, 'f', 2);
    out.flush();
}

// A long term over long texts: 500 "A" and "?B" against 1,000 slots of 1,000 characters, nearly all
// "A". A matcher that tries the term at every position of the text takes term x text steps per slot.
void searchLongTerm(int runs, int textLength)
{
    const int slotCount = 1000;
    const QString folder = makeProgramFolder(QStringLiteral("search-long-%1").arg(textLength), slotCount);
    const QString databasePath = QDir(folder).filePath(Schema::databaseFileName);
    {
        sqlite3 *db = nullptr;
        sqlite3_open(databasePath.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *update = nullptr;
        sqlite3_prepare_v2(db, "UPDATE Varnel SET Keywords = ? WHERE FileNumber = ?", -1, &update, nullptr);
        for (int n = 1; n <= slotCount; ++n) {
            // One slot in ten ends in "B" after enough "A" to match.
            QString keywords(textLength, QLatin1Char('A'));
            if (n % 10 == 0)
                keywords.back() = QLatin1Char('B');
            bindText(update, 1, keywords);
            sqlite3_bind_int(update, 2, n);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        sqlite3_finalize(update);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const QString text = QString(500, QLatin1Char('A')) + QStringLiteral("?B");

    Dialogs dialogs;
    Startup::prepareProgramFolder(folder);
    MainWindow window(folder, &dialogs);
    window.show();
    QApplication::processEvents();
    sqlite3 *own = nullptr;
    sqlite3_open_v2(databasePath.toUtf8().constData(), &own, SQLITE_OPEN_READONLY, nullptr);
    SqliteSearch::install(own);
    int rows = searchEndToEnd(window, text);
    runStatement(own, keyQuerySql, text);
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
    searchLongTerm(runs, 1000);
    searchLongTerm(runs, 5000);
    if (qEnvironmentVariableIsSet("PAPYRA_BENCH_LONG_ONLY"))
        return;
    for (const int slotCount : {1000, 10000, 100000})
        searchOneSize(slotCount, runs);
}

} // namespace Bench
