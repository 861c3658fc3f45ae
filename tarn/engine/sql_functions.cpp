#include "tarn/engine/sql_functions.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "common/sqlite/sqlite_db.h"
#include "common/util/url_text.h"
#include "platform/text/utf.h"

namespace tarn {
namespace {

void urlDecodeFunction(sqlite3_context* context, int, sqlite3_value** values) {
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    const std::string_view bytes(text != nullptr ? text : "",
                                 static_cast<std::size_t>(sqlite3_value_bytes(values[0])));
    const std::string decoded =
        platform::text::toUtf8(common::urlUnescapeKeepingPlus(platform::text::fromUtf8(bytes)));
    sqlite3_result_text(context, decoded.data(), static_cast<int>(decoded.size()),
                        SQLITE_TRANSIENT);
}

}  // namespace

void registerSqlFunctions(common::SqliteDB& db) {
    db.createFunction("url_decode", 1, urlDecodeFunction);
}

}  // namespace tarn
