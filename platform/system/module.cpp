#include "platform/system/module.h"

#include <dlfcn.h>

#include <utility>

namespace platform::system {
namespace {

std::string lastError(const char* fallback) {
    const char* text = dlerror();
    return text != nullptr ? std::string(text) : std::string(fallback);
}

}  // namespace

Module::Module(Module&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

Module& Module::operator=(Module&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

Module::~Module() {
    close();
}

bool Module::open(const std::string& path) {
    close();
    error_.clear();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = lastError("the module could not be loaded");
        return false;
    }
    return true;
}

void Module::close() {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void* Module::symbol(const char* name) {
    if (handle_ == nullptr) {
        error_ = "no module is loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle_, name);
    if (address == nullptr) {
        error_ = lastError("the symbol is missing");
    }
    return address;
}

}  // namespace platform::system
