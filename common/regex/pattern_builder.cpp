#include "common/regex/pattern_builder.h"

#include <algorithm>
#include <climits>

#include "common/regex/regex_flags.h"

namespace common {

namespace {

bool isDigitCode(std::uint32_t c) {
    return c >= '0' && c <= '9';
}

bool isFlagLetter(std::uint32_t c) {
    return c == 'i' || c == 'I' || c == 'm' || c == 'M' || c == 's' || c == 'S' || c == 'g' ||
           c == 'G';
}

// The decimal number so far followed by one more digit, or -1 once it exceeds an int.
int appendDigit(int value, std::uint32_t digit) {
    if (value < 0 || value > (INT_MAX - static_cast<int>(digit - '0')) / 10)
        return -1;
    return value * 10 + static_cast<int>(digit - '0');
}

// Appends the character `code` to a literal run. Narrow text is UTF-8, so a code that
// does not fit in one byte ("\u0141", "\x{20AC}") stands for its UTF-8 bytes rather than
// for its low byte, which would be another character altogether.
template <class CharT>
void appendLiteral(std::basic_string<CharT>& run, std::uint32_t code) {
    if (sizeof(CharT) > 1 || code < 0x100) {
        run.push_back(static_cast<CharT>(code));
        return;
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;  // no character: the replacement character, as the text converters do
    const int trailing = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    static constexpr std::uint32_t kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    run.push_back(static_cast<CharT>(kLeadMarks[trailing] | (code >> (6 * trailing))));
    for (int shift = 6 * (trailing - 1); shift >= 0; shift -= 6)
        run.push_back(static_cast<CharT>(0x80 | ((code >> shift) & 0x3F)));
}

int flagOfLetter(std::uint32_t c) {
    switch (c | 0x20) {
        case 'i':
            return REGEX_IGNORE_CASE;
        case 'm':
            return REGEX_MULTI_LINE;
        case 's':
            return REGEX_SINGLE_LINE;
        default:
            return REGEX_GLOBAL;
    }
}

}  // namespace

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::build(View pattern, int flags) {
    clear();
    m_tokens = std::make_unique<PatternTokenizer<CharT>>(pattern, (flags & REGEX_EXTENDED) != 0);
    Context context{flags, (flags & REGEX_RIGHT_TO_LEFT) != 0};
    const Node* top = parseAlternation(context);
    if (m_refused) {
        clear();
        return nullptr;
    }
    if (flags & REGEX_GLOBAL) {
        std::vector<const Node*> items{make<CGlobalNodeT<CharT>>(), top};
        top = make<CListNodeT<CharT>>(std::move(items));
    }
    m_top = top;
    number();
    // A recursion runs a group where other text follows it, so what follows a group is
    // only known without recursions.
    if (m_delegates.empty() && !context.rightToLeft)
        tellNestedRepetitionsWhatFollows(top, FirstCharacters(), true);
    m_tokens.reset();
    return m_top;
}

template <class CharT>
void CPatternBuilderT<CharT>::clear() {
    m_nodes.clear();
    m_tokens.reset();
    m_groups.clear();
    m_backrefs.clear();
    m_delegates.clear();
    m_conditions.clear();
    m_shared.clear();
    m_top = nullptr;
    m_depth = 0;
    m_refused = false;
}

template <class CharT>
int CPatternBuilderT<CharT>::groupNumber(View name) const {
    for (const Group& group : m_groups)
        if (group.named && group.name == name)
            return group.number;
    return -1;
}

template <class CharT>
bool CPatternBuilderT<CharT>::isAnyCharacter(const Node* node, bool& matchesLineFeed) const {
    for (const auto& [key, shared] : m_shared) {
        if (shared != node)
            continue;
        if (key.first == SharedClass::Any || key.first == SharedClass::AnyWithLineFeed) {
            matchesLineFeed = key.first == SharedClass::AnyWithLineFeed;
            return true;
        }
    }
    return false;
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseAlternation(Context& context) {
    std::vector<const Node*> branches{parseSequence(context)};
    while (!m_refused && m_tokens->peek(false).is(PatternToken::Special, '|')) {
        m_tokens->read(false);
        branches.push_back(parseSequence(context));
    }
    if (branches.size() == 1)
        return branches[0];
    return make<CAlternativeNodeT<CharT>>(std::move(branches), context.rightToLeft);
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseSequence(Context& context) {
    std::vector<const Node*> items;
    while (!m_refused) {
        const PatternToken next = m_tokens->peek(false);
        if (next.kind == PatternToken::End || next.is(PatternToken::Special, '|'))
            break;
        if (next.is(PatternToken::Special, ')')) {
            if (m_depth > 0)
                break;
            // A ")" without its "(" is literal text.
            m_tokens->read(false);
            items.push_back(literal(')', context));
            continue;
        }
        if (const Node* item = parseItem(context))
            items.push_back(item);
    }
    if (items.empty())
        return empty();
    if (items.size() == 1)
        return items[0];
    if (!context.rightToLeft)
        tellRepetitionsWhatFollows(items, FirstCharacters(), true, false);
    if (context.rightToLeft)
        std::reverse(items.begin(), items.end());
    return make<CListNodeT<CharT>>(std::move(items));
}

template <class CharT>
void CPatternBuilderT<CharT>::tellRepetitionsWhatFollows(const std::vector<const Node*>& items,
                                                         FirstCharacters rest, bool restNullable,
                                                         bool descend) {
    // Walks the sequence backwards, keeping the characters the rest of it can begin with
    // and whether the rest can match the empty text.
    for (std::size_t i = items.size(); i-- > 0;) {
        // Every node was made by this builder, so it may still be adjusted.
        if (auto* greedy = dynamic_cast<const CGreedyNodeT<CharT>*>(items[i]);
            greedy != nullptr && !restNullable)
            const_cast<CGreedyNodeT<CharT>*>(greedy)->setFollowing(rest);
        if (descend)
            tellNestedRepetitionsWhatFollows(items[i], rest, restNullable);
        FirstCharacters first;
        const bool nullable = items[i]->addFirstCharacters(first);
        if (nullable)
            first.merge(rest);
        rest = first;
        restNullable = nullable && restNullable;
    }
}

template <class CharT>
void CPatternBuilderT<CharT>::tellNestedRepetitionsWhatFollows(const Node* node,
                                                               const FirstCharacters& rest,
                                                               bool restNullable) {
    // Groups and alternations are transparent: what follows them follows their last
    // items. Bodies of atomic groups, assertions and repetitions are not descended into,
    // as their own first solution must not change.
    if (const auto* list = dynamic_cast<const CListNodeT<CharT>*>(node))
        tellRepetitionsWhatFollows(list->nodes(), rest, restNullable, true);
    if (const auto* alternative = dynamic_cast<const CAlternativeNodeT<CharT>*>(node))
        for (const Node* branch : alternative->branches()) {
            const std::vector<const Node*> single{branch};
            tellRepetitionsWhatFollows(single, rest, restNullable, true);
        }
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseItem(Context& context) {
    const std::size_t groupsBefore = m_groups.size();
    const PatternToken token = m_tokens->read(false);
    const Node* atom = nullptr;
    switch (token.kind) {
        case PatternToken::End:
            return nullptr;
        case PatternToken::Literal:
            atom = parseLiteralRun(context, token.value);
            break;
        case PatternToken::Escape:
            atom = parseEscape(context, token.value);
            break;
        case PatternToken::Special:
            switch (token.value) {
                case '.':
                    atom = shared(context.flags & REGEX_SINGLE_LINE ? SharedClass::AnyWithLineFeed
                                                                    : SharedClass::Any,
                                  context.rightToLeft);
                    break;
                case '[':
                    atom = parseClass(context);
                    break;
                case '(':
                    atom = parseGroup(context);
                    break;
                case '^':
                    atom = make<CBoundaryNodeT<CharT>>(context.flags & REGEX_MULTI_LINE
                                                           ? BoundaryKind::LineStart
                                                           : BoundaryKind::TextStart);
                    break;
                case '$':
                    atom = make<CBoundaryNodeT<CharT>>(context.flags & REGEX_MULTI_LINE
                                                           ? BoundaryKind::LineEnd
                                                           : BoundaryKind::TextEndOrFinalBreak);
                    break;
                default:  // a quantifier with nothing to repeat, a stray brace or ")"
                    return literal(token.value, context);
            }
            break;
    }
    if (atom == nullptr)
        return nullptr;
    Quantifier quantifier;
    if (!readQuantifier(quantifier))
        return atom;
    return quantify(atom, quantifier, context.rightToLeft, m_groups.size() != groupsBefore);
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseLiteralRun(Context& context,
                                                                 std::uint32_t first) {
    String run;
    appendLiteral(run, first);
    if (!quantifierFollows()) {
        for (;;) {
            const auto before = m_tokens->position();
            const PatternToken next = m_tokens->read(false);
            if (next.kind != PatternToken::Literal || quantifierFollows()) {
                m_tokens->setPosition(before);
                break;
            }
            appendLiteral(run, next.value);
        }
    }
    return make<CStringNodeT<CharT>>(std::move(run), (context.flags & REGEX_IGNORE_CASE) != 0,
                                     context.rightToLeft);
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseEscape(Context& context,
                                                             std::uint32_t letter) {
    const bool rtl = context.rightToLeft;
    switch (letter) {
        case 'd':
            return shared(SharedClass::Digit, rtl);
        case 'D':
            return shared(SharedClass::NotDigit, rtl);
        case 'w':
            return shared(SharedClass::Word, rtl);
        case 'W':
            return shared(SharedClass::NotWord, rtl);
        case 's':
            return shared(SharedClass::Space, rtl);
        case 'S':
            return shared(SharedClass::NotSpace, rtl);
        case 'b':
            return make<CBoundaryNodeT<CharT>>(BoundaryKind::WordBoundary);
        case 'B':
            return make<CBoundaryNodeT<CharT>>(BoundaryKind::NotWordBoundary);
        case 'A':
            return make<CBoundaryNodeT<CharT>>(BoundaryKind::TextStart);
        case 'Z':
            return make<CBoundaryNodeT<CharT>>(BoundaryKind::TextEndOrFinalBreak);
        case 'z':
            return make<CBoundaryNodeT<CharT>>(BoundaryKind::TextEnd);
        case 'G':
            return make<CGlobalNodeT<CharT>>();
        case 'k':
        case 'g': {
            const std::uint32_t open = m_tokens->rawAt(0);
            const std::uint32_t close = open == '<'    ? '>'
                                        : open == '\'' ? '\''
                                        : open == '{'  ? '}'
                                                       : 0;
            Reference reference;
            if (close != 0) {
                const auto before = m_tokens->position();
                m_tokens->skipRaw(1);
                if (!readName(close, reference.name)) {
                    m_tokens->setPosition(before);
                    return literal(letter, context);
                }
            } else if (isDigitCode(open)) {
                reference.number = readNumber();
            } else {
                return literal(letter, context);
            }
            return parseBackref(context, std::move(reference));
        }
        default: {  // a digit: numbered back-reference
            Reference reference;
            reference.number = readNumber();
            return parseBackref(context, std::move(reference));
        }
    }
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseBackref(Context& context,
                                                              Reference reference) {
    String& name = reference.name;
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](CharT c) {
            return isDigitCode(PatternTokenizer<CharT>::code(c));
        })) {
        reference.number = 0;
        for (CharT c : name)
            reference.number = appendDigit(reference.number, PatternTokenizer<CharT>::code(c));
        name.clear();
    }
    auto* node = make<CBackrefNodeT<CharT>>(
        reference.number, (context.flags & REGEX_IGNORE_CASE) != 0, context.rightToLeft);
    if (!name.empty())
        m_backrefs.emplace_back(node, std::move(reference));
    return node;
}

template <class CharT>
bool CPatternBuilderT<CharT>::readName(std::uint32_t close, String& name) {
    name.clear();
    for (std::size_t i = 0;; ++i) {
        const std::uint32_t c = m_tokens->rawAt(i);
        if (c == close && i > 0) {
            m_tokens->skipRaw(i + 1);
            return true;
        }
        if (!isRegexWord(c))
            return false;
        name.push_back(static_cast<CharT>(c));
    }
}

template <class CharT>
int CPatternBuilderT<CharT>::readNumber() {
    int value = 0;
    while (isDigitCode(m_tokens->rawAt(0))) {
        value = appendDigit(value, m_tokens->rawAt(0));
        m_tokens->skipRaw(1);
    }
    return value;
}

template <class CharT>
bool CPatternBuilderT<CharT>::readQuantifier(Quantifier& quantifier) {
    const auto before = m_tokens->position();
    const PatternToken token = m_tokens->read(false);
    if (token.kind != PatternToken::Special) {
        m_tokens->setPosition(before);
        return false;
    }
    quantifier = Quantifier{};
    switch (token.value) {
        case '*':
            quantifier.max = kUnbounded;
            break;
        case '+':
            quantifier.min = 1;
            quantifier.max = kUnbounded;
            break;
        case '?':
            quantifier.max = 1;
            break;
        case '{': {
            if (!isDigitCode(m_tokens->rawAt(0))) {
                m_tokens->setPosition(before);
                return false;
            }
            quantifier.min = readNumber();
            quantifier.max = quantifier.min;
            quantifier.exact = true;
            if (m_tokens->rawAt(0) == ',') {
                m_tokens->skipRaw(1);
                quantifier.exact = false;
                quantifier.max = isDigitCode(m_tokens->rawAt(0)) ? readNumber() : kUnbounded;
            }
            // A count too large for an int cannot be honoured: the pattern is refused
            // rather than repeating some other number of times.
            if (quantifier.min < 0 || quantifier.max < 0) {
                m_refused = true;
                return false;
            }
            if (m_tokens->rawAt(0) != '}' || quantifier.max < quantifier.min) {
                m_tokens->setPosition(before);
                return false;
            }
            m_tokens->skipRaw(1);
            break;
        }
        default:
            m_tokens->setPosition(before);
            return false;
    }
    const auto afterQuantifier = m_tokens->position();
    const PatternToken suffix = m_tokens->read(false);
    if (suffix.is(PatternToken::Special, '?'))
        quantifier.reluctant = true;
    else if (suffix.is(PatternToken::Special, '+'))
        quantifier.possessive = true;
    else
        m_tokens->setPosition(afterQuantifier);
    return true;
}

template <class CharT>
bool CPatternBuilderT<CharT>::quantifierFollows() {
    const auto before = m_tokens->position();
    Quantifier ignored;
    const bool follows = readQuantifier(ignored);
    m_tokens->setPosition(before);
    return follows;
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::quantify(const Node* atom,
                                                          const Quantifier& quantifier,
                                                          bool rightToLeft, bool captures) {
    if (quantifier.possessive)
        return make<CPossessiveNodeT<CharT>>(atom, quantifier.min, quantifier.max, rightToLeft,
                                             captures);
    if (quantifier.exact)
        return make<CRepeatNodeT<CharT>>(atom, quantifier.min, rightToLeft);
    if (quantifier.reluctant)
        return make<CReluctantNodeT<CharT>>(atom, quantifier.min, quantifier.max);
    return make<CGreedyNodeT<CharT>>(atom, quantifier.min, quantifier.max, rightToLeft);
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseGroup(Context& context) {
    if (++m_depth > kMaxNesting) {
        m_refused = true;
        return nullptr;
    }
    const Node* node = nullptr;
    bool known = true;
    if (m_tokens->rawAt(0) != '?') {
        node = parseCaptureGroup(context, String(), false);
    } else {
        const std::uint32_t c1 = m_tokens->rawAt(1);
        const std::uint32_t c2 = m_tokens->rawAt(2);
        if (c1 == ':') {
            m_tokens->skipRaw(2);
            Context inner = context;
            node = parseAlternation(inner);
            closeGroup();
        } else if (c1 == '=' || c1 == '!') {
            m_tokens->skipRaw(2);
            node = parseLookaround(context, false, c1 == '!');
        } else if (c1 == '<' && (c2 == '=' || c2 == '!')) {
            m_tokens->skipRaw(3);
            node = parseLookaround(context, true, c2 == '!');
        } else if (c1 == '>') {
            m_tokens->skipRaw(2);
            const std::size_t groupsBefore = m_groups.size();
            Context inner = context;
            const Node* body = parseAlternation(inner);
            closeGroup();
            node = make<CIndependentNodeT<CharT>>(body, m_groups.size() != groupsBefore);
        } else if (c1 == 'R') {
            known = parseRecursion(node);
        } else if (c1 == '(') {
            known = parseCondition(context, node);
        } else if (c1 == '<' || c1 == '\'' || (c1 == 'P' && c2 == '<')) {
            const auto before = m_tokens->position();
            m_tokens->skipRaw(c1 == 'P' ? 3 : 2);
            String name;
            known = readName(c1 == '\'' ? '\'' : '>', name);
            if (known)
                node = parseCaptureGroup(context, std::move(name), true);
            else
                m_tokens->setPosition(before);
        } else {
            known = parseFlagGroup(context, node);
        }
    }
    --m_depth;
    if (known)
        return node;
    // Not a group form we know: "(?" is literal text.
    m_tokens->skipRaw(1);
    return make<CStringNodeT<CharT>>(String{'(', '?'}, (context.flags & REGEX_IGNORE_CASE) != 0,
                                     context.rightToLeft);
}

template <class CharT>
void CPatternBuilderT<CharT>::closeGroup() {
    // A group left open at the end of the pattern is closed there.
    if (m_tokens->peek(false).is(PatternToken::Special, ')'))
        m_tokens->read(false);
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseCaptureGroup(Context& context, String name,
                                                                   bool named) {
    const std::size_t index = m_groups.size();
    m_groups.push_back(Group{name, named});
    auto* open = make<CBracketNodeT<CharT>>(-1, true, name);
    auto* close = make<CBracketNodeT<CharT>>(-1, false, std::move(name));
    Context inner = context;
    const Node* body = parseAlternation(inner);
    closeGroup();
    std::vector<const Node*> items{open, body, close};
    if (context.rightToLeft)
        std::swap(items.front(), items.back());
    const Node* node = make<CListNodeT<CharT>>(std::move(items));
    Group& group = m_groups[index];
    group.open = open;
    group.close = close;
    group.node = node;
    return node;
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseLookaround(Context& context, bool behind,
                                                                 bool negative) {
    const std::size_t groupsBefore = m_groups.size();
    Context inner{context.flags, behind};
    const Node* body = parseAlternation(inner);
    closeGroup();
    return make<CAssertNodeT<CharT>>(body, negative, m_groups.size() != groupsBefore);
}

template <class CharT>
bool CPatternBuilderT<CharT>::parseRecursion(const Node*& node) {
    // At "?R": "(?R)", "(?R<name>)", "(?R'name')" or "(?Rn)".
    const auto before = m_tokens->position();
    m_tokens->skipRaw(2);
    Reference reference;
    const std::uint32_t c = m_tokens->rawAt(0);
    bool valid = true;
    if (c == ')') {
        reference.number = 0;
    } else if (isDigitCode(c)) {
        reference.number = readNumber();
    } else if (c == '<' || c == '\'') {
        m_tokens->skipRaw(1);
        valid = readName(c == '<' ? '>' : '\'', reference.name);
    } else {
        valid = false;
    }
    if (!valid || m_tokens->rawAt(0) != ')') {
        m_tokens->setPosition(before);
        return false;
    }
    m_tokens->skipRaw(1);
    auto* delegate = make<CDelegateNodeT<CharT>>();
    m_delegates.emplace_back(delegate, std::move(reference));
    node = delegate;
    return true;
}

template <class CharT>
bool CPatternBuilderT<CharT>::parseCondition(Context& context, const Node*& node) {
    // At "?(": the condition is a look-around, a group number or a group name.
    const auto before = m_tokens->position();
    m_tokens->skipRaw(2);
    Reference reference;
    const Node* assertion = nullptr;
    const std::uint32_t c = m_tokens->rawAt(0);
    if (c == '?' &&
        (m_tokens->rawAt(1) == '=' || m_tokens->rawAt(1) == '!' ||
         (m_tokens->rawAt(1) == '<' && (m_tokens->rawAt(2) == '=' || m_tokens->rawAt(2) == '!')))) {
        const bool behind = m_tokens->rawAt(1) == '<';
        const bool negative = m_tokens->rawAt(behind ? 2 : 1) == '!';
        m_tokens->skipRaw(behind ? 3 : 2);
        assertion = parseLookaround(context, behind, negative);
    } else {
        bool valid;
        if (isDigitCode(c)) {
            reference.number = readNumber();
            valid = m_tokens->rawAt(0) == ')';
            m_tokens->skipRaw(1);
        } else if (c == '<' || c == '\'') {
            m_tokens->skipRaw(1);
            valid = readName(c == '<' ? '>' : '\'', reference.name) && m_tokens->rawAt(0) == ')';
            m_tokens->skipRaw(1);
        } else {
            valid = readName(')', reference.name);
        }
        if (!valid) {
            m_tokens->setPosition(before);
            return false;
        }
    }
    Context inner = context;
    const Node* yes = parseSequence(inner);
    const Node* no = nullptr;
    if (m_tokens->peek(false).is(PatternToken::Special, '|')) {
        m_tokens->read(false);
        no = parseAlternation(inner);
    }
    closeGroup();
    auto* condition = make<CConditionNodeT<CharT>>(reference.number, assertion, yes,
                                                   no != nullptr ? no : empty());
    if (assertion == nullptr && !reference.name.empty())
        m_conditions.emplace_back(condition, std::move(reference));
    node = condition;
    return true;
}

template <class CharT>
bool CPatternBuilderT<CharT>::parseFlagGroup(Context& context, const Node*& node) {
    // At "?": letters, an optional "-" and letters, then ")" or ":".
    const auto before = m_tokens->position();
    int on = 0;
    int off = 0;
    bool negate = false;
    std::size_t i = 1;
    for (;; ++i) {
        const std::uint32_t c = m_tokens->rawAt(i);
        if (c == '-' && !negate) {
            negate = true;
        } else if (isFlagLetter(c)) {
            (negate ? off : on) |= flagOfLetter(c);
        } else {
            break;
        }
    }
    const std::uint32_t end = m_tokens->rawAt(i);
    if ((end != ')' && end != ':') || i == 1) {
        m_tokens->setPosition(before);
        return false;
    }
    m_tokens->skipRaw(i + 1);
    const int flags = (context.flags | on) & ~off;
    const bool anchors = (on & REGEX_GLOBAL) != 0 && (context.flags & REGEX_GLOBAL) == 0;
    if (end == ')') {
        context.flags = flags;
        node = anchors ? make<CGlobalNodeT<CharT>>() : nullptr;
        return true;
    }
    Context inner{flags, context.rightToLeft};
    const Node* body = parseAlternation(inner);
    closeGroup();
    if (!anchors) {
        node = body;
        return true;
    }
    std::vector<const Node*> items{make<CGlobalNodeT<CharT>>(), body};
    node = make<CListNodeT<CharT>>(std::move(items));
    return true;
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::parseClass(Context& context) {
    const auto start = m_tokens->position();
    const bool ignoreCase = (context.flags & REGEX_IGNORE_CASE) != 0;
    bool positive = true;
    if (m_tokens->peek(true).is(PatternToken::Special, '^')) {
        m_tokens->read(true);
        positive = false;
    }
    auto* node = make<CRangeNodeT<CharT>>(positive, ignoreCase, context.rightToLeft);
    for (bool first = true;; first = false) {
        const PatternToken token = m_tokens->read(true);
        if (token.kind == PatternToken::End) {
            // No closing "]": the "[" is literal text.
            m_tokens->setPosition(start);
            return literal('[', context);
        }
        if (token.is(PatternToken::Special, ']') && !first)
            break;
        if (token.is(PatternToken::Special, '[')) {
            if (parsePosixClass(*node, context.rightToLeft))
                continue;
            node->addCharacter('[');
            continue;
        }
        if (token.kind == PatternToken::Escape) {
            const auto kind = token.value == 'd'   ? SharedClass::Digit
                              : token.value == 'D' ? SharedClass::NotDigit
                              : token.value == 'w' ? SharedClass::Word
                              : token.value == 'W' ? SharedClass::NotWord
                              : token.value == 's' ? SharedClass::Space
                                                   : SharedClass::NotSpace;
            node->addClass(shared(kind, context.rightToLeft));
            continue;
        }
        const auto beforeDash = m_tokens->position();
        if (m_tokens->read(true).is(PatternToken::Special, '-')) {
            const auto beforeHigh = m_tokens->position();
            const PatternToken high = m_tokens->read(true);
            if ((high.kind == PatternToken::Literal ||
                 (high.kind == PatternToken::Special && high.value != ']')) &&
                high.value >= token.value) {
                addClassRange(*node, token.value, high.value);
                continue;
            }
            m_tokens->setPosition(beforeHigh);
            addClassRange(*node, token.value, token.value);
            node->addCharacter('-');
            continue;
        }
        m_tokens->setPosition(beforeDash);
        addClassRange(*node, token.value, token.value);
    }
    node->finish();
    return node;
}

template <class CharT>
void CPatternBuilderT<CharT>::addClassRange(CRangeNodeT<CharT>& node, std::uint32_t low,
                                            std::uint32_t high) {
    // A class compares single characters: in narrow text none lies above 0xFF, so the
    // part of a range above it matches nothing instead of wrapping to a low byte.
    constexpr std::uint32_t kHighest = sizeof(CharT) == 1 ? 0xFF : 0xFFFFFFFF;
    if (low > kHighest)
        return;
    high = std::min(high, kHighest);
    if (low == high)
        node.addCharacter(static_cast<CharT>(low));
    else
        node.addRange(static_cast<CharT>(low), static_cast<CharT>(high));
}

template <class CharT>
bool CPatternBuilderT<CharT>::parsePosixClass(CRangeNodeT<CharT>& node, bool rightToLeft) {
    // After "[", at ":": "[:name:]" or "[:^name:]".
    static constexpr std::pair<std::string_view, PosixClass> kNames[] = {
        {"alnum", PosixClass::Alnum},   {"alpha", PosixClass::Alpha}, {"ascii", PosixClass::Ascii},
        {"blank", PosixClass::Blank},   {"cntrl", PosixClass::Cntrl}, {"digit", PosixClass::Digit},
        {"graph", PosixClass::Graph},   {"lower", PosixClass::Lower}, {"print", PosixClass::Print},
        {"punct", PosixClass::Punct},   {"space", PosixClass::Space}, {"upper", PosixClass::Upper},
        {"xdigit", PosixClass::Xdigit},
    };
    std::size_t i = 1;
    const bool negated = m_tokens->rawAt(i) == '^';
    if (negated)
        ++i;
    std::string name;
    for (; m_tokens->rawAt(i) != 0 && m_tokens->rawAt(i) != ':' && name.size() < 16; ++i)
        name.push_back(static_cast<char>(m_tokens->rawAt(i)));
    if (m_tokens->rawAt(i) != ':' || m_tokens->rawAt(i + 1) != ']')
        return false;
    m_tokens->skipRaw(i + 2);
    PosixClass kind = PosixClass::Unknown;
    for (const auto& [known, value] : kNames)
        if (known == name)
            kind = value;
    node.addClass(make<CPosixNodeT<CharT>>(kind, negated, rightToLeft));
    return true;
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::literal(std::uint32_t c, const Context& context) {
    String run;
    appendLiteral(run, c);
    return make<CStringNodeT<CharT>>(std::move(run), (context.flags & REGEX_IGNORE_CASE) != 0,
                                     context.rightToLeft);
}

template <class CharT>
const CClassNodeT<CharT>* CPatternBuilderT<CharT>::shared(SharedClass kind, bool rightToLeft) {
    for (const auto& [key, node] : m_shared)
        if (key.first == kind && key.second == rightToLeft)
            return node;
    const bool positive =
        kind == SharedClass::Digit || kind == SharedClass::Word || kind == SharedClass::Space;
    auto* node = make<CRangeNodeT<CharT>>(positive, false, rightToLeft);
    switch (kind) {
        case SharedClass::Any:
            node->addCharacter('\n');
            break;
        case SharedClass::AnyWithLineFeed:
            break;
        case SharedClass::Digit:
        case SharedClass::NotDigit:
            node->addRange('0', '9');
            break;
        case SharedClass::Word:
        case SharedClass::NotWord:
            node->addRange('a', 'z');
            node->addRange('A', 'Z');
            node->addRange('0', '9');
            node->addCharacter('_');
            break;
        case SharedClass::Space:
        case SharedClass::NotSpace:
            // Form feed and vertical tab count as blanks only when reading right to left.
            for (char c : std::string_view(rightToLeft ? " \t\r\n\f\v" : " \t\r\n"))
                node->addCharacter(static_cast<CharT>(c));
            break;
    }
    node->finish();
    m_shared.push_back({{kind, rightToLeft}, node});
    return node;
}

template <class CharT>
void CPatternBuilderT<CharT>::number() {
    int next = 1;
    for (Group& group : m_groups)
        if (!group.named)
            group.number = next++;
    for (Group& group : m_groups)
        if (group.named)
            group.number = next++;
    for (Group& group : m_groups) {
        group.open->setGroup(group.number);
        group.close->setGroup(group.number);
    }
    const auto resolve = [this](const Reference& reference) {
        return reference.name.empty() ? reference.number : groupNumber(reference.name);
    };
    for (auto& [node, reference] : m_backrefs)
        node->setGroup(resolve(reference));
    for (auto& [node, reference] : m_conditions)
        node->setGroup(resolve(reference));
    for (auto& [node, reference] : m_delegates)
        node->setTarget(groupNode(resolve(reference)));
}

template <class CharT>
const MatchNode<CharT>* CPatternBuilderT<CharT>::groupNode(int number) const {
    if (number == 0)
        return m_top;
    for (const Group& group : m_groups)
        if (group.number == number)
            return group.node;
    return nullptr;
}

template class CPatternBuilderT<char>;
template class CPatternBuilderT<wchar_t>;

}  // namespace common
