#include "common/sqlite/sqlite_exception.h"

#include "platform/text/utf.h"

namespace common {

SqliteException::SqliteException(int code, std::wstring_view detail)
    : code_(code),
      message_(std::wstring(errorCodeName(code)) + L"[" + std::to_wstring(code) + L"]: " +
               std::wstring(detail)),
      utf8Message_(platform::text::toUtf8(message_)) {}

const wchar_t* SqliteException::errorCodeName(int code) {
    switch (code) {
        case 0:
            return L"SQLITE_OK";
        case 1:
            return L"SQLITE_ERROR";
        case 2:
            return L"SQLITE_INTERNAL";
        case 3:
            return L"SQLITE_PERM";
        case 4:
            return L"SQLITE_ABORT";
        case 5:
            return L"SQLITE_BUSY";
        case 6:
            return L"SQLITE_LOCKED";
        case 7:
            return L"SQLITE_NOMEM";
        case 8:
            return L"SQLITE_READONLY";
        case 9:
            return L"SQLITE_INTERRUPT";
        case 10:
            return L"SQLITE_IOERR";
        case 11:
            return L"SQLITE_CORRUPT";
        case 12:
            return L"SQLITE_NOTFOUND";
        case 13:
            return L"SQLITE_FULL";
        case 14:
            return L"SQLITE_CANTOPEN";
        case 15:
            return L"SQLITE_PROTOCOL";
        case 16:
            return L"SQLITE_EMPTY";
        case 17:
            return L"SQLITE_SCHEMA";
        case 18:
            return L"SQLITE_TOOBIG";
        case 19:
            return L"SQLITE_CONSTRAINT";
        case 20:
            return L"SQLITE_MISMATCH";
        case 21:
            return L"SQLITE_MISUSE";
        case 22:
            return L"SQLITE_NOLFS";
        case 23:
            return L"SQLITE_AUTH";
        case 24:
            return L"SQLITE_FORMAT";
        case 25:
            return L"SQLITE_RANGE";
        case 100:
            return L"SQLITE_ROW";
        case 101:
            return L"SQLITE_DONE";
        case kWrapperError:
            return L"SQLITE_WRAPPER_ERROR";
        default:
            return L"UNKNOWN_ERROR";
    }
}

}  // namespace common
