// Language files: load one and translate texts of its sections, as dialogs and menus do.
#include <cstdint>

#include "common/language/language_table.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    common::LanguageTable table;
    if (table.load(fuzz::scratchFile("language", fuzz::bytesOf(data, size))) != 0)
        return 0;
    for (const auto& section : table.sections()) {
        for (const auto& item : section.items) {
            table.translate(section.name, item.lang1, item.name);
            table.translate(section.name, item.lang1);
        }
        table.findSection(section.name);
    }
    table.translate(L"missing", L"text");
    return 0;
}
