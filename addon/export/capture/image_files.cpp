#include "addon/export/capture/image_files.h"

#include <cwchar>
#include <cwctype>

#include "common/util/path_tools.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

// The MIME type of the encoder for an extension, compared without case; "" when none serves
// it.
std::string_view mimeTypeOfExtension(std::wstring extension) {
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(c));
    if (extension == L"png")
        return "image/png";
    if (extension == L"gif")
        return "image/gif";
    if (extension == L"jpg" || extension == L"jpeg")
        return "image/jpeg";
    if (extension == L"bmp")
        return "image/bmp";
    return {};
}

}  // namespace

int findEncoder(std::string_view mimeType) {
    const auto& encoders = platform::imaging::imageEncoders();
    for (std::size_t index = 0; index < encoders.size(); ++index) {
        if (encoders[index].mimeType == mimeType)
            return static_cast<int>(index);
    }
    return -1;
}

int saveBitmapByExtension(const platform::imaging::Bitmap& bitmap, std::wstring_view path) {
    const std::wstring name = common::fileNameOf(path);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0)
        return -1;
    const std::string_view mimeType = mimeTypeOfExtension(name.substr(dot + 1));
    if (mimeType.empty() || findEncoder(mimeType) < 0)
        return -1;
    return static_cast<int>(platform::imaging::saveBitmap(
        bitmap, platform::text::toUtf8(common::nativePath(path)), mimeType));
}

std::wstring tileFileName(std::wstring_view prefix, int number) {
    wchar_t digits[16];
    std::swprintf(digits, std::size(digits), L"%.03d", number);
    return std::wstring(prefix) + digits + L".png";
}

}  // namespace addon
