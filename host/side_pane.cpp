#include "host/side_pane.h"

#include "host/dialog_answer.h"
#include "host/output.h"
#include "host/pointer_input.h"
#include "host/words.h"
#include "lorvane/data_folders.h"
#include "lorvane/lorvane_pane.h"
#include "lorvane/window_codes.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/tag_names.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"
#include "plugin/module/host_messages.h"
#include "plugin/sync/sync_client.h"

namespace host {
namespace {

namespace ui = platform::ui;
using platform::dom::Element;

constexpr ui::Rect kPaneRect{0, 0, 320, 900};
constexpr std::chrono::seconds kSyncStartLimit{5};
constexpr std::chrono::seconds kSyncLimit{300};

void listItems(const std::shared_ptr<Element>& element,
               std::vector<std::shared_ptr<Element>>& found) {
    if (platform::dom::equalsIgnoringCase(element->tagName(), L"LI") &&
        element->getAttribute(L"path")) {
        found.push_back(element);
    }
    for (const auto& child : element->childNodes()) {
        if (child->nodeType() == platform::dom::NodeType::Element) {
            listItems(std::static_pointer_cast<Element>(child), found);
        }
    }
}

// The list item a person means by `name`: its path, the name in its path, or its link's
// text (an entry's title).
std::shared_ptr<Element> listItemNamed(const platform::dom::Document& page,
                                       const std::wstring& name) {
    std::vector<std::shared_ptr<Element>> items;
    if (page.body()) {
        listItems(page.body(), items);
    }
    for (const auto& item : items) {
        const std::wstring path = item->getAttribute(L"path").value_or(L"");
        if (path == name || path.substr(path.find(L'/') + 1) == name) {
            return item;
        }
    }
    for (const auto& item : items) {
        const auto links = item->getElementsByTagName(L"A");
        if (!links.empty() && trimmed(links[0]->innerText()) == name) {
            return item;
        }
    }
    return nullptr;
}

}  // namespace

HostPane::HostPane(HostPresenter& presenter, Navigate navigate)
    : presenter_(presenter), navigate_(std::move(navigate)) {
    const std::wstring root = platform::text::fromUtf8(platform::system::installationRoot());
    if (const std::wstring userData = lorvane::resolveDataFolder(L"UserData", root);
        !userData.empty()) {
        config_.loadConfig(userData + L"/config.xml");
    }
    client_ = ui::windows().createWindow(
        {.className = L"LorvaneClient",
         .title = L"Tamrix host side pane",
         .rect = kPaneRect,
         .proc = [this](const ui::Message& message) { return onClientMessage(message); }});
    pane_ = std::make_unique<lorvane::Lorvane>(config_, root);
    pane_->Create(client_, {0, 0, kPaneRect.width(), kPaneRect.height()}, L"LorvaneServer",
                  0x50000000, 102);
}

HostPane::~HostPane() {
    pane_.reset();
    ui::windows().destroyWindow(client_);
}

ui::LRESULT HostPane::onClientMessage(const ui::Message& message) {
    if (message.id != ui::WM_COPYDATA || !message.copyData) {
        return 0;
    }
    if (message.copyData->code == plugin::kStatusTextCode) {
        if (const auto status = plugin::readStatusRecord(message.copyData->bytes)) {
            note(L"pane status: " + printable(*status));
            statuses_.push_back(*status);
        }
    } else if (message.copyData->code == plugin::kNavigateCode) {
        if (const auto request = plugin::readNavigateRecord(message.copyData->bytes)) {
            navigations_.push_back(request->url);
        }
    }
    return 1;
}

bool HostPane::ready() {
    if (!pane_->window() || pane_->pages().empty() || !pane_->pages().front()->document()) {
        reportError(L"the side pane shows no page (its config.xml names none that is installed)");
        return false;
    }
    return true;
}

void HostPane::settle() {
    ui::windows().pumpMessages();
    for (const auto& page : pane_->pages()) {
        if (const auto document = page->document()) {
            document->pumpTasks();
        }
    }
    std::vector<std::wstring> asked;
    asked.swap(navigations_);
    for (const std::wstring& url : asked) {
        navigate_(url);
    }
}

bool HostPane::contextMenu(const std::wstring& arguments) {
    if (!ready()) {
        return false;
    }
    const std::vector<std::wstring> fields = splitFields(arguments);
    const std::wstring name = fields.front();
    lorvane::SidePage& page = *pane_->pages().front();
    const auto document = page.document();
    const std::shared_ptr<Element> item = listItemNamed(*document, name);
    if (!item) {
        reportError(L"the side pane lists no entry, folder, category or site \"" + name + L"\"");
        return false;
    }
    const auto links = item->getElementsByTagName(L"A");
    const auto box = (links.empty() ? item : links[0])->getBoundingClientRect();
    if (!box) {
        reportError(L"\"" + name + L"\" is not shown in the side pane");
        return false;
    }
    if (fields.size() > 1 && !fields[1].empty()) {
        presenter_.chooseMenuItem(fields[1]);
    }
    PointerInput pointer(page.window(), document);
    pointer.click({(box->left + box->right) / 2, (box->top + box->bottom) / 2}, MouseButton::right);
    return true;
}

bool HostPane::settingsMenu(const std::wstring& item) {
    if (!ready()) {
        return false;
    }
    if (!item.empty()) {
        presenter_.chooseMenuItem(item);
    }
    const ui::Rect button = pane_->settingsRect();
    const auto position = static_cast<ui::LPARAM>(
        (static_cast<std::uint32_t>((button.top + button.bottom) / 2) << 16) |
        static_cast<std::uint32_t>((button.left + button.right) / 2));
    ui::windows().send(pane_->window(), lorvane::WM_LBUTTONDOWN, 1, position);
    ui::windows().send(pane_->window(), lorvane::WM_LBUTTONUP, 0, position);
    return true;
}

bool HostPane::syncNow() {
    statuses_.clear();
    if (!settingsMenu(L"Sync")) {
        return false;
    }
    const auto ended = [this] {
        return !statuses_.empty() &&
               statuses_.back().find(L"Synchronization ") != std::wstring::npos &&
               statuses_.back().find(plugin::sync_status::kStart) == std::wstring::npos;
    };
    ui::WindowSystem& system = ui::windows();
    if (!system.pumpUntil([this] { return !statuses_.empty(); }, kSyncStartLimit)) {
        reportError(L"no synchronisation started");
        return false;
    }
    if (!system.pumpUntil(ended, kSyncLimit)) {
        reportError(L"the synchronisation did not end in time");
        return false;
    }
    if (statuses_.back().find(plugin::sync_status::kCompleted) == std::wstring::npos) {
        reportError(L"sync: " + printable(statuses_.back()));
        return false;
    }
    return true;
}

}  // namespace host
