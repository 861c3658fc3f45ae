#include "platform/dom/resources/page_resources.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/dom/resources/unreachable_hosts.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/net/address_decoding.h"
#include "platform/text/utf.h"

namespace platform::dom {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The scheme ("http"), lower case; "" when the address has none.
std::string schemeOf(const std::string& address) {
    const auto colon = address.find(':');
    if (colon == std::string::npos || colon == 0)
        return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return {};
    }
    if (!std::isalpha(static_cast<unsigned char>(address[0])))
        return {};
    return lowered(address.substr(0, colon));
}

std::string removeDotSegments(const std::string& path) {
    std::vector<std::string> segments;
    std::size_t start = 0;
    const bool absolute = !path.empty() && path[0] == '/';
    bool directory = false;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string segment = path.substr(start, slash - start);
        directory = segment == "." || segment == "..";
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (segment != "." && !(segment.empty() && slash != path.size())) {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < segments.size(); ++i) {
        out += segments[i];
        if (i + 1 < segments.size())
            out += '/';
    }
    if (directory && !out.ends_with('/'))
        out += '/';
    return out;
}

bool readFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        if (bytes.size() > maxBytes) {
            std::fclose(file);
            return false;
        }
    }
    std::fclose(file);
    return true;
}

}  // namespace

std::string resolveAddress(const std::string& base, const std::string& reference) {
    std::string ref = reference;
    ref.erase(0, ref.find_first_not_of(" \t\r\n"));
    ref.erase(ref.find_last_not_of(" \t\r\n") + 1);
    if (!schemeOf(ref).empty() || base.empty())
        return ref;
    const std::string scheme = schemeOf(base);
    if (scheme.empty())
        return ref;
    const std::size_t afterScheme = scheme.size() + 1;
    const bool hasAuthority = base.compare(afterScheme, 2, "//") == 0;
    std::size_t pathStart = afterScheme;
    if (hasAuthority) {
        pathStart = base.find_first_of("/?#", afterScheme + 2);
        if (pathStart == std::string::npos)
            pathStart = base.size();
    }
    const std::string origin = base.substr(0, pathStart);
    std::size_t pathEnd = base.find_first_of("?#", pathStart);
    if (pathEnd == std::string::npos)
        pathEnd = base.size();
    const std::string basePath = base.substr(pathStart, pathEnd - pathStart);
    if (ref.empty())
        return base.substr(0, base.find('#'));
    if (ref.starts_with("//"))
        return scheme + ":" + ref;
    if (ref[0] == '#')
        return base.substr(0, base.find('#')) + ref;
    if (ref[0] == '?')
        return origin + basePath + ref;
    const auto refEnd = ref.find_first_of("?#");
    const std::string refPath = ref.substr(0, refEnd);
    const std::string refRest = refEnd == std::string::npos ? "" : ref.substr(refEnd);
    std::string merged;
    if (refPath.starts_with('/'))
        merged = refPath;
    else if (hasAuthority && basePath.empty())
        merged = "/" + refPath;
    else
        merged = basePath.substr(0, basePath.rfind('/') + 1) + refPath;
    return origin + removeDotSegments(merged) + refRest;
}

std::optional<std::string> loadPageResource(const std::string& address,
                                            const std::string& pageAddress,
                                            std::chrono::milliseconds timeout, std::size_t maxBytes,
                                            const net::HttpCancel* cancel) {
    const std::string scheme = schemeOf(address);
    std::string bytes;
    if (scheme == "data") {
        bytes = net::dataUrlBytes(address).value_or(std::string());
        return bytes.size() <= maxBytes ? std::optional(bytes) : std::nullopt;
    }
    if (scheme == "file") {
        // Only a page loaded from a file may show this machine's files.
        const std::optional<std::string> path = net::pageLocalFilePath(address, pageAddress);
        if (!path || !readFile(*path, bytes, maxBytes))
            return std::nullopt;
        return bytes;
    }
    if ((scheme != "http" && scheme != "https") || timeout.count() <= 0 || hostUnreachable(address))
        return std::nullopt;
    try {
        net::HttpRequest request;
        request.url = address;
        request.timeout = timeout;
        request.connectTimeout = std::min(timeout, std::chrono::milliseconds(5000));
        request.maxResponseBytes = maxBytes;
        const net::HttpResponse response = net::performHttp(request, cancel);
        if (response.status < 200 || response.status >= 300)
            return std::nullopt;
        return response.body;
    } catch (const net::HttpError& failure) {
        if (failure.kind() == net::HttpError::Kind::Network ||
            failure.kind() == net::HttpError::Kind::Timeout)
            noteHostUnreachable(address);
        return std::nullopt;
    }
}

std::optional<std::string> loadLinkedStyleSheet(const std::wstring& href,
                                                const std::wstring& pageAddress) {
    const std::string page = platform::text::toUtf8(pageAddress);
    const std::string address = resolveAddress(page, platform::text::toUtf8(href));
    return loadPageResource(address, page, kStyleSheetTimeout, kMaxStyleSheetBytes);
}

namespace {

std::atomic<PictureWait> processPictureWait{PictureWait::withinBudget};

}  // namespace

void setPictureWait(PictureWait wait) {
    processPictureWait = wait;
}

PictureWait pictureWait() {
    return processPictureWait;
}

PageResources::PageResources(std::string pageAddress, PictureWait wait)
    : page_(std::move(pageAddress)), wait_(wait), base_(page_) {}

PageResources::~PageResources() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
        queue_.clear();
    }
    cancel_.cancel();
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    if (announcer_.joinable())
        announcer_.join();
}

void PageResources::setBase(const std::string& base) {
    base_ = resolveAddress(page_, base);
}

std::string PageResources::resolve(const std::string& reference) const {
    return resolveAddress(base_, reference);
}

namespace {

std::unique_ptr<imaging::Bitmap> decoded(const std::optional<std::string>& bytes) {
    if (!bytes || bytes->empty())
        return nullptr;
    auto bitmap = std::make_unique<imaging::Bitmap>();
    if (imaging::decodeBitmap(*bytes, *bitmap) != imaging::Status::Ok || bitmap->empty())
        return nullptr;
    return bitmap;
}

bool overNetwork(const std::string& address) {
    const std::string scheme = lowered(address.substr(0, address.find(':')));
    return scheme == "http" || scheme == "https";
}

}  // namespace

std::shared_ptr<PageResources::Load> PageResources::start(const std::string& address) {
    if (auto known = pictures_.find(address); known != pictures_.end())
        return known->second;
    auto load = std::make_shared<Load>();
    load->address = address;
    pictures_.emplace(address, load);
    if (!overNetwork(address) || hostUnreachable(address)) {
        // data:, file: and refused addresses are answered at once, on this thread.
        load->bitmap = decoded(loadPageResource(address, page_, kFetchTimeout, kMaxPictureBytes));
        load->done = true;
        return load;
    }
    if (!deadline_)
        deadline_ = std::chrono::steady_clock::now() + kPageFetchBudget;
    {
        std::lock_guard guard(lock_);
        queue_.push_back(load);
    }
    if (workers_.size() < static_cast<std::size_t>(kFetchWorkers))
        workers_.emplace_back([this] { fetchOnWorkers(); });
    if (wait_ == PictureWait::never && !announcer_.joinable())
        announcer_ = std::thread([this] { announceArrivals(); });
    changed_.notify_all();
    return load;
}

void PageResources::fetchOnWorkers() {
    std::unique_lock guard(lock_);
    while (!stopping_) {
        if (queue_.empty()) {
            changed_.wait(guard, [this] { return stopping_ || !queue_.empty(); });
            continue;
        }
        const std::shared_ptr<Load> load = queue_.front();
        queue_.pop_front();
        load->fetching = true;
        load->sent = std::chrono::steady_clock::now();
        guard.unlock();
        auto bitmap = decoded(
            loadPageResource(load->address, page_, kFetchTimeout, kMaxPictureBytes, &cancel_));
        guard.lock();
        load->bitmap = std::move(bitmap);
        load->done = true;
        if (load->awaited) {
            --awaitedInFlight_;
            ++arrivals_;
            if (!announceAt_)
                announceAt_ = std::chrono::steady_clock::now() + kArrivalBatch;
        }
        changed_.notify_all();
    }
}

// Gives the arrival notice once the pictures readers went on without have all come, or
// once the batch's time is up while others are still on their way.
void PageResources::announceArrivals() {
    std::unique_lock guard(lock_);
    while (!stopping_) {
        changed_.wait(guard, [this] { return stopping_ || announceAt_.has_value(); });
        if (stopping_)
            break;
        const auto due = *announceAt_;
        changed_.wait_until(guard, due, [this] { return stopping_ || awaitedInFlight_ == 0; });
        if (stopping_)
            break;
        announceAt_.reset();
        if (!notice_)
            continue;
        guard.unlock();
        notice_();
        guard.lock();
    }
}

void PageResources::setArrivalNotice(std::function<void()> notice) {
    std::lock_guard guard(lock_);
    notice_ = std::move(notice);
}

std::uint64_t PageResources::arrivals() const {
    std::lock_guard guard(lock_);
    return arrivals_;
}

bool PageResources::awaitArrivals(std::chrono::milliseconds limit) {
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, limit, [this] { return awaitedInFlight_ == 0; });
}

void PageResources::giveUpPending() {
    if (wait_ != PictureWait::never)
        return;
    std::lock_guard guard(lock_);
    bool any = false;
    for (auto& [address, load] : pictures_)
        if (!load->done && !load->givenUp) {
            load->givenUp = true;
            any = true;
        }
    if (any)
        ++arrivals_;
}

void PageResources::request(const std::string& reference) {
    if (!reference.empty())
        start(resolve(reference));
}

PageResources::Reading PageResources::read(const std::string& reference) {
    // No address is no picture (not the page's own address).
    if (reference.empty())
        return {nullptr, false};
    const std::shared_ptr<Load> load = start(resolve(reference));
    std::unique_lock guard(lock_);
    if (!load->done && wait_ == PictureWait::never) {
        if (!load->awaited) {
            load->awaited = true;
            ++awaitedInFlight_;
        }
        return {nullptr, !load->givenUp};
    }
    if (!load->done && deadline_)
        changed_.wait_until(guard, *deadline_, [&] { return load->done; });
    if (!load->done) {
        // The host has not answered within (most of) the page's budget: later pages do not
        // wait for it again, whether its own time limit or the page's cancel ends the fetch.
        // A picture asked for after the budget was spent is given up at once, which says
        // nothing of its host.
        if (load->fetching && deadline_ && load->sent < *deadline_ - kPageFetchBudget / 2)
            noteHostUnreachable(load->address);
        return {nullptr, false};
    }
    return {load->bitmap.get(), false};
}

const imaging::Bitmap* PageResources::picture(const std::string& reference) {
    return read(reference).picture;
}

bool PageResources::missing(const std::string& reference) {
    const Reading reading = read(reference);
    return !reading.picture && !reading.pending;
}

bool PageResources::settled() {
    std::lock_guard guard(lock_);
    return std::all_of(pictures_.begin(), pictures_.end(),
                       [](const auto& entry) { return entry.second->done; });
}

}  // namespace platform::dom
