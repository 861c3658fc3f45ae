// The pictures a page refers to, as the layout engine and the painter need them: an
// address resolved against the page's own (or its base element's) address, then read from
// a data: URL, from a local file (only for a file: page or a page without an address), or
// fetched over http(s) with the network client's time limit and a size cap. An http(s)
// page never reads a file of this machine.
//
// Contract: one per laid-out page, on its thread. Every address is tried once; a picture
// that cannot be had (refused, missing, too large, undecodable) is remembered as missing
// and drawn as its alternative text by the painter.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/imaging/bitmap.h"

namespace platform::dom {

// `reference` resolved against `base` (RFC 3986, for hierarchical addresses); a
// reference with a scheme of its own stands as it is.
std::string resolveAddress(const std::string& base, const std::string& reference);

// The bytes at `address` (already resolved) for the page at `pageAddress`: data: URLs,
// file: URLs only for a page of this machine (file:, about: or no address), http(s)
// within `timeout` and `maxBytes`; std::nullopt when they cannot be had.
std::optional<std::string> loadPageResource(const std::string& address,
                                            const std::string& pageAddress,
                                            std::chrono::milliseconds timeout,
                                            std::size_t maxBytes);

// The documents' own loader of linked style sheets: the href resolved against the page's
// address, then loadPageResource with the limits below.
inline constexpr std::chrono::milliseconds kStyleSheetTimeout{10000};
inline constexpr std::size_t kMaxStyleSheetBytes = 4u << 20;
std::optional<std::string> loadLinkedStyleSheet(const std::wstring& href,
                                                const std::wstring& pageAddress);

class PageResources {
  public:
    static constexpr std::size_t kMaxPictureBytes = 16u << 20;
    static constexpr std::chrono::milliseconds kFetchTimeout{10000};
    // Over a page's whole layout, the network is given at most this long.
    static constexpr std::chrono::milliseconds kPageFetchBudget{30000};

    explicit PageResources(std::string pageAddress);

    const std::string& page() const { return page_; }
    void setBase(const std::string& base);
    const std::string& base() const { return base_; }
    std::string resolve(const std::string& reference) const;

    // The picture, or null when it cannot be had.
    const imaging::Bitmap* picture(const std::string& reference);

  private:
    std::string page_;
    std::string base_;
    std::map<std::string, std::unique_ptr<imaging::Bitmap>> pictures_;
    std::chrono::milliseconds fetchTimeUsed_{0};
};

}  // namespace platform::dom
