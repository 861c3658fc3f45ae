// The library's four C exports: the side pane's per-page object and the add-on's
// "datastore" object, each made after the library's load work and freed through its
// virtual destructor.
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>

#include "plugin/module/plugin_library.h"
#include "plugin/module/tamrix_plugin.h"
#include "plugin/module/tamrix_plugin2.h"

using plugin::HWND;
using plugin::IPluginInterface;
using plugin::IPluginInterface2;
using plugin::SiteRef;

namespace {

template <typename Object>
Object* madeOrReleased(Object* object) {
    if (!object)
        plugin::releaseLibrary();
    return object;
}

template <typename Object>
void destroy(Object* object) {
    if (!object)
        return;
    delete object;
    plugin::releaseLibrary();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) IPluginInterface* NewPlugin(const wchar_t* /*pageName*/,
                                                                   HWND host, SiteRef site) {
    plugin::acquireLibrary();
    return madeOrReleased<IPluginInterface>(new (std::nothrow)
                                                plugin::TamrixPlugin(host, std::move(site)));
}

__attribute__((visibility("default"))) void DeletePlugin(IPluginInterface* object) {
    destroy(object);
}

__attribute__((visibility("default"))) IPluginInterface2* NewPlugin2(const wchar_t* name) {
    if (!name || std::wstring_view(name) != L"datastore")
        return nullptr;
    plugin::acquireLibrary();
    return madeOrReleased<IPluginInterface2>(new (std::nothrow) plugin::TamrixPlugin2());
}

__attribute__((visibility("default"))) void DeletePlugin2(IPluginInterface2* object) {
    destroy(object);
}
}

static_assert(std::is_same_v<decltype(NewPlugin), plugin::NewPluginFunction>);
static_assert(std::is_same_v<decltype(DeletePlugin), plugin::DeletePluginFunction>);
static_assert(std::is_same_v<decltype(NewPlugin2), plugin::NewPlugin2Function>);
static_assert(std::is_same_v<decltype(DeletePlugin2), plugin::DeletePlugin2Function>);
