#include "platform/text/code_page.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>

#include "platform/text/utf.h"

namespace platform::text {
namespace {

bool isUtf8Name(std::string_view name) {
    std::string folded;
    for (char c : name)
        if (c != '-' && c != '_')
            folded += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return folded == "UTF8";
}

class IconvHandle {
  public:
    IconvHandle(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

  private:
    iconv_t handle_;
};

// Runs `handle` over `in`, calling `onInvalid` with the rest of the input whenever iconv
// stops at a sequence it cannot convert; onInvalid returns how many input bytes to skip.
template <typename OnInvalid>
std::string runIconv(const IconvHandle& handle, std::string_view in, OnInvalid onInvalid) {
    std::string out;
    char buffer[4096];
    auto* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (true) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = srcLeft ? iconv(handle.get(), &src, &srcLeft, &dst, &dstLeft)
                                  : iconv(handle.get(), nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc != static_cast<size_t>(-1)) {
            if (srcLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG)
            continue;
        const size_t skip = onInvalid(out, std::string_view(src, srcLeft));
        src += skip;
        srcLeft -= skip;
    }
    return out;
}

}  // namespace

std::string codePageName(unsigned codePage) {
    switch (codePage) {
        case kAnsiCodePage:
        case kUtf8CodePage:
            return "UTF-8";
        case 1200:
            return "UTF-16LE";
        case 1201:
            return "UTF-16BE";
        case 20127:
            return "ASCII";
        case 20866:
            return "KOI8-R";
        case 21866:
            return "KOI8-U";
        case 932:
            return "SHIFT_JIS";
        case 936:
            return "GBK";
        case 949:
            return "CP949";
        case 950:
            return "BIG5";
        case 51932:
            return "EUC-JP";
        case 51949:
            return "EUC-KR";
        case 54936:
            return "GB18030";
        case 50220:
            return "ISO-2022-JP";
        case 65000:
            return "UTF-7";
        default:
            break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

std::optional<std::string> encode(std::wstring_view text, std::string_view charset) {
    if (isUtf8Name(charset))
        return toUtf8(text);
    IconvHandle handle(std::string(charset), "UTF-8");
    if (!handle.valid())
        return std::nullopt;
    const std::string utf8 = toUtf8(text);
    return runIconv(handle, utf8, [](std::string& out, std::string_view rest) {
        out += '?';
        size_t pos = 1;  // skip the whole UTF-8 sequence of the unrepresentable character
        while (pos < rest.size() && (static_cast<unsigned char>(rest[pos]) & 0xC0) == 0x80)
            ++pos;
        return pos;
    });
}

std::optional<std::wstring> decode(std::string_view bytes, std::string_view charset) {
    if (isUtf8Name(charset))
        return fromUtf8(bytes);
    IconvHandle handle("UTF-8", std::string(charset));
    if (!handle.valid())
        return std::nullopt;
    const std::string utf8 = runIconv(handle, bytes, [](std::string& out, std::string_view) {
        out += "\xEF\xBF\xBD";
        return size_t{1};
    });
    return fromUtf8(utf8);
}

}  // namespace platform::text
