#include "platform/dom/layout/markup/body_siblings.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dom/element.h"
#include "platform/dom/style/css_rule_preludes.h"
#include "platform/dom/style/selector.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

// A compound selector whose match depends on siblings, and whether it tests children
// (":empty") rather than siblings. `context` is the compound before it when that one names
// its parent (">") or an ancestor (" "): the body, for a test that falls on the body's
// children. `following` is the sibling it names ("b" of "a + b", "a ~ b"), for a test of
// what comes before an element rather than of its position.
struct SiblingTest {
    CompoundSelector compound;
    bool ofChildren = false;
    std::optional<CompoundSelector> context;
    bool parent = false;
    std::optional<CompoundSelector> following;
};

bool isSiblingCombinator(Combinator combinator) {
    return combinator == Combinator::Adjacent || combinator == Combinator::Sibling;
}

void collectTests(const Selector& selector, std::vector<SiblingTest>& tests) {
    const auto& compounds = selector.compounds;
    for (std::size_t i = 0; i < compounds.size(); ++i) {
        const CompoundSelector& compound = compounds[i];
        bool position = false;
        bool empty = false;
        for (const PseudoClass& pseudo : compound.pseudoClasses) {
            empty = empty || pseudo.kind == PseudoClass::Kind::Empty;
            position = position || pseudo.kind == PseudoClass::Kind::NthChild ||
                       pseudo.kind == PseudoClass::Kind::NthLastChild ||
                       pseudo.kind == PseudoClass::Kind::NthOfType ||
                       pseudo.kind == PseudoClass::Kind::NthLastOfType;
        }
        // "a + b": a box added before the elements can change what follows an "a" only
        // when it could be an "a" itself, which the children's test below errs towards.
        const bool neighbour = isSiblingCombinator(compound.toNext);
        std::optional<CompoundSelector> context;
        bool parent = false;
        if (i > 0 && !isSiblingCombinator(compounds[i - 1].toNext)) {
            context = compounds[i - 1];
            parent = compounds[i - 1].toNext == Combinator::Child;
        }
        if (position)
            tests.push_back({compound, false, context, parent, std::nullopt});
        if (neighbour && i + 1 < compounds.size())
            tests.push_back({compound, false, context, parent, compounds[i + 1]});
        if (empty)
            tests.push_back({compound, true, std::nullopt, false, std::nullopt});
    }
}

std::shared_ptr<const std::vector<SiblingTest>> testsOf(std::string_view css) {
    static std::mutex lock;
    static std::unordered_map<std::size_t, std::shared_ptr<const std::vector<SiblingTest>>> cache;
    const std::size_t key = std::hash<std::string_view>{}(css);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (auto found = cache.find(key); found != cache.end())
            return found->second;
    }
    auto tests = std::make_shared<std::vector<SiblingTest>>();
    forEachRulePrelude(css, [&](std::size_t begin, std::size_t end) {
        const std::string_view prelude = css.substr(begin, end - begin);
        if (prelude.find_first_of("+~:") == std::string_view::npos)
            return true;
        for (const Selector& selector : parseSelectorList(platform::text::fromUtf8(prelude)))
            if (selector.supported && selector.readsSiblings)
                collectTests(selector, *tests);
        return true;
    });
    std::lock_guard<std::mutex> guard(lock);
    if (cache.size() > 64)
        cache.clear();
    cache.emplace(key, tests);
    return tests;
}

bool hasClass(const std::wstring& classes, const std::wstring& name) {
    std::size_t at = 0;
    while ((at = classes.find(name, at)) != std::wstring::npos) {
        const bool startsWord = at == 0 || std::iswspace(classes[at - 1]);
        const std::size_t after = at + name.size();
        if (startsWord && (after == classes.size() || std::iswspace(classes[after])))
            return true;
        at = after;
    }
    return false;
}

// The compound's tag, id and classes; attribute and negated tests are taken to pass.
bool couldMatch(const CompoundSelector& compound, const Element& element) {
    if (!compound.tag.empty() && !element.hasTag(compound.tag))
        return false;
    if (!compound.id.empty() && element.id() != compound.id)
        return false;
    if (compound.classes.empty())
        return true;
    const std::wstring classes = element.className();
    return std::all_of(compound.classes.begin(), compound.classes.end(),
                       [&](const std::wstring& name) { return hasClass(classes, name); });
}

}  // namespace

bool bodySiblingsMatter(std::string_view css, const Element& body,
                        const std::function<bool(const Element&)>& added) {
    const auto tests = testsOf(css);
    if (tests->empty())
        return false;
    const auto children = body.children();
    const auto root = body.parentElement();
    // Whether the test can fall on one of the body's children at all: the compound before
    // it names the body (">"), or the body or the root (" ").
    const auto inBody = [&](const SiblingTest& test) {
        if (!test.context)
            return true;
        return couldMatch(*test.context, body) ||
               (!test.parent && root && couldMatch(*test.context, *root));
    };
    return std::any_of(tests->begin(), tests->end(), [&](const SiblingTest& test) {
        if (test.ofChildren)
            return couldMatch(test.compound, body);
        if (!inBody(test))
            return false;
        const auto anyChild = [&](const CompoundSelector& compound, bool onlyAdded) {
            return std::any_of(children.begin(), children.end(), [&](const auto& child) {
                return (!onlyAdded || added(*child)) && couldMatch(compound, *child);
            });
        };
        // A box added at the top comes before every other child: it changes what comes
        // before them only where it could be the "a" of "a + b" or "a ~ b" itself.
        if (test.following)
            return anyChild(test.compound, true) && anyChild(*test.following, false);
        return anyChild(test.compound, false);
    });
}

}  // namespace platform::dom
