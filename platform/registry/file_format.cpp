#include "platform/registry/file_format.h"

#include <charconv>
#include <cstring>

#include "platform/text/utf.h"

namespace platform::registry {
namespace {

constexpr std::string_view kHeader = "olvan-registry 1";
constexpr std::string_view kTrailer = "end";
constexpr char kHexDigits[] = "0123456789abcdef";

bool isStorableCharacter(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The text of a REG_SZ value when its data is exactly one NUL-terminated wide string.
std::optional<std::wstring> wellFormedText(const Value& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.size() % sizeof(wchar_t) != 0) {
        return std::nullopt;
    }
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value.data.data(), value.data.size());
    if (text.back() != L'\0') {
        return std::nullopt;
    }
    text.pop_back();
    for (wchar_t c : text) {
        if (!isStorableCharacter(c)) {
            return std::nullopt;
        }
    }
    return text;
}

void appendQuoted(std::string& out, std::wstring_view text) {
    out += '"';
    for (char c : text::toUtf8(text)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    out += "\\u{";
                    out += kHexDigits[(c >> 4) & 0xF];
                    out += kHexDigits[c & 0xF];
                    out += '}';
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void appendValue(std::string& out, const std::wstring& name, const Value& value) {
    out += "value ";
    appendQuoted(out, name);
    if (auto text = wellFormedText(value)) {
        out += " sz ";
        appendQuoted(out, *text);
    } else if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD number;
        std::memcpy(&number, value.data.data(), sizeof number);
        out += " dword " + std::to_string(number);
    } else {
        out += " hex " + std::to_string(value.type) + ' ';
        for (BYTE b : value.data) {
            out += kHexDigits[b >> 4];
            out += kHexDigits[b & 0xF];
        }
    }
    out += '\n';
}

void appendKey(std::string& out, const Key& key, KeyPath& path) {
    if (!path.empty() || !key.values.empty()) {
        out += "key ";
        appendQuoted(out, joinKeyPath(path));
        out += '\n';
    }
    for (const auto& [name, value] : key.values) {
        appendValue(out, name, value);
    }
    for (const auto& [name, child] : key.subkeys) {
        path.push_back(name);
        appendKey(out, child, path);
        path.pop_back();
    }
}

// Reads tokens from one line; every reader returns false on malformed input.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool word(std::string_view& out) {
        skipSpace();
        const auto end = rest_.find(' ');
        out = rest_.substr(0, end);
        rest_.remove_prefix(out.size());
        return !out.empty();
    }

    bool quoted(std::wstring& out) {
        skipSpace();
        if (rest_.empty() || rest_.front() != '"') {
            return false;
        }
        std::string bytes;
        std::size_t i = 1;
        for (; i < rest_.size() && rest_[i] != '"'; ++i) {
            if (rest_[i] != '\\') {
                bytes += rest_[i];
                continue;
            }
            if (++i == rest_.size()) {
                return false;
            }
            switch (rest_[i]) {
                case '\\':
                    bytes += '\\';
                    break;
                case '"':
                    bytes += '"';
                    break;
                case 'n':
                    bytes += '\n';
                    break;
                case 'r':
                    bytes += '\r';
                    break;
                case 't':
                    bytes += '\t';
                    break;
                case 'u': {
                    const auto close = rest_.find('}', i);
                    unsigned code = 0;
                    if (i + 1 >= rest_.size() || rest_[i + 1] != '{' || close == rest_.npos ||
                        !parseNumber(rest_.substr(i + 2, close - i - 2), code, 16) || code > 0x7F) {
                        return false;
                    }
                    bytes += static_cast<char>(code);
                    i = close;
                    break;
                }
                default:
                    return false;
            }
        }
        if (i >= rest_.size() || !text::isValidUtf8(bytes)) {
            return false;
        }
        rest_.remove_prefix(i + 1);
        out = text::fromUtf8(bytes);
        return true;
    }

    bool atEnd() {
        skipSpace();
        return rest_.empty();
    }

    static bool parseNumber(std::string_view digits, unsigned& out, int base) {
        if (digits.empty()) {
            return false;
        }
        const auto [end, status] =
            std::from_chars(digits.data(), digits.data() + digits.size(), out, base);
        return status == std::errc() && end == digits.data() + digits.size();
    }

  private:
    void skipSpace() {
        while (!rest_.empty() && rest_.front() == ' ') {
            rest_.remove_prefix(1);
        }
    }

    std::string_view rest_;
};

bool parseHex(std::string_view digits, std::vector<BYTE>& out) {
    if (digits.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned byte = 0;
        if (!LineReader::parseNumber(digits.substr(i, 2), byte, 16)) {
            return false;
        }
        out.push_back(static_cast<BYTE>(byte));
    }
    return true;
}

bool parseValue(LineReader& reader, Key& key) {
    std::wstring name;
    std::string_view kind;
    if (!reader.quoted(name) || !reader.word(kind)) {
        return false;
    }
    Value value;
    if (kind == "sz") {
        std::wstring text;
        if (!reader.quoted(text)) {
            return false;
        }
        value.type = REG_SZ;
        value.data.resize((text.size() + 1) * sizeof(wchar_t));
        std::memcpy(value.data.data(), text.c_str(), value.data.size());
    } else if (kind == "dword") {
        std::string_view digits;
        unsigned number = 0;
        if (!reader.word(digits) || !LineReader::parseNumber(digits, number, 10)) {
            return false;
        }
        const DWORD stored = number;
        value.type = REG_DWORD;
        value.data.resize(sizeof stored);
        std::memcpy(value.data.data(), &stored, sizeof stored);
    } else if (kind == "hex") {
        std::string_view type;
        std::string_view digits;
        unsigned typeNumber = 0;
        if (!reader.word(type) || !LineReader::parseNumber(type, typeNumber, 10)) {
            return false;
        }
        reader.word(digits);
        if (!parseHex(digits, value.data)) {
            return false;
        }
        value.type = typeNumber;
    } else {
        return false;
    }
    return reader.atEnd() && key.values.insert_or_assign(name, std::move(value)).second;
}

}  // namespace

std::string formatRegistryText(const Key& root) {
    std::string out(kHeader);
    out += '\n';
    KeyPath path;
    appendKey(out, root, path);
    out += kTrailer;
    out += '\n';
    return out;
}

std::optional<Key> parseRegistryText(std::string_view text, std::string& error) {
    Key root;
    Key* current = &root;
    bool ended = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) {
            error = "the file ends in the middle of a line";
            return std::nullopt;
        }
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        ++lineNumber;
        const auto fail = [&](const char* what) {
            error = std::string(what) + " on line " + std::to_string(lineNumber);
            return std::nullopt;
        };
        if (ended) {
            return fail("text after the end mark");
        }
        if (lineNumber == 1) {
            if (line != kHeader) {
                return fail("unknown header");
            }
            continue;
        }
        LineReader reader(line);
        std::string_view word;
        if (!reader.word(word)) {
            return fail("empty line");
        }
        if (word == kTrailer && reader.atEnd()) {
            ended = true;
        } else if (word == "key") {
            std::wstring path;
            bool created = false;
            if (!reader.quoted(path) || !reader.atEnd()) {
                return fail("malformed key");
            }
            current = &createKey(root, splitKeyPath(path), created);
        } else if (word == "value") {
            if (!parseValue(reader, *current)) {
                return fail("malformed or repeated value");
            }
        } else {
            return fail("unknown entry");
        }
    }
    if (!ended) {
        error = lineNumber == 0 ? "the file is empty" : "the end mark is missing";
        return std::nullopt;
    }
    return root;
}

}  // namespace platform::registry
