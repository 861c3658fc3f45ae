#include "tarn/protocol/protocol_library.h"

#include <atomic>

#include "common/sqlite/local_collation.h"
#include "common/util/engine_folder.h"
#include "common/util/registry_string.h"
#include "common/util/registry_value.h"
#include "platform/text/utf.h"
#include "tarn/engine/tarn_application.h"

namespace tarn {
namespace {

std::atomic<AttachAction> attachedAs{AttachAction::Refuse};

void applyCollationSetting() {
    const common::registry_string<std::wstring> locale(L"Software\\Olvan\\Tarn\\locale",
                                                       platform::registry::HKEY_CURRENT_USER, L"",
                                                       common::kRegistryNoWriteBack);
    if (!locale.value.empty()) {
        common::setCollationLocale(platform::text::toUtf8(locale.value));
    }
}

bool registerPage(const PluginPageItem& item) {
    if (item.type != L"Tarn") {
        return false;
    }
    return TarnApplication::reg(item.file, item.bind, item.use.empty() ? 0 : 1);
}

}  // namespace

int registerCataloguePages(const std::vector<PluginManifest>& manifests) {
    int accepted = 0;
    for (const PluginManifest& manifest : manifests) {
        for (const PluginPageItem& page : manifest.pages) {
            accepted += registerPage(page) ? 1 : 0;
        }
        for (const PluginSidePageItem& page : manifest.sidePages) {
            accepted += registerPage(page) ? 1 : 0;
        }
    }
    return accepted;
}

void attachLibrary(std::wstring_view programPath) {
    const AttachAction action = attachActionFor(programPath);
    if (action == AttachAction::Start) {
        applyCollationSetting();
        const std::wstring root = common::engineFolder(L"Root");
        const std::wstring plugins = common::engineFolder(L"plugins");
        TarnApplication::init(root);
        // Without a user folder there is no repository to show; without an installation
        // folder an empty name would make the scan start at the file system's root.
        if (!root.empty() && !plugins.empty()) {
            std::vector<PluginManifest> manifests;
            ScanPluginFolder(plugins, manifests);
            registerCataloguePages(manifests);
        }
    }
    attachedAs = action;
}

void detachLibrary() {
    if (attachedAs.exchange(AttachAction::Refuse) == AttachAction::Start) {
        TarnApplication::term();
    }
}

AttachAction libraryAttachAction() {
    return attachedAs;
}

}  // namespace tarn
