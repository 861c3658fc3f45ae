// The exception base of the wrapper layers, and CComException, the failure of a wrapped
// XML or HTTP call: the HRESULT that the call failed with and a text saying what failed.
//
// Contract: value types, thrown and caught by value (catch by const reference). what()
// gives the message in UTF-8; GetErrorMessage copies it into a caller's buffer.
#pragma once

#include <cstddef>
#include <exception>
#include <string>

#include "platform/com/hresult.h"

namespace common {

class CMyException : public std::exception {
  public:
    explicit CMyException(std::wstring message = {});

    const std::wstring& message() const { return message_; }
    const char* what() const noexcept override { return utf8Message_.c_str(); }

    // Writes at most maxChars - 1 characters of the message and a terminating zero into
    // `buffer`; sets *helpContext to 0 when given. True when the message is not empty.
    bool GetErrorMessage(wchar_t* buffer, std::size_t maxChars,
                         unsigned* helpContext = nullptr) const;

  private:
    std::wstring message_;
    std::string utf8Message_;
};

class CComException : public CMyException {
  public:
    explicit CComException(platform::com::HRESULT hr, std::wstring message = {});

    platform::com::HRESULT hr() const { return hr_; }

  private:
    platform::com::HRESULT hr_;
};

[[noreturn]] void throwComException(platform::com::HRESULT hr, std::wstring message = {});

}  // namespace common
