// The module's entry points: the add-on's start-up when the module is loaded and its
// detach when it is unloaded, and the four exports by which a browser creates, registers
// and unregisters its classes.
#include <filesystem>

#include "addon/bar/bar_classes.h"
#include "addon/bar/ie_button.h"
#include "addon/bar/side_band.h"
#include "addon/module/command_registration.h"
#include "addon/module/registration.h"
#include "addon/shell/startup/addon_startup.h"
#include "addon/shell/tamrix_protocol.h"
#include "platform/browser/class_factory.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"

namespace {

using platform::com::GUID;
using platform::com::HRESULT;

// Attached while the module is loaded. A host the add-on must stay out of ("explorer.exe")
// gets no classes; under "regsvr32.exe" only registration works. Where the add-on starts,
// the commands served above the controller are registered with its dispatcher.
struct ModuleAttachment {
    ModuleAttachment()
        : allowed(addon::tamrixModuleEntry(addon::ModuleEvent::processAttach, hostName())) {
        if (allowed) {
            addon::registerAddonCommands();
        }
    }
    ~ModuleAttachment() {
        if (allowed) {
            addon::tamrixModuleEntry(addon::ModuleEvent::processDetach, hostName());
        }
    }
    static std::wstring hostName() {
        return std::filesystem::path(platform::text::fromUtf8(platform::system::programPath()))
            .filename()
            .wstring();
    }
    bool allowed;
};

const ModuleAttachment attachment;

template <typename T>
HRESULT factoryOf(const GUID& iid, void** object) {
    return platform::browser::ClassFactory<T>::create()->QueryInterface(iid, object);
}

}  // namespace

#define TAMRIX_EXPORT extern "C" __attribute__((visibility("default")))

TAMRIX_EXPORT HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid, void** object) {
    if (object == nullptr) {
        return platform::com::E_POINTER;
    }
    *object = nullptr;
    if (!attachment.allowed) {
        return platform::com::CLASS_E_CLASSNOTAVAILABLE;
    }
    if (clsid == addon::kIEButtonClass) {
        return factoryOf<addon::CIEButton>(iid, object);
    }
    if (clsid == addon::kSideBandClass) {
        return factoryOf<addon::SideBand>(iid, object);
    }
    if (clsid == addon::kTamrixProtocolClass) {
        return factoryOf<addon::TamrixProtocol>(iid, object);
    }
    return platform::com::CLASS_E_CLASSNOTAVAILABLE;
}

// The add-on's process-wide objects live until the module is unloaded with its process's
// last use, so the module never offers to be unloaded early.
TAMRIX_EXPORT HRESULT DllCanUnloadNow() {
    return platform::com::S_FALSE;
}

TAMRIX_EXPORT HRESULT DllRegisterServer() {
    return addon::registerTamrixClasses(platform::text::fromUtf8(
        platform::system::modulePathOf(reinterpret_cast<const void*>(&DllRegisterServer))));
}

TAMRIX_EXPORT HRESULT DllUnregisterServer() {
    return addon::unregisterTamrixClasses();
}
