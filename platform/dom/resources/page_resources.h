// The pictures a page refers to, as the layout engine and the painter need them: an
// address resolved against the page's own (or its base element's) address, then read from
// a data: URL, from a local file (only for a page loaded from a file: address), or
// fetched over http(s) with a size cap. An http(s) page never reads a file of this machine.
//
// Pictures over the network are fetched by workers, several at once, each within its own
// time limit; a host that cannot be reached is not asked again (unreachable_hosts.h). The
// page asks for all its pictures first (request), then reads them (picture). How a reader
// treats a picture still on its way depends on the page's PictureWait:
// - withinBudget: it waits, but only until the page's budget, counted from its first
//   fetch, is spent, so a page never waits longer than that in all; a picture that
//   arrives later is there for the next layout of the page.
// - never: it goes on at once without the picture (the page is laid out with the
//   picture's attribute size, or none); when pictures a reader went on without have
//   arrived or failed, the arrival notice tells the page to lay itself out again.
//
// Contract: one per laid-out page, owned by its thread; the workers touch only the
// fetches' shared state, and the arrival notice is called on a thread of the resources.
// Every address is tried once; a picture that cannot be had (refused, missing, too large,
// undecodable, late) is drawn as its alternative text by the painter. Destroying the
// resources cancels the fetches under way and waits for them and for a notice being given.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
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

enum class PictureWait { withinBudget, never };

// How the pages laid out from now on in this process treat pictures on their way:
// withinBudget unless set. A program that shows pages to a person sets never at its start,
// so no picture holds up its window; hosts, captures and prints want settled pages.
void setPictureWait(PictureWait wait);
PictureWait pictureWait();

class PageResources {
  public:
    static constexpr std::size_t kMaxPictureBytes = 16u << 20;
    // The longest one picture is fetched for, and the longest the page waits for all:
    // opening and attaching a page whose pictures never come, the program's start
    // included, stays within 3.5 s.
    static constexpr std::chrono::milliseconds kFetchTimeout{3000};
    static constexpr std::chrono::milliseconds kPageFetchBudget{2500};
    static constexpr int kFetchWorkers = 6;
    // Pictures that arrive close together are announced together: the page is laid out
    // again at most this often while others are still on their way.
    static constexpr std::chrono::milliseconds kArrivalBatch{250};

    explicit PageResources(std::string pageAddress, PictureWait wait = PictureWait::withinBudget);
    ~PageResources();
    PageResources(const PageResources&) = delete;
    PageResources& operator=(const PageResources&) = delete;

    const std::string& page() const { return page_; }
    void setBase(const std::string& base);
    const std::string& base() const { return base_; }
    std::string resolve(const std::string& reference) const;

    // Starts getting the picture, unless it was asked for before; returns at once.
    void request(const std::string& reference);
    // The picture, or null when it cannot be had within the page's budget, or (for a page
    // that never waits) has not arrived yet.
    const imaging::Bitmap* picture(const std::string& reference);
    // Whether the picture cannot be had: it failed, or did not arrive within the budget of
    // a page that waits. A picture still on its way to a page that never waits is not.
    bool missing(const std::string& reference);
    // Whether every picture asked for has arrived or failed: none can arrive later.
    bool settled();

    // Called when pictures that a reader went on without have arrived or failed: at once
    // when none such is still on its way, else after kArrivalBatch. Set before the first
    // request.
    void setArrivalNotice(std::function<void()> notice);
    // How many pictures that a reader went on without have arrived or failed so far: a
    // layout made when the count was lower is out of date.
    std::uint64_t arrivals() const;
    // Waits until every picture a reader went on without has arrived or failed, at most
    // `limit`; true when they all have.
    bool awaitArrivals(std::chrono::milliseconds limit);
    // For a page that never waits: the pictures still on their way are read as pictures
    // that cannot be had until they arrive (then the arrival notice comes as for any), so
    // that a capture or a print made after its wait shows them as a browser shows a
    // picture it does not have. Counts as an arrival when there were any.
    void giveUpPending();

  private:
    struct Load {
        std::string address;
        std::unique_ptr<imaging::Bitmap> bitmap;
        bool fetching = false;  // a worker has sent the request
        std::chrono::steady_clock::time_point sent;
        bool done = false;
        bool awaited = false;  // a reader went on without it
        bool givenUp = false;  // read as not had until it arrives
    };
    struct Reading {
        const imaging::Bitmap* picture;
        bool pending;  // on its way to a page that never waits
    };
    Reading read(const std::string& reference);
    std::shared_ptr<Load> start(const std::string& address);
    void fetchOnWorkers();
    void announceArrivals();

    std::string page_;
    PictureWait wait_;
    std::string base_;
    std::map<std::string, std::shared_ptr<Load>> pictures_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    // Shared with the workers.
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Load>> queue_;
    bool stopping_ = false;
    int awaitedInFlight_ = 0;
    std::uint64_t arrivals_ = 0;
    std::optional<std::chrono::steady_clock::time_point> announceAt_;
    std::function<void()> notice_;
    net::HttpCancel cancel_;
    std::vector<std::thread> workers_;
    std::thread announcer_;
};

}  // namespace platform::dom
