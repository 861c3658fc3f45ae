#include "tarn/engine/tarn_application.h"

#include <mutex>
#include <vector>

#include "common/regex/pattern.h"
#include "tarn/engine/tarn_page.h"

namespace tarn {
namespace {

struct ApplicationState {
    std::mutex mutex;
    std::wstring repositoryFolder;
    std::vector<TarnPageItem> items;
    std::vector<std::unique_ptr<TarnPage>> pages;
};

ApplicationState& state() {
    static ApplicationState instance;
    return instance;
}

bool matches(const TarnPageItem& item, const std::wstring& url) {
    if (item.kind == 0) {
        return item.pattern == url;
    }
    return item.expression && item.expression->matchWhole(url).matched();
}

// The URL without its query; a "?" in the first place does not count.
std::wstring withoutQuery(const std::wstring& url) {
    const auto mark = url.find(L'?');
    return mark != std::wstring::npos && mark > 0 ? url.substr(0, mark) : url;
}

}  // namespace

void TarnApplication::init(const std::wstring& folder) {
    setRepositoryFilePath(folder);
}

void TarnApplication::setRepositoryFilePath(const std::wstring& folder) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().repositoryFolder = folder;
}

std::wstring TarnApplication::getRepositoryFilePath() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().repositoryFolder;
}

bool TarnApplication::reg(const std::wstring& pagePath, const std::wstring& pattern, int kind) {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (const TarnPageItem& item : state().items) {
        if (item.pattern == pattern && item.kind == kind) {
            return false;
        }
    }
    TarnPageItem item{pagePath, pattern, kind, nullptr};
    if (kind != 0) {
        item.expression = std::make_shared<const common::CPattern>(pattern, 0);
    }
    state().items.push_back(std::move(item));
    return true;
}

bool TarnApplication::unreg(const std::wstring& pattern, int kind) {
    std::lock_guard<std::mutex> lock(state().mutex);
    auto& items = state().items;
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it->pattern == pattern && it->kind == kind) {
            items.erase(it);
            return true;
        }
    }
    return false;
}

std::wstring TarnApplication::resolve(const std::wstring& url) {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (const TarnPageItem& item : state().items) {
        if (matches(item, url)) {
            return item.pagePath;
        }
    }
    return {};
}

TarnPage* TarnApplication::findOrAddPage(const std::wstring& pagePath) {
    std::lock_guard<std::mutex> lock(state().mutex);
    for (const auto& page : state().pages) {
        if (page->getFilePath() == pagePath) {
            return page.get();
        }
    }
    state().pages.push_back(std::make_unique<TarnPage>(pagePath));
    return state().pages.back().get();
}

TarnPage* TarnApplication::load(const std::wstring& pagePath) {
    if (pagePath.empty()) {
        return nullptr;
    }
    TarnPage* page = findOrAddPage(pagePath);
    std::lock_guard<std::mutex> lock(page->mutex());
    return page->compile() == 0 ? page : nullptr;
}

int TarnApplication::request(const std::wstring& url, TarnResponse& response) {
    const std::wstring pagePath = resolve(withoutQuery(url));
    if (pagePath.empty()) {
        return -1;
    }
    TarnPage* page = findOrAddPage(pagePath);
    std::lock_guard<std::mutex> lock(page->mutex());
    if (page->compile() != 0 || page->request(url) < 0) {
        return -1;
    }
    response.contentType = page->getContentType();
    if (page->supportCache()) {
        response.content = page->content();
    } else {
        response.content = page->takeContent();
    }
    return 0;
}

TarnPage* TarnApplication::request(const std::wstring& url, bool run) {
    TarnPage* page = load(resolve(withoutQuery(url)));
    if (page == nullptr || !run) {
        return page;
    }
    std::lock_guard<std::mutex> lock(page->mutex());
    return page->request(url) < 0 ? nullptr : page;
}

void TarnApplication::term() {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().pages.clear();
    state().items.clear();
    state().repositoryFolder.clear();
}

}  // namespace tarn
