#include "store/SqliteSearch.h"

#include "store/Dates.h"
#include "store/Pattern.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// The three searchable fields of every slot, folded once, in rowid order.
class SlotIndex
{
public:
    explicit SlotIndex(sqlite3 *db) : m_db(db) {}

    void noteChange(const char *database, const char *table, sqlite3_int64 rowid)
    {
        ++m_hookedChanges;
        if (sqlite3_stricmp(database, "main") == 0 && sqlite3_stricmp(table, "Varnel") == 0)
            m_dirty.insert(rowid);
    }

    bool sync(std::string *error);
    std::vector<sqlite3_int64> search(const Pattern &pattern) const;

private:
    struct Slot {
        sqlite3_int64 rowid;
        size_t offset; // into m_text, where the fields lie one after the other
        uint32_t length[FieldCount];
        uint8_t present; // bit per field; a null field is absent
    };

    bool prepare(const char *sql, sqlite3_stmt **statement, std::string *error) const;
    int dataVersion() const;
    bool rebuild(std::string *error);
    bool rereadDirty(std::string *error);
    Slot makeSlot(sqlite3_stmt *row, int firstField);
    void compact();

    sqlite3 *m_db;
    bool m_built = false;
    QString m_dateForm; // the form of the shown dates in m_text
    int m_dataVersion = 0;
    sqlite3_int64 m_totalChanges = 0;
    sqlite3_int64 m_hookedChanges = 0;
    std::unordered_set<sqlite3_int64> m_dirty;
    // Rows read while a transaction was open. A ROLLBACK (or ROLLBACK TO a savepoint) may put them
    // back without the update hook hearing of it, so they are read again until the transaction ends.
    std::unordered_set<sqlite3_int64> m_uncommitted;
    bool m_readWholeInTransaction = false;
    ShownDates m_shownDates;
    std::vector<Slot> m_slots;
    std::string m_text;
    size_t m_unused = 0; // bytes of m_text left behind by re-read slots
};

bool SlotIndex::prepare(const char *sql, sqlite3_stmt **statement, std::string *error) const
{
    // Statements are never kept between calls: an unfinalized one would stop the connection from closing.
    if (sqlite3_prepare_v2(m_db, sql, -1, statement, nullptr) == SQLITE_OK)
        return true;
    *error = sqlite3_errmsg(m_db);
    sqlite3_finalize(*statement);
    *statement = nullptr;
    return false;
}

int SlotIndex::dataVersion() const
{
    sqlite3_stmt *statement = nullptr;
    std::string ignored;
    int version = -1;
    if (prepare("PRAGMA data_version", &statement, &ignored) && sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

bool SlotIndex::sync(std::string *error)
{
    const int version = dataVersion();
    const sqlite3_int64 total = sqlite3_total_changes64(m_db);
    // Another connection's commit changes data_version; a change on this connection that the update
    // hook did not report (a truncating DELETE, say) shows as a gap between the two counts.
    // Reminders are held in the form they are shown in, which follows the locale.
    const QString dateForm = Dates::shownForm();
    const bool stale = !m_built || m_readWholeInTransaction || version != m_dataVersion ||
                       total - m_totalChanges != m_hookedChanges || dateForm != m_dateForm;
    const bool inTransaction = !sqlite3_get_autocommit(m_db);
    if (!stale)
        m_dirty.insert(m_uncommitted.cbegin(), m_uncommitted.cend());
    const bool ok = stale ? rebuild(error) : rereadDirty(error);
    if (ok) {
        m_dataVersion = version;
        m_dateForm = dateForm;
        m_totalChanges = total;
        m_hookedChanges = 0;
        // A whole table read inside a transaction may hold rows that a rollback takes back unseen.
        m_readWholeInTransaction = stale && inTransaction;
        if (inTransaction)
            m_uncommitted.insert(m_dirty.cbegin(), m_dirty.cend());
        else
            m_uncommitted.clear();
        m_dirty.clear();
    }
    return ok;
}

SlotIndex::Slot SlotIndex::makeSlot(sqlite3_stmt *row, int firstField)
{
    Slot slot{sqlite3_column_int64(row, 0), m_text.size(), {0, 0, 0}, 0};
    for (int f = 0; f < FieldCount; ++f) {
        sqlite3_value *value = sqlite3_column_value(row, firstField + f);
        if (sqlite3_value_type(value) == SQLITE_NULL)
            continue;
        const size_t start = m_text.size();
        appendSearchable(m_text, Field(f), textOf(value), m_shownDates);
        slot.present |= uint8_t(1u << f);
        slot.length[f] = uint32_t(m_text.size() - start);
    }
    return slot;
}

bool SlotIndex::rebuild(std::string *error)
{
    sqlite3_stmt *statement = nullptr;
    if (!prepare("SELECT rowid, Keywords, Category, Reminder FROM Varnel ORDER BY rowid", &statement, error))
        return false;
    m_built = false;
    m_slots.clear();
    m_text.clear();
    m_shownDates.clear();
    m_unused = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        m_slots.push_back(makeSlot(statement, 1));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        *error = sqlite3_errmsg(m_db);
        m_slots.clear();
        m_text.clear();
        return false;
    }
    m_slots.shrink_to_fit();
    m_built = true;
    return true;
}

bool SlotIndex::rereadDirty(std::string *error)
{
    if (m_dirty.empty())
        return true;
    sqlite3_stmt *statement = nullptr;
    if (!prepare("SELECT rowid, Keywords, Category, Reminder FROM Varnel WHERE rowid = ?", &statement, error))
        return false;
    for (const sqlite3_int64 rowid : m_dirty) {
        sqlite3_bind_int64(statement, 1, rowid);
        const int rc = sqlite3_step(statement);
        auto at = std::lower_bound(m_slots.begin(), m_slots.end(), rowid,
                                   [](const Slot &s, sqlite3_int64 id) { return s.rowid < id; });
        const bool known = at != m_slots.end() && at->rowid == rowid;
        if (known)
            m_unused += at->length[0] + at->length[1] + at->length[2];
        if (rc == SQLITE_ROW) {
            const Slot slot = makeSlot(statement, 1);
            if (known)
                *at = slot;
            else
                m_slots.insert(at, slot);
        } else if (rc == SQLITE_DONE) {
            if (known)
                m_slots.erase(at);
        } else {
            *error = sqlite3_errmsg(m_db);
            sqlite3_finalize(statement);
            m_built = false; // half updated: read it all again next time
            return false;
        }
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    if (m_unused > m_text.size() / 2)
        compact();
    return true;
}

void SlotIndex::compact()
{
    std::string text;
    text.reserve(m_text.size() - m_unused);
    for (Slot &slot : m_slots) {
        const size_t length = size_t(slot.length[0]) + slot.length[1] + slot.length[2];
        const size_t offset = text.size();
        text.append(m_text, slot.offset, length);
        slot.offset = offset;
    }
    m_text.swap(text);
    m_unused = 0;
}

std::vector<sqlite3_int64> SlotIndex::search(const Pattern &pattern) const
{
    std::vector<sqlite3_int64> rows;
    const char *text = m_text.data();
    for (const Slot &slot : m_slots) {
        size_t offset = slot.offset;
        for (int f = 0; f < FieldCount; ++f) {
            if ((slot.present & (1u << f)) && pattern.matches(std::string_view(text + offset, slot.length[f]))) {
                rows.push_back(slot.rowid);
                break;
            }
            offset += slot.length[f];
        }
    }
    return rows;
}

// The matching rowids in ascending order, looked up by a scan that also runs in rowid order.
class Matches
{
public:
    explicit Matches(std::vector<sqlite3_int64> rows) : m_rows(std::move(rows)) {}

    bool contains(sqlite3_int64 rowid)
    {
        if (m_at > 0 && m_rows[m_at - 1] >= rowid) // asked out of order: start again
            m_at = 0;
        while (m_at < m_rows.size() && m_rows[m_at] < rowid)
            ++m_at;
        return m_at < m_rows.size() && m_rows[m_at] == rowid;
    }

private:
    std::vector<sqlite3_int64> m_rows;
    size_t m_at = 0;
};

void searchFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    try {
        std::string error;
        Matches *matches = perStatement<Matches>(context, [&]() -> Matches * {
            auto *index = static_cast<SlotIndex *>(sqlite3_user_data(context));
            if (!index->sync(&error))
                return nullptr;
            return new Matches(index->search(searchPattern(textOf(argv[0]))));
        });
        if (!matches) {
            if (error.empty())
                sqlite3_result_error_nomem(context);
            else
                sqlite3_result_error(context, error.c_str(), -1);
            return;
        }
        sqlite3_result_int(context, matches->contains(sqlite3_value_int64(argv[1])));
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

} // namespace

namespace SqliteSearch {

bool install(sqlite3 *db, QString *error)
{
    if (!db) {
        if (error)
            *error = QCoreApplication::translate("SqliteSearch", "The database connection is not open.");
        return false;
    }
    auto fail = [&](const char *what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    };
    // The connection owns the index: SQLite deletes it with the function when the connection closes
    // (and at once if registering fails).
    auto *index = new SlotIndex(db);
    if (sqlite3_create_function_v2(db, "papyra_search", 2, SQLITE_UTF8, index, searchFunction, nullptr, nullptr,
                                   [](void *p) { delete static_cast<SlotIndex *>(p); }) != SQLITE_OK)
        return fail("cannot register papyra_search");
    sqlite3_update_hook(
        db,
        [](void *p, int, const char *database, const char *table, sqlite3_int64 rowid) {
            static_cast<SlotIndex *>(p)->noteChange(database, table, rowid);
        },
        index);
    return true;
}

} // namespace SqliteSearch
