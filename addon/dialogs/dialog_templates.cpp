#include "addon/dialogs/dialog_templates.h"

namespace addon {

using platform::ui::ControlKind;
using platform::ui::ControlTemplate;
using platform::ui::DialogTemplate;
using platform::ui::IDC_STATIC;
using platform::ui::IDCANCEL;
using platform::ui::IDOK;

DialogTemplate aboutTemplate() {
    return {
        kAboutTemplate,
        L"About",
        220,
        90,
        {{kAboutText,
          ControlKind::staticText,
          L"#ProductName# #ProductVersion#\n#LegalCopyright#",
          {10, 10, 210, 45}},
         {kAboutHomeLink, ControlKind::staticText, L"Visit the home page", {10, 50, 150, 60}},
         {kCheckForUpdates, ControlKind::pushButton, L"Check For Updates...", {10, 68, 100, 82}},
         {IDOK, ControlKind::pushButton, L"OK", {160, 68, 210, 82}, false, false, true}}};
}

DialogTemplate optionsTemplate() {
    return {kOptionsTemplate,
            L"Options",
            240,
            150,
            {{IDC_STATIC, ControlKind::groupBox, L"User Interface:", {5, 5, 235, 60}},
             {IDC_STATIC, ControlKind::staticText, L"Language:", {10, 18, 70, 28}},
             {kLanguageCombo, ControlKind::dropDownList, L"", {75, 16, 230, 28}},
             {IDC_STATIC, ControlKind::staticText, L"Theme:", {10, 36, 70, 46}},
             {kThemeCombo, ControlKind::dropDownList, L"", {75, 34, 230, 46}},
             {IDC_STATIC, ControlKind::groupBox, L"Style:", {5, 62, 235, 90}},
             {IDC_STATIC, ControlKind::staticText, L"Default grab style:", {10, 74, 70, 84}},
             {kGrabStyleCombo, ControlKind::dropDownList, L"", {75, 72, 230, 84}},
             {IDC_STATIC, ControlKind::groupBox, L"Check Update:", {5, 92, 235, 115}},
             {kAutoUpdateCheck,
              ControlKind::checkBox,
              L"Automatically check for newer versions",
              {10, 102, 230, 112}},
             {kResetButton, ControlKind::pushButton, L"Reset", {5, 125, 55, 140}},
             {IDOK, ControlKind::pushButton, L"OK", {130, 125, 180, 140}, false, false, true},
             {IDCANCEL, ControlKind::pushButton, L"Cancel", {185, 125, 235, 140}}}};
}

DialogTemplate grabLinksTemplate() {
    return {kGrabLinksTemplate,
            L"Grab Links",
            320,
            200,
            {{kLinkList, ControlKind::listView, L"", {5, 5, 260, 195}},
             {kUpButton, ControlKind::pushButton, L"Up", {265, 5, 315, 19}},
             {kDownButton, ControlKind::pushButton, L"Down", {265, 22, 315, 36}},
             {kCheckAllButton, ControlKind::pushButton, L"Check All", {265, 45, 315, 59}},
             {kUncheckAllButton, ControlKind::pushButton, L"Uncheck All", {265, 62, 315, 76}},
             {kHideUncheckButton, ControlKind::pushButton, L"Hide Uncheck", {265, 79, 315, 93}},
             {kResetButton, ControlKind::pushButton, L"Reset", {265, 102, 315, 116}},
             {IDOK, ControlKind::pushButton, L"OK", {265, 164, 315, 178}, false, false, true},
             {IDCANCEL, ControlKind::pushButton, L"Cancel", {265, 181, 315, 195}}}};
}

}  // namespace addon
