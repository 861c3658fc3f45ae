// The windows' pictures: what each owner painted, and the current image composed from a
// window's picture and its shown children's images.
#include <algorithm>

#include "platform/ui/window_system_impl.h"

namespace platform::ui {

namespace {

constexpr std::uint32_t kUnpainted = 0xFFFFFFFF;

// The window's current image of its client size; the caller holds the lock.
imaging::Bitmap compose(const std::unordered_map<HWND, WindowRecord>& windows,
                        const WindowRecord& record) {
    imaging::Bitmap image(std::max(record.rect.width(), 0), std::max(record.rect.height(), 0),
                          imaging::PixelFormat::Argb32);
    image.fill(kUnpainted);
    if (record.picture) {
        const imaging::Bitmap& own = *record.picture;
        image.drawBitmap(own, {0, 0, own.width(), own.height()}, 0, 0);
    }
    // Children are kept topmost first, so the bottom one is drawn first.
    for (auto child = record.children.rbegin(); child != record.children.rend(); ++child) {
        const auto below = windows.find(*child);
        if (below == windows.end() || !below->second.visible)
            continue;
        const imaging::Bitmap part = compose(windows, below->second);
        image.drawBitmap(part, {0, 0, part.width(), part.height()}, below->second.rect.left,
                         below->second.rect.top);
    }
    return image;
}

}  // namespace

bool WindowSystem::setImage(HWND window, imaging::Bitmap picture) {
    auto kept = std::make_shared<const imaging::Bitmap>(std::move(picture));
    std::lock_guard lock(impl_->mutex);
    WindowRecord* record = impl_->find(window);
    if (!record)
        return false;
    record->picture = std::move(kept);
    impl_->imageTouched(window);
    return true;
}

imaging::Bitmap WindowSystem::image(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? compose(impl_->windows, *record) : imaging::Bitmap();
}

std::uint64_t WindowSystem::imageVersion(HWND window) const {
    std::lock_guard lock(impl_->mutex);
    const WindowRecord* record = impl_->find(window);
    return record ? record->imageVersion : 0;
}

}  // namespace platform::ui
