#include "host/output.h"

#include <atomic>
#include <cstdio>
#include <iostream>
#include <mutex>

#include "platform/text/utf.h"

namespace host {
namespace {

std::atomic<Verbosity> level{Verbosity::normal};

std::mutex& lines() {
    static std::mutex mutex;
    return mutex;
}

void writeLine(std::ostream& stream, const std::wstring& line) {
    std::lock_guard lock(lines());
    stream << platform::text::toUtf8(line) << '\n';
    stream.flush();
}

bool isControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

void setVerbosity(Verbosity verbosity) {
    level = verbosity;
}

Verbosity verbosity() {
    return level;
}

void note(const std::wstring& line) {
    if (level != Verbosity::quiet) {
        writeLine(std::cerr, line);
    }
}

void trace(const std::wstring& line) {
    if (level == Verbosity::verbose) {
        writeLine(std::cerr, line);
    }
}

void reportError(const std::wstring& message) {
    writeLine(std::cerr, L"tamrix-host: " + message);
}

void output(const std::wstring& line) {
    writeLine(std::cout, line);
}

std::wstring printable(const std::wstring& text) {
    std::wstring shown;
    shown.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\\') {
            shown += L"\\\\";
        } else if (!isControl(c)) {
            shown += c;
        } else if (c == L'\n') {
            shown += L"\\n";
        } else if (c == L'\t') {
            shown += L"\\t";
        } else if (c == L'\r') {
            shown += L"\\r";
        } else if (c == 0x1B) {
            shown += L"\\e";
        } else {
            wchar_t code[12];
            std::swprintf(code, 12, c < 0x100 ? L"\\x%02x" : L"\\u%04x", static_cast<unsigned>(c));
            shown += code;
        }
    }
    return shown;
}

}  // namespace host
