// Creating a module's objects by class id: a module that serves URL protocols exports
//   extern "C" HRESULT DllGetClassObject(const GUID& clsid, const GUID& iid, void** object)
// which hands out an IClassFactory for each class it offers; ClassFactory<T> is that
// factory for a class T with a default constructor.
//
// Contract: factories are stateless and thread-safe; CreateInstance returns a new object
// with one reference owned by the caller, or E_NOINTERFACE / CLASS_E_NOAGGREGATION.
#pragma once

#include "platform/com/unknown.h"

namespace platform::browser {

struct IClassFactory : com::IUnknown {
    static constexpr com::GUID IID = com::guidLiteral("00000001-0000-0000-C000-000000000046");
    virtual com::HRESULT CreateInstance(com::IUnknown* outer, const com::GUID& iid,
                                        void** object) = 0;
    virtual com::HRESULT LockServer(bool lock) = 0;
};

using DllGetClassObjectFunction = com::HRESULT(const com::GUID& clsid, const com::GUID& iid,
                                               void** object);

template <typename T>
class ClassFactory : public com::ComObject<ClassFactory<T>, IClassFactory> {
  public:
    com::HRESULT CreateInstance(com::IUnknown* outer, const com::GUID& iid,
                                void** object) override {
        if (object == nullptr) {
            return com::E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return com::CLASS_E_NOAGGREGATION;
        }
        return T::create()->QueryInterface(iid, object);
    }
    com::HRESULT LockServer(bool) override { return com::S_OK; }
};

}  // namespace platform::browser
