// Loading the simple mail library at run time and finding its entry points by name, as a
// program does with a system library it may or may not find.
//
// The library "mapi32.dll" (any case) is the one this system offers; it exports
// "MAPILogon", "MAPISendMail", "MAPILogoff", "MAPIResolveName" and "MAPIFreeBuffer" (see
// simple_mapi.h). Any other name does not load.
//
// Contract: thread-safe; a loaded library stays valid until the object goes away. Never
// throws.
#pragma once

#include <string_view>

namespace platform::mail {

class MailLibrary {
  public:
    MailLibrary() = default;
    MailLibrary(const MailLibrary&) = delete;
    MailLibrary& operator=(const MailLibrary&) = delete;

    // False when no library of that name exists.
    bool load(std::wstring_view name);
    void free() { loaded_ = false; }
    bool isLoaded() const { return loaded_; }

    // The entry point's address, or null when the library is not loaded or lacks it.
    void* procAddress(std::string_view name) const;

  private:
    bool loaded_ = false;
};

}  // namespace platform::mail
