// The update service's answer: an Atom feed whose entries name released versions, the
// newest first (the entry's "id" is the version, its "link" the download page).
//
// Contract: a pure function; thread-safe. Elements are matched by their local names, so
// a feed in the Atom namespace and one without a namespace read alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace common {
class CXMLDOMDocument;
}

namespace addon {

struct FeedEntry {
    std::wstring id;
    std::wstring link;  // the "href" of the "link" element
    std::wstring title;
    std::wstring summary;
    std::wstring content;
    std::wstring published;
    std::wstring updated;
};

// A server's feed may be of any length, but only its newest entries matter: no more than
// this many are read.
inline constexpr std::size_t kMaxFeedEntries = 100;

// The first kMaxFeedEntries entries of the document's "feed" root in document order;
// nothing (no value) when the document has no "feed" root.
std::optional<std::vector<FeedEntry>> readUpdateFeed(const common::CXMLDOMDocument& document);

}  // namespace addon
