#include "RowMatch.h"

#include "store/SqliteSearch.h"

#include <new>

namespace {

using namespace SqliteSearch;

void matchFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    try {
        Pattern *pattern = perStatement<Pattern>(context, [&] { return new Pattern(searchPattern(textOf(argv[0]))); });
        if (!pattern) {
            sqlite3_result_error_nomem(context);
            return;
        }
        std::string text;
        ShownDates shownDates;
        for (int f = 0; f < FieldCount; ++f) {
            sqlite3_value *value = argv[1 + f];
            if (sqlite3_value_type(value) == SQLITE_NULL)
                continue;
            text.clear();
            appendSearchable(text, Field(f), textOf(value), shownDates);
            if (pattern->matches(text)) {
                sqlite3_result_int(context, 1);
                return;
            }
        }
        sqlite3_result_int(context, 0);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

} // namespace

namespace RowMatch {

bool install(sqlite3 *db)
{
    return sqlite3_create_function_v2(db, "papyra_match", 1 + FieldCount, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      matchFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace RowMatch
