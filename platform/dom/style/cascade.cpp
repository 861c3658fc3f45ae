#include "platform/dom/style/cascade.h"

#include <algorithm>
#include <array>

#include "platform/dom/document.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style/browser_defaults.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/dom/tag_names.h"
#include "platform/text/html_space.h"

namespace platform::dom {

namespace {

using Values = std::vector<std::pair<PropertyId, std::wstring>>;

void setValue(Values& values, PropertyId id, std::wstring value) {
    for (auto& entry : values) {
        if (entry.first == id) {
            entry.second = std::move(value);
            return;
        }
    }
    values.emplace_back(id, std::move(value));
}

// Changes whenever the element's child list or its parent's does: both counters only grow.
std::uint64_t siblingStamp(const Element& element) {
    const Node* parent = element.parentPointer();
    return element.childListVersion() + (parent ? parent->childListVersion() : 0);
}

std::vector<std::wstring> classesOf(const Element& element) {
    std::vector<std::wstring> classes;
    auto value = element.getAttribute(L"class");
    if (!value)
        return classes;
    std::wstring current;
    for (wchar_t c : *value + L" ") {
        if (platform::text::isHtmlSpace(c)) {
            if (!current.empty())
                classes.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    return classes;
}

}  // namespace

void applyDeclaration(const Declaration& declaration, Values& values) {
    if (auto id = findLonghand(declaration.name)) {
        setValue(values, *id, declaration.value);
        return;
    }
    if (!isShorthand(declaration.name))
        return;
    bool inherit = equalsIgnoringCase(declaration.value, L"inherit");
    if (inherit) {
        for (PropertyId id : shorthandLonghands(declaration.name))
            setValue(values, id, L"inherit");
        return;
    }
    for (auto& [id, value] : expandShorthand(declaration.name, declaration.value))
        setValue(values, id, std::move(value));
}

// The values an element inherits are copied from its parent's style once, here, so that
// reading one never walks up the chain of ancestors: "inherit" is replaced by the parent's
// value, and every inherited property the parent has a value for and this element does not
// set comes along.
ComputedStyle::ComputedStyle(std::shared_ptr<const ComputedStyle> parent, Values specified)
    : parent_(std::move(parent)), specified_(std::move(specified)) {
    auto byId = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::sort(specified_.begin(), specified_.end(), byId);
    for (auto& [id, value] : specified_)
        if (equalsIgnoringCase(value, L"inherit"))
            value = parent_ ? parent_->value(id) : std::wstring(propertyInfo(id).initial);
    if (!parent_)
        return;
    const std::size_t own = specified_.size();
    for (const auto& [id, value] : parent_->specified_)
        if (propertyInfo(id).inherited &&
            !std::binary_search(specified_.begin(), specified_.begin() + own,
                                std::pair<PropertyId, std::wstring>{id, {}}, byId))
            specified_.emplace_back(id, value);
    std::inplace_merge(specified_.begin(), specified_.begin() + own, specified_.end(), byId);
}

ComputedStyle::~ComputedStyle() {
    std::shared_ptr<const ComputedStyle> next = std::move(parent_);
    while (next && next.use_count() == 1) {
        // Only this chain holds `next`: take its parent before it goes, so that releasing
        // it does not release the rest of the chain from inside its own destructor.
        std::shared_ptr<const ComputedStyle> after = std::move(next->parent_);
        next = std::move(after);
    }
}

const std::wstring* ComputedStyle::specifiedValue(PropertyId id) const {
    auto it = std::lower_bound(specified_.begin(), specified_.end(), id,
                               [](const auto& entry, PropertyId key) { return entry.first < key; });
    return (it != specified_.end() && it->first == id) ? &it->second : nullptr;
}

std::wstring ComputedStyle::value(PropertyId id) const {
    const PropertyInfo& info = propertyInfo(id);
    const std::wstring* own = specifiedValue(id);
    std::wstring result =
        own && !equalsIgnoringCase(*own, L"initial") ? *own : std::wstring(info.initial);
    bool borderColour = id >= PropertyId::BorderTopColor && id <= PropertyId::BorderLeftColor;
    if (borderColour && (result.empty() || equalsIgnoringCase(result, L"currentcolor")))
        return value(PropertyId::Color);
    return result;
}

std::optional<std::wstring> ComputedStyle::getAttribute(std::wstring_view name) const {
    std::wstring cssName = toCssName(name);
    if (auto id = findLonghand(cssName))
        return value(*id);
    auto longhands = shorthandLonghands(cssName);
    if (longhands.empty())
        return std::nullopt;
    std::vector<std::wstring> values;
    for (PropertyId id : longhands)
        values.push_back(value(id));
    return composeShorthand(cssName, values);
}

void StyleEngine::indexRule(const StyleRule& rule, int origin) {
    for (const auto& selector : rule.selectors) {
        if (!selector.supported)
            continue;
        IndexedRule entry{&selector, &rule.declarations, origin, ruleCount_++};
        rulesReadSiblings_ = rulesReadSiblings_ || selector.readsSiblings;
        for (const auto& name : selector.attributeNames)
            if (name != L"id" && name != L"class" && name != L"style")
                testedAttributes_.push_back(name);
        const CompoundSelector& key = selector.compounds.back();
        if (!key.id.empty())
            byId_[key.id].push_back(entry);
        else if (!key.classes.empty())
            byClass_[key.classes.front()].push_back(entry);
        else if (!key.tag.empty())
            byTag_[key.tag].push_back(entry);
        else
            universal_.push_back(entry);
    }
}

void StyleEngine::rebuildIndex() {
    shared_.clear();
    byId_.clear();
    byClass_.clear();
    byTag_.clear();
    universal_.clear();
    ruleCount_ = 0;
    rulesReadSiblings_ = false;
    testedAttributes_.clear();
    for (const auto& rule : browserDefaultRules())
        indexRule(rule, 0);
    for (const auto& sheet : document_.styleSheets())
        if (sheet->applies())
            for (const auto& rule : sheet->rules())
                indexRule(rule, 1);
    std::sort(testedAttributes_.begin(), testedAttributes_.end());
    testedAttributes_.erase(std::unique(testedAttributes_.begin(), testedAttributes_.end()),
                            testedAttributes_.end());
    indexVersion_ = document_.styleRulesVersion();
}

bool StyleEngine::isCurrent(const Element& element, const ComputedStyle* parentStyle) const {
    return element.computed_ && element.computedRules_ == indexVersion_ &&
           element.computed_->parent().get() == parentStyle &&
           (!rulesReadSiblings_ || element.computedSiblings_ == siblingStamp(element));
}

std::shared_ptr<const ComputedStyle> StyleEngine::styleOf(const Element& element) {
    if (indexVersion_ != document_.styleRulesVersion())
        rebuildIndex();
    const std::uint64_t generation = document_.styleGeneration();
    auto checkedNow = [&](const Element& e) {
        return e.computed_ && e.computedRules_ == indexVersion_ &&
               e.checkedGeneration_ == generation;
    };
    if (checkedNow(element))
        return element.computed_;
    // Something changed since the element was last checked: check its ancestors from the
    // nearest one checked since then (or the top) down, and compute again whatever is no
    // longer current.
    std::vector<std::shared_ptr<const Element>> chain;
    std::shared_ptr<const ComputedStyle> parentStyle;
    for (auto node = std::static_pointer_cast<const Element>(element.shared_from_this()); node;
         node = node->parentElement()) {
        if (checkedNow(*node)) {
            parentStyle = node->computed_;
            break;
        }
        chain.push_back(node);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Element& current = **it;
        if (!isCurrent(current, parentStyle.get())) {
            current.computed_ = styleFor(current, parentStyle);
            current.computedRules_ = indexVersion_;
            current.computedSiblings_ = siblingStamp(current);
        }
        current.checkedGeneration_ = generation;
        parentStyle = current.computed_;
    }
    return element.computed_;
}

std::size_t StyleEngine::ShareKeyHash::operator()(const ShareKey& key) const {
    std::size_t hash = std::hash<const void*>()(key.parent);
    auto mix = [&hash](std::size_t value) { hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6); };
    mix(std::hash<const void*>()(key.tag));
    mix(static_cast<std::size_t>(key.ns));
    mix(std::hash<std::wstring>()(key.id));
    mix(std::hash<std::wstring>()(key.classes));
    mix(std::hash<std::wstring>()(key.style));
    mix(std::hash<std::wstring>()(key.testedAttributes));
    return hash;
}

std::shared_ptr<const ComputedStyle> StyleEngine::styleFor(
    const Element& element, std::shared_ptr<const ComputedStyle> parent) {
    constexpr std::size_t kMostKeys = 1 << 17;
    if (rulesReadSiblings_)
        return compute(element, std::move(parent));
    std::wstring tested;
    for (const auto& name : testedAttributes_)
        if (auto value = element.getAttribute(name))
            tested += name + L'=' + *value + L'\x1f';
    ShareKey key{parent.get(),
                 element.tag_,
                 static_cast<int>(element.elementNamespace()),
                 element.getAttribute(L"id").value_or(L""),
                 element.getAttribute(L"class").value_or(L""),
                 element.getAttribute(L"style").value_or(L""),
                 std::move(tested)};
    auto found = shared_.find(key);
    if (found != shared_.end())
        if (auto style = found->second.lock())
            return style;
    auto style = compute(element, std::move(parent));
    if (shared_.size() >= kMostKeys)
        std::erase_if(shared_, [](const auto& entry) { return entry.second.expired(); });
    if (shared_.size() >= kMostKeys)
        shared_.clear();
    shared_.insert_or_assign(std::move(key), style);
    return style;
}

std::shared_ptr<const ComputedStyle> StyleEngine::compute(
    const Element& element, std::shared_ptr<const ComputedStyle> parent) {
    struct Applied {
        int level;  // browser, page, inline, page !important, inline !important
        std::array<int, 3> specificity;
        std::size_t order;
        const Declaration* declaration;
    };
    std::vector<Applied> applied;
    auto consider = [&](const std::vector<IndexedRule>* bucket) {
        if (!bucket)
            return;
        for (const auto& rule : *bucket) {
            if (!rule.selector->matches(element))
                continue;
            for (const auto& declaration : *rule.declarations)
                applied.push_back({declaration.important ? 3 : rule.origin,
                                   rule.selector->specificity, rule.order, &declaration});
        }
    };
    auto find = [](auto& map, const std::wstring& key) -> const std::vector<IndexedRule>* {
        auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    };
    if (auto id = element.getAttribute(L"id"); id && !id->empty())
        consider(find(byId_, *id));
    for (const auto& name : classesOf(element))
        consider(find(byClass_, name));
    consider(find(byTag_, element.tagName()));
    consider(&universal_);

    std::vector<Declaration> inlineDeclarations =
        parseDeclarations(element.getAttribute(L"style").value_or(L""));
    for (const auto& declaration : inlineDeclarations)
        applied.push_back({declaration.important ? 4 : 2, {0, 0, 0}, 0, &declaration});

    std::stable_sort(applied.begin(), applied.end(), [](const Applied& a, const Applied& b) {
        if (a.level != b.level)
            return a.level < b.level;
        if (a.specificity != b.specificity)
            return a.specificity < b.specificity;
        return a.order < b.order;
    });
    Values values;
    for (const auto& entry : applied)
        applyDeclaration(*entry.declaration, values);

    return std::make_shared<const ComputedStyle>(std::move(parent), std::move(values));
}

}  // namespace platform::dom
