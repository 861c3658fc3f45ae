#include "addon/window/extensions/plugin_binding.h"

#include "addon/page/safe_name.h"
#include "addon/shell/data_folders.h"
#include "common/util/file_tools.h"
#include "common/util/message_box.h"
#include "platform/text/utf.h"

namespace addon {

std::wstring pluginModulePath(const std::wstring& folder) {
    if (!folder.empty() && !isSafeName(folder)) {
        return {};
    }
    const std::wstring plugins = resolveDataFolder(L"plugins");
    if (plugins.empty()) {
        return {};
    }
    return folder.empty() ? plugins + L"/plugin.so" : plugins + L"/" + folder + L"/plugin.so";
}

PluginBinding::~PluginBinding() {
    if (object_ && deletePlugin_) {
        deletePlugin_(object_);
    }
}

int PluginBinding::bind(const std::wstring& folder) {
    const std::wstring path = pluginModulePath(folder);
    const std::wstring named = folder.empty() ? L"(no name)" : L"\"" + folder + L"\"";
    if (!folder.empty() && !isSafeName(folder)) {
        // A name that would leave the plug-ins folder is a page's trick, refused unspoken.
        return 1;
    }
    if (path.empty()) {
        common::errorBox(L"No plug-in can be loaded: the data folder is unknown.");
        return 1;
    }
    if (!common::pathExists(path)) {
        common::errorBox(L"No plug-in " + named + L" is installed: " + path + L" is missing.");
        return 1;
    }
    if (!module_.open(platform::text::toUtf8(path))) {
        common::errorBox(L"Load plugin failured: " + platform::text::fromUtf8(module_.error()) +
                         L" file=" + path);
        return 1;
    }
    auto* newPlugin = module_.function<plugin::NewPlugin2Function>(plugin::kNewPlugin2Export);
    deletePlugin_ = module_.function<plugin::DeletePlugin2Function>(plugin::kDeletePlugin2Export);
    if (newPlugin && deletePlugin_) {
        object_ = newPlugin(L"datastore");
    }
    if (!object_) {
        deletePlugin_ = nullptr;
        module_.close();
        common::errorBox(L"The plug-in " + path + L" offers no repository object.");
        return 1;
    }
    return 0;
}

bool PluginBinding::hasEvent(const std::wstring& name) const {
    return object_ && object_->HasEvent(name);
}

}  // namespace addon
