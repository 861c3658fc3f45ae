#include "platform/dom/inner_text.h"

#include <unordered_map>
#include <vector>

#include "platform/dom/element.h"
#include "platform/dom/tag_names.h"
#include "platform/text/html_space.h"

namespace platform::dom {

std::wstring textContent(const Node& node) {
    std::wstring out;
    std::vector<const Node*> pending{&node};
    while (!pending.empty()) {
        const Node* current = pending.back();
        pending.pop_back();
        if (current->nodeType() == NodeType::Text)
            out += current->nodeValue();
        const auto& children = current->childNodes();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(it->get());
    }
    return out;
}

std::wstring collapseWhiteSpace(std::wstring_view text) {
    std::wstring out;
    bool space = false;
    for (wchar_t c : text) {
        if (platform::text::isHtmlSpace(c)) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += L' ';
        space = false;
        out += c;
    }
    return out;
}

namespace {

// What the rendered text makes of an element's tag.
enum class TextRole { inline_, skipped, lineBreak, block, preformatted, preformattedBlock };

TextRole roleOfTag(const std::wstring& tag) {
    if (tag == L"SCRIPT" || tag == L"STYLE")
        return TextRole::skipped;
    if (tag == L"BR")
        return TextRole::lineBreak;
    const bool preformatted = tag == L"PRE" || tag == L"TEXTAREA" || tag == L"XMP" ||
                              tag == L"LISTING" || tag == L"PLAINTEXT";
    if (isBlockTag(tag))
        return preformatted ? TextRole::preformattedBlock : TextRole::block;
    return preformatted ? TextRole::preformatted : TextRole::inline_;
}

// Tag names are interned (one string per name), so each thread remembers the role of
// each name it met by the name's address.
TextRole roleOf(const Element& element) {
    thread_local std::unordered_map<const std::wstring*, TextRole> roles;
    const std::wstring& tag = element.tagName();
    auto found = roles.find(&tag);
    if (found == roles.end())
        found = roles.emplace(&tag, roleOfTag(tag)).first;
    return found->second;
}

// Accumulates rendered text: breaks and spaces are held back until visible text follows.
class TextWriter {
  public:
    void text(std::wstring_view data, bool preformatted) {
        // What ends a run of characters that are written as they are.
        const auto special = [preformatted](wchar_t c) {
            return preformatted ? c == L'\n' : platform::text::isHtmlSpace(c);
        };
        for (std::size_t i = 0; i < data.size();) {
            const wchar_t c = data[i];
            if (!preformatted && platform::text::isHtmlSpace(c)) {
                if (!out_.empty() && !breakPending_)
                    spacePending_ = true;
                ++i;
                continue;
            }
            flush();
            if (preformatted && c == L'\n') {
                out_ += L"\r\n";
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < data.size() && !special(data[end]))
                ++end;
            out_.append(data.substr(i, end - i));
            i = end;
        }
    }
    void lineBreak() {
        flushBreak();
        out_ += L"\r\n";
        spacePending_ = false;
    }
    void blockBoundary() {
        if (!out_.empty())
            breakPending_ = true;
        spacePending_ = false;
    }
    std::wstring result() { return std::move(out_); }
    std::size_t size() const { return out_.size(); }

  private:
    void flushBreak() {
        if (breakPending_ && !out_.ends_with(L"\r\n"))
            out_ += L"\r\n";
        breakPending_ = false;
    }
    void flush() {
        flushBreak();
        if (spacePending_)
            out_ += L' ';
        spacePending_ = false;
    }

    std::wstring out_;
    bool spacePending_ = false;
    bool breakPending_ = false;
};

struct Step {
    const Node* node;
    bool leaving;
    int preformatted;
};

// Writes the rendered text of `node` until `enough` says it has what it needs.
template <class Enough>
void writeRenderedText(const Node& node, TextWriter& writer, const Enough& enough) {
    std::vector<Step> pending{{&node, false, 0}};
    while (!pending.empty()) {
        Step step = pending.back();
        pending.pop_back();
        const Node& current = *step.node;
        if (current.nodeType() == NodeType::Text) {
            writer.text(current.nodeValue(), step.preformatted > 0);
            if (enough(writer))
                return;
            continue;
        }
        if (current.nodeType() == NodeType::Comment)
            continue;
        int preformatted = step.preformatted;
        if (current.nodeType() == NodeType::Element) {
            const TextRole role = roleOf(static_cast<const Element&>(current));
            if (role == TextRole::skipped)
                continue;
            if (role == TextRole::lineBreak) {
                writer.lineBreak();
                continue;
            }
            if (role == TextRole::block || role == TextRole::preformattedBlock) {
                writer.blockBoundary();
                if (step.leaving)
                    continue;
                pending.push_back({&current, true, 0});
            }
            if (role == TextRole::preformatted || role == TextRole::preformattedBlock)
                ++preformatted;
        }
        const auto& children = current.childNodes();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back({it->get(), false, preformatted});
    }
}

}  // namespace

std::wstring renderedText(const Node& node) {
    TextWriter writer;
    writeRenderedText(node, writer, [](const TextWriter&) { return false; });
    return writer.result();
}

bool renderedTextReaches(const Node& node, std::size_t count) {
    TextWriter writer;
    writeRenderedText(node, writer, [count](const TextWriter& w) { return w.size() >= count; });
    return writer.size() >= count;
}

}  // namespace platform::dom
