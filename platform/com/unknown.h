// The reference-counted interface base of every object that crosses a module boundary,
// the smart pointer that holds such objects, and a helper that implements the counting.
//
// Contract: an object starts with a count of one held by its creator (`ComObject::create`
// returns that reference inside a ComPtr) and deletes itself when the count reaches zero.
// Counting is atomic, so references may be taken and dropped on any thread; the object's
// other methods have whatever threading rules their interface states.
#pragma once

#include <atomic>
#include <cstdint>
#include <tuple>
#include <utility>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace platform::com {

// Every interface declares `static constexpr GUID IID = guidLiteral("...")`.
struct IUnknown {
    static constexpr GUID IID = guidLiteral("00000000-0000-0000-C000-000000000046");
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};

template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* raw) : raw_(raw) {
        if (raw_)
            raw_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.raw_) {}
    ComPtr(ComPtr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    template <typename U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.get())) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(raw_, other.raw_);
        return *this;
    }

    // Takes over a reference the caller already owns (no AddRef).
    static ComPtr adopt(T* raw) {
        ComPtr p;
        p.raw_ = raw;
        return p;
    }

    void reset() {
        if (auto* old = std::exchange(raw_, nullptr))
            old->Release();
    }
    T* get() const { return raw_; }
    T* operator->() const { return raw_; }
    T& operator*() const { return *raw_; }
    explicit operator bool() const { return raw_ != nullptr; }
    // Gives up the reference to the caller (for out-parameters).
    T* detach() { return std::exchange(raw_, nullptr); }

    // Asks the object for another interface; empty when it does not have it.
    template <typename U>
    ComPtr<U> as() const {
        void* out = nullptr;
        if (!raw_ || FAILED(raw_->QueryInterface(U::IID, &out)))
            return {};
        return ComPtr<U>::adopt(static_cast<U*>(out));
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.raw_ == b.raw_; }

  private:
    T* raw_ = nullptr;
};

// Implements IUnknown for a class that derives from one or more interfaces:
//   class Button : public ComObject<Button, IButton, IOther> { ... };
// QueryInterface answers IUnknown and every listed interface (and their declared IIDs).
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
  public:
    template <typename... Args>
    static ComPtr<Derived> create(Args&&... args) {
        return ComPtr<Derived>::adopt(new Derived(std::forward<Args>(args)...));
    }

    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid == IUnknown::IID) {
            *object = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
        } else {
            ((iid == Interfaces::IID && !*object ? (*object = static_cast<Interfaces*>(this), true)
                                                 : false),
             ...);
        }
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++count_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --count_;
        if (left == 0)
            delete static_cast<Derived*>(this);
        return left;
    }

  protected:
    ComObject() = default;
    ~ComObject() override = default;

  private:
    using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<std::uint32_t> count_{1};
};

}  // namespace platform::com
