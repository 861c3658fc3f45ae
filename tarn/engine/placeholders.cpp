#include "tarn/engine/placeholders.h"

#include <cwctype>
#include <optional>

#include "tarn/engine/tarn_variable.h"

namespace tarn {
namespace {

constexpr std::wstring_view kOpen = L"{$";

class Lookup {
  public:
    Lookup(const TarnVariables* variables, const Parameters& parameters)
        : variables_(variables), parameters_(parameters) {}

    std::optional<std::wstring> find(std::wstring_view name) const {
        if (variables_ != nullptr) {
            for (const TarnVariable& variable : *variables_) {
                if (variable.name() == name) {
                    return variable.currentValue();
                }
            }
        }
        for (const common::StringPair& pair : parameters_) {
            if (pair.name == name) {
                return pair.value;
            }
        }
        return std::nullopt;
    }

  private:
    const TarnVariables* variables_;
    const Parameters& parameters_;
};

// A placeholder at `position` ("{$" there): its value and length, or nothing when the
// placeholder is incomplete or names nothing known.
struct Placeholder {
    std::wstring value;
    std::size_t length;
};

std::optional<Placeholder> placeholderAt(std::wstring_view text, std::size_t position,
                                         const Lookup& lookup) {
    const std::size_t close = text.find(L'}', position + kOpen.size());
    if (close == std::wstring_view::npos) {
        return std::nullopt;
    }
    const std::wstring_view name =
        text.substr(position + kOpen.size(), close - position - kOpen.size());
    auto value = lookup.find(name);
    if (!value) {
        return std::nullopt;
    }
    return Placeholder{std::move(*value), close + 1 - position};
}

bool isPlainNumber(std::wstring_view value) {
    std::size_t i = 0;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) {
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < value.size(); ++i) {
        if (std::iswdigit(value[i]) && value[i] < 128) {
            digits = true;
        } else if (value[i] == L'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::wstring doubled(std::wstring_view value, wchar_t quote) {
    std::wstring out;
    for (wchar_t c : value) {
        out += c;
        if (c == quote) {
            out += c;
        }
    }
    return out;
}

// Replaces the placeholders of a text without any quoting.
std::wstring substituteText(std::wstring_view text, const Lookup& lookup) {
    std::wstring out;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(kOpen, position);
        if (open == std::wstring_view::npos) {
            break;
        }
        out.append(text.substr(position, open - position));
        if (auto found = placeholderAt(text, open, lookup)) {
            out += found->value;
            position = open + found->length;
        } else {
            out += kOpen;
            position = open + kOpen.size();
        }
    }
    out.append(text.substr(std::min(position, text.size())));
    return out;
}

// A number placed in statement code: a sign right after a "-" would make "--", which
// starts a comment, so a blank keeps the two apart.
void appendSqlNumber(std::wstring& out, const std::wstring& number) {
    if (!out.empty() && out.back() == L'-' && number.front() == L'-') {
        out += L' ';
    }
    out += number;
}

// A [name] identifier cannot quote its closing bracket, so one that takes a placeholder
// value is written as a "name" identifier, whose quote can be doubled.
std::wstring substituteSql(std::wstring_view text, const Lookup& lookup) {
    enum class State { Code, Quoted, Bracketed, LineComment, BlockComment };
    State state = State::Code;
    wchar_t quote = 0;
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        const bool inComment = state == State::LineComment || state == State::BlockComment;
        if (!inComment && text.substr(i, kOpen.size()) == kOpen) {
            if (auto found = placeholderAt(text, i, lookup)) {
                if (state == State::Quoted || state == State::Bracketed) {
                    out += doubled(found->value, quote);
                } else if (isPlainNumber(found->value)) {
                    appendSqlNumber(out, found->value);
                } else {
                    out += L'\'' + doubled(found->value, L'\'') + L'\'';
                }
                i += found->length;
                continue;
            }
        }
        ++i;
        if (state == State::Bracketed) {
            if (c == L']') {
                out += L'"';
                state = State::Code;
            } else {
                out += c;
                if (c == L'"') {
                    out += c;
                }
            }
            continue;
        }
        out += c;
        switch (state) {
            case State::Code:
                if (c == L'\'' || c == L'"' || c == L'`') {
                    state = State::Quoted;
                    quote = c;
                } else if (c == L'[') {
                    out.back() = L'"';
                    state = State::Bracketed;
                    quote = L'"';
                } else if (c == L'-' && i < text.size() && text[i] == L'-') {
                    state = State::LineComment;
                } else if (c == L'/' && i < text.size() && text[i] == L'*') {
                    out += text[i++];
                    state = State::BlockComment;
                }
                break;
            case State::Bracketed:
                break;
            case State::Quoted:
                // A doubled quote stays inside; the scan sees it as close and reopen.
                if (c == quote) {
                    state = State::Code;
                }
                break;
            case State::LineComment:
                if (c == L'\n') {
                    state = State::Code;
                }
                break;
            case State::BlockComment:
                if (c == L'*' && i < text.size() && text[i] == L'/') {
                    out += text[i++];
                    state = State::Code;
                }
                break;
        }
    }
    return out;
}

// A literal with `quote` holding `content`, split into a concat() when the content holds
// that quote.
std::wstring quotedXPath(std::wstring_view content, wchar_t quote) {
    if (content.find(quote) == std::wstring_view::npos) {
        return quote + std::wstring(content) + quote;
    }
    const wchar_t other = quote == L'\'' ? L'"' : L'\'';
    std::wstring out = L"concat(";
    std::size_t start = 0;
    bool first = true;
    while (true) {
        const std::size_t next = content.find(quote, start);
        const std::wstring_view piece = content.substr(
            start, next == std::wstring_view::npos ? std::wstring_view::npos : next - start);
        out += first ? L"" : L",";
        out += quote + std::wstring(piece) + quote;
        first = false;
        if (next == std::wstring_view::npos) {
            break;
        }
        out += L",";
        out += other;
        out += quote;
        out += other;
        start = next + 1;
    }
    return out + L")";
}

std::wstring substituteXPath(std::wstring_view text, const Lookup& lookup) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (c == L'\'' || c == L'"') {
            const std::size_t close = text.find(c, i + 1);
            const std::size_t end = close == std::wstring_view::npos ? text.size() : close;
            out += quotedXPath(substituteText(text.substr(i + 1, end - i - 1), lookup), c);
            i = close == std::wstring_view::npos ? text.size() : close + 1;
            continue;
        }
        if (text.substr(i, kOpen.size()) == kOpen) {
            if (auto found = placeholderAt(text, i, lookup)) {
                out += isPlainNumber(found->value) ? found->value : xpathLiteral(found->value);
                i += found->length;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

}  // namespace

std::wstring xpathLiteral(std::wstring_view value) {
    return quotedXPath(value, value.find(L'\'') == std::wstring_view::npos ? L'\'' : L'"');
}

std::wstring substitutePlaceholders(std::wstring_view text, const TarnVariables* variables,
                                    const Parameters& parameters, PlaceholderSyntax syntax) {
    if (text.find(kOpen) == std::wstring_view::npos) {
        return std::wstring(text);
    }
    const Lookup lookup(variables, parameters);
    switch (syntax) {
        case PlaceholderSyntax::Sql:
            return substituteSql(text, lookup);
        case PlaceholderSyntax::XPath:
            return substituteXPath(text, lookup);
        case PlaceholderSyntax::Text:
            break;
    }
    return substituteText(text, lookup);
}

}  // namespace tarn
