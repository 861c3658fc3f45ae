// The language table: sections of {name, English text, translation} items read from a
// language file ("language" root, "section" children, "item" grandchildren), and the
// translation of dialogs, menus and single texts with it.
//
// Section names are compared without case, item texts exactly. Loading replaces the whole
// content or, when the file cannot be read, parsed or has no "language" root, leaves it as
// it was and reports -1 with the reason in lastError().
//
// Threading: filled at start-up, then read-only; read from the user-interface thread. One
// process-wide table serves each program (languageTable()).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/types.h"

namespace common {

struct LanguageItem {
    std::wstring name;
    std::wstring lang1;  // the English text as it stands in the program
    std::wstring lang2;  // the translation
};

struct LanguageSection {
    std::wstring name;
    std::vector<LanguageItem> items;
};

// How a control or menu text meets the items of a section. The plug-in and the side pane
// take the first item whose English text equals it; the add-on applies every such item in
// turn, so a later item overwrites an earlier one (each one counts).
enum class TextMatch { firstItem, everyItem };

class LanguageTable {
  public:
    static constexpr const wchar_t* kDefaultVersion = L"1.0";

    // 0 on success; -1 for an empty path or a file that cannot be read, parsed or has no
    // "language" root (the content stays; a non-empty `path` is remembered all the same).
    int load(const std::wstring& path);
    void clear();

    // Translates the texts of the window's direct children and its caption; the number of
    // texts set, or -1 when the section does not exist.
    int localizeDialog(platform::ui::HWND window, const std::wstring& section,
                       TextMatch match = TextMatch::firstItem) const;
    // Translates the menu's items and, recursively, its submenus (which they keep); the
    // number of items set, or -1 when the section does not exist.
    int localizeMenu(platform::ui::Menu& menu, const std::wstring& section,
                     TextMatch match = TextMatch::firstItem) const;
    // The translation of `text` (or of the item named `key`), `text` itself when none. A
    // text no item equals takes the translation of the first item whose English text has
    // placeholders that match it (placeholder_text.h), its parts put in (each translated
    // in turn).
    std::wstring translate(const std::wstring& section, const std::wstring& text,
                           const std::wstring& key = {}) const;

    // The first section with that name, compared without case; nullptr when none.
    const LanguageSection* findSection(const std::wstring& name) const;

    const std::wstring& path() const { return path_; }
    const std::wstring& name() const { return name_; }
    const std::wstring& title() const { return title_; }
    const std::wstring& version() const { return version_; }
    const std::vector<LanguageSection>& sections() const { return sections_; }
    const std::wstring& lastError() const { return lastError_; }
    // The content was taken from the user's locale because no language was chosen.
    bool fromLocale() const { return fromLocale_; }
    void setFromLocale(bool fromLocale) { fromLocale_ = fromLocale; }

  private:
    std::wstring path_;
    std::wstring name_;
    std::wstring title_;
    std::wstring version_ = kDefaultVersion;
    std::vector<LanguageSection> sections_;
    std::wstring lastError_;
    bool fromLocale_ = false;
};

// The program's table.
LanguageTable& languageTable();

// The start-up rule: unless the table already holds that language (its name equals the
// code), loads "<folder>/<code>.xml". Returns load's result, 0 when nothing had to be
// loaded. An empty code (no language chosen) takes the user's locale's language when the
// folder has a file for it, else English ("en"), and marks the table `fromLocale`; when
// that file is missing or unreadable the table is cleared (the built-in texts) and the
// result is 0.
int loadLanguage(LanguageTable& table, const std::wstring& code, const std::wstring& folder);

// The language of the user's messages: the first of LC_ALL, LC_MESSAGES and LANG that is
// set, up to its territory, code set or modifier, in lower case ("de_AT.UTF-8": "de");
// "en" for none, "C" or "POSIX".
std::wstring localeLanguageCode();

// Turns the two-character sequences backslash-n, backslash-r and backslash-t into line
// feed, carriage return and tab (all n first, then r, then t); other backslashes stay.
std::wstring unescapeLanguageText(std::wstring text);

}  // namespace common
