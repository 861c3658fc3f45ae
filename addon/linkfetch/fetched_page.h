// What a fetched linked page contributes to a link-grab page: its title and main blocks
// (the tag scorer's element, cleaned, readable_scorer.h) and the markup that goes into the
// link's placeholder header and content.
//
// Contract: pure functions over text; safe on any thread (the grab rules are only read).
// The title and address are HTML-escaped; block markup is taken as the cleaner left it.
// Reading a page parses it once; a caller that may be stopped passes `stopped`, which is
// asked between the steps (parse, score and clean), and gets nothing once it says yes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace addon {

struct FetchedPage {
    std::wstring title;
    std::vector<std::wstring> blocks;
};

// The page's title (white space collapsed) and its main block; no blocks when the scorer
// finds nothing. The block's links and pictures are absolute: resolved against the page's
// own base element, itself joined with `pageUrl`, the address the page came from. Nothing
// when `stopped` said yes before the page was read.
std::optional<FetchedPage> readFetchedPage(const std::wstring& html, const std::wstring& pageUrl,
                                           const std::function<bool()>& stopped = {});

struct LinkResultMarkup {
    // Empty when the placeholder's header is to stay as it is.
    std::wstring header;
    std::wstring content;
};

// "Load Timeout" for a link that could not be fetched; "Can't Grab!" for a page without a
// title or without a block; otherwise the linked title as header and the blocks separated
// by rules.
LinkResultMarkup linkResultMarkup(const std::wstring& url, bool fetched, const FetchedPage& page);

}  // namespace addon
