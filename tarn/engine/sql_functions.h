// The SQL functions that a page's statements may call besides SQLite's own:
//   url_decode(text)  the text with its percent escapes decoded (UTF-8; "+" stays "+");
//                     NULL for NULL. Pages read the keys of their URLs through it, since
//                     the engine passes query values as written.
//
// Contract: registerSqlFunctions throws SqliteException when the connection refuses them;
// the functions themselves are thread-safe.
#pragma once

namespace common {
class SqliteDB;
}

namespace tarn {

void registerSqlFunctions(common::SqliteDB& db);

}  // namespace tarn
