// The pictures a page refers to, as the layout engine and the painter need them: an
// address resolved against the page's own (or its base element's) address, then read from
// a data: URL, from a local file (only for a page loaded from a file: address), or
// fetched over http(s) with a size cap. An http(s) page never reads a file of this machine.
//
// Pictures over the network are fetched by workers, several at once, each within its own
// time limit; a host that cannot be reached is not asked again (unreachable_hosts.h). The
// page asks for all its pictures first (request), then reads them (picture): a reader
// waits for a picture only until the page's budget, counted from its first fetch, is
// spent, so a page never waits longer than that in all, however many pictures it has.
// A picture that arrives later is there for the next layout of the page.
//
// Contract: one per laid-out page, owned by its thread; the workers touch only the
// fetches' shared state. Every address is tried once; a picture that cannot be had
// (refused, missing, too large, undecodable, late) is drawn as its alternative text by the
// painter. Destroying the resources cancels the fetches under way and waits for them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/net/http_client.h"

namespace platform::dom {

// `reference` resolved against `base` (RFC 3986, for hierarchical addresses); a
// reference with a scheme of its own stands as it is.
std::string resolveAddress(const std::string& base, const std::string& reference);

// The bytes at `address` (already resolved) for the page at `pageAddress`: data: URLs,
// file: URLs only for a page loaded from a file: address, http(s)
// within `timeout` and `maxBytes` (not at all from a host found unreachable before);
// std::nullopt when they cannot be had.
std::optional<std::string> loadPageResource(const std::string& address,
                                            const std::string& pageAddress,
                                            std::chrono::milliseconds timeout, std::size_t maxBytes,
                                            const net::HttpCancel* cancel = nullptr);

// The documents' own loader of linked style sheets: the href resolved against the page's
// address, then loadPageResource with the limits below.
inline constexpr std::chrono::milliseconds kStyleSheetTimeout{3000};
inline constexpr std::size_t kMaxStyleSheetBytes = 4u << 20;
std::optional<std::string> loadLinkedStyleSheet(const std::wstring& href,
                                                const std::wstring& pageAddress);

class PageResources {
  public:
    static constexpr std::size_t kMaxPictureBytes = 16u << 20;
    // The longest one picture is fetched for, and the longest the page waits for all:
    // opening and attaching a page whose pictures never come, the program's start
    // included, stays within 3.5 s.
    static constexpr std::chrono::milliseconds kFetchTimeout{3000};
    static constexpr std::chrono::milliseconds kPageFetchBudget{2500};
    static constexpr int kFetchWorkers = 6;

    explicit PageResources(std::string pageAddress);
    ~PageResources();
    PageResources(const PageResources&) = delete;
    PageResources& operator=(const PageResources&) = delete;

    const std::string& page() const { return page_; }
    void setBase(const std::string& base);
    const std::string& base() const { return base_; }
    std::string resolve(const std::string& reference) const;

    // Starts getting the picture, unless it was asked for before; returns at once.
    void request(const std::string& reference);
    // The picture, or null when it cannot be had within the page's budget.
    const imaging::Bitmap* picture(const std::string& reference);
    // Whether every picture asked for has arrived or failed: none can arrive later.
    bool settled();

  private:
    struct Load {
        std::string address;
        std::unique_ptr<imaging::Bitmap> bitmap;
        bool fetching = false;  // a worker has sent the request
        bool done = false;
    };
    std::shared_ptr<Load> start(const std::string& address);
    void fetchOnWorkers();

    std::string page_;
    std::string base_;
    std::map<std::string, std::shared_ptr<Load>> pictures_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    // Shared with the workers.
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Load>> queue_;
    bool stopping_ = false;
    net::HttpCancel cancel_;
    std::vector<std::thread> workers_;
};

}  // namespace platform::dom
