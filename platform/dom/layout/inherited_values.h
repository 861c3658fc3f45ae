// The engine asks each element for its inherited properties (font, colour, white space,
// text transform, ...) and answers by walking up to the root, looking the name up in
// every ancestor's style on the way, for every element and every word of the page. The
// page's elements remember each answer instead, so a child's question stops at its
// parent.
//
// PropertyIds numbers the property names the engine asks about on one page;
// InheritedValues is one element's memory of its answers, looked up by number. An answer points
// into the style of the element or of an ancestor that gave it, as the engine's own does,
// and holds while those styles are unchanged: the element forgets its answers whenever
// its own style changes, and the engine parses a changed element's descendants again
// before it asks them anything, which makes each forget theirs.
//
// Contract: both belong to one page, on the page's thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform::dom {

class PropertyIds {
  public:
    std::uint32_t idOf(std::string_view name);
    // The same for a name the engine asks with: mostly the same few literal names, again
    // and again, so the number last given for the same address is taken when that address
    // still holds the same name, without hashing it.
    std::uint32_t idOf(const char* name);
    // How many names were numbered so far (numbers run from 0).
    std::size_t count() const { return ids_.size(); }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept {
            return std::hash<std::string_view>()(name);
        }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> ids_;
    // Each number's name (the map's own key, which stays where it is).
    std::vector<const char*> names_;
    struct Recent {
        const char* address = nullptr;
        std::uint32_t id = 0;
    };
    static constexpr std::size_t kRecent = 64;
    std::array<Recent, kRecent> recent_{};
};

class InheritedValues {
  public:
    // Pages ask for a few dozen properties: answers for numbers from this one up are not
    // kept.
    static constexpr std::uint32_t kMaxRemembered = 64;

    // The answer remembered for the property (null for "not set anywhere"), or false.
    bool find(std::uint32_t id, const char*& value) const;
    // `known` is how many properties the page has numbered so far: room is made for all of
    // them at once, as an element is asked about most of them.
    void remember(std::uint32_t id, const char* value, std::size_t known);
    void forget() { answers_.clear(); }

  private:
    // By property number; a marker of our own where nothing is remembered.
    std::vector<const char*> answers_;
};

}  // namespace platform::dom
