#include "platform/ui/gtk/mnemonic.h"

#include "platform/text/utf.h"

namespace platform::ui::gtk {

namespace {

std::wstring converted(const std::wstring& text, bool keepMnemonic) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'&' && i + 1 < text.size() && text[i + 1] == L'&') {
            out += L'&';
            ++i;
        } else if (c == L'&') {
            if (keepMnemonic) {
                out += L'_';
            }
        } else if (c == L'_') {
            out += keepMnemonic ? L"__" : L"_";
        } else if (c == L'\t') {
            out += L"    ";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string mnemonicLabel(const std::wstring& text) {
    return text::toUtf8(converted(text, true));
}

std::string plainLabel(const std::wstring& text) {
    return text::toUtf8(converted(text, false));
}

}  // namespace platform::ui::gtk
