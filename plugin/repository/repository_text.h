// Small text helpers of the repository: entry identifiers, time stamps and the parts of
// an address the repository stores and compares. Pure functions (apart from the clock and
// the random source), thread-safe, never throw except std::bad_alloc.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

// A new entry identifier: "A" followed by a random GUID's fields in upper-case hex
// ("A%07X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X").
std::wstring newEntryGuid();
// The current UTC time as "%Y-%m-%d %H:%M:%S", which sorts correctly as text.
std::wstring nowUtcText();
// The site of an address: the text between "://" and the next "/" (or the end); "" when
// "://" is missing or starts the text.
std::wstring siteOfUrl(std::wstring_view url);
// How many characters the paths of two addresses share from their start, the path being
// what follows the third "/"; an address with one or two "/" scores 0 and one without any
// "/" is compared from its start.
int pathMatchScore(std::wstring_view a, std::wstring_view b);

}  // namespace plugin
