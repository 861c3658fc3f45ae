// The error that every SQLite wrapper operation throws, by value: a SQLite result code (or
// kWrapperError for faults the wrapper finds itself) and the text "NAME[code]: detail".
//
// Contract: a value type; copying copies code and message. what() gives the message in
// UTF-8.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace common {

class SqliteException : public std::exception {
  public:
    static constexpr int kWrapperError = 1000;

    SqliteException(int code, std::wstring_view detail);

    int code() const { return code_; }
    const std::wstring& message() const { return message_; }
    const char* what() const noexcept override { return utf8Message_.c_str(); }

    // "SQLITE_BUSY" for 5, "SQLITE_WRAPPER_ERROR" for 1000, "UNKNOWN_ERROR" for codes
    // without a name.
    static const wchar_t* errorCodeName(int code);

  private:
    int code_;
    std::wstring message_;
    std::string utf8Message_;
};

}  // namespace common
