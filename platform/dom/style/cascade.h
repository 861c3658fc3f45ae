// The cascade: which value each CSS property has for an element, from the browser's own
// sheet, the page's enabled sheets, the inline style and inheritance, reported the way the
// old browser's currentStyle did (cascaded values such as "auto" or "1.2em", not pixels).
//
// Contract: `StyleEngine` belongs to one document and is used on its thread; it rebuilds
// its rule index only when the page's sheets change. `ComputedStyle` objects are immutable
// and shared; each refers to its parent element's style.
//
// Caching: most selectors look only at an element, its attributes and its ancestors, so an
// element's style stays right while the rules, its own attributes and its parent's style
// stay the same. An attribute change drops the element's own style; an element whose
// cached style was computed over another style of its parent than the current one (the
// parent was restyled, or the element moved) is computed again. Whole-page work is so
// proportional to what changed, and nothing recurses along the ancestor chain. Elements
// with the same parent style, tag, id, class, inline style and values of the attributes
// the selectors test get one shared style object: the parent's style object stands for
// everything the selectors look at in the ancestors.
// When the rules have selectors that look at siblings or children ("+", "~",
// ":nth-child()", ":empty"), nothing is shared, and a style is also computed again when
// its element's child list or its parent's (with the siblings' attributes) changed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/dom/style/css_parser.h"
#include "platform/dom/style/css_properties.h"

namespace platform::dom {

class Document;
class Element;

class ComputedStyle {
  public:
    ComputedStyle(std::shared_ptr<const ComputedStyle> parent,
                  std::vector<std::pair<PropertyId, std::wstring>> specified);
    // Releases a long chain of parent styles without recursion.
    ~ComputedStyle();
    ComputedStyle(const ComputedStyle&) = delete;
    ComputedStyle& operator=(const ComputedStyle&) = delete;

    const std::shared_ptr<const ComputedStyle>& parent() const { return parent_; }

    // The value of a longhand: what the cascade set, else the parent's value for an
    // inherited property, else the initial value (border colours follow "color").
    std::wstring value(PropertyId id) const;
    // A property by either name form; shorthands are composed from their longhands.
    // std::nullopt for a property the style object does not have.
    std::optional<std::wstring> getAttribute(std::wstring_view name) const;

  private:
    const std::wstring* specifiedValue(PropertyId id) const;

    // Mutable only so that the destructor can unlink a chain it alone holds.
    mutable std::shared_ptr<const ComputedStyle> parent_;
    std::vector<std::pair<PropertyId, std::wstring>> specified_;  // sorted by id
};

class StyleEngine {
  public:
    explicit StyleEngine(const Document& document) : document_(document) {}
    std::shared_ptr<const ComputedStyle> styleOf(const Element& element);

  private:
    struct IndexedRule {
        const Selector* selector;
        const std::vector<Declaration>* declarations;
        int origin;  // 0 browser, 1 page
        std::size_t order;
    };

    void rebuildIndex();
    void indexRule(const StyleRule& rule, int origin);
    bool isCurrent(const Element& element, const ComputedStyle* parentStyle) const;
    std::shared_ptr<const ComputedStyle> compute(const Element& element,
                                                 std::shared_ptr<const ComputedStyle> parent);

    struct ShareKey {
        const ComputedStyle* parent;
        const std::wstring* tag;
        int ns;
        std::wstring id;
        std::wstring classes;
        std::wstring style;
        std::wstring testedAttributes;
        bool operator==(const ShareKey&) const = default;
    };
    struct ShareKeyHash {
        std::size_t operator()(const ShareKey& key) const;
    };
    // The style of the element: one already made for an element like it, else a new one.
    std::shared_ptr<const ComputedStyle> styleFor(const Element& element,
                                                  std::shared_ptr<const ComputedStyle> parent);

    const Document& document_;
    // A live entry keeps its parent style alive, so its key's parent address is that style.
    std::unordered_map<ShareKey, std::weak_ptr<const ComputedStyle>, ShareKeyHash> shared_;
    std::uint64_t indexVersion_ = 0;
    std::size_t ruleCount_ = 0;
    std::unordered_map<std::wstring, std::vector<IndexedRule>> byId_;
    std::unordered_map<std::wstring, std::vector<IndexedRule>> byClass_;
    std::unordered_map<std::wstring, std::vector<IndexedRule>> byTag_;
    std::vector<IndexedRule> universal_;
    bool rulesReadSiblings_ = false;
    // Sorted, lower case; id, class and style are in the share key anyway.
    std::vector<std::wstring> testedAttributes_;
};

// Applies declarations in order: longhands directly, shorthands through their expansion.
void applyDeclaration(const Declaration& declaration,
                      std::vector<std::pair<PropertyId, std::wstring>>& values);

}  // namespace platform::dom
