// The rule set of the readable-content scorer, read from "grab.xml":
//   <config>
//     <tagRanks><item name="P" value="100"/>...</tagRanks>
//     <tagChars><item name="FORM" value="0"/>...</tagChars>
//     <params><item name="transferToUpper" value="0.5"/></params>
//   </config>
// "tagRanks" weights the text under each tag for the tag scorer; "tagChars" gives the
// cleaner the least inner-text length an element of that tag needs to stay (0: always
// removed). "idRanks" and "classRanks" rank blocks by the words of their id and class
// (name_ranks.h); "tagRanks2" is read and kept as it is. Rows
// keep file order; a missing or empty value reads as 0. Parameters replace the defaults
// they name.
//
// Contract: `GrabRules` is a plain value. The process-wide set is loaded once on the
// user-interface thread at start-up and only read afterwards, from any thread, without
// locking. A failed load leaves empty tables and default parameters; nothing throws but
// bad_alloc.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace addon {

struct GrabRow {
    std::wstring name;
    std::int32_t value = 0;
};

struct GrabRules {
    std::vector<GrabRow> tagRanks;
    std::vector<GrabRow> tagRanks2;
    std::vector<GrabRow> idRanks;
    std::vector<GrabRow> classRanks;
    std::vector<GrabRow> tagChars;
    std::map<std::wstring, std::wstring> params;

    GrabRules() { reset(); }
    // Empty tables and the default parameters.
    void reset();
    // 0, or -1 for an empty path, a file that does not load or one without "config".
    int load(const std::wstring& path);
    // The share of an element's score that the tag scorer passes to its parent.
    double transferToUpper() const;
};

// The process-wide rule set.
const GrabRules& grabRules();
int loadGrabRules(const std::wstring& path);

}  // namespace addon
