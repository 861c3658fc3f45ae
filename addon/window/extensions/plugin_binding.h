// One load of the repository plug-in for one save or export: the module
// <data>/plugins/<folder>/plugin.so is loaded, its "datastore" object made with
// NewPlugin2, and on destruction the object is freed with DeletePlugin2 and the module
// unloaded.
//
// Contract: `bind` returns 0 when the object is ready and 1 otherwise, and then says in an
// error box what failed: an unknown data folder, a missing file, a module that fails to
// load ("Load plugin failured: <loader's reason> file=<path>"), missing exports or no
// object. A folder that is not a single safe name is refused silently. An empty folder names
// plugin.so in the plug-ins folder itself. User-interface thread.
#pragma once

#include <string>

#include "platform/system/module.h"
#include "plugin/module/plugin_interface.h"

namespace addon {

class PluginBinding {
  public:
    PluginBinding() = default;
    PluginBinding(const PluginBinding&) = delete;
    PluginBinding& operator=(const PluginBinding&) = delete;
    ~PluginBinding();

    int bind(const std::wstring& folder);
    plugin::IPluginInterface2* object() const { return object_; }
    // The object claims the event (and is bound).
    bool hasEvent(const std::wstring& name) const;

  private:
    platform::system::Module module_;
    plugin::DeletePlugin2Function* deletePlugin_ = nullptr;
    plugin::IPluginInterface2* object_ = nullptr;
};

// The plug-in file for the folder: plugins folder + "/" + folder + "/plugin.so"; "" when
// the folder is not a safe name or the plug-ins folder is unknown.
std::wstring pluginModulePath(const std::wstring& folder);

}  // namespace addon
