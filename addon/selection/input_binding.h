// The table that turns a page's mouse and key events into action names: operator names of
// the selection engine ("operator-...") or command strings ("command-...").
//
// Contract: the process-wide table is filled (`loadInputBindings`) and sorted
// (`sortInputBindings`) once when the add-on loads, and only read afterwards, on the
// user-interface thread. Rows are plain values. Lookups never fail: no match is the empty
// string. All string comparisons are exact and case-sensitive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace addon {

// Modifier bits of the table.
inline constexpr std::int32_t kModifierCtrl = 1;
inline constexpr std::int32_t kModifierShift = 2;
inline constexpr std::int32_t kModifierAlt = 4;
// A field that matches every value.
inline constexpr std::int32_t kAny = -1;

struct InputBinding {
    std::wstring action;
    std::wstring event;  // an empty event never matches a reported type
    std::int32_t mode = kAny;
    std::int32_t button = kAny;
    std::int32_t modifiers = kAny;
    std::int32_t keyCode = kAny;

    // How narrowly the row matches; the sort puts larger values first.
    int specificity() const;
    // The row applies to this query (`event` compared unless `anyEvent`).
    bool matches(const std::wstring& queryEvent, std::int32_t queryButton,
                 std::int32_t queryModifiers, std::int32_t queryMode, std::int32_t queryKeyCode,
                 bool anyEvent) const;
};

// One hotkey as the settings store it: a switch, a virtual key code and the modifiers in the
// stored coding (Shift 1, Ctrl 2, Alt 4).
struct HotkeySetting {
    std::int32_t enabled = 0;
    std::int32_t keyCode = 0;
    std::int32_t storedModifiers = 0;
};

// Converts the stored modifier coding to the table's (Ctrl 1, Shift 2, Alt 4).
std::int32_t modifiersFromStored(std::int32_t stored);

class InputBindingTable {
  public:
    // Replaces the rows with the default rows, the two hotkey rows built from the settings.
    void load(const HotkeySetting& quickSwitch, const HotkeySetting& toolbarSwitch);
    // Orders the rows most specific first by the table's exchange sort.
    void sort();

    std::wstring findBoundAction(const std::wstring& event, std::int32_t button,
                                 std::int32_t modifiers, std::int32_t mode,
                                 std::int32_t keyCode) const;
    // True when a row with exactly this action matches; an empty `event` matches any row.
    bool hasInputBinding(const std::wstring& action, const std::wstring& event, std::int32_t button,
                         std::int32_t modifiers, std::int32_t mode, std::int32_t keyCode) const;

    const std::vector<InputBinding>& rows() const { return rows_; }

  private:
    std::vector<InputBinding> rows_;
};

// The process-wide table.
InputBindingTable& inputBindings();
void sortInputBindings();
std::wstring findBoundAction(const std::wstring& event, std::int32_t button, std::int32_t modifiers,
                             std::int32_t mode, std::int32_t keyCode);
bool hasInputBinding(const std::wstring& action, const std::wstring& event, std::int32_t button,
                     std::int32_t modifiers, std::int32_t mode, std::int32_t keyCode);

}  // namespace addon
