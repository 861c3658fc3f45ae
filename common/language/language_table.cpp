#include "common/language/language_table.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>

#include "common/language/placeholder_text.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

namespace common {

namespace {

bool equalIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

void replaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The translations of a control or menu text, in section order: the items whose English
// text equals it and whose translation is not empty (only the first with firstItem).
std::vector<const LanguageItem*> translationsOf(const LanguageSection& section,
                                                const std::wstring& text, TextMatch match) {
    std::vector<const LanguageItem*> found;
    for (const LanguageItem& item : section.items) {
        if (item.lang1 != text || item.lang2.empty())
            continue;
        found.push_back(&item);
        if (match == TextMatch::firstItem)
            break;
    }
    return found;
}

}  // namespace

LanguageTable& languageTable() {
    static LanguageTable table;
    return table;
}

std::wstring unescapeLanguageText(std::wstring text) {
    replaceAll(text, L"\\n", L"\n");
    replaceAll(text, L"\\r", L"\r");
    replaceAll(text, L"\\t", L"\t");
    return text;
}

void LanguageTable::clear() {
    path_.clear();
    name_.clear();
    title_.clear();
    version_.clear();
    sections_.clear();
    lastError_.clear();
    fromLocale_ = false;
}

const LanguageSection* LanguageTable::findSection(const std::wstring& name) const {
    for (const LanguageSection& section : sections_)
        if (equalIgnoringCase(section.name, name))
            return &section;
    return nullptr;
}

int LanguageTable::localizeDialog(platform::ui::HWND window, const std::wstring& section,
                                  TextMatch match) const {
    const LanguageSection* found = findSection(section);
    if (!found)
        return -1;
    auto& system = platform::ui::windows();
    int count = 0;
    for (platform::ui::HWND child = system.findWindowEx(window, {}, L"", L""); child;
         child = system.findWindowEx(window, child, L"", L"")) {
        const std::wstring text = system.text(child);
        if (text.empty())
            continue;
        for (const LanguageItem* item : translationsOf(*found, text, match)) {
            system.setText(child, item->lang2);
            ++count;
        }
    }
    for (const LanguageItem& item : found->items) {
        if (item.lang1 == L"#caption#" || item.lang1.empty()) {
            system.setText(window, item.lang2);
            ++count;
            break;
        }
    }
    return count;
}

int LanguageTable::localizeMenu(platform::ui::Menu& menu, const std::wstring& section,
                                TextMatch match) const {
    const LanguageSection* found = findSection(section);
    if (!found)
        return -1;
    int count = 0;
    for (int position = 0; position < menu.count(); ++position) {
        platform::ui::MenuItem& entry = *menu.at(position);
        if (entry.separator)
            continue;
        if (!entry.text.empty()) {
            const std::wstring english = entry.text;
            for (const LanguageItem* item : translationsOf(*found, english, match)) {
                menu.modifyAt(position, entry.id, item->lang2);
                ++count;
            }
        }
        if (entry.submenu)
            count += localizeMenu(*entry.submenu, section, match);
    }
    return count;
}

std::wstring LanguageTable::translate(const std::wstring& section, const std::wstring& text,
                                      const std::wstring& key) const {
    const LanguageSection* found = findSection(section);
    if (!found)
        return text;
    for (const LanguageItem& item : found->items) {
        const bool byText = !text.empty() && item.lang1 == text;
        const bool byKey = !key.empty() && item.name == key;
        if ((byText || byKey) && !item.lang2.empty())
            return item.lang2;
    }
    // A message made with parts put in (a file, a number) meets the item of its pattern.
    for (const LanguageItem& item : found->items) {
        if (text.empty() || item.lang2.empty() || item.lang1.find(L'#') == std::wstring::npos)
            continue;
        if (auto parts = matchPlaceholders(item.lang1, text)) {
            // A part may be a text of its own ("(no name)"); each is shorter than the text.
            for (auto& [name, part] : *parts)
                part = translate(section, part);
            return fillPlaceholders(item.lang2, *parts);
        }
    }
    return text;
}

std::wstring localeLanguageCode() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value)
            continue;
        std::wstring code;
        for (const char* c = value; *c && *c != '_' && *c != '.' && *c != '@' && *c != '-'; ++c)
            code += static_cast<wchar_t>(std::towlower(static_cast<unsigned char>(*c)));
        const bool plain = code.empty() || code == L"c" || code == L"posix";
        return plain ? L"en" : code;
    }
    return L"en";
}

namespace {

std::wstring languageFilePath(const std::wstring& folder, const std::wstring& code) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'/' && path.back() != L'\\')
        path += L'/';
    return path + code + L".xml";
}

bool isSafeCode(const std::wstring& code) {
    return !code.empty() && code.size() <= 16 &&
           std::all_of(code.begin(), code.end(), [](wchar_t c) { return std::iswalnum(c); });
}

}  // namespace

int loadLanguage(LanguageTable& table, const std::wstring& code, const std::wstring& folder) {
    if (code.empty()) {
        std::wstring fromLocale = localeLanguageCode();
        if (!isSafeCode(fromLocale) ||
            !std::filesystem::exists(platform::text::toUtf8(languageFilePath(folder, fromLocale))))
            fromLocale = L"en";
        if (table.fromLocale() && table.name() == fromLocale)
            return 0;
        if (table.load(languageFilePath(folder, fromLocale)) != 0) {
            table.clear();
            return 0;
        }
        table.setFromLocale(true);
        return 0;
    }
    if (code == table.name()) {
        table.setFromLocale(false);
        return 0;
    }
    const int result = table.load(languageFilePath(folder, code));
    if (result == 0)
        table.setFromLocale(false);
    return result;
}

}  // namespace common
