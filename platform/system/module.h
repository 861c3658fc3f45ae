// A loaded shared module (dlopen), its exported symbols (dlsym) and its unloading
// (dlclose when the object goes away).
//
// Contract: move-only owner of one dlopen reference; open() reports failure through its
// result and the dlerror text, never by exception. Threading: dlopen/dlsym are
// thread-safe; one object is used by one thread at a time.
#pragma once

#include <string>

namespace platform::system {

class Module {
  public:
    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    Module(Module&& other) noexcept;
    Module& operator=(Module&& other) noexcept;
    ~Module();

    // Loads `path` with its symbols resolved at once; false with error() set on failure.
    bool open(const std::string& path);
    void close();

    bool isOpen() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // The exported symbol, or null (with error() set) when the module lacks it.
    void* symbol(const char* name);
    template <class Function>
    Function* function(const char* name) {
        return reinterpret_cast<Function*>(symbol(name));
    }
    // Points `pointer` at the exported function `name`; false (and null) when it is missing.
    template <class Pointer>
    bool bind(Pointer& pointer, const char* name) {
        pointer = reinterpret_cast<Pointer>(symbol(name));
        return pointer != nullptr;
    }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace platform::system
