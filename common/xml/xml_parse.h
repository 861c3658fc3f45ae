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
// references. A document with entity declarations is refused.
ParsedDocument parseDocument(std::string_view bytes, const std::string& baseUrl,
                             const char* encoding, bool preserveWhiteSpace);

// Parses `bytes` (UTF-8), a well-balanced chunk of XML, as content of `context` (an
// element): the nodes belong to its document and are not linked anywhere yet. Null, and
// the reason in `error`, when the chunk does not parse; white space is treated as a
// load without preserveWhiteSpace treats it.
xmlNodePtr parseChunk(xmlNodePtr context, std::string_view bytes, std::wstring& error);

}  // namespace common::xml_detail
