// The layout engine's elements for the page's tags, made by the page's container: the
// engine's own element classes, except that they look a sheet's rules up by the element's
// tag, id and classes instead of testing every rule on every element. Each sheet's
// selectors are indexed once by their rightmost compound (its id, else its first class,
// else its tag; the rest are tried on every element); an element tries, in the sheet's
// order, only the rules its index entries name, and applies what matches exactly as the
// engine does (pseudo-classes, ::before and ::after included), except that each rule's
// declarations are parsed once rather than for every element they apply to.
//
// Contract: the rule index belongs to one page's container and outlives the engine's
// document; the sheets it indexes must not change while that document lives (the engine
// parses them before it applies them). On the page's thread only.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dom/layout/inherited_values.h"

namespace litehtml {
class css;
class css_selector;
class document;
class element;
class style;
}  // namespace litehtml

namespace platform::dom {

// How the page's elements find the style rules that match them: through the index, or by
// the engine's own test of every rule (what the index must agree with).
enum class RuleMatching { indexed, everyRule };

class StyleRuleIndex {
  public:
    // The positions in `sheet` of the rules that may match an element with this tag, id
    // and classes (lower case), in the sheet's order.
    const std::vector<std::size_t>& candidates(const litehtml::css& sheet, const std::string& tag,
                                               const std::string& id,
                                               const std::vector<std::string>& classes);

    // The rule's declarations parsed once, or null when they read custom properties
    // (var()), whose values depend on the element (`first` is the first it applies to).
    // Merging them into an element's style gives what parsing them into it gives: a
    // declaration only ever sets a property, under the same rule of importance.
    const litehtml::style* declarations(const litehtml::css_selector& rule,
                                        const litehtml::element& first);

  private:
    struct Sheet {
        std::size_t rules = 0;
        std::vector<std::size_t> everywhere;
        std::unordered_map<std::string, std::vector<std::size_t>> byTag;
        std::unordered_map<std::string, std::vector<std::size_t>> byId;
        std::unordered_map<std::string, std::vector<std::size_t>> byClass;
    };
    static Sheet indexOf(const litehtml::css& sheet);

    std::unordered_map<const litehtml::css*, Sheet> sheets_;
    std::unordered_map<const litehtml::css_selector*, std::unique_ptr<litehtml::style>>
        declarations_;
    std::vector<std::size_t> found_;
};

// What the page's elements do besides the engine's: work their own styles out again from
// the rules that matched them and their style attribute, leaving their descendants'
// styles as they are (for changes to properties that no descendant inherits).
class OwnStyles {
  public:
    virtual void restyleOwn() = 0;

  protected:
    ~OwnStyles() = default;
};

// The element for `tag` with its rules looked up in `index` and its inherited properties
// remembered by their numbers in `properties`; null for the tags whose engine class this
// cannot derive from (the engine then makes its own).
std::shared_ptr<litehtml::element> makePageElement(const std::string& tag,
                                                   const std::shared_ptr<litehtml::document>& doc,
                                                   StyleRuleIndex& index, PropertyIds& properties);

}  // namespace platform::dom
