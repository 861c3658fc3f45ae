#include "platform/mail/mail_library.h"

#include "platform/mail/mapi_entry_points.h"

namespace platform::mail {
namespace {

bool isSimpleMailLibraryName(std::wstring_view name) {
    constexpr std::wstring_view kName = L"mapi32.dll";
    if (name.size() != kName.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i] >= L'A' && name[i] <= L'Z' ? name[i] - L'A' + L'a' : name[i];
        if (c != kName[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool MailLibrary::load(std::wstring_view name) {
    loaded_ = isSimpleMailLibraryName(name);
    return loaded_;
}

void* MailLibrary::procAddress(std::string_view name) const {
    return loaded_ ? mapiEntryPoint(name) : nullptr;
}

}  // namespace platform::mail
