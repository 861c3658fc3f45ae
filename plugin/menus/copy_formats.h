// Copying an entry to the clipboard: the entry's type picks a pair of templates (HTML and
// text) from the language section "Formatter", the entry's fields fill them, and both go on
// the clipboard together ("HTML Format" as UTF-8, CF_TEXT in the ANSI code page, UTF-8
// here).
//
// Contract: `fillCopyTemplate` is pure. `copyEntry` reads the process's language table
// (user-interface thread) and writes the process-wide clipboard.
#pragma once

#include <string>

#include "plugin/repository/entry_record.h"

namespace plugin {

struct CopyTemplates {
    std::wstring html;
    std::wstring text;
};

// The templates for the entry type ("clip" for any type without its own), from the
// language section "Formatter" or the built-in defaults when the section has none.
CopyTemplates copyTemplates(const std::wstring& type);

// What a filled template is: plain text, or markup, where the entry's plain-text fields
// are escaped ("&", "<", ">", quotes) so that a title "a <b>" or a url with "'" stays text
// and keeps the template's elements and attributes whole. "#content/html#" is markup
// already and goes in as it is.
enum class TemplateForm { text, markup };

// Replaces every "#title#", "#url#", "#createTime#", "#updateTime#", "#id#",
// "#category#", "#folder#", "#tags#", "#description#", "#content/html#" and
// "#content/text#" in `text` by that field. A key inside an entry's own text stays a key.
std::wstring fillCopyTemplate(const EntryRecord& entry, const std::wstring& text,
                              TemplateForm form);

// Puts the entry's HTML and text forms on the clipboard; false when the HTML form is
// empty (nothing is put) or the clipboard is busy.
bool copyEntry(const EntryRecord& entry);

}  // namespace plugin
