#include "textsearchfunction.h"

#include "textsearch.h"

#include <sqlite3.h>

namespace {

QUtf8StringView utf8Value(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return text ? QUtf8StringView(text, sqlite3_value_bytes(value)) : QUtf8StringView();
}

bool anyContains(int count, sqlite3_value **values, const TextSearch::Needle &needle)
{
    for (int i = 1; i < count; ++i) {
        if (TextSearch::contains(utf8Value(values[i]), needle))
            return true;
    }
    return false;
}

void textContains(sqlite3_context *context, int count, sqlite3_value **values)
{
    if (count < 1) {
        sqlite3_result_int(context, 0);
        return;
    }
    // The needle is a bound parameter, the same for every row of a
    // statement: SQLite keeps its folded form while the value stays (or
    // drops it whenever it likes, even at once; it is made again then).
    if (const auto *kept = static_cast<const TextSearch::Needle *>(sqlite3_get_auxdata(context, 0))) {
        sqlite3_result_int(context, anyContains(count, values, *kept) ? 1 : 0);
        return;
    }
    auto *needle = new TextSearch::Needle(QString::fromUtf8(utf8Value(values[0])));
    sqlite3_result_int(context, anyContains(count, values, *needle) ? 1 : 0);
    sqlite3_set_auxdata(context, 0, needle, [](void *data) { delete static_cast<TextSearch::Needle *>(data); });
}

} // namespace

bool registerTextSearchFunction(sqlite3 *handle)
{
    return handle
        && sqlite3_create_function_v2(handle, "text_contains", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      &textContains, nullptr, nullptr, nullptr)
        == SQLITE_OK;
}
