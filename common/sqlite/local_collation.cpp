#include "common/sqlite/local_collation.h"

#include <locale.h>

#include <atomic>
#include <cwchar>
#include <memory>
#include <string_view>

#include "platform/text/utf.h"

namespace common {
namespace {

class CollationLocale {
  public:
    explicit CollationLocale(locale_t handle) : handle_(handle) {}
    ~CollationLocale() { freelocale(handle_); }
    CollationLocale(const CollationLocale&) = delete;
    CollationLocale& operator=(const CollationLocale&) = delete;
    locale_t handle() const { return handle_; }

  private:
    locale_t handle_;
};

// Opens `name`, or the first fallback that exists; `exact` tells whether `name` itself did.
std::shared_ptr<const CollationLocale> openLocale(const std::string& name, bool& exact) {
    for (const char* candidate : {name.c_str(), "C.UTF-8", "C"}) {
        if (locale_t handle = newlocale(LC_COLLATE_MASK, candidate, nullptr)) {
            exact = candidate == name.c_str();
            return std::make_shared<const CollationLocale>(handle);
        }
    }
    exact = false;
    return nullptr;
}

std::atomic<std::shared_ptr<const CollationLocale>>& currentLocale() {
    static std::atomic<std::shared_ptr<const CollationLocale>> locale = [] {
        bool exact = false;
        return openLocale("", exact);
    }();
    return locale;
}

std::wstring widen(int length, const void* text) {
    if (length <= 0 || text == nullptr)
        return {};
    return platform::text::fromUtf8(
        std::string_view(static_cast<const char*>(text), static_cast<size_t>(length)));
}

}  // namespace

bool setCollationLocale(const std::string& name) {
    bool exact = false;
    if (auto locale = openLocale(name, exact))
        currentLocale().store(std::move(locale));
    return exact;
}

int localCollate(void*, int length1, const void* text1, int length2, const void* text2) {
    const std::wstring first = widen(length1, text1);
    const std::wstring second = widen(length2, text2);
    if (first.empty())
        return second.empty() ? 0 : -1;
    if (second.empty())
        return 1;
    const auto locale = currentLocale().load();
    if (!locale)
        return first.compare(second);
    return wcscoll_l(first.c_str(), second.c_str(), locale->handle());
}

}  // namespace common
