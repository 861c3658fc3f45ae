// The library's entry points: attach and detach with its load and unload, and the four
// exports by which a host creates, registers and unregisters its protocol class.
#include "platform/browser/class_factory.h"
#include "platform/system/module_path.h"
#include "platform/text/utf.h"
#include "tarn/protocol/protocol_library.h"
#include "tarn/protocol/registration.h"
#include "tarn/protocol/tarn_protocol.h"

namespace {

using platform::com::GUID;
using platform::com::HRESULT;

// Attached while the library is loaded. The object is made after the engine library's
// own state and its destructor is registered after everything that attach created, so
// detach runs before the engine's state is destroyed, both when the library is unloaded
// and when the process ends.
struct LibraryAttachment {
    LibraryAttachment() {
        tarn::attachLibrary(platform::text::fromUtf8(platform::system::programPath()));
    }
    ~LibraryAttachment() { tarn::detachLibrary(); }
};

const LibraryAttachment attachment;

}  // namespace

#define TARN_EXPORT extern "C" __attribute__((visibility("default")))

TARN_EXPORT HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid, void** object) {
    if (object == nullptr) {
        return platform::com::E_POINTER;
    }
    *object = nullptr;
    if (clsid != tarn::kTarnProtocolClass ||
        tarn::libraryAttachAction() == tarn::AttachAction::Refuse) {
        return platform::com::CLASS_E_CLASSNOTAVAILABLE;
    }
    return platform::browser::ClassFactory<tarn::TarnProtocol>::create()->QueryInterface(iid,
                                                                                         object);
}

// The engine's pages live until the library is unloaded with its process's last use, so
// the library never offers to be unloaded early.
TARN_EXPORT HRESULT DllCanUnloadNow() {
    return platform::com::S_FALSE;
}

TARN_EXPORT HRESULT DllRegisterServer() {
    return tarn::registerProtocolClass(platform::text::fromUtf8(
        platform::system::modulePathOf(reinterpret_cast<const void*>(&DllRegisterServer))));
}

TARN_EXPORT HRESULT DllUnregisterServer() {
    return tarn::unregisterProtocolClass();
}
