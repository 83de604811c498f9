// papyra-bench --table: the figures of a large index, each the median of fresh processes, with the
// anchors (what SQLite and the machine do for the same work) timed in the same run.
#include "BenchUtil.h"

#include "RowMatch.h"
#include "app/MainWindow.h"
#include "backup/AutoBackup.h"
#include "print/DatabaseReport.h"
#include "print/PageSurface.h"
#include "spreadsheet/SlotImport.h"
#include "spreadsheet/Workbook.h"
#include "store/DataSource.h"
#include "store/FileCopy.h"
#include "store/Schema.h"
#include "store/SqliteSearch.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sqlite3.h>
#include <unistd.h>

namespace Bench {

namespace {

QElapsedTimer processClock; // started as main() begins: start-up is timed from there

// 4,000 made-up words of two to four syllables; about one in fifty carries an accented letter.
QStringList vocabulary()
{
    const char *const syllables[] = {"ka", "ro", "mi",  "te",  "su",  "lo",  "ne",  "pa", "di",
                                     "vu", "ba", "ge",  "ho",  "ji",  "ze",  "fo",  "qu", "wi",
                                     "xa", "ly", "tor", "len", "mar", "bis", "cal", "dun"};
    const char *const accented[] = {"é", "ü", "ø", "ß"};
    std::mt19937 rng(4000);
    std::set<QString> seen;
    QStringList words;
    while (words.size() < 4000) {
        QString word;
        const int n = 2 + int(rng() % 3);
        for (int i = 0; i < n; ++i)
            word += QLatin1String(syllables[rng() % std::size(syllables)]);
        if (rng() % 50 == 0)
            word.insert(1, QString::fromUtf8(accented[rng() % std::size(accented)]));
        if (seen.insert(word).second)
            words << word;
    }
    return words;
}

// Rare terms: words picked far apart in the vocabulary; each search uses another one.
QString term(int i)
{
    static const QStringList words = vocabulary();
    return words.at((i * 997 + 13) % words.size());
}

bool exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    qWarning("%s: %s", sql, message);
    sqlite3_free(message);
    return false;
}

// Every slot filled: 3-8 words, a category in four slotCount of five, a reminder in one of four.
void generate(const QString &folder, int slotCount)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(Schema::databaseFileName);
    QFile::remove(path);
    QString error;
    if (!Schema::createDatabase(path, 0, Schema::defaultCategories(), 1, &error))
        fail(QStringLiteral("cannot make the database: %1").arg(error));
    const QStringList words = vocabulary();
    const QStringList categories = Schema::defaultCategories();
    std::mt19937 rng(20030531);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    exec(db, "PRAGMA synchronous = OFF");
    exec(db, "BEGIN");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Varnel (FileNumber, Keywords, Category, Reminder) VALUES (?, ?, ?, ?)", -1,
                       &insert, nullptr);
    for (int n = 1; n <= slotCount; ++n) {
        QStringList picked;
        const int count = 3 + int(rng() % 6);
        for (int i = 0; i < count; ++i)
            picked << words.at(int(rng() % 4000));
        const QByteArray keywords = picked.join(QLatin1Char(' ')).toUtf8();
        sqlite3_bind_int(insert, 1, n);
        sqlite3_bind_text(insert, 2, keywords.constData(), int(keywords.size()), SQLITE_TRANSIENT);
        const bool hasCategory = rng() % 5 != 0;
        const QByteArray category = categories.at(int(rng() % categories.size())).toUtf8();
        if (hasCategory)
            sqlite3_bind_text(insert, 3, category.constData(), int(category.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(insert, 3);
        const bool hasReminder = rng() % 4 == 0;
        const QByteArray reminder = QStringLiteral("%1-%2-%3")
                                        .arg(1998 + int(rng() % 9))
                                        .arg(1 + int(rng() % 12), 2, 10, QLatin1Char('0'))
                                        .arg(1 + int(rng() % 28), 2, 10, QLatin1Char('0'))
                                        .toLatin1();
        if (hasReminder)
            sqlite3_bind_text(insert, 4, reminder.constData(), int(reminder.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(insert, 4);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// The anchors' own file: the same slotCount in a plain FTS5 trigram table, as SQLite offers it.
void makeAnchor(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("anchor.db"));
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const QByteArray attach =
        "ATTACH '" + QFile::encodeName(QDir(folder).filePath(Schema::databaseFileName)) + "' AS v";
    exec(db, attach.constData());
    exec(db, "CREATE VIRTUAL TABLE anchor USING fts5(Keywords, Category, tokenize = 'trigram')");
    exec(db, "INSERT INTO anchor (rowid, Keywords, Category) SELECT FileNumber, Keywords, Category FROM v.Varnel");
    sqlite3_close(db);
}

void copyPictures(const QString &folder)
{
    const QDir programData(QStringLiteral(PAPYRA_PROGRAM_DIR));
    QDir().mkpath(folder + QStringLiteral("/slideshow/images"));
    for (const QString &f : QDir(programData.filePath(QStringLiteral("slideshow/images"))).entryList(QDir::Files))
        QFile::copy(programData.filePath(QStringLiteral("slideshow/images/") + f),
                    folder + QStringLiteral("/slideshow/images/") + f);
}

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

double timeMs(const std::function<void()> &fn)
{
    QElapsedTimer clock;
    clock.start();
    fn();
    return msSince(clock);
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

void result(const char *name, double value)
{
    QTextStream(stdout) << "RESULT " << name << ' ' << QString::number(value, 'f', 3) << Qt::endl;
}

QVector<qint64> keys(sqlite3 *db, const char *sql, const QString &bound)
{
    QVector<qint64> found;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        qFatal("%s: %s", sql, sqlite3_errmsg(db));
    const QByteArray value = bound.toUtf8();
    sqlite3_bind_text(statement, 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        found << sqlite3_column_int64(statement, 0);
    if (rc != SQLITE_DONE)
        qFatal("%s: %s", sql, sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return found;
}

sqlite3 *openDb(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

// The search's answer against the reference rule, read from the file on a connection of its own.
void checkAgainstOracle(const QString &database, const QString &text, const DataSource &search)
{
    sqlite3 *db = openDb(database);
    RowMatch::install(db);
    const QVector<qint64> expected = keys(
        db, "SELECT FileNumber FROM Varnel WHERE papyra_match(?1, Keywords, Category, Reminder) ORDER BY FileNumber",
        text.trimmed().toUpper());
    sqlite3_close(db);
    QVector<qint64> shown;
    for (int row = 0; row < search.recordCount(); ++row)
        shown << search.index(row, 0).data().toLongLong();
    if (shown != expected)
        qFatal("the search for \"%s\" lists %lld slots, the reference rule %lld", qPrintable(text),
               qint64(shown.size()), qint64(expected.size()));
}

// pages pages of the report's 10-point font holding glyphs glyphs and rules dashed rules in all,
// spread evenly, each page's glyphs one run and its rules one stroke.
void writePdfFloor(QPdfWriter *writer, int pages, qint64 glyphs, qint64 rules)
{
    const QFont font = PageSurface::fixedPitchFont(QStringLiteral("FixedSys"), 10);
    QRawFont raw = QRawFont::fromFont(font);
    raw.setPixelSize(font.pointSizeF() * writer->logicalDpiY() / 72.0);
    const QFontMetricsF metrics(font, writer);
    const qreal charWidth = metrics.horizontalAdvance(QLatin1Char('M')), lineHeight = metrics.lineSpacing();
    const QVector<quint32> alphabet = raw.glyphIndexesForString(
        QStringLiteral("FILE#KEYWORDS:CATEGORY:REMINDER:abcdefghijklmnopqrstuvwxyz0123456789/"));
    const int perLine = 30; // about what a line of the report holds besides its blanks
    QPen pen(Qt::black, lineHeight / 20, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({8, 4});
    QPainter painter(writer);
    qint64 placed = 0, ruled = 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer->newPage();
        const qint64 glyphEnd = glyphs * (page + 1) / pages, ruleEnd = rules * (page + 1) / pages;
        QVector<quint32> indexes;
        QVector<QPointF> positions;
        for (int i = 0; placed < glyphEnd; ++placed, ++i) {
            indexes.append(alphabet.at(int(placed % alphabet.size())));
            positions.append(QPointF((16 + i % perLine) * charWidth, (1 + i / perLine) * lineHeight));
        }
        QVector<QLineF> lines;
        for (int i = 0; ruled < ruleEnd; ++ruled, ++i)
            lines.append(
                QLineF(8 * charWidth, (1.5 + i * 6) * lineHeight, 145 * charWidth, (1.5 + i * 6) * lineHeight));
        painter.setPen(pen);
        painter.drawLines(lines);
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.end();
}

double searchPainted(MainWindow &window, const QString &text)
{
    return timeMs([&] {
        window.searchBox()->setText(text);
        emit window.searchBox()->returnPressed();
        QApplication::processEvents(); // paints the results panel, grdSearch's first screen included
    });
}

// One fresh process's figures; prints RESULT lines.
int child(const QString &what, const QString &folder, int round)
{
    const QString database = QDir(folder).filePath(Schema::databaseFileName);
    AnsweringDialogs dialogs;
    if (what == QLatin1String("bare")) {
        QWidget bare;
        bare.resize(700, 560);
        bare.show();
        QApplication::processEvents();
        result("startup", msSince(processClock));
        result("memory", double(statusKb("VmHWM")) / 1024.0);
        return 0;
    }
    if (what == QLatin1String("connection")) {
        // The matching itself against the anchors, each on a fresh connection.
        const QString first = term(100 + round), next = term(200 + round);
        sqlite3 *anchor = openDb(QDir(folder).filePath(QStringLiteral("anchor.db")));
        const char *anchorSql = "SELECT rowid FROM anchor WHERE anchor MATCH ?1";
        auto quoted = [](const QString &t) { return QLatin1Char('"') + t + QLatin1Char('"'); };
        result("fts-first", timeMs([&] { keys(anchor, anchorSql, quoted(first)); }));
        result("fts", timeMs([&] { keys(anchor, anchorSql, quoted(next)); }));
        sqlite3_close(anchor);
        sqlite3 *db = openDb(database);
        if (!SqliteSearch::install(db))
            qFatal("cannot install the search");
        const char *keySql = "SELECT FileNumber FROM Varnel WHERE FileNumber IN papyra_hits(?1) ORDER BY FileNumber";
        result("key-first", timeMs([&] { keys(db, keySql, first); }));
        result("key", timeMs([&] { keys(db, keySql, next); }));
        sqlite3_close(db);
        sqlite3 *raw = openDb(database);
        result("like", timeMs([&] {
                   keys(raw,
                        "SELECT FileNumber FROM Varnel WHERE upper(Keywords) LIKE ?1 OR upper(Category) LIKE ?1 "
                        "OR Reminder LIKE ?1",
                        QLatin1Char('%') + term(300 + round).toUpper() + QLatin1Char('%'));
               }));
        sqlite3_close(raw);
        return 0;
    }

    MainWindow window(folder, &dialogs);
    window.show();
    QApplication::processEvents();
    if (what == QLatin1String("startup")) {
        result("startup", msSince(processClock));
        // What follows the first paint before the window waits for input: the reminders' due count,
        // and the search's list of distinct reminders read ahead.
        result("settle", timeMs([] { QApplication::processEvents(); }));
        return 0;
    }
    // The window settles (the work after its first paint) before anything is timed: a user's first
    // keystroke cannot come sooner.
    QApplication::processEvents();
    if (what == QLatin1String("search")) {
        const QString first = term(10 + round);
        result("first", searchPainted(window, first));
        checkAgainstOracle(database, first, window.store().search());
        QVector<double> times;
        for (int i = 0; i < 3; ++i) {
            const QString text = term(20 + 3 * round + i);
            times << searchPainted(window, text);
            checkAgainstOracle(database, text, window.store().search());
        }
        result("search", median(times));
        return 0;
    }
    if (what == QLatin1String("memory")) {
        searchPainted(window, QString());
        result("memory", double(statusKb("VmHWM")) / 1024.0);
        return 0;
    }
    if (what == QLatin1String("tabs")) {
        searchPainted(window, term(30 + round));
        double worst = 0;
        for (const qint16 tab : {3, 4, 5, 1, 2, 3, 2})
            worst = std::max(worst, timeMs([&] {
                                 window.SwitchTab(tab);
                                 QApplication::processEvents();
                             }));
        result("tab", worst);
        // An edit on Search Results, written when its row is left, then the Add Files tab.
        DataGrid *grid = window.searchGrid();
        if (grid->model()->rowCount() < 2)
            qFatal("the search found too few slots to edit one");
        grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->model()->setData(grid->currentIndex(), term(40 + round) + QStringLiteral(" edited"));
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QApplication::processEvents();
        result("tab-after-edit", timeMs([&] {
                   window.SwitchTab(3);
                   QApplication::processEvents();
               }));
        return 0;
    }
    if (what == QLatin1String("copies")) {
        searchPainted(window, term(50 + round)); // a search on show, run again after each copy
        dialogs.file = QDir(folder).filePath(QStringLiteral("Papyra.bkp"));
        result("backup", timeMs([&] {
                   window.action(QStringLiteral("mnuBackup"))->trigger();
                   QApplication::processEvents();
               }));
        result("restore", timeMs([&] {
                   window.action(QStringLiteral("mnuRestore"))->trigger();
                   QApplication::processEvents();
               }));
        if (dialogs.messages != 2)
            qFatal("a backup or restore failed");
        // Anchors: the plain copy made safe on disk, and SQLite's own check of the file.
        result("copy-fsync", timeMs([&] {
                   const QString to = QDir(folder).filePath(QStringLiteral("plain.copy"));
                   QFile::remove(to);
                   QFile::copy(database, to);
                   QFile out(to);
                   out.open(QIODevice::ReadWrite);
                   ::fsync(out.handle());
               }));
        sqlite3 *db = openDb(database);
        result("integrity", timeMs([&] { exec(db, "PRAGMA integrity_check"); }));
        sqlite3_close(db);
        return 0;
    }
    if (what == QLatin1String("csv")) {
        dialogs.file = QDir(folder).filePath(QStringLiteral("slots.csv"));
        result("export", timeMs([&] {
                   window.action(QStringLiteral("mnuExport"))->trigger();
                   QApplication::processEvents();
               }));
        result("import", timeMs([&] {
                   window.action(QStringLiteral("mnuImport"))->trigger();
                   QApplication::processEvents();
               }));
        if (dialogs.messages < 2)
            qFatal("the export or the import failed");
        // Where the time goes: each part of the import and the export timed alone, on the same file.
        {
            RecordStore &store = window.store();
            QByteArray bytes;
            QString error;
            Csv::Table table;
            result("import-read", timeMs([&] {
                       SlotImport::readFile(dialogs.file, &bytes, &error);
                       Workbook::read(bytes, &table, &error);
                   }));
            SlotImport::Plan plan;
            result("import-plan", timeMs([&] {
                       QHash<qint64, QString> existing;
                       store.slotKeywords(&existing, &error);
                       plan = SlotImport::plan(table, existing);
                   }));
            result("import-snapshot", timeMs([&] {
                       if (!AutoBackup::take(store.engine(), store.dataFolder(), QString()).ok)
                           qFatal("the snapshot failed");
                   }));
            result("import-write", timeMs([&] {
                       if (!SlotImport::apply(store, plan, &error))
                           qFatal("the import failed: %s", qPrintable(error));
                   }));
            QVector<SlotValues> filled;
            result("export-read", timeMs([&] { store.filledSlots(&filled, &error); }));
            result("export-save", timeMs([&] {
                       FileCopy::writeAtomically(bytes, QDir(folder).filePath(QStringLiteral("again.csv")), &error);
                   }));
        }
        const QString cliOut = QDir(folder).filePath(QStringLiteral("cli.csv"));
        // The anchors need SQLite's own command-line tool; without it their figures would mean nothing.
        auto cli = [](int status) {
            if (status != 0)
                qFatal("the sqlite3 command-line tool (Debian package sqlite3) failed or is missing");
        };
        result("cli-export", timeMs([&] {
                   cli(QProcess::execute(
                       QStringLiteral("sh"),
                       {QStringLiteral("-c"),
                        QStringLiteral("sqlite3 -csv -header '%1' 'SELECT FileNumber, Keywords, Category, "
                                       "Reminder FROM Varnel' > '%2'")
                            .arg(database, cliOut)}));
               }));
        const QString scratch = QDir(folder).filePath(QStringLiteral("cli-import.db"));
        QFile::remove(scratch);
        result("cli-import", timeMs([&] {
                   cli(QProcess::execute(QStringLiteral("sqlite3"), {scratch, QStringLiteral(".mode csv"),
                                                                     QStringLiteral(".import '%1' t").arg(cliOut)}));
               }));
        return 0;
    }
    if (what == QLatin1String("report")) {
        dialogs.file = QDir(folder).filePath(QStringLiteral("report.pdf"));
        window.SwitchTab(3);
        QApplication::processEvents();
        result("report", timeMs([&] {
                   window.action(QStringLiteral("mnuPrint"))->trigger();
                   QApplication::processEvents();
               }));
        // The floor: Qt's PDF writer alone, writing as many glyphs and rules on as many pages, placed
        // on the same grid in the same font, with no slot read and no line laid out.
        QBuffer counted;
        counted.open(QIODevice::WriteOnly);
        QPdfWriter countWriter(&counted);
        countWriter.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                              QMarginsF(36, 36, 36, 36), QPageLayout::Point));
        PageSurface count(&countWriter);
        DatabaseReport::write(window.store().file(), count, QDate::currentDate());
        result("pdf-floor", timeMs([&] {
                   QBuffer out;
                   out.open(QIODevice::WriteOnly);
                   QPdfWriter writer(&out);
                   writer.setPageLayout(countWriter.pageLayout());
                   writePdfFloor(&writer, count.pageCount(), count.glyphsDrawn(), count.rulesDrawn());
               }));
        return 0;
    }
    qFatal("unknown figure %s", qPrintable(what));
}

using Results = std::map<QString, QVector<double>>;

// Runs `runs` fresh processes for one figure and gathers their RESULT lines.
void runChildren(const QString &what, const QString &folder, int runs, Results *results, const QString &copyFrom = {})
{
    for (int i = 0; i < runs; ++i) {
        if (!copyFrom.isEmpty()) { // the copies and the import change the file: each run gets its own
            QFile::remove(QDir(folder).filePath(Schema::databaseFileName));
            QFile::copy(QDir(copyFrom).filePath(Schema::databaseFileName),
                        QDir(folder).filePath(Schema::databaseFileName));
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"), what, folder, QString::number(i)});
        process.waitForFinished(-1);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            fail(QStringLiteral("the %1 run failed").arg(what));
        for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.size() == 3 && parts[0] == QLatin1String("RESULT"))
                (*results)[parts[1]] << parts[2].toDouble();
        }
    }
}

QString fmt(const Results &r, const char *name, int decimals = 1)
{
    const auto found = r.find(QLatin1String(name));
    if (found == r.end() || found->second.isEmpty())
        return QStringLiteral("–");
    return QString::number(median(found->second), 'f', decimals);
}

double med(const Results &r, const char *name)
{
    const auto found = r.find(QLatin1String(name));
    return found == r.end() || found->second.isEmpty() ? 0 : median(found->second);
}

QString machine()
{
    QFile cpu(QStringLiteral("/proc/cpuinfo"));
    cpu.open(QIODevice::ReadOnly);
    const auto m =
        QRegularExpression(QStringLiteral("model name\\s*:\\s*(.*)")).match(QString::fromLatin1(cpu.readAll()));
    QFile load(QStringLiteral("/proc/loadavg"));
    load.open(QIODevice::ReadOnly);
    return QStringLiteral("%1, %2 cores, %3, Qt %4, SQLite %5, load average %6")
        .arg(m.captured(1).trimmed())
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion()),
             QString::fromLatin1(load.readAll()).section(QLatin1Char(' '), 0, 2));
}

} // namespace

void startProcessClock()
{
    processClock.start();
}

int tableChild(const QStringList &args)
{
    return child(args.value(0), args.value(1), args.value(2).toInt());
}

// The table for one size of index. The database is made once and kept under the temp folder.
void table(int slotCount, int runs, bool withSlowFigures)
{
    QTextStream out(stdout);
    const QString base = QDir::temp().filePath(QStringLiteral("papyra-bench/table-%1").arg(slotCount));
    const QString kept = base + QStringLiteral("/kept");
    if (checkOnly) // a kept database of an earlier build must not stand in for this one's
        QDir(base).removeRecursively();
    if (!QFileInfo::exists(kept + QStringLiteral("/anchor.db"))) {
        if (!checkOnly)
            out << "making " << slotCount << " slots in " << kept << " ..." << Qt::endl;
        generate(kept, slotCount);
        copyPictures(kept);
        QString error;
        const double indexMs = timeMs([&] {
            RecordStore store(kept);
            if (!store.open(&error))
                fail(QStringLiteral("cannot open the generated index: %1").arg(error));
        });
        if (!checkOnly)
            out << "search index built in " << QString::number(indexMs / 1000.0, 'f', 1) << " s" << Qt::endl;
        makeAnchor(kept);
    }
    Results r;
    runChildren(QStringLiteral("bare"), kept, runs, &r);
    Results bare = r;
    r.clear();
    for (const char *what : {"connection", "search", "startup", "tabs", "memory"})
        runChildren(QLatin1String(what), kept, runs, &r);
    const QString scratch = base + QStringLiteral("/scratch");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    copyPictures(scratch);
    runChildren(QStringLiteral("copies"), scratch, runs, &r, kept);
    if (withSlowFigures)
        runChildren(QStringLiteral("csv"), scratch, runs, &r, kept);
    if (checkOnly) {
        ran(QStringLiteral("large-index table, %1 slots: every figure in a fresh process, each search checked "
                           "against the reference rule")
                .arg(slotCount));
        return;
    }

    out << "\n" << machine() << "\n";
    out << QString::number(slotCount) << " slots, every one filled; medians of " << runs
        << " fresh processes; milliseconds unless marked\n\n";
    out << "| Figure | Target | Measured | Anchor in the same run |\n|---|---|---|---|\n";
    const bool big = slotCount >= 1000000;
    out << "| search of a rare term, results painted | " << (big ? "<= 15" : "<= 5") << " | " << fmt(r, "search")
        << " | FTS5 trigram query " << fmt(r, "fts", 2) << "; raw `upper() LIKE` scan " << fmt(r, "like") << " |\n";
    out << "| the matching itself (the key query alone) | <= 2x FTS5 | " << fmt(r, "key", 2) << " ("
        << QString::number(med(r, "key") / std::max(0.001, med(r, "fts")), 'f', 1) << "x) | FTS5 trigram query "
        << fmt(r, "fts", 2) << " |\n";
    out << "| first search after opening | " << (big ? "<= 50" : "<= 20") << " | " << fmt(r, "first")
        << " (key query on a fresh connection " << fmt(r, "key-first", 2) << ") | FTS5 on a fresh connection "
        << fmt(r, "fts-first", 2) << " |\n";
    out << "| start-up to painted window | " << (big ? "<= 150" : "<= 60") << " | " << fmt(r, "startup")
        << " | a bare Qt window " << fmt(bare, "startup") << " |\n";
    out << "| then, after the first paint: the due count, the search's reminders read ahead | | " << fmt(r, "settle")
        << " | |\n";
    out << "| any tab change (slowest of seven) | " << (big ? "<= 15" : "<= 10") << " | " << fmt(r, "tab") << " | |\n";
    out << "| Add Files tab after an edit on Search Results | " << (big ? "<= 15" : "<= 10") << " | "
        << fmt(r, "tab-after-edit") << " | |\n";
    const double copyAnchor = med(r, "copy-fsync") + med(r, "integrity");
    out << "| backup / restore with a search on show | <= 2x anchor (" << QString::number(2 * copyAnchor, 'f', 0)
        << ") | " << fmt(r, "backup", 0) << " / " << fmt(r, "restore", 0) << " | copy + fsync "
        << fmt(r, "copy-fsync", 0) << "; integrity_check " << fmt(r, "integrity", 0) << " |\n";
    if (withSlowFigures)
        out << "| CSV export / import | <= 1.5x CLI (" << QString::number(1.5 * med(r, "cli-export"), 'f', 0) << " / "
            << QString::number(1.5 * med(r, "cli-import"), 'f', 0) << ") | " << fmt(r, "export", 0) << " / "
            << fmt(r, "import", 0) << " | sqlite3 CLI " << fmt(r, "cli-export", 0) << " / " << fmt(r, "cli-import", 0)
            << " |\n";
    if (withSlowFigures)
        out << "| CSV import, its parts | | read and parse " << fmt(r, "import-read", 0) << "; plan "
            << fmt(r, "import-plan", 0) << "; snapshot " << fmt(r, "import-snapshot", 0) << "; write "
            << fmt(r, "import-write", 0) << " | |\n| CSV export, its parts | | read the slots "
            << fmt(r, "export-read", 0) << "; save (write + fsync) " << fmt(r, "export-save", 0) << " | |\n";
    out << "| peak memory after an empty search | " << (big ? "<= 120 MB" : "<= 50 MB") << " | " << fmt(r, "memory")
        << " MB | bare window " << fmt(bare, "memory") << " MB |\n";
    out << "\nEvery timed search was checked against the reference rule (tests/support/RowMatch): same slots."
        << Qt::endl;
}

void reportTable(int slotCount, int runs)
{
    const QString base = QDir::temp().filePath(QStringLiteral("papyra-bench/report-%1").arg(slotCount));
    QDir(base).removeRecursively();
    generate(base, slotCount);
    copyPictures(base);
    Results r;
    runChildren(QStringLiteral("report"), base, runs, &r);
    if (checkOnly) {
        ran(QStringLiteral("report to PDF table, %1 slots, in a fresh process").arg(slotCount));
        return;
    }
    QTextStream(stdout) << "| report to PDF, " << slotCount << " slots | " << fmt(r, "report", 0)
                        << " | Qt's PDF writer alone, the same glyphs, rules and pages " << fmt(r, "pdf-floor", 0)
                        << " |" << Qt::endl;
}

} // namespace Bench
