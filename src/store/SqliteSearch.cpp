#include "store/SqliteSearch.h"

#include "store/Dates.h"
#include "store/Pattern.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace SqliteSearch {

// Converting dates is the dearest part of reading the table, and a drawer holds few distinct
// dates, so each is converted once.
void appendSearchable(std::string &out, Field field, std::string_view stored, ShownDates &shownDates)
{
    if (field != Reminder) {
        Pattern::appendFolded(out, stored);
        return;
    }
    auto shown = shownDates.find(std::string(stored));
    if (shown == shownDates.end()) {
        const QString text = Dates::storageToDisplay(QString::fromUtf8(stored.data(), qsizetype(stored.size())));
        shown = shownDates.emplace(std::string(stored), Pattern::foldUtf8(text.toUtf8().toStdString())).first;
    }
    out += shown->second;
}

Pattern searchPattern(std::string_view term)
{
    return Pattern(QLatin1Char('*') + QString::fromUtf8(term.data(), qsizetype(term.size())) + QLatin1Char('*'));
}

std::string_view textOf(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(value))) : std::string_view();
}

} // namespace SqliteSearch

namespace {

using namespace SqliteSearch;

// Raised whenever the index's form or the folding changes, so that files indexed before are
// indexed again.
QString indexVersion()
{
    return QStringLiteral("2 unicode %1").arg(int(QChar::currentUnicodeVersion()));
}

struct OwnObject {
    const char *type, *name, *sql;
};

const OwnObject ownObjects[] = {
    {"table", "papyra_meta", "CREATE TABLE papyra_meta (name TEXT PRIMARY KEY, value TEXT)"},
    {"table", "papyra_changed", "CREATE TABLE papyra_changed (slot INTEGER)"},
    {"index", "papyra_reminder", "CREATE INDEX papyra_reminder ON Varnel (Reminder)"},
    // The slot numbers alone, a fraction of the table's size, for reading the slot list.
    {"index", "papyra_slots", "CREATE INDEX papyra_slots ON Varnel (FileNumber)"},
    {"table", "papyra_index",
     "CREATE VIRTUAL TABLE papyra_index USING fts5(keywords, category, loose_keywords, loose_category, tokenize = "
     "'trigram case_sensitive 1', detail = none)"},
    {"trigger", "papyra_slot_added",
     "CREATE TRIGGER papyra_slot_added AFTER INSERT ON Varnel BEGIN INSERT INTO papyra_changed (slot) VALUES "
     "(NEW.FileNumber); END"},
    // A row written again with the values it holds (an import of the file's own export) logs nothing.
    {"trigger", "papyra_slot_changed",
     "CREATE TRIGGER papyra_slot_changed AFTER UPDATE ON Varnel WHEN OLD.FileNumber IS NOT NEW.FileNumber OR "
     "OLD.Keywords IS NOT NEW.Keywords OR OLD.Category IS NOT NEW.Category OR OLD.Reminder IS NOT NEW.Reminder "
     "BEGIN INSERT INTO papyra_changed (slot) VALUES (OLD.FileNumber); INSERT INTO papyra_changed (slot) SELECT "
     "NEW.FileNumber WHERE NEW.FileNumber IS NOT OLD.FileNumber; END"},
    {"trigger", "papyra_slot_removed",
     "CREATE TRIGGER papyra_slot_removed AFTER DELETE ON Varnel BEGIN INSERT INTO papyra_changed (slot) VALUES "
     "(OLD.FileNumber); END"},
};

// The tables FTS5 keeps for papyra_index.
bool isIndexShadow(const QString &name)
{
    static const QStringList shadows{QStringLiteral("papyra_index_data"), QStringLiteral("papyra_index_idx"),
                                     QStringLiteral("papyra_index_content"), QStringLiteral("papyra_index_docsize"),
                                     QStringLiteral("papyra_index_config")};
    return shadows.contains(name, Qt::CaseInsensitive);
}

// A statement finalized when it goes out of scope: none may stay open, or the connection could
// not close.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        m_ok = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    bool ok() const { return m_ok; }
    sqlite3_stmt *get() const { return m_statement; }
    operator sqlite3_stmt *() const { return m_statement; }

private:
    sqlite3_stmt *m_statement = nullptr;
    bool m_ok = false;
};

bool exec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string foldedText(sqlite3_value *value)
{
    return Pattern::foldUtf8(textOf(value));
}

// Writes one slot's folded keywords and category into the index, or nothing when it holds neither.
// A field that has accents or "ß" is also written loosened (Pattern::loosen), which is what the
// index is searched by for a search that forgives accents; the folded fields confirm the matches.
bool indexSlot(sqlite3_stmt *insert, sqlite3_int64 slot, sqlite3_value *keywords, sqlite3_value *category)
{
    if (sqlite3_value_type(keywords) == SQLITE_NULL && sqlite3_value_type(category) == SQLITE_NULL)
        return true;
    sqlite3_bind_int64(insert, 1, slot);
    int column = 2;
    for (sqlite3_value *value : {keywords, category}) {
        if (sqlite3_value_type(value) == SQLITE_NULL) {
            sqlite3_bind_null(insert, column);
            sqlite3_bind_null(insert, column + 2);
        } else {
            const std::string folded = foldedText(value);
            sqlite3_bind_text(insert, column, folded.data(), int(folded.size()), SQLITE_TRANSIENT);
            const std::string loose = Pattern::loosen(folded);
            if (loose == folded)
                sqlite3_bind_null(insert, column + 2);
            else
                sqlite3_bind_text(insert, column + 2, loose.data(), int(loose.size()), SQLITE_TRANSIENT);
        }
        ++column;
    }
    const bool ok = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
    return ok;
}

// Whether the file holds the index in its current form with every object as the program makes it.
bool indexIsCurrent(sqlite3 *db)
{
    int found = 0;
    {
        Statement objects(db,
                          "SELECT type, name, sql FROM main.sqlite_schema WHERE name LIKE 'papyra\\_%' ESCAPE '\\'");
        if (!objects.ok())
            return false;
        while (sqlite3_step(objects) == SQLITE_ROW) {
            const auto text = [&](int c) {
                return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects, c)));
            };
            const QString type = text(0), name = text(1);
            if (type == QLatin1String("table") && isIndexShadow(name))
                continue;
            if (!isOwnObject(type, name, text(2)))
                return false;
            ++found;
        }
    }
    if (found != int(std::size(ownObjects)))
        return false;
    Statement version(db, "SELECT value FROM papyra_meta WHERE name = 'search index'");
    return version.ok() && sqlite3_step(version) == SQLITE_ROW &&
           QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(version, 0))) == indexVersion();
}

// Drops whatever the file holds under the index's names and builds the index from Varnel.
bool rebuild(sqlite3 *db)
{
    if (!exec(db, "BEGIN IMMEDIATE"))
        return false;
    bool ok = true;
    for (const char *drop : {"DROP TRIGGER IF EXISTS papyra_slot_added", "DROP TRIGGER IF EXISTS papyra_slot_changed",
                             "DROP TRIGGER IF EXISTS papyra_slot_removed", "DROP INDEX IF EXISTS papyra_reminder",
                             "DROP INDEX IF EXISTS papyra_slots", "DROP TABLE IF EXISTS papyra_index",
                             "DROP TABLE IF EXISTS papyra_changed", "DROP TABLE IF EXISTS papyra_meta"})
        ok = ok && exec(db, drop);
    for (const OwnObject &object : ownObjects)
        ok = ok && exec(db, object.sql);
    if (ok) {
        Statement slotRows(db, "SELECT FileNumber, Keywords, Category FROM Varnel");
        Statement insert(db, "INSERT INTO papyra_index (rowid, keywords, category, loose_keywords, loose_category) "
                             "VALUES (?, ?, ?, ?, ?)");
        ok = slotRows.ok() && insert.ok();
        int rc = SQLITE_DONE;
        while (ok && (rc = sqlite3_step(slotRows)) == SQLITE_ROW)
            ok = indexSlot(insert, sqlite3_column_int64(slotRows, 0), sqlite3_column_value(slotRows, 1),
                           sqlite3_column_value(slotRows, 2));
        ok = ok && rc == SQLITE_DONE;
    }
    // One segment answers a query with one lookup per trigram.
    ok = ok && exec(db, "INSERT INTO papyra_index (papyra_index) VALUES ('optimize')");
    if (ok) {
        Statement version(db, "INSERT INTO papyra_meta (name, value) VALUES ('search index', ?)");
        const QByteArray text = indexVersion().toUtf8();
        ok = version.ok() &&
             sqlite3_bind_text(version, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT) == SQLITE_OK &&
             sqlite3_step(version) == SQLITE_DONE;
    }
    ok = ok && exec(db, "COMMIT");
    if (!ok)
        exec(db, "ROLLBACK");
    return ok;
}

bool takeInLog(sqlite3 *db)
{
    if (!sqlite3_get_autocommit(db) || !exec(db, "BEGIN IMMEDIATE"))
        return false;
    bool ok;
    {
        Statement changed(db, "SELECT DISTINCT slot FROM papyra_changed");
        Statement remove(db, "DELETE FROM papyra_index WHERE rowid = ?");
        Statement read(db, "SELECT Keywords, Category FROM Varnel WHERE FileNumber = ?");
        Statement insert(db, "INSERT INTO papyra_index (rowid, keywords, category, loose_keywords, loose_category) "
                             "VALUES (?, ?, ?, ?, ?)");
        ok = changed.ok() && remove.ok() && read.ok() && insert.ok();
        int rc = SQLITE_DONE;
        while (ok && (rc = sqlite3_step(changed)) == SQLITE_ROW) {
            const sqlite3_int64 slot = sqlite3_column_int64(changed, 0);
            sqlite3_bind_int64(remove, 1, slot);
            ok = sqlite3_step(remove) == SQLITE_DONE;
            sqlite3_reset(remove);
            sqlite3_bind_int64(read, 1, slot);
            const int found = sqlite3_step(read);
            if (ok && found == SQLITE_ROW)
                ok = indexSlot(insert, slot, sqlite3_column_value(read, 0), sqlite3_column_value(read, 1));
            else
                ok = ok && found == SQLITE_DONE;
            sqlite3_reset(read);
        }
        ok = ok && rc == SQLITE_DONE;
    }
    ok = ok && exec(db, "DELETE FROM papyra_changed") && exec(db, "COMMIT");
    if (!ok)
        exec(db, "ROLLBACK");
    return ok;
}

int logLength(sqlite3 *db)
{
    Statement count(db, "SELECT count(*) FROM papyra_changed");
    return count.ok() && sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : 0;
}

// The search of one connection: whether its file holds a usable index, and the distinct reminders
// with their shown forms, which a drawer holds few of.
class Searcher
{
public:
    explicit Searcher(sqlite3 *db) : m_db(db) {}

    void prepareIndex()
    {
        m_indexed = indexIsCurrent(m_db) || rebuild(m_db);
        if (m_indexed && logLength(m_db) > 0)
            takeInLog(m_db);
        m_datesKey.clear();
    }

    void flush(int longerThan)
    {
        if (m_indexed && sqlite3_get_autocommit(m_db) && logLength(m_db) > longerThan)
            takeInLog(m_db);
    }

    bool search(std::string_view term, std::vector<sqlite3_int64> *hits, std::string *error);
    // The distinct reminders, read again when another connection has committed since.
    bool readReminders();
    bool usesIndex() const { return m_indexed; }

private:
    bool scanTable(const Pattern &pattern, std::vector<sqlite3_int64> *hits);
    bool searchIndex(const Pattern &pattern, const std::string &loose, std::vector<sqlite3_int64> *hits);
    bool searchReminders(const Pattern &pattern, std::vector<sqlite3_int64> *hits);
    bool confirm(const Pattern &pattern, sqlite3_value *keywords, sqlite3_value *category, std::string &buffer) const;
    std::string trigramQuery(const std::string &run) const;

    sqlite3 *m_db;
    bool m_indexed = false;
    std::string m_datesKey; // data_version and date form the dates below were read at
    struct StoredDate {
        std::string text;                     // the stored reminder read as text
        std::string shown;                    // its folded shown form, once needed
        std::shared_ptr<sqlite3_value> value; // as stored, to look its slots up by
        bool isDate;                          // a date in the stored form (worked out once, not per search)
    };
    static bool isDate(const std::string &stored)
    {
        return Dates::fromStorage(QString::fromUtf8(stored.data(), qsizetype(stored.size()))).isValid();
    }
    std::vector<StoredDate> m_dates;
    std::string m_dateCharacters;
    ShownDates m_shownDates;
    QString m_shownForm; // the form of the dates in m_shownDates
};

// Splits UTF-8 text into its characters' byte ranges.
std::vector<std::string_view> characters(const std::string &text)
{
    std::vector<std::string_view> out;
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        out.emplace_back(text.data() + i, n);
        i += n;
    }
    return out;
}

// The trigrams of `run`, each quoted for MATCH, once each, with the place of its first character.
struct Trigram {
    std::string quoted;
    size_t at;
};

std::vector<Trigram> trigramsOf(const std::string &run)
{
    const std::vector<std::string_view> chars = characters(run);
    std::vector<Trigram> trigrams;
    for (size_t i = 0; i + 3 <= chars.size(); ++i) {
        std::string trigram = "\"";
        for (size_t j = i; j < i + 3; ++j) {
            for (const char c : chars[j])
                trigram += c == '"' ? std::string("\"\"") : std::string(1, c);
        }
        trigram += '"';
        if (std::none_of(trigrams.cbegin(), trigrams.cend(), [&](const Trigram &t) { return t.quoted == trigram; }))
            trigrams.push_back({trigram, i});
    }
    return trigrams;
}

// The FTS5 query for the slots holding `run`. Every such slot holds each of its trigrams, so any of
// them finds a superset, which the matcher confirms. FTS5 reads the whole list of every trigram it is
// asked for, and in a large index the common ones stand in hundreds of thousands of slots (the AND
// of a nine-letter word's seven trigrams cost six times the AND of its two rarest at a million
// slots): so the two rarest that do not overlap are asked for. A trigram's rarity is told by the slot
// number of its 256th slot, a short read of the start of its list: the further on, the rarer.
std::string Searcher::trigramQuery(const std::string &run) const
{
    std::vector<Trigram> trigrams = trigramsOf(run);
    if (trigrams.size() > 2) {
        Statement probe(m_db, "SELECT rowid FROM papyra_index WHERE papyra_index MATCH ? LIMIT 1 OFFSET 255");
        std::vector<std::pair<sqlite3_int64, size_t>> reach; // (256th slot, trigram), rarest first below
        for (size_t i = 0; probe.ok() && i < trigrams.size(); ++i) {
            sqlite3_bind_text(probe, 1, trigrams[i].quoted.data(), int(trigrams[i].quoted.size()), SQLITE_STATIC);
            const int rc = sqlite3_step(probe);
            if (rc == SQLITE_ROW)
                reach.emplace_back(sqlite3_column_int64(probe, 0), i);
            else if (rc == SQLITE_DONE) // fewer than 256 slots
                reach.emplace_back(std::numeric_limits<sqlite3_int64>::max(), i);
            sqlite3_reset(probe);
        }
        if (reach.size() == trigrams.size()) { // else all of them, as without the estimate
            std::stable_sort(reach.begin(), reach.end(),
                             [](const auto &a, const auto &b) { return a.first > b.first; });
            const Trigram &rarest = trigrams[reach.front().second];
            auto second = std::find_if(reach.cbegin() + 1, reach.cend(), [&](const auto &r) {
                const size_t at = trigrams[r.second].at;
                return at >= rarest.at + 3 || at + 3 <= rarest.at;
            });
            if (second == reach.cend())
                second = reach.cbegin() + 1;
            trigrams = {rarest, trigrams[second->second]};
        }
    }
    std::string query;
    for (const Trigram &trigram : trigrams)
        query += (query.empty() ? "" : " AND ") + trigram.quoted;
    return query;
}

bool Searcher::confirm(const Pattern &pattern, sqlite3_value *keywords, sqlite3_value *category,
                       std::string &buffer) const
{
    for (sqlite3_value *value : {keywords, category}) {
        if (sqlite3_value_type(value) == SQLITE_NULL)
            continue;
        buffer.clear();
        Pattern::appendFolded(buffer, textOf(value));
        if (pattern.matches(buffer))
            return true;
    }
    return false;
}

bool Searcher::search(std::string_view term, std::vector<sqlite3_int64> *hits, std::string *error)
{
    const Pattern pattern = searchPattern(term);
    hits->clear();
    // Shown dates follow the locale.
    const QString form = Dates::shownForm();
    if (form != m_shownForm) {
        m_shownDates.clear();
        m_datesKey.clear();
        m_shownForm = form;
    }
    // The index is searched for the loosened text, which a match holds whatever accents it has.
    const std::string loose = Pattern::loosen(pattern.requiredText());
    const bool viaIndex = m_indexed && characters(loose).size() >= 3;
    const bool ok =
        viaIndex ? searchIndex(pattern, loose, hits) && searchReminders(pattern, hits) : scanTable(pattern, hits);
    if (!ok) {
        *error = sqlite3_errmsg(m_db);
        return false;
    }
    std::sort(hits->begin(), hits->end());
    hits->erase(std::unique(hits->begin(), hits->end()), hits->end());
    return true;
}

bool Searcher::scanTable(const Pattern &pattern, std::vector<sqlite3_int64> *hits)
{
    Statement slotRows(m_db, "SELECT FileNumber, Keywords, Category, Reminder FROM Varnel");
    if (!slotRows.ok())
        return false;
    std::string buffer;
    int rc;
    while ((rc = sqlite3_step(slotRows)) == SQLITE_ROW) {
        bool hit = confirm(pattern, sqlite3_column_value(slotRows, 1), sqlite3_column_value(slotRows, 2), buffer);
        sqlite3_value *reminder = sqlite3_column_value(slotRows, 3);
        if (!hit && sqlite3_value_type(reminder) != SQLITE_NULL) {
            buffer.clear();
            appendSearchable(buffer, Reminder, textOf(reminder), m_shownDates);
            hit = pattern.matches(buffer);
        }
        if (hit)
            hits->push_back(sqlite3_column_int64(slotRows, 0));
    }
    return rc == SQLITE_DONE;
}

bool Searcher::searchIndex(const Pattern &pattern, const std::string &loose, std::vector<sqlite3_int64> *hits)
{
    // The slotRows in the log are read from the table; the index may not hold them as they are now.
    std::vector<sqlite3_int64> changed;
    {
        Statement log(m_db, "SELECT DISTINCT slot FROM papyra_changed ORDER BY slot");
        if (!log.ok())
            return false;
        while (sqlite3_step(log) == SQLITE_ROW)
            changed.push_back(sqlite3_column_int64(log, 0));
    }
    std::string buffer;
    {
        Statement found(m_db, "SELECT rowid, keywords, category FROM papyra_index WHERE papyra_index MATCH ?");
        if (!found.ok())
            return false;
        const std::string query = trigramQuery(loose);
        sqlite3_bind_text(found, 1, query.data(), int(query.size()), SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(found)) == SQLITE_ROW) {
            const sqlite3_int64 slot = sqlite3_column_int64(found, 0);
            if (std::binary_search(changed.cbegin(), changed.cend(), slot))
                continue;
            // The index holds the fields folded already.
            for (int column : {1, 2}) {
                if (sqlite3_column_type(found, column) == SQLITE_NULL)
                    continue;
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(found, column));
                if (pattern.matches(std::string_view(text, size_t(sqlite3_column_bytes(found, column))))) {
                    hits->push_back(slot);
                    break;
                }
            }
        }
        if (rc != SQLITE_DONE)
            return false;
    }
    if (changed.empty())
        return true;
    Statement read(m_db, "SELECT Keywords, Category, Reminder FROM Varnel WHERE FileNumber = ?");
    if (!read.ok())
        return false;
    for (const sqlite3_int64 slot : changed) {
        sqlite3_bind_int64(read, 1, slot);
        const int rc = sqlite3_step(read);
        if (rc == SQLITE_ROW) {
            bool hit = confirm(pattern, sqlite3_column_value(read, 0), sqlite3_column_value(read, 1), buffer);
            sqlite3_value *reminder = sqlite3_column_value(read, 2);
            if (!hit && sqlite3_value_type(reminder) != SQLITE_NULL) {
                // A reminder written since the dates were read may be one they do not hold.
                buffer.clear();
                appendSearchable(buffer, Reminder, textOf(reminder), m_shownDates);
                hit = pattern.matches(buffer);
            }
            if (hit)
                hits->push_back(slot);
        } else if (rc != SQLITE_DONE) {
            return false;
        }
        sqlite3_reset(read);
    }
    return true;
}

bool Searcher::readReminders()
{
    // Another connection's commit may bring dates the list does not hold; this connection's own
    // writes are in the log, which searchIndex reads.
    std::string key;
    {
        Statement version(m_db, "PRAGMA data_version");
        if (!version.ok() || sqlite3_step(version) != SQLITE_ROW)
            return false;
        key = std::to_string(sqlite3_column_int64(version, 0)) + ' ' + Dates::shownForm().toStdString();
    }
    if (key != m_datesKey) {
        // One seek per distinct value through papyra_reminder, however many slots share it.
        m_dates.clear();
        Statement next(m_db, "SELECT min(Reminder) FROM Varnel WHERE Reminder > ?");
        if (!next.ok())
            return false;
        // Each step binds the value found with its own type (text, or a blob, which sorts after every text).
        sqlite3_bind_text(next, 1, "", 0, SQLITE_STATIC);
        for (;;) {
            if (sqlite3_step(next) != SQLITE_ROW)
                return false;
            if (sqlite3_column_type(next, 0) == SQLITE_NULL)
                break;
            sqlite3_value *found = sqlite3_value_dup(sqlite3_column_value(next, 0));
            if (!found)
                return false;
            const std::shared_ptr<sqlite3_value> kept(found, sqlite3_value_free);
            // Read as text from the row, not from the copy: reading a blob as text changes its type.
            const std::string text(textOf(sqlite3_column_value(next, 0)));
            m_dates.push_back({text, std::string(), kept, isDate(text)});
            sqlite3_reset(next);
            sqlite3_bind_value(next, 1, found);
        }
        // Dates of another type than text sort before every text; the search reads them as text too.
        Statement others(m_db, "SELECT DISTINCT Reminder FROM Varnel WHERE Reminder < ''");
        if (!others.ok())
            return false;
        while (sqlite3_step(others) == SQLITE_ROW) {
            const std::shared_ptr<sqlite3_value> kept(sqlite3_value_dup(sqlite3_column_value(others, 0)),
                                                      sqlite3_value_free);
            if (!kept)
                return false;
            const std::string text(textOf(sqlite3_column_value(others, 0)));
            m_dates.push_back({text, std::string(), kept, isDate(text)});
        }
        // The characters a well-formed date can show: digits and the form's own separators.
        m_dateCharacters = "0123456789-"; // a year before 1000 is shown as stored
        Pattern::appendFolded(m_dateCharacters, Dates::toDisplay(QDate(2002, 12, 31)).toStdString());
        m_datesKey = key;
    }
    return true;
}

bool Searcher::searchReminders(const Pattern &pattern, std::vector<sqlite3_int64> *hits)
{
    if (!readReminders())
        return false;
    // A term needing a character no shown date holds can only meet a reminder stored in another form.
    const bool datesCanMatch = std::all_of(pattern.requiredText().cbegin(), pattern.requiredText().cend(),
                                           [&](char c) { return m_dateCharacters.find(c) != std::string::npos; });
    Statement slotRows(m_db, "SELECT FileNumber FROM Varnel WHERE Reminder = ?");
    if (!slotRows.ok())
        return false;
    for (auto &[stored, shown, value, wellFormed] : m_dates) {
        if (!datesCanMatch && wellFormed)
            continue;
        if (shown.empty())
            appendSearchable(shown, Reminder, stored, m_shownDates);
        if (!pattern.matches(shown))
            continue;
        sqlite3_bind_value(slotRows, 1, value.get());
        int rc;
        while ((rc = sqlite3_step(slotRows)) == SQLITE_ROW)
            hits->push_back(sqlite3_column_int64(slotRows, 0));
        sqlite3_reset(slotRows);
        if (rc != SQLITE_DONE)
            return false;
    }
    return true;
}

// papyra_hits(term): an eponymous table-valued function over the connection's Searcher.
struct HitsTable {
    sqlite3_vtab base;
    Searcher *searcher;
};

struct HitsCursor {
    sqlite3_vtab_cursor base;
    std::vector<sqlite3_int64> hits;
    size_t at = 0;
};

int hitsConnect(sqlite3 *db, void *aux, int, const char *const *, sqlite3_vtab **table, char **)
{
    const int rc = sqlite3_declare_vtab(db, "CREATE TABLE x(slot INTEGER, term HIDDEN)");
    if (rc != SQLITE_OK)
        return rc;
    auto *made = new (std::nothrow) HitsTable{};
    if (!made)
        return SQLITE_NOMEM;
    made->searcher = static_cast<Searcher *>(aux);
    *table = &made->base;
    return SQLITE_OK;
}

int hitsDisconnect(sqlite3_vtab *table)
{
    delete reinterpret_cast<HitsTable *>(table);
    return SQLITE_OK;
}

int hitsBestIndex(sqlite3_vtab *, sqlite3_index_info *info)
{
    int term = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.iColumn == 1 && c.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            if (!c.usable)
                return SQLITE_CONSTRAINT;
            term = i;
        }
    }
    if (term < 0) { // no term: no rows
        info->idxNum = 0;
        info->estimatedCost = 1e9;
        return SQLITE_OK;
    }
    info->aConstraintUsage[term].argvIndex = 1;
    info->aConstraintUsage[term].omit = 1;
    info->idxNum = 1;
    info->estimatedCost = 10;
    info->estimatedRows = 100;
    // The hits come in ascending order and each once.
    if (info->nOrderBy == 1 && (info->aOrderBy[0].iColumn == 0 || info->aOrderBy[0].iColumn < 0) &&
        !info->aOrderBy[0].desc)
        info->orderByConsumed = 1;
    return SQLITE_OK;
}

int hitsOpen(sqlite3_vtab *, sqlite3_vtab_cursor **cursor)
{
    auto *made = new (std::nothrow) HitsCursor{};
    if (!made)
        return SQLITE_NOMEM;
    *cursor = &made->base;
    return SQLITE_OK;
}

int hitsClose(sqlite3_vtab_cursor *cursor)
{
    delete reinterpret_cast<HitsCursor *>(cursor);
    return SQLITE_OK;
}

int hitsFilter(sqlite3_vtab_cursor *base, int idxNum, const char *, int argc, sqlite3_value **argv)
{
    auto *cursor = reinterpret_cast<HitsCursor *>(base);
    cursor->hits.clear();
    cursor->at = 0;
    if (idxNum != 1 || argc < 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return SQLITE_OK;
    auto *table = reinterpret_cast<HitsTable *>(base->pVtab);
    try {
        std::string error;
        if (!table->searcher->search(textOf(argv[0]), &cursor->hits, &error)) {
            sqlite3_free(table->base.zErrMsg);
            table->base.zErrMsg = sqlite3_mprintf("%s", error.c_str());
            return SQLITE_ERROR;
        }
    } catch (const std::bad_alloc &) {
        return SQLITE_NOMEM;
    }
    return SQLITE_OK;
}

int hitsNext(sqlite3_vtab_cursor *base)
{
    ++reinterpret_cast<HitsCursor *>(base)->at;
    return SQLITE_OK;
}

int hitsEof(sqlite3_vtab_cursor *base)
{
    auto *cursor = reinterpret_cast<HitsCursor *>(base);
    return cursor->at >= cursor->hits.size();
}

int hitsColumn(sqlite3_vtab_cursor *base, sqlite3_context *context, int column)
{
    auto *cursor = reinterpret_cast<HitsCursor *>(base);
    if (column == 0)
        sqlite3_result_int64(context, cursor->hits[cursor->at]);
    else
        sqlite3_result_null(context);
    return SQLITE_OK;
}

int hitsRowid(sqlite3_vtab_cursor *base, sqlite3_int64 *rowid)
{
    auto *cursor = reinterpret_cast<HitsCursor *>(base);
    *rowid = cursor->hits[cursor->at];
    return SQLITE_OK;
}

sqlite3_module hitsModule()
{
    sqlite3_module module{};
    module.xConnect = hitsConnect; // no xCreate: the table exists only as papyra_hits(...)
    module.xBestIndex = hitsBestIndex;
    module.xDisconnect = hitsDisconnect;
    module.xOpen = hitsOpen;
    module.xClose = hitsClose;
    module.xFilter = hitsFilter;
    module.xNext = hitsNext;
    module.xEof = hitsEof;
    module.xColumn = hitsColumn;
    module.xRowid = hitsRowid;
    return module;
}

const sqlite3_module theHitsModule = hitsModule();

std::unordered_map<sqlite3 *, Searcher *> &searchers()
{
    static std::unordered_map<sqlite3 *, Searcher *> map; // the one user-interface thread uses it
    return map;
}

} // namespace

namespace SqliteSearch {

bool isOwnObject(const QString &type, const QString &name, const QString &sql)
{
    for (const OwnObject &object : ownObjects) {
        if (name.compare(QLatin1String(object.name), Qt::CaseInsensitive) == 0)
            return type == QLatin1String(object.type) && sql == QLatin1String(object.sql);
    }
    return false;
}

bool install(sqlite3 *db, QString *error)
{
    if (!db) {
        if (error)
            *error = QCoreApplication::translate("SqliteSearch", "The database connection is not open.");
        return false;
    }
    auto *searcher = new Searcher(db);
    // The connection owns the searcher: SQLite deletes it with the module when the connection
    // closes (and at once if registering fails).
    if (sqlite3_create_module_v2(db, "papyra_hits", &theHitsModule, searcher, [](void *p) {
            auto *s = static_cast<Searcher *>(p);
            for (auto it = searchers().begin(); it != searchers().end(); ++it) {
                if (it->second == s) {
                    searchers().erase(it);
                    break;
                }
            }
            delete s;
        }) != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("cannot register papyra_hits: %1").arg(QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    searchers()[db] = searcher;
    searcher->prepareIndex();
    return true;
}

void flushLog(sqlite3 *db, int longerThan)
{
    const auto found = searchers().find(db);
    if (found != searchers().end())
        found->second->flush(longerThan);
}

void prepare(sqlite3 *db)
{
    const auto found = searchers().find(db);
    if (found != searchers().end() && found->second->usesIndex())
        found->second->readReminders();
}

} // namespace SqliteSearch
