#include "common/language/placeholder_text.h"

#include <vector>

namespace common {

namespace {

bool isLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// A pattern in pieces: literal texts, and placeholders by their names.
struct Piece {
    bool placeholder = false;
    std::wstring text;  // the literal, or the placeholder's name
};

std::vector<Piece> piecesOf(const std::wstring& pattern) {
    std::vector<Piece> pieces;
    std::wstring literal;
    for (std::size_t at = 0; at < pattern.size();) {
        std::size_t end = at + 1;
        while (pattern[at] == L'#' && end < pattern.size() && isLetter(pattern[end]))
            ++end;
        if (pattern[at] == L'#' && end > at + 1 && end < pattern.size() && pattern[end] == L'#') {
            if (!literal.empty())
                pieces.push_back({false, std::move(literal)});
            literal.clear();
            pieces.push_back({true, pattern.substr(at + 1, end - at - 1)});
            at = end + 1;
            continue;
        }
        literal += pattern[at++];
    }
    if (!literal.empty())
        pieces.push_back({false, std::move(literal)});
    return pieces;
}

// Matches pieces[index...] against text[from...] whole, filling `parts`.
bool matchFrom(const std::vector<Piece>& pieces, std::size_t index, const std::wstring& text,
               std::size_t from, std::map<std::wstring, std::wstring>& parts) {
    if (index == pieces.size())
        return from == text.size();
    const Piece& piece = pieces[index];
    if (!piece.placeholder)
        return text.compare(from, piece.text.size(), piece.text) == 0 &&
               matchFrom(pieces, index + 1, text, from + piece.text.size(), parts);
    // A placeholder takes one character or more, as few as let the rest match; it ends
    // where the literal after it stands, or at the end of the text. The same name twice
    // must take the same part.
    const Piece* next = index + 1 < pieces.size() ? &pieces[index + 1] : nullptr;
    for (std::size_t end = from + 1; end <= text.size(); ++end) {
        if (next == nullptr)
            end = text.size();
        else if (!next->placeholder && (end = text.find(next->text, end)) == std::wstring::npos)
            break;
        const std::wstring part = text.substr(from, end - from);
        const auto known = parts.find(piece.text);
        if (known != parts.end() && known->second != part)
            continue;
        const bool added = known == parts.end();
        if (added)
            parts.emplace(piece.text, part);
        if (matchFrom(pieces, index + 1, text, end, parts))
            return true;
        if (added)
            parts.erase(piece.text);
    }
    return false;
}

}  // namespace

std::optional<std::map<std::wstring, std::wstring>> matchPlaceholders(const std::wstring& pattern,
                                                                      const std::wstring& text) {
    const std::vector<Piece> pieces = piecesOf(pattern);
    bool placeholder = false;
    bool literal = false;
    for (const Piece& piece : pieces)
        (piece.placeholder ? placeholder : literal) = true;
    if (!placeholder || !literal)
        return std::nullopt;
    std::map<std::wstring, std::wstring> parts;
    if (!matchFrom(pieces, 0, text, 0, parts))
        return std::nullopt;
    return parts;
}

std::wstring fillPlaceholders(const std::wstring& pattern,
                              const std::map<std::wstring, std::wstring>& parts) {
    std::wstring out;
    for (const Piece& piece : piecesOf(pattern)) {
        const auto part = piece.placeholder ? parts.find(piece.text) : parts.end();
        if (part != parts.end())
            out += part->second;
        else if (piece.placeholder)
            out += L"#" + piece.text + L"#";
        else
            out += piece.text;
    }
    return out;
}

}  // namespace common
