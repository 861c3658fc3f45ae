#include "addon/readable/readable_scorer.h"

#include <algorithm>
#include <unordered_map>

#include "addon/page/dom_helpers.h"
#include "addon/page/page_clean.h"
#include "addon/page/text_case.h"
#include "addon/readable/blocks/shown_blocks.h"
#include "addon/readable/name_ranks.h"
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

// The length of an element's text less the text of its links: a paragraph of links (names,
// tags, other stories) is no prose, whatever tag holds it.
long long proseLength(const ElementPtr& element, const std::wstring& text) {
    auto length = static_cast<long long>(common::ansiLength(text));
    for (const auto& link : element->getElementsByTagName(L"A")) {
        length -= static_cast<long long>(common::ansiLength(link->innerText()));
    }
    return std::max(length, 0LL);
}

class Scores {
  public:
    // Adds to the element's score and takes the lead when it is now strictly ahead.
    void add(const ElementPtr& element, long long points) {
        Score& entry = scores_[element.get()];
        entry.element = element;
        entry.points += points;
        if (entry.points > best_) {
            best_ = entry.points;
            leader_ = element;
        }
    }

    // The leader, or the lowest block above it that also holds at least kRivalCount
    // rivals: elements beside the leader (neither above nor below it) scoring at least
    // kRivalShare of its score. A story cut into parts of like weight (steps, sections)
    // has its parts for rivals, and the block holding them is the story.
    ElementPtr choice() const {
        if (!leader_) {
            return nullptr;
        }
        std::vector<ElementPtr> rivals;
        for (const auto& [address, entry] : scores_) {
            if (static_cast<double>(entry.points) >= kRivalShare * static_cast<double>(best_) &&
                entry.element != leader_ && !entry.element->contains(*leader_) &&
                !leader_->contains(*entry.element)) {
                rivals.push_back(entry.element);
            }
        }
        if (rivals.size() < kRivalCount) {
            return leader_;
        }
        for (ElementPtr above = leader_->parentElement(); above && !isPageElement(*above);
             above = above->parentElement()) {
            std::size_t held = 0;
            for (const ElementPtr& rival : rivals) {
                held += above->contains(*rival) ? 1 : 0;
            }
            if (held >= kRivalCount) {
                return above;
            }
        }
        return leader_;
    }

  private:
    struct Score {
        ElementPtr element;
        long long points = 0;
    };
    std::unordered_map<const dom::Element*, Score> scores_;
    long long best_ = 0;
    ElementPtr leader_;
};

}  // namespace

// Calls `visit` (element, points) for every visible element of every row below the root
// that lies outside clutter blocks, with the points its text gives; rows for which `takeRow` is
// false are passed over.
template <class TakeRow, class Visit>
void visitScoredElements(const ElementPtr& root, const GrabRules& rules, const TakeRow& takeRow,
                         const Visit& visit, bool withRoot = false) {
    // One walk over the elements sorts them to the rows of their tag (any case), each row
    // keeping document order.
    std::unordered_map<std::wstring, std::vector<std::size_t>> rowsOfTag;
    for (std::size_t i = 0; i < rules.tagRanks.size(); ++i) {
        if (takeRow(rules.tagRanks[i])) {
            rowsOfTag[lowerText(rules.tagRanks[i].name)].push_back(i);
        }
    }
    std::vector<std::vector<ElementPtr>> elementsOfRow(rules.tagRanks.size());
    std::vector<ElementPtr> elements = root->all();
    if (withRoot) {
        elements.insert(elements.begin(), root);
    }
    for (const auto& element : elements) {
        const auto rows = rowsOfTag.find(lowerText(element->tagName()));
        if (rows != rowsOfTag.end()) {
            for (std::size_t row : rows->second) {
                elementsOfRow[row].push_back(element);
            }
        }
    }
    ShownBlocks hiddenTest;
    ClutterBlocks clutter(rules);
    for (std::size_t i = 0; i < rules.tagRanks.size(); ++i) {
        const GrabRow& row = rules.tagRanks[i];
        const bool ownTextOnly = row.name == L"DIV";
        for (const auto& element : elementsOfRow[i]) {
            if (hiddenTest.hidden(element) || clutter.inside(element)) {
                continue;
            }
            const std::wstring text = ownTextOnly ? ownText(element) : element->innerText();
            if (text.empty()) {
                continue;
            }
            const long long length = row.value > 0 && !ownTextOnly
                                         ? proseLength(element, text)
                                         : static_cast<long long>(common::ansiLength(text));
            visit(element, ownTextOnly, row.value * length / 100);
        }
    }
}

ElementPtr scoreByTags(const ElementPtr& root, const GrabRules& rules) {
    if (!root) {
        return nullptr;
    }
    const double transfer = rules.transferToUpper();
    Scores scores;
    visitScoredElements(
        root, rules, [](const GrabRow&) { return true; },
        [&](const ElementPtr& element, bool ownTextOnly, long long points) {
            const ElementPtr target = ownTextOnly ? element : element->parentElement();
            if (!target) {
                return;
            }
            scores.add(target, points);
            const ElementPtr up = target->parentElement();
            if (up) {
                scores.add(up, static_cast<long long>(static_cast<double>(points) * transfer));
            }
        });
    return scores.choice();
}

namespace {

long long positivePoints(const ElementPtr& root, const GrabRules& rules, bool withRoot) {
    long long total = 0;
    if (root) {
        visitScoredElements(
            root, rules, [](const GrabRow& row) { return row.value > 0; },
            [&total](const ElementPtr&, bool, long long points) { total += points; }, withRoot);
    }
    return total;
}

}  // namespace

long long scoredText(const ElementPtr& root, const GrabRules& rules) {
    return positivePoints(root, rules, false);
}

long long blockText(const ElementPtr& block, const GrabRules& rules) {
    return positivePoints(block, rules, true);
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
    return extractReadable(*dom::Document::parse(std::wstring_view(html)), asHtml, rules);
}

std::wstring extractReadable(dom::Document& document, bool asHtml, const GrabRules& rules) {
    const ElementPtr chosen = scoreByTags(document.body(), rules);
    if (!chosen) {
        return L"";
    }
    removeEventAttributes(chosen);
    cleanAttributes(chosen, kCleanScriptUses);
    cleanElement(chosen, rules);
    return asHtml ? standaloneOuterHtml(chosen) : chosen->innerText();
}

}  // namespace addon
