// CPatternBuilderT: parses a regular-expression pattern into a tree of matcher nodes. It
// owns every node it creates (clear() deletes them), numbers the capture groups (unnamed
// ones in order of their opening parenthesis, then the named ones), keeps the table of
// group names and resolves named back-references, recursions and conditions once the
// whole pattern is read. Malformed pieces are read as literal text; only a pattern nested
// deeper than kMaxNesting or with a repetition count beyond an int fails to compile (build
// returns null). Not thread-safe while
// building; the finished tree is immutable.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/regex/char_nodes.h"
#include "common/regex/group_nodes.h"
#include "common/regex/pattern_tokenizer.h"
#include "common/regex/sequence_nodes.h"

namespace common {

template <class CharT>
class CPatternBuilderT {
  public:
    using Node = MatchNode<CharT>;
    using String = std::basic_string<CharT>;
    using View = std::basic_string_view<CharT>;

    static constexpr int kMaxNesting = 200;

    const Node* build(View pattern, int flags);
    void clear();

    int groupCount() const { return static_cast<int>(m_groups.size()); }
    // The number of the group with that name, or -1.
    int groupNumber(View name) const;
    // Whether node is the "." class (and whether that one also matches a line feed).
    bool isAnyCharacter(const Node* node, bool& matchesLineFeed) const;

  private:
    struct Context {
        int flags;
        bool rightToLeft;
    };
    struct Group {
        String name;
        bool named = false;
        int number = -1;
        CBracketNodeT<CharT>* open = nullptr;
        CBracketNodeT<CharT>* close = nullptr;
        const Node* node = nullptr;
    };
    // A reference written by name or number that is resolved after parsing.
    struct Reference {
        String name;
        int number = -1;
    };
    enum class SharedClass {
        Any,
        AnyWithLineFeed,
        Digit,
        NotDigit,
        Word,
        NotWord,
        Space,
        NotSpace
    };
    struct Quantifier {
        int min = 0;
        int max = 0;
        bool exact = false;
        bool reluctant = false;
        bool possessive = false;
    };

    template <class T, class... Args>
    T* make(Args&&... args) {
        auto node = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = node.get();
        m_nodes.push_back(std::move(node));
        return raw;
    }

    const Node* parseAlternation(Context& context);
    const Node* parseSequence(Context& context);
    const Node* parseItem(Context& context);
    void tellRepetitionsWhatFollows(const std::vector<const Node*>& items, FirstCharacters rest,
                                    bool restNullable, bool descend);
    void tellNestedRepetitionsWhatFollows(const Node* node, const FirstCharacters& rest,
                                          bool restNullable);
    const Node* parseLiteralRun(Context& context, std::uint32_t first);
    const Node* parseEscape(Context& context, std::uint32_t letter);
    const Node* parseGroup(Context& context);
    const Node* parseCaptureGroup(Context& context, String name, bool named);
    const Node* parseLookaround(Context& context, bool behind, bool negative);
    // These three leave the position unchanged and return false when the text is not the
    // group form they read.
    bool parseRecursion(const Node*& node);
    bool parseCondition(Context& context, const Node*& node);
    bool parseFlagGroup(Context& context, const Node*& node);
    const Node* parseClass(Context& context);
    const Node* parseBackref(Context& context, Reference reference);
    bool parsePosixClass(CRangeNodeT<CharT>& node, bool rightToLeft);
    void addClassRange(CRangeNodeT<CharT>& node, std::uint32_t low, std::uint32_t high);
    bool readQuantifier(Quantifier& quantifier);
    bool quantifierFollows();
    const Node* quantify(const Node* atom, const Quantifier& quantifier, bool rightToLeft,
                         bool captures);
    bool readName(std::uint32_t close, String& name);
    // Reads decimal digits; -1 when the number does not fit in an int.
    int readNumber();
    void closeGroup();

    const Node* literal(std::uint32_t c, const Context& context);
    const CClassNodeT<CharT>* shared(SharedClass kind, bool rightToLeft);
    const Node* empty() { return make<CEmptyNodeT<CharT>>(); }
    void number();
    const Node* groupNode(int number) const;

    std::vector<std::unique_ptr<Node>> m_nodes;
    std::unique_ptr<PatternTokenizer<CharT>> m_tokens;
    std::vector<Group> m_groups;
    std::vector<std::pair<CBackrefNodeT<CharT>*, Reference>> m_backrefs;
    std::vector<std::pair<CDelegateNodeT<CharT>*, Reference>> m_delegates;
    std::vector<std::pair<CConditionNodeT<CharT>*, Reference>> m_conditions;
    std::vector<std::pair<std::pair<SharedClass, bool>, const CClassNodeT<CharT>*>> m_shared;
    const Node* m_top = nullptr;
    int m_depth = 0;
    bool m_refused = false;
};

}  // namespace common
