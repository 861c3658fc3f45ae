// Internal to the XML wrappers: parsing text into a libxml2 document, safely.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace common::xml_detail {

struct ParsedDocument {
    xmlDocPtr doc = nullptr;  // owned by the caller; null when parsing failed
    bool hasDeclaration = false;
    std::wstring error;
};

// Parses `bytes` (in `encoding` when given, else as declared or detected) with no network
// access and no external loads at all; `baseUrl` names the source for relative
// references. A document with entity declarations is refused. Text nodes of any size are
// read whole; a parse that libxml2 ends part-way fails with libxml2's reason, never gives
// the part it read.
ParsedDocument parseDocument(std::string_view bytes, const std::string& baseUrl,
                             const char* encoding, bool preserveWhiteSpace);

}  // namespace common::xml_detail
