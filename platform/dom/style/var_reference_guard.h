// Keeps the layout engine's var() substitution finite and small. The engine replaces a
// "var(NAME)" in a declaration by the value of the property NAME that the element has or
// inherits and reads the replaced text again, so a custom property that refers to itself,
// directly or through others (--a: var(--b); --b: var(--a)), makes it substitute without end,
// and a chain of properties each doubling its length makes it build a huge text.
//
// The guard reads every style text of a page first (its sheets and style attributes), finds
// the custom property declarations the engine could store and the references in them, and
// then gives each text back with the references the engine must not follow made inert
// ("var\(", which it no longer substitutes):
// - those to a property on a cycle with the declaring one: the property holds a value that
//   makes every declaration using it invalid, as a browser treats such a property;
// - all those of a declaration whose substitution would pass kMaxExpandedBytes,
//   kMaxSubstitutions or kMaxDepth;
// - every "var(" that is not a plain reference to a custom property ("var(--name)"): one with
//   a fallback, which the engine does not read anyway, or text it could not tell apart.
//
// It reads texts as the engine does, and where two readings are possible it assumes both:
// a sheet loses its comments first (the text given back has them removed, as the engine
// would remove them), a rule's block ends at the first '}' and may start after any '{' before
// it, declarations are split at ';' outside quotes, a name ends at the first ':'.
//
// Contract: add() every text of the page, then settle(), then guarded() for each text; one
// thread. Never throws on content.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::dom {

enum class StyleText { sheet, declarations };

class VarReferenceGuard {
  public:
    static constexpr std::size_t kMaxExpandedBytes = 32 * 1024;
    static constexpr std::size_t kMaxSubstitutions = 256;
    static constexpr std::size_t kMaxDepth = 32;

    // Whether the text can matter to the guard at all (it declares a custom property or
    // uses var()); others need neither add() nor guarded().
    static bool concerns(std::string_view text);

    void add(std::string_view text, StyleText kind);
    void settle();
    // The text for the engine. A text that was not added may use the custom properties of
    // those that were, but its own custom properties refer to nothing.
    std::string guarded(std::string_view text, StyleText kind, bool added = true) const;

    // The text with every "var(" made inert.
    static std::string inert(std::string_view text, StyleText kind);

    // The text of a sheet without its comments, as the engine reads it.
    static std::string withoutComments(std::string_view sheet);

    // What substituting a declaration's value costs the engine at most.
    struct Cost {
        std::size_t bytes = 0;
        std::size_t substitutions = 0;
        std::size_t depth = 0;
    };
    // A plain "var(--name)" at text[begin, end), its name in lower case.
    struct Reference {
        std::size_t begin;
        std::size_t end;
        std::string name;
    };
    struct Declaration {
        std::string name;   // lower case
        std::size_t bytes;  // the value as written
        std::vector<Reference> references;
        bool unread;  // a place the guard does not read closely: its references are inert
    };

  private:
    struct Property {
        std::vector<Declaration> declarations;
        std::size_t component = 0;  // properties on one cycle share it
        Cost cost;
    };

    struct Judged {
        std::vector<bool> follows;  // for each of the declaration's references
        Cost cost;
    };
    // The references of `declaration` the engine may follow, given the settled properties,
    // and what following them costs.
    Judged judge(const Declaration& declaration, bool added) const;
    Cost costOf(const Reference& reference) const;
    void settleComponent(const std::vector<std::string>& names, std::size_t component);

    std::unordered_map<std::string, Property> properties_;
};

}  // namespace platform::dom
