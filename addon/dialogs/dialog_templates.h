// The templates of the add-on's dialogs and the ids of their controls, as the add-on's
// resources define them. Plain values.
#pragma once

#include "platform/ui/dialog_template.h"

namespace addon {

inline constexpr int kAboutTemplate = 211;
inline constexpr int kOptionsTemplate = 212;
inline constexpr int kGrabLinksTemplate = 222;

// About.
inline constexpr int kAboutText = 202;
inline constexpr int kCheckForUpdates = 204;
inline constexpr int kAboutHomeLink = 208;

// Options.
inline constexpr int kAutoUpdateCheck = 206;
inline constexpr int kLanguageCombo = 207;
inline constexpr int kThemeCombo = 208;
inline constexpr int kGrabStyleCombo = 209;
inline constexpr int kResetButton = 237;

// Grab links.
inline constexpr int kLinkList = 213;
inline constexpr int kUpButton = 232;
inline constexpr int kDownButton = 233;
inline constexpr int kCheckAllButton = 234;
inline constexpr int kUncheckAllButton = 235;
inline constexpr int kHideUncheckButton = 236;

platform::ui::DialogTemplate aboutTemplate();
platform::ui::DialogTemplate optionsTemplate();
platform::ui::DialogTemplate grabLinksTemplate();

}  // namespace addon
