#include "addon/controller/readable_scorer.h"

#include <unordered_map>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/page_clean.h"
#include "addon/controller/text_case.h"
#include "common/util/text_conversion.h"

namespace addon {
namespace {

std::vector<page::NodePtr> elementsByTag(const page::NodePtr& root, const std::wstring& tag) {
    const std::wstring lower = lowerText(tag);
    std::vector<page::NodePtr> found;
    for (const auto& element : root->descendantElements()) {
        if (element->tag() == lower) {
            found.push_back(element);
        }
    }
    return found;
}

std::wstring ownText(const page::NodePtr& element) {
    std::wstring text;
    for (const auto& child : element->children()) {
        if (child->kind() == page::Node::Kind::text) {
            text += child->data();
        }
    }
    return text;
}

class Scores {
  public:
    // Adds to the element's score and takes the lead when it is now strictly ahead.
    void add(const page::NodePtr& element, long long points) {
        const long long score = (scores_[element.get()] += points);
        if (score > best_) {
            best_ = score;
            leader_ = element;
        }
    }
    const page::NodePtr& leader() const { return leader_; }

  private:
    std::unordered_map<const page::Node*, long long> scores_;
    long long best_ = 0;
    page::NodePtr leader_;
};

}  // namespace

page::NodePtr scoreByTags(const page::NodePtr& root, const GrabRules& rules) {
    if (!root) {
        return nullptr;
    }
    const double transfer = rules.transferToUpper();
    Scores scores;
    for (const GrabRow& row : rules.tagRanks) {
        const bool ownTextOnly = row.name == L"DIV";
        for (const auto& element : elementsByTag(root, row.name)) {
            if (isHiddenElement(element, true)) {
                continue;
            }
            const std::wstring text = ownTextOnly ? ownText(element) : element->innerText();
            if (text.empty()) {
                continue;
            }
            const page::NodePtr target = ownTextOnly ? element : element->parent();
            if (!target || !target->isElement()) {
                continue;
            }
            const long long points =
                static_cast<long long>(row.value) * common::ansiLength(text) / 100;
            scores.add(target, points);
            const page::NodePtr up = target->parent();
            if (up && up->isElement()) {
                scores.add(up, static_cast<long long>(static_cast<double>(points) * transfer));
            }
        }
    }
    return scores.leader();
}

void cleanElement(const page::NodePtr& element, const GrabRules& rules) {
    if (!element) {
        return;
    }
    for (const GrabRow& row : rules.tagChars) {
        const auto found = elementsByTag(element, row.name);
        for (auto it = found.rbegin(); it != found.rend(); ++it) {
            if (row.value == 0 || static_cast<long long>((*it)->innerText().size()) < row.value) {
                (*it)->remove();
            }
        }
    }
    for (const auto& below : element->descendantElements()) {
        below->removeAttribute(L"style");
    }
    element->removeAttribute(L"style");
}

std::wstring extractReadable(const std::wstring& html, bool asHtml, const GrabRules& rules) {
    const page::Document document(html);
    const page::NodePtr chosen = scoreByTags(document.body(), rules);
    if (!chosen) {
        return L"";
    }
    cleanAttributes(chosen, kCleanScriptUses);
    cleanElement(chosen, rules);
    return asHtml ? chosen->outerHtml() : chosen->innerText();
}

}  // namespace addon
