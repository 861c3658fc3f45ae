#include "platform/dom/style/var_reference_guard.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/text/ascii_case.h"
#include "platform/text/html_space.h"

namespace platform::dom {

namespace {

using platform::text::lowerAscii;
using Cost = VarReferenceGuard::Cost;

constexpr std::string_view kVar = "var(";
// A rule's block may start after any '{' of the text between two '}'; past this many the
// text is not read closely (its references are made inert).
constexpr std::size_t kMaxBlockStarts = 8;
constexpr std::size_t kSaturated = std::numeric_limits<std::size_t>::max() / 4;

std::size_t plus(std::size_t a, std::size_t b) {
    return std::min(a + b, kSaturated);
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isCustomName(std::string_view name) {
    return name.size() > 2 && name[0] == '-' && name[1] == '-';
}

using Reference = VarReferenceGuard::Reference;
using Declaration = VarReferenceGuard::Declaration;

// "var(" at `at` as a plain reference "var( --name )" that ends by `limit`, not followed by
// a letter or "(" (which could join the substituted value's end into a new "var(").
std::optional<Reference> plainReference(std::string_view text, std::size_t at, std::size_t limit) {
    std::size_t i = at + kVar.size();
    while (i < limit && platform::text::isHtmlSpace(text[i]))
        ++i;
    const std::size_t nameBegin = i;
    if (i + 2 >= limit || text[i] != '-' || text[i + 1] != '-')
        return std::nullopt;
    i += 2;
    while (i < limit && isNameChar(text[i]))
        ++i;
    const std::size_t nameEnd = i;
    if (nameEnd == nameBegin + 2)
        return std::nullopt;
    while (i < limit && platform::text::isHtmlSpace(text[i]))
        ++i;
    if (i >= limit || text[i] != ')')
        return std::nullopt;
    ++i;
    if (i < text.size() && (isLetter(text[i]) || text[i] == '('))
        return std::nullopt;
    return Reference{at, i, lowerAscii(text.substr(nameBegin, nameEnd - nameBegin))};
}

using Visit = std::function<void(Declaration&&)>;

// One declaration "name: value" of text[begin, end), when it is a custom property or uses
// var().
void readDeclaration(std::string_view text, std::size_t begin, std::size_t end,
                     const Visit& visit) {
    const std::size_t colon = text.substr(0, end).find(':', begin);
    if (colon == std::string_view::npos)
        return;
    const std::string_view name = platform::text::trimHtmlSpace(text.substr(begin, colon - begin));
    const std::string_view value = text.substr(colon + 1, end - colon - 1);
    const std::size_t first = value.find(kVar);
    if (!isCustomName(name) && first == std::string_view::npos)
        return;
    Declaration found{lowerAscii(name), value.size(), {}, false};
    for (std::size_t at = first; at != std::string_view::npos; at = value.find(kVar, at + 1))
        if (auto reference = plainReference(text, colon + 1 + at, end))
            found.references.push_back(std::move(*reference));
    visit(std::move(found));
}

// The declarations of a block text[begin, end), split at ';' outside quotes; an unclosed
// quote runs to the end.
void readBlock(std::string_view text, std::size_t begin, std::size_t end, const Visit& visit) {
    const std::string_view block = text.substr(0, end);  // no search runs past the block
    std::size_t start = begin;
    std::size_t i = begin;
    for (;;) {
        const std::size_t at = block.find_first_of(";\"'", i);
        if (at == std::string_view::npos)
            break;
        if (text[at] == ';') {
            readDeclaration(text, start, at, visit);
            start = i = at + 1;
            continue;
        }
        const std::size_t close = block.find(text[at], at + 1);
        if (close == std::string_view::npos)
            break;
        i = close + 1;
    }
    readDeclaration(text, start, end, visit);
}

// Custom properties a text[begin, end) not read closely may declare: every "--name:".
void readLoosely(std::string_view text, std::size_t begin, std::size_t end, const Visit& visit) {
    const std::string_view region = text.substr(0, end);
    for (std::size_t at = region.find("--", begin); at != std::string_view::npos;
         at = region.find("--", at + 1)) {
        std::size_t i = at + 2;
        while (i < end && isNameChar(text[i]))
            ++i;
        const std::size_t nameEnd = i;
        while (i < end && platform::text::isHtmlSpace(text[i]))
            ++i;
        if (nameEnd > at + 2 && i < end && text[i] == ':')
            visit(Declaration{lowerAscii(text.substr(at, nameEnd - at)), end - i - 1, {}, true});
        at = nameEnd - 1;
    }
}

void forEachDeclaration(std::string_view text, StyleText kind, const Visit& visit) {
    if (kind == StyleText::declarations) {
        readBlock(text, 0, text.size(), visit);
        return;
    }
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t end = std::min(text.find('}', begin), text.size());
        const std::size_t starts = static_cast<std::size_t>(
            std::count(text.begin() + static_cast<std::ptrdiff_t>(begin),
                       text.begin() + static_cast<std::ptrdiff_t>(end), '{'));
        if (starts > kMaxBlockStarts) {
            readLoosely(text, begin, end, visit);
        } else {
            const std::string_view region = text.substr(0, end);
            for (std::size_t open = region.find('{', begin); open != std::string_view::npos;
                 open = region.find('{', open + 1))
                readBlock(text, open + 1, end, visit);
        }
        begin = end + 1;
    }
}

// `text` with every "var(" made inert ("var\\(") but those `kept` maps to true.
std::string madeInert(const std::string& text, const std::unordered_map<std::size_t, bool>& kept) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t copied = 0;
    for (std::size_t at = text.find(kVar); at != std::string::npos; at = text.find(kVar, at + 1)) {
        if (auto entry = kept.find(at); entry != kept.end() && entry->second)
            continue;
        out.append(text, copied, at + 3 - copied);
        out += '\\';
        copied = at + 3;
    }
    out.append(text, copied, std::string::npos);
    return out;
}

}  // namespace

bool VarReferenceGuard::concerns(std::string_view text) {
    return text.find(kVar) != std::string_view::npos || text.find("--") != std::string_view::npos ||
           text.find("/*") != std::string_view::npos;
}

std::string VarReferenceGuard::withoutComments(std::string_view sheet) {
    if (sheet.find("/*") == std::string_view::npos)
        return std::string(sheet);
    std::string out;
    out.reserve(sheet.size());
    for (std::size_t i = 0; i < sheet.size();) {
        std::size_t contentBegin;
        if (sheet.compare(i, 2, "/*") == 0) {
            contentBegin = i + 2;
        } else if (sheet[i] == '*' && !out.empty() && out.back() == '/') {
            // A removed comment joined a '/' and a '*' into a new comment's start.
            out.pop_back();
            contentBegin = i + 1;
        } else {
            out += sheet[i++];
            continue;
        }
        const std::size_t close = sheet.find("*/", contentBegin);
        i = close == std::string_view::npos ? sheet.size() : close + 2;
    }
    return out;
}

void VarReferenceGuard::add(std::string_view text, StyleText kind) {
    const std::string read = kind == StyleText::sheet ? withoutComments(text) : std::string(text);
    forEachDeclaration(read, kind, [&](Declaration&& found) {
        if (isCustomName(found.name))
            properties_[found.name].declarations.push_back(std::move(found));
    });
}

VarReferenceGuard::Cost VarReferenceGuard::costOf(const Reference& reference) const {
    const auto property = properties_.find(reference.name);
    if (property == properties_.end())  // the engine leaves it as written
        return {reference.end - reference.begin, 1, 0};
    return {property->second.cost.bytes, plus(property->second.cost.substitutions, 1),
            plus(property->second.cost.depth, 1)};
}

VarReferenceGuard::Judged VarReferenceGuard::judge(const Declaration& declaration,
                                                   bool added) const {
    const std::size_t count = declaration.references.size();
    const Judged asWritten{std::vector<bool>(count, false), {declaration.bytes, 0, 0}};
    const bool custom = isCustomName(declaration.name);
    if (declaration.unread || (custom && !added))
        return asWritten;
    std::size_t component = 0;
    if (custom)
        if (auto own = properties_.find(declaration.name); own != properties_.end())
            component = own->second.component;
    Judged judged = asWritten;
    Cost& cost = judged.cost;
    for (std::size_t i = 0; i < count; ++i) {
        const Reference& reference = declaration.references[i];
        auto target = properties_.find(reference.name);
        if (component != 0 && target != properties_.end() && target->second.component == component)
            continue;  // on a cycle with the declaring property
        const Cost used = costOf(reference);
        cost.bytes =
            plus(cost.bytes - std::min(cost.bytes, reference.end - reference.begin), used.bytes);
        cost.substitutions = plus(cost.substitutions, used.substitutions);
        cost.depth = std::max(cost.depth, used.depth);
        judged.follows[i] = true;
    }
    if (cost.bytes > kMaxExpandedBytes || cost.substitutions > kMaxSubstitutions ||
        cost.depth > kMaxDepth)
        return asWritten;
    return judged;
}

void VarReferenceGuard::settleComponent(const std::vector<std::string>& names,
                                        std::size_t component) {
    for (const std::string& name : names)
        properties_[name].component = component;
    for (const std::string& name : names) {
        Property& property = properties_[name];
        Cost most;
        for (const Declaration& declaration : property.declarations) {
            const Cost cost = judge(declaration, true).cost;
            most = {std::max(most.bytes, cost.bytes),
                    std::max(most.substitutions, cost.substitutions),
                    std::max(most.depth, cost.depth)};
        }
        property.cost = most;
    }
}

void VarReferenceGuard::settle() {
    // Tarjan's strongly connected components, without recursion: a component is settled
    // once every property it refers to outside itself is.
    struct Mark {
        std::size_t index;
        std::size_t low;
        bool onStack;
    };
    std::unordered_map<std::string, Mark> marks;
    std::vector<std::string> stack;
    std::size_t nextIndex = 0;
    std::size_t nextComponent = 1;
    struct Frame {
        const std::string* name;
        std::size_t declaration = 0;
        std::size_t reference = 0;
    };
    for (const auto& entry : properties_) {
        const std::string& root = entry.first;
        if (marks.count(root))
            continue;
        std::vector<Frame> frames{{&root}};
        marks[root] = {nextIndex, nextIndex, true};
        ++nextIndex;
        stack.push_back(root);
        while (!frames.empty()) {
            Frame& frame = frames.back();
            const Property& property = properties_.at(*frame.name);
            const std::string* next = nullptr;
            while (!next && frame.declaration < property.declarations.size()) {
                const Declaration& declaration = property.declarations[frame.declaration];
                if (declaration.unread || frame.reference >= declaration.references.size()) {
                    ++frame.declaration;
                    frame.reference = 0;
                    continue;
                }
                const std::string& name = declaration.references[frame.reference++].name;
                auto target = properties_.find(name);
                if (target == properties_.end())
                    continue;
                auto mark = marks.find(name);
                if (mark == marks.end()) {
                    next = &target->first;
                } else if (mark->second.onStack) {
                    Mark& own = marks[*frame.name];
                    own.low = std::min(own.low, mark->second.index);
                }
            }
            if (next) {
                marks[*next] = {nextIndex, nextIndex, true};
                ++nextIndex;
                stack.push_back(*next);
                frames.push_back({next});
                continue;
            }
            const Mark own = marks[*frame.name];
            const std::string* name = frame.name;
            frames.pop_back();
            if (!frames.empty()) {
                Mark& parent = marks[*frames.back().name];
                parent.low = std::min(parent.low, own.low);
            }
            if (own.low == own.index) {
                std::vector<std::string> members;
                do {
                    members.push_back(std::move(stack.back()));
                    stack.pop_back();
                    marks[members.back()].onStack = false;
                } while (members.back() != *name);
                settleComponent(members, nextComponent++);
            }
        }
    }
}

std::string VarReferenceGuard::inert(std::string_view text, StyleText kind) {
    return madeInert(kind == StyleText::sheet ? withoutComments(text) : std::string(text), {});
}

std::string VarReferenceGuard::guarded(std::string_view text, StyleText kind, bool added) const {
    const std::string read = kind == StyleText::sheet ? withoutComments(text) : std::string(text);
    // Each "var(" the engine may follow: kept while every reading of it follows it.
    std::unordered_map<std::size_t, bool> kept;
    forEachDeclaration(read, kind, [&](Declaration&& declaration) {
        const std::vector<bool> follows = judge(declaration, added).follows;
        for (std::size_t i = 0; i < follows.size(); ++i) {
            auto [entry, fresh] = kept.emplace(declaration.references[i].begin, follows[i]);
            if (!fresh)
                entry->second = entry->second && follows[i];
        }
    });
    return madeInert(read, kept);
}

}  // namespace platform::dom
