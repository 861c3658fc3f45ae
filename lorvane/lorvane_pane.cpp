#include "lorvane/lorvane_pane.h"

#include <atomic>

#include "common/language/language_table.h"
#include "lorvane/data_folders.h"
#include "lorvane/setting_dialog.h"
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"
#include "platform/ui/window_system.h"
#include "tarn/engine/plugin_manifest.h"

namespace lorvane {

using platform::ui::windows;

namespace {

// The mask colour that the icons' transparent parts carry.
constexpr platform::ui::COLORREF kIconMask = 0xFEFFFF;
constexpr ToolTipColors kPaneToolTip{0xDCE1E4, 0x323232};

std::uintptr_t takeTimerIds() {
    static std::atomic<std::uintptr_t> next{100};
    return next.fetch_add(2);
}

std::wstring folderOf(const std::wstring& path) {
    const auto separator = path.find_last_of(L"/\\");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::vector<std::wstring> fileRootsOf(const std::wstring& root) {
    std::vector<std::wstring> roots;
    if (!root.empty())
        roots.push_back(root + L"/data");
    if (const std::wstring userData = resolveDataFolder(L"UserData", root); !userData.empty())
        roots.push_back(userData);
    return roots;
}

// The first side page named exactly `name`, catalogue by catalogue.
std::optional<SidePageDefinition> findSidePage(const std::vector<tarn::PluginManifest>& catalogue,
                                               const std::wstring& name) {
    for (const auto& manifest : catalogue)
        for (const auto& page : manifest.sidePages)
            if (page.name == name)
                return SidePageDefinition{page.name,     page.title, page.url,
                                          page.restrict, page.file,  folderOf(manifest.filePath)};
    return std::nullopt;
}

// An error box owned by the active window: `text` translated in the "Message" section,
// then the reason as it is.
void showError(const std::wstring& text, const std::wstring& reason) {
    const auto& language = common::languageTable();
    platform::ui::messageBox(windows().active(),
                             language.translate(L"Message", text) + L"\n" + reason,
                             language.translate(L"Message", L"Tamrix for IE"),
                             platform::ui::MB_OK | platform::ui::MB_ICONERROR);
}

}  // namespace

Lorvane::Lorvane(LorvaneConfig& config, std::wstring root)
    : config_(config),
      root_(std::move(root)),
      loader_(root_.empty() ? std::string() : platform::text::toUtf8(root_) + "/bin/protocol.so",
              fileRootsOf(root_)),
      pageTimer_(takeTimerIds()) {
    // The pane's own palette: gradient buttons, not the system colours.
    setScheme(1);
}

Lorvane::~Lorvane() {
    RemoveAllItems();
    pages_.clear();
    if (windows().isWindow(window())) {
        windows().killTimer(window(), pageTimer());
        windows().killTimer(window(), folderTimer());
    }
}

HWND Lorvane::Create(HWND parent, Rect rect, const std::wstring& text, int style, int id) {
    const HWND created = CustomStackTabCtrl::Create(parent, rect, text, style, id);
    if (!created)
        return created;
    BuildPages(config_.names);
    windows().setTimer(created, pageTimer(), kPagePeriod);
    windows().setTimer(created, folderTimer(), kFolderPeriod);
    return created;
}

int Lorvane::BuildPages(const std::vector<std::wstring>& names) {
    ++generation_;
    RemoveAllItems();
    pages_.clear();
    ImageList large(24, 24);
    ImageList small(16, 16);

    const std::wstring pluginsFolder = resolveDataFolder(L"plugins", root_);
    std::vector<tarn::PluginManifest> catalogue;
    if (!pluginsFolder.empty())
        tarn::ScanPluginFolder(pluginsFolder, catalogue);
    const std::vector<SidePageChoice> installed =
        pluginsFolder.empty() ? std::vector<SidePageChoice>() : installedSidePages(pluginsFolder);

    for (const auto& name : names) {
        auto definition = findSidePage(catalogue, name);
        if (!definition)
            continue;
        const int n = static_cast<int>(pages_.size());
        auto page = std::make_unique<SidePage>(*definition, loader_);
        if (!page->Create(window(), {-100, -100, -10, -10}, kFirstPageId + n,
                          n == 0 ? definition->url : L"about:blank"))
            continue;
        std::wstring iconFile;
        for (const auto& choice : installed)
            if (choice.name == name)
                iconFile = choice.iconFile;
        small.addMasked(sidePageIcon(iconFile, pluginsFolder, 16), kIconMask);
        large.addMasked(sidePageIcon(iconFile, pluginsFolder, 24), kIconMask);
        AddItem(page->window(), definition->title, n, n);
        pages_.push_back(std::move(page));
    }

    SetImageLists(&large, &small, nullptr, nullptr);
    setToolTipColors(kPaneToolTip);
    layout = 0;
    iconsFromLeft = true;
    captionAtBottom = false;
    showCaption = false;
    splitterEnabled = false;
    showSettingsButton = true;
    hideEmptyIconRow = true;
    ownBorder = false;
    if (!items().empty())
        Select(items().front().get());
    UpdateLayout();
    invalidate();
    return static_cast<int>(names.size());
}

SidePage* Lorvane::activePage() const {
    if (!active())
        return nullptr;
    for (const auto& page : pages_)
        if (page->window() == active()->window)
            return page.get();
    return nullptr;
}

int Lorvane::PreTranslateMessage(const Message& message) {
    for (HWND window = message.window; window; window = windows().parent(window))
        for (const auto& page : pages_)
            if (page->window() == window)
                return page->PreTranslateMessage(message);
    return 1;
}

LRESULT Lorvane::handleMessage(const Message& message) {
    if (message.id == platform::ui::WM_TIMER) {
        if (!windows().isWindow(window()))
            return 1;
        if (message.wParam == pageTimer()) {
            onPageTimer();
            return 0;
        }
        if (message.wParam == folderTimer()) {
            onFolderTimer();
            return 0;
        }
    }
    return CustomStackTabCtrl::handleMessage(message);
}

void Lorvane::onPageTimer() {
    const unsigned generation = generation_;
    for (std::size_t i = 0; i < pages_.size() && generation == generation_; ++i)
        pages_[i]->OnTimer();
}

void Lorvane::onFolderTimer() {
    const unsigned generation = generation_;
    for (std::size_t i = 0; i < pages_.size() && generation == generation_; ++i) {
        const std::wstring& folder = pages_[i]->definition().pluginFolder;
        bool seen = false;
        for (std::size_t earlier = 0; earlier < i && !seen; ++earlier)
            seen = pages_[earlier]->definition().pluginFolder == folder;
        if (!seen)
            pages_[i]->OnTimer2();
    }
}

int Lorvane::OnSettings(Rect button) {
    if (SidePage* page = activePage()) {
        const Rect placed = windows().windowRect(window());
        const int result = page->OnSetting(button.offset(placed.left, placed.top));
        if (result != 1)
            return result;
    }
    LorvaneSettingDialog dialog(config_.names, resolveDataFolder(L"plugins", root_));
    if (dialog.doModal(windows().active()) != platform::ui::IDOK)
        return 0;
    const std::wstring userData = resolveDataFolder(L"UserData", root_);
    if (userData.empty() || config_.saveConfig(userData + L"/config.xml") != 0)
        showError(L"The choice of side pages could not be saved.", config_.lastError());
    BuildPages(config_.names);
    return 0;
}

}  // namespace lorvane
