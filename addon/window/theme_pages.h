// The toolbox page's theme: the settings "\Theme\Name" (default "Orange"), "\Theme\Height"
// and "\Theme\Style" under "Software\Olvan\Tamrix" (until stored, what the theme's page
// names, else 28 and 0), the page's
// address under the add-on's "tamrix:" resources, and the choice of another theme, whose
// page names its own height and style ("toolbox_height=<n>", "toolbox_style=<n>").
//
// Theme and language names are used as folder names, so only single safe path components
// are accepted (safe_name.h); any other name gives no page and changes no setting. A theme
// is chosen only among the shipped ones (a folder under "toolbar" with its index.html), and
// a stored name that is no shipped theme reads as the default.
// Contract: the user-interface thread; registry and file failures give the defaults.
#pragma once

#include <cstdint>
#include <string>

namespace addon {

struct ThemeSettings {
    std::wstring name = L"Orange";
    std::int32_t height = 28;
    std::int32_t style = 0;
};

ThemeSettings readThemeSettings();

// A theme of the resources: a safe name whose folder holds an index.html.
bool isShippedTheme(const std::wstring& theme);

// "tamrix://resources/toolbar/<theme>/index.html", or the page of the language's own
// sub-folder "<theme>/<language>/index.html" when `language` is not empty and that file
// exists in the resources folder; "" for an unsafe theme name.
std::wstring toolboxPageAddress(const std::wstring& theme, const std::wstring& language);

// Stores `theme` as "\Theme\Name" with the height and style its page names (the defaults
// for numbers the page does not name). False, with nothing stored, for a name that is no
// shipped theme.
bool chooseTheme(const std::wstring& theme);

}  // namespace addon
