#include "platform/browser/browser_bars.h"

#include <map>

namespace platform::browser {
namespace {

std::map<com::GUID, BarFactory>& factories() {
    static std::map<com::GUID, BarFactory> table;
    return table;
}

}  // namespace

void registerBrowserBar(const com::GUID& classId, BarFactory factory) {
    if (factory) {
        factories()[classId] = std::move(factory);
    } else {
        factories().erase(classId);
    }
}

BarFactory browserBarFactory(const com::GUID& classId) {
    const auto found = factories().find(classId);
    return found == factories().end() ? BarFactory() : found->second;
}

}  // namespace platform::browser
