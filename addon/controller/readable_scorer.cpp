#include "addon/controller/readable_scorer.h"

#include <unordered_map>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/page_clean.h"
#include "addon/controller/text_case.h"
#include "common/util/text_conversion.h"

namespace addon {
namespace {

std::wstring ownText(const ElementPtr& element) {
    std::wstring text;
    for (const auto& child : element->childNodes()) {
        if (child->nodeType() == dom::NodeType::Text) {
            text += child->nodeValue();
        }
    }
    return text;
}

class Scores {
  public:
    // Adds to the element's score and takes the lead when it is now strictly ahead.
    void add(const ElementPtr& element, long long points) {
        const long long score = (scores_[element.get()] += points);
        if (score > best_) {
            best_ = score;
            leader_ = element;
        }
    }
    const ElementPtr& leader() const { return leader_; }

  private:
    std::unordered_map<const dom::Element*, long long> scores_;
    long long best_ = 0;
    ElementPtr leader_;
};

}  // namespace

ElementPtr scoreByTags(const ElementPtr& root, const GrabRules& rules) {
    if (!root) {
        return nullptr;
    }
    const double transfer = rules.transferToUpper();
    Scores scores;
    for (const GrabRow& row : rules.tagRanks) {
        const bool ownTextOnly = row.name == L"DIV";
        for (const auto& element : root->getElementsByTagName(row.name)) {
            if (isHiddenElement(element, true)) {
                continue;
            }
            const std::wstring text = ownTextOnly ? ownText(element) : element->innerText();
            if (text.empty()) {
                continue;
            }
            const ElementPtr target = ownTextOnly ? element : element->parentElement();
            if (!target) {
                continue;
            }
            const long long points =
                static_cast<long long>(row.value) * common::ansiLength(text) / 100;
            scores.add(target, points);
            const ElementPtr up = target->parentElement();
            if (up) {
                scores.add(up, static_cast<long long>(static_cast<double>(points) * transfer));
            }
        }
    }
    return scores.leader();
}

void cleanElement(const ElementPtr& element, const GrabRules& rules) {
    if (!element) {
        return;
    }
    for (const GrabRow& row : rules.tagChars) {
        const auto found = element->getElementsByTagName(row.name);
        for (auto it = found.rbegin(); it != found.rend(); ++it) {
            if (row.value == 0 || static_cast<long long>((*it)->innerText().size()) < row.value) {
                (*it)->removeNode(true);
            }
        }
    }
    for (const auto& below : element->all()) {
        below->removeAttribute(L"style");
    }
    element->removeAttribute(L"style");
}

std::wstring extractReadable(const std::wstring& html, bool asHtml, const GrabRules& rules) {
    const auto document = dom::Document::parse(std::wstring_view(html));
    const ElementPtr chosen = scoreByTags(document->body(), rules);
    if (!chosen) {
        return L"";
    }
    cleanAttributes(chosen, kCleanScriptUses);
    cleanElement(chosen, rules);
    return asHtml ? chosen->outerHTML() : chosen->innerText();
}

}  // namespace addon
