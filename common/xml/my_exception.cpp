#include "common/xml/my_exception.h"

#include <algorithm>

#include "platform/text/utf.h"

namespace common {

CMyException::CMyException(std::wstring message)
    : message_(std::move(message)), utf8Message_(platform::text::toUtf8(message_)) {}

bool CMyException::GetErrorMessage(wchar_t* buffer, std::size_t maxChars,
                                   unsigned* helpContext) const {
    if (helpContext != nullptr)
        *helpContext = 0;
    if (maxChars == 0 || buffer == nullptr)
        return false;
    const std::size_t count = std::min(message_.size(), maxChars - 1);
    std::copy_n(message_.data(), count, buffer);
    buffer[count] = L'\0';
    return !message_.empty();
}

CComException::CComException(platform::com::HRESULT hr, std::wstring message)
    : CMyException(std::move(message)), hr_(hr) {}

void throwComException(platform::com::HRESULT hr, std::wstring message) {
    throw CComException(hr, std::move(message));
}

}  // namespace common
