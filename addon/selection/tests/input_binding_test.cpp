#include <gtest/gtest.h>

#include "addon/selection/input_binding.h"
#include "addon/selection/settings.h"
#include "common/util/registry_int.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"

using addon::HotkeySetting;
using addon::InputBindingTable;

namespace {

constexpr int kNone = 0, kLeft = 1, kRight = 2;
constexpr int kCtrl = 1, kShift = 2, kAlt = 4;
constexpr int kDefault = 0, kTrack = 1, kText = 2, kRect = 3;
const HotkeySetting kQuickDefault{0, 81, 2};
const HotkeySetting kToolbarDefault{1, 119, 2};

InputBindingTable sortedTable(const HotkeySetting& quick = kQuickDefault,
                              const HotkeySetting& toolbar = kToolbarDefault) {
    InputBindingTable table;
    table.load(quick, toolbar);
    table.sort();
    return table;
}

std::wstring key(const InputBindingTable& table, int modifiers, int keyCode, int mode = kDefault) {
    return table.findBoundAction(L"keydown", kNone, modifiers, mode, keyCode);
}

}  // namespace

TEST(InputBindings, SortPutsShiftDragsOfRectModeFirstAndDisabledHotkeyLast) {
    const auto table = sortedTable();
    const auto& rows = table.rows();
    ASSERT_EQ(rows.size(), 39u);
    EXPECT_EQ(rows[0].action, L"operator-begin-rects");
    EXPECT_EQ(rows[1].action, L"operator-track-rects");
    EXPECT_EQ(rows[2].action, L"operator-select-rects");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rows[i].mode, kRect);
    EXPECT_EQ(rows[3].event, L"keydown");
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_GE(rows[i - 1].specificity(), rows[i].specificity()) << i;
    EXPECT_EQ(rows[37].action, L"operator-select-elem");
    EXPECT_EQ(rows[37].mode, addon::kAny);
    EXPECT_EQ(rows[38].action, L"operator-mode-switch-quick");
    EXPECT_TRUE(rows[38].event.empty());
}

TEST(InputBindings, ClicksHoverAndDrags) {
    const auto table = sortedTable();
    EXPECT_EQ(table.findBoundAction(L"click", kNone, 0, kDefault, 0), L"operator-select-elem");
    EXPECT_EQ(table.findBoundAction(L"click", kNone, 0, kTrack, 0), L"operator-select-elem");
    EXPECT_EQ(table.findBoundAction(L"click", kNone, kCtrl, kDefault, 0), L"");
    EXPECT_EQ(table.findBoundAction(L"mouseover", kNone, 0, kTrack, 0), L"operator-track-elem");
    EXPECT_EQ(table.findBoundAction(L"mouseover", kNone, 0, kDefault, 0), L"");
    // Right-button drags work in every mode; Shift takes the many-elements variant.
    EXPECT_EQ(table.findBoundAction(L"mousedown", kRight, 0, kText, 0), L"operator-begin-rect");
    EXPECT_EQ(table.findBoundAction(L"mousemove", kRight, kShift, kDefault, 0),
              L"operator-track-rects");
    EXPECT_EQ(table.findBoundAction(L"mouseup", kRight, 0, kTrack, 0), L"operator-select-rect");
    EXPECT_EQ(table.findBoundAction(L"mousedown", kRight, kCtrl | kShift, kDefault, 0), L"");
    // Left-button drags only in rect mode.
    EXPECT_EQ(table.findBoundAction(L"mousedown", kLeft, 0, kDefault, 0), L"");
    EXPECT_EQ(table.findBoundAction(L"mousedown", kLeft, 0, kRect, 0), L"operator-begin-rect");
    EXPECT_EQ(table.findBoundAction(L"mouseup", kLeft, kShift, kRect, 0), L"operator-select-rects");
    // A left release in text mode selects the text whatever is held.
    for (int modifiers : {0, kCtrl, kShift | kAlt, kCtrl | kShift | kAlt})
        EXPECT_EQ(table.findBoundAction(L"mouseup", kLeft, modifiers, kText, 0),
                  L"operator-select-text");
    EXPECT_EQ(table.findBoundAction(L"dblclick", kNone, 0, kDefault, 0), L"");
}

TEST(InputBindings, Keys) {
    const auto table = sortedTable();
    for (int modifiers : {0, kCtrl, kShift, kCtrl | kAlt | kShift}) {
        EXPECT_EQ(key(table, modifiers, 27), L"command-cancel");
        EXPECT_EQ(key(table, modifiers, 46), L"command-select-delete");
    }
    EXPECT_EQ(key(table, kCtrl, 90), L"command-undo");
    EXPECT_EQ(key(table, kCtrl | kShift, 90), L"");
    EXPECT_EQ(key(table, kCtrl, 83), L"command-save/tamrix");
    EXPECT_EQ(key(table, kCtrl | kAlt, 83), L"command-save-test");
    EXPECT_EQ(key(table, kCtrl | kAlt, 71), L"command-select-grab-links");
    EXPECT_EQ(key(table, kCtrl | kShift, 71), L"command-select-grab-links");
    EXPECT_EQ(key(table, kCtrl | kAlt, 82), L"command-readable");
    EXPECT_EQ(key(table, kCtrl | kAlt, 87), L"command-change-width/100%");
    EXPECT_EQ(key(table, kCtrl, 38), L"command-font-size/+1");
    EXPECT_EQ(key(table, kCtrl, 119), L"command-toolbar-switch-quick");
    EXPECT_EQ(key(table, 0, 119), L"");
    EXPECT_EQ(table.findBoundAction(L"keyup", kNone, kCtrl, kDefault, 83), L"");
}

TEST(InputBindings, HotkeysFollowTheirSettings) {
    auto table = sortedTable();
    for (int modifiers : {0, kCtrl, kShift, kAlt, kCtrl | kAlt})
        EXPECT_NE(key(table, modifiers, 81), L"operator-mode-switch-quick");

    // Stored Ctrl (2) and Alt (4) become the table's Ctrl+Alt (5).
    table = sortedTable({1, 81, 6}, kToolbarDefault);
    EXPECT_EQ(key(table, kCtrl | kAlt, 81), L"operator-mode-switch-quick");
    EXPECT_EQ(key(table, kCtrl, 81), L"");
    EXPECT_EQ(addon::modifiersFromStored(1), kShift);

    // Switched off, the toolbar hotkey row never matches.
    table = sortedTable(kQuickDefault, {0, 119, 2});
    EXPECT_EQ(key(table, kCtrl, 119), L"");
}

TEST(InputBindings, HotkeyOnCtrlSLosesToTheFixedSaveRow) {
    const auto table = sortedTable(kQuickDefault, {1, 83, 2});
    EXPECT_EQ(key(table, kCtrl, 83), L"command-save/tamrix");
}

TEST(InputBindings, HasInputBindingIgnoresTheEventOnlyWhenAskedWithoutOne) {
    const auto table = sortedTable();
    const std::wstring rects = L"operator-track-rects";
    EXPECT_TRUE(table.hasInputBinding(rects, L"", kRight, kShift, kDefault, 16));
    EXPECT_TRUE(table.hasInputBinding(rects, L"", kLeft, kShift, kRect, 0));
    EXPECT_FALSE(table.hasInputBinding(rects, L"", kLeft, kShift, kDefault, 0));
    EXPECT_FALSE(table.hasInputBinding(rects, L"", kRight, 0, kDefault, 0));
    EXPECT_FALSE(table.hasInputBinding(rects, L"mousedown", kRight, kShift, kDefault, 0));
    EXPECT_TRUE(table.hasInputBinding(rects, L"mousemove", kRight, kShift, kDefault, 0));
    EXPECT_TRUE(table.hasInputBinding(L"operator-track-elem", L"", kNone, 0, kTrack, 16));
}

TEST(InputBindings, ProcessTableTakesItsHotkeysFromTheRegistry) {
    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    addon::loadInputBindings();
    addon::sortInputBindings();
    EXPECT_EQ(addon::findBoundAction(L"keydown", kNone, kCtrl, kDefault, 119),
              L"command-toolbar-switch-quick");
    EXPECT_EQ(addon::findBoundAction(L"keydown", kNone, kCtrl, kDefault, 81), L"");

    const auto store = [](const wchar_t* name, std::int32_t number) {
        common::registry_int<std::int32_t> value(
            std::wstring(L"Software\\Olvan\\Tamrix\\Operate\\") + name,
            platform::registry::HKEY_CURRENT_USER, 0, common::kRegistryAlwaysStore);
        value = number;
        value.save();
    };
    store(L"QuickSwitch", 1);
    store(L"QuickSwitchHotKeyModifiers", 6);
    store(L"ToolbarSwitch", 0);
    addon::loadInputBindings();
    addon::sortInputBindings();
    EXPECT_EQ(addon::findBoundAction(L"keydown", kNone, kCtrl | kAlt, kDefault, 81),
              L"operator-mode-switch-quick");
    EXPECT_EQ(addon::findBoundAction(L"keydown", kNone, kCtrl, kDefault, 119), L"");
    EXPECT_EQ(addon::readRightButtonSetting(), 1);
}
