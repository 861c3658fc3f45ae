#include "plugin/repository/repository_health.h"

#include <sqlite3.h>

#include <cstring>

namespace plugin::detail {

namespace {

constexpr int kBusyTimeoutMs = 60000;

DatabaseHealth healthOf(int code) {
    return isDamageCode(code) ? DatabaseHealth::damaged : DatabaseHealth::unknown;
}

}  // namespace

bool isDamageCode(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

DatabaseHealth checkDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const int code = db ? sqlite3_extended_errcode(db) : SQLITE_CANTOPEN;
        sqlite3_close(db);
        return healthOf(code);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check;", -1, &statement, nullptr);
    DatabaseHealth health = healthOf(code);
    if (code == SQLITE_OK) {
        // A sound file gives exactly one row, "ok"; a damaged one lists its faults.
        int rows = 0;
        bool firstIsOk = false;
        while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            if (rows++ == 0)
                firstIsOk = text && std::strcmp(text, "ok") == 0;
        }
        if (code == SQLITE_DONE)
            health = rows == 1 && firstIsOk ? DatabaseHealth::sound : DatabaseHealth::damaged;
        else
            health = healthOf(code);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return health;
}

}  // namespace plugin::detail
