// The markup of readable pages: the containers, header, items and link entries that the
// Isolate, Grab and GrabLinks commands put into the new body. Every title, address and
// link text written into the markup is HTML-escaped; item markup is taken as it is.
//
// Contract: pure text functions; thread-safe.
#pragma once

#include <string>
#include <vector>

#include "common/util/string_pair.h"

namespace addon {

// "&", "<", ">", '"' and "'" as character references.
std::wstring htmlEscape(const std::wstring& text);

// The centred container around the isolated blocks (`items`: their markup).
std::wstring isolateMarkup(const std::wstring& items);
// The header with the page's title linked to its address, then the items separated by rules.
std::wstring grabMarkup(const std::wstring& title, const std::wstring& address,
                        const std::vector<std::wstring>& items);
// One entry per link {title, address}, numbered from 0, each with a placeholder content
// ("readable_content_" + number) that the link fetcher fills in.
std::wstring grabLinksMarkup(const std::vector<common::StringPair>& links);

}  // namespace addon
