#include "platform/browser/protocol_table.h"

#include <cwctype>
#include <utility>

#include "platform/browser/class_factory.h"
#include "platform/system/module.h"

namespace platform::browser {
namespace {

std::wstring lowerCase(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return lower;
}

// A class of a loaded module: the factory is declared after the module, so it is
// released before the module is unloaded.
struct ModuleClass {
    std::shared_ptr<system::Module> module;
    com::ComPtr<IClassFactory> factory;
};

}  // namespace

void ProtocolTable::registerScheme(const std::wstring& scheme, Factory factory) {
    std::lock_guard lock(mutex_);
    factories_[lowerCase(scheme)] = std::move(factory);
}

HRESULT ProtocolTable::registerModule(const std::wstring& scheme, const std::string& modulePath,
                                      const GUID& clsid, std::string* error) {
    auto module = std::make_shared<system::Module>();
    auto fail = [&](const std::string& why, HRESULT result) {
        if (error != nullptr) {
            *error = why;
        }
        return result;
    };
    if (!module->open(modulePath)) {
        return fail("cannot load " + modulePath + ": " + module->error(), com::E_FAIL);
    }
    auto* getClassObject = module->function<DllGetClassObjectFunction>("DllGetClassObject");
    if (getClassObject == nullptr) {
        return fail(modulePath + " exports no DllGetClassObject", com::E_FAIL);
    }
    void* raw = nullptr;
    const HRESULT result = getClassObject(clsid, IClassFactory::IID, &raw);
    if (com::FAILED(result) || raw == nullptr) {
        return fail(modulePath + " refused to give its protocol class",
                    com::FAILED(result) ? result : com::E_FAIL);
    }
    auto loaded = std::make_shared<ModuleClass>(
        ModuleClass{module, com::ComPtr<IClassFactory>::adopt(static_cast<IClassFactory*>(raw))});
    registerScheme(scheme, [loaded]() {
        void* object = nullptr;
        if (com::FAILED(
                loaded->factory->CreateInstance(nullptr, IInternetProtocol::IID, &object))) {
            return com::ComPtr<IInternetProtocol>();
        }
        return com::ComPtr<IInternetProtocol>::adopt(static_cast<IInternetProtocol*>(object));
    });
    return com::S_OK;
}

void ProtocolTable::unregisterScheme(const std::wstring& scheme) {
    std::lock_guard lock(mutex_);
    factories_.erase(lowerCase(scheme));
}

com::ComPtr<IInternetProtocol> ProtocolTable::create(std::wstring_view url) const {
    const std::size_t colon = url.find(L':');
    if (colon == std::wstring_view::npos || colon == 0) {
        return {};
    }
    Factory factory;
    {
        std::lock_guard lock(mutex_);
        const auto found = factories_.find(lowerCase(url.substr(0, colon)));
        if (found == factories_.end()) {
            return {};
        }
        factory = found->second;
    }
    return factory();
}

}  // namespace platform::browser
