#include "platform/dom/style/selector.h"

#include <algorithm>
#include <cwctype>
#include <optional>

#include "platform/dom/element.h"
#include "platform/dom/inner_text.h"
#include "platform/dom/style/css_parser.h"
#include "platform/dom/style/selector_structure.h"
#include "platform/dom/tag_names.h"
#include "platform/text/html_space.h"

namespace platform::dom {

namespace {

bool isNameChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'_' || c >= 0x80 || c == L'\\';
}

bool containsWord(std::wstring_view list, std::wstring_view wanted) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && platform::text::isHtmlSpace(list[i]))
            ++i;
        std::size_t start = i;
        while (i < list.size() && !platform::text::isHtmlSpace(list[i]))
            ++i;
        if (i > start && list.substr(start, i - start) == wanted)
            return true;
    }
    return false;
}

bool hasClass(const Element& element, std::wstring_view wanted) {
    auto value = element.getAttribute(L"class");
    return value && containsWord(*value, wanted);
}

bool passes(const AttributeTest& test, const Element& element) {
    using Op = AttributeTest::Operator;
    auto found = element.getAttribute(test.name);
    if (!found)
        return false;
    std::wstring_view value = *found;
    std::wstring_view wanted = test.value;
    switch (test.op) {
        case Op::Exists:
            return true;
        case Op::Equals:
            return value == wanted;
        case Op::Word:
            return !wanted.empty() &&
                   std::none_of(wanted.begin(), wanted.end(), platform::text::isHtmlSpace) &&
                   containsWord(value, wanted);
        case Op::DashPrefix:
            return value == wanted || (value.size() > wanted.size() && value.starts_with(wanted) &&
                                       value[wanted.size()] == L'-');
        case Op::Prefix:
            return !wanted.empty() && value.starts_with(wanted);
        case Op::Suffix:
            return !wanted.empty() && value.ends_with(wanted);
        case Op::Substring:
            return !wanted.empty() && value.find(wanted) != std::wstring_view::npos;
    }
    return false;
}

bool inLanguage(const Element& element, std::wstring_view wanted) {
    const std::wstring language = languageOf(element);
    return language == wanted || (language.size() > wanted.size() && language.starts_with(wanted) &&
                                  language[wanted.size()] == L'-');
}

bool passes(const PseudoClass& pseudo, const Element& element) {
    using Kind = PseudoClass::Kind;
    switch (pseudo.kind) {
        case Kind::NthChild:
        case Kind::NthLastChild:
        case Kind::NthOfType:
        case Kind::NthLastOfType: {
            auto position = positionAmongSiblings(
                element, pseudo.kind == Kind::NthLastChild || pseudo.kind == Kind::NthLastOfType,
                pseudo.kind == Kind::NthOfType || pseudo.kind == Kind::NthLastOfType);
            return position && isPositionOf(pseudo.a, pseudo.b, *position);
        }
        case Kind::Root:
            return isRootElement(element);
        case Kind::Empty:
            return isEmptyElement(element);
        case Kind::Link:
            return (element.tagName() == L"A" || element.tagName() == L"AREA") &&
                   element.hasAttribute(L"href");
        case Kind::Lang:
            return inLanguage(element, pseudo.language);
    }
    return false;
}

bool matchesCompound(const CompoundSelector& compound, const Element& element) {
    if (!compound.tag.empty() && element.tagName() != compound.tag)
        return false;
    if (!compound.id.empty() && element.getAttribute(L"id") != compound.id)
        return false;
    for (const auto& name : compound.classes)
        if (!hasClass(element, name))
            return false;
    for (const auto& test : compound.attributes)
        if (!passes(test, element))
            return false;
    for (const auto& pseudo : compound.pseudoClasses)
        if (!passes(pseudo, element))
            return false;
    for (const auto& negation : compound.negations)
        if (matchesCompound(negation, element))
            return false;
    return true;
}

// Matches compounds [0, index] with `element` standing for compounds[index].
bool matchesFrom(const std::vector<CompoundSelector>& compounds, std::size_t index,
                 const Element& element) {
    if (!matchesCompound(compounds[index], element))
        return false;
    if (index == 0)
        return true;
    switch (compounds[index - 1].toNext) {
        case Combinator::Child: {
            const Element* parent = parentElementOf(element);
            return parent && matchesFrom(compounds, index - 1, *parent);
        }
        case Combinator::Descendant:
            for (const Element* ancestor = parentElementOf(element); ancestor;
                 ancestor = parentElementOf(*ancestor))
                if (matchesFrom(compounds, index - 1, *ancestor))
                    return true;
            return false;
        case Combinator::Adjacent: {
            const Element* before = previousElementOf(element);
            return before && matchesFrom(compounds, index - 1, *before);
        }
        case Combinator::Sibling:
            for (const Element* before = previousElementOf(element); before;
                 before = previousElementOf(*before))
                if (matchesFrom(compounds, index - 1, *before))
                    return true;
            return false;
    }
    return false;
}

// Reads one selector; any syntax it does not know marks it unsupported.
class SelectorReader {
  public:
    explicit SelectorReader(std::wstring_view text) : text_(text) {}

    Selector read() {
        skipSpace();
        while (i_ < text_.size() && selector_.supported) {
            CompoundSelector compound;
            if (!readCompound(compound, false)) {
                selector_.supported = false;
                break;
            }
            selector_.compounds.push_back(std::move(compound));
            bool spaced = skipSpace();
            if (i_ == text_.size())
                break;
            Combinator combinator = Combinator::Descendant;
            if (text_[i_] == L'>' || text_[i_] == L'+' || text_[i_] == L'~') {
                combinator = text_[i_] == L'>'   ? Combinator::Child
                             : text_[i_] == L'+' ? Combinator::Adjacent
                                                 : Combinator::Sibling;
                ++i_;
                skipSpace();
            } else if (!spaced) {
                selector_.supported = false;
            }
            if (combinator == Combinator::Adjacent || combinator == Combinator::Sibling)
                selector_.readsSiblings = true;
            selector_.compounds.back().toNext = combinator;
            if (i_ == text_.size())
                selector_.supported = false;  // a combinator with nothing on its right
        }
        if (selector_.compounds.empty())
            selector_.supported = false;
        return std::move(selector_);
    }

  private:
    bool skipSpace() {
        std::size_t start = i_;
        while (i_ < text_.size() && platform::text::isHtmlSpace(text_[i_]))
            ++i_;
        return i_ > start;
    }

    std::wstring readName() {
        std::wstring name;
        while (i_ < text_.size() && isNameChar(text_[i_]))
            name += text_[i_++];
        return name;
    }

    bool at(wchar_t c) const { return i_ < text_.size() && text_[i_] == c; }

    // Reads simple selectors up to a space, a combinator or (inside :not) ")".
    bool readCompound(CompoundSelector& compound, bool negated) {
        bool any = false;
        while (i_ < text_.size()) {
            wchar_t c = text_[i_];
            if (platform::text::isHtmlSpace(c) || c == L'>' || c == L'+' || c == L'~' || c == L')')
                break;
            if (c == L'*') {
                ++i_;
            } else if (c == L'#' || c == L'.') {
                ++i_;
                std::wstring name = readName();
                if (name.empty())
                    return false;
                if (c == L'#') {
                    compound.id = std::move(name);
                    ++selector_.specificity[0];
                } else {
                    compound.classes.push_back(std::move(name));
                    ++selector_.specificity[1];
                }
            } else if (c == L'[') {
                if (!readAttribute(compound))
                    return false;
                ++selector_.specificity[1];
            } else if (c == L':') {
                if (!readPseudoClass(compound, negated))
                    return false;
            } else if (isNameChar(c)) {
                compound.tag = asciiUpper(readName());
                ++selector_.specificity[2];
            } else {
                return false;
            }
            any = true;
        }
        return any;
    }

    std::optional<std::wstring> readValue() {
        if (at(L'"') || at(L'\'')) {
            wchar_t quote = text_[i_++];
            std::size_t end = text_.find(quote, i_);
            if (end == std::wstring_view::npos)
                return std::nullopt;
            std::wstring value(text_.substr(i_, end - i_));
            i_ = end + 1;
            return value;
        }
        std::wstring value = readName();
        if (value.empty())
            return std::nullopt;
        return value;
    }

    bool readAttribute(CompoundSelector& compound) {
        using Op = AttributeTest::Operator;
        ++i_;  // "["
        skipSpace();
        AttributeTest test;
        test.name = asciiLower(readName());
        skipSpace();
        if (test.name.empty())
            return false;
        if (!at(L']')) {
            static constexpr std::pair<wchar_t, Op> kOperators[] = {
                {L'~', Op::Word},   {L'|', Op::DashPrefix}, {L'^', Op::Prefix},
                {L'$', Op::Suffix}, {L'*', Op::Substring},
            };
            test.op = Op::Equals;
            for (auto [c, op] : kOperators)
                if (at(c)) {
                    test.op = op;
                    ++i_;
                }
            if (!at(L'='))
                return false;
            ++i_;
            skipSpace();
            auto value = readValue();
            if (!value)
                return false;
            test.value = std::move(*value);
            skipSpace();
            if (!at(L']'))
                return false;
        }
        ++i_;  // "]"
        selector_.attributeNames.push_back(test.name);
        compound.attributes.push_back(std::move(test));
        return true;
    }

    // The text between "(" and its ")"; the reader stands after the ")".
    std::optional<std::wstring_view> readArgument() {
        if (!at(L'('))
            return std::nullopt;
        std::size_t end = text_.find(L')', ++i_);
        if (end == std::wstring_view::npos)
            return std::nullopt;
        std::wstring_view argument = text_.substr(i_, end - i_);
        i_ = end + 1;
        return argument;
    }

    bool readPseudoClass(CompoundSelector& compound, bool negated) {
        using Kind = PseudoClass::Kind;
        ++i_;  // ":"
        if (at(L':'))
            return false;  // a pseudo-element is never the element itself
        const std::wstring name = asciiLower(readName());
        ++selector_.specificity[1];
        struct Position {
            const wchar_t* name;
            Kind kind;
            Kind alsoLast;  // for the "only" forms
            bool only;
        };
        static constexpr Position kPositions[] = {
            {L"first-child", Kind::NthChild, Kind::NthChild, false},
            {L"last-child", Kind::NthLastChild, Kind::NthLastChild, false},
            {L"only-child", Kind::NthChild, Kind::NthLastChild, true},
            {L"first-of-type", Kind::NthOfType, Kind::NthOfType, false},
            {L"last-of-type", Kind::NthLastOfType, Kind::NthLastOfType, false},
            {L"only-of-type", Kind::NthOfType, Kind::NthLastOfType, true},
        };
        for (const auto& position : kPositions) {
            if (name != position.name)
                continue;
            compound.pseudoClasses.push_back({position.kind, 0, 1, {}});
            if (position.only)
                compound.pseudoClasses.push_back({position.alsoLast, 0, 1, {}});
            selector_.readsSiblings = true;
            return true;
        }
        static constexpr std::pair<const wchar_t*, Kind> kCounted[] = {
            {L"nth-child", Kind::NthChild},
            {L"nth-last-child", Kind::NthLastChild},
            {L"nth-of-type", Kind::NthOfType},
            {L"nth-last-of-type", Kind::NthLastOfType},
        };
        for (auto [counted, kind] : kCounted) {
            if (name != counted)
                continue;
            auto argument = readArgument();
            auto formula = argument ? parsePositionFormula(*argument) : std::nullopt;
            if (!formula)
                return false;
            compound.pseudoClasses.push_back({kind, formula->first, formula->second, {}});
            selector_.readsSiblings = true;
            return true;
        }
        if (name == L"root" || name == L"empty" || name == L"link") {
            Kind kind = name == L"root" ? Kind::Root : name == L"empty" ? Kind::Empty : Kind::Link;
            compound.pseudoClasses.push_back({kind, 0, 1, {}});
            if (kind == Kind::Empty)
                selector_.readsSiblings = true;
            if (kind == Kind::Link)
                selector_.attributeNames.push_back(L"href");
            return true;
        }
        if (name == L"lang") {
            auto argument = readArgument();
            if (!argument)
                return false;
            std::wstring language = asciiLower(*argument);
            std::erase_if(language, platform::text::isHtmlSpace);
            if (language.empty())
                return false;
            compound.pseudoClasses.push_back({Kind::Lang, 0, 1, std::move(language)});
            selector_.attributeNames.push_back(L"lang");
            return true;
        }
        if (name == L"not" && !negated && at(L'(')) {
            --selector_.specificity[1];  // :not counts what it holds, not itself
            ++i_;
            skipSpace();
            CompoundSelector inner;
            if (!readCompound(inner, true))
                return false;
            skipSpace();
            if (!at(L')'))
                return false;
            ++i_;
            compound.negations.push_back(std::move(inner));
            return true;
        }
        return false;  // dynamic states (:hover, :visited, ...) and unknown pseudo-classes
    }

    std::wstring_view text_;
    std::size_t i_ = 0;
    Selector selector_;
};

}  // namespace

bool Selector::matches(const Element& element) const {
    return supported && !compounds.empty() && matchesFrom(compounds, compounds.size() - 1, element);
}

std::vector<Selector> parseSelectorList(std::wstring_view text) {
    std::vector<Selector> selectors;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = findTopLevel(text, start, L",");
        if (comma == std::wstring_view::npos)
            comma = text.size();
        std::wstring_view part = text.substr(start, comma - start);
        if (part.find_first_not_of(L" \t\r\n\f") != std::wstring_view::npos)
            selectors.push_back(SelectorReader(part).read());
        start = comma + 1;
    }
    return selectors;
}

}  // namespace platform::dom
