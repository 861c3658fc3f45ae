#include "platform/dom/layout/markup/markup_escape.h"

#include "platform/text/utf.h"

namespace platform::dom {

void appendEscaped(std::string& out, std::wstring_view text, bool attribute) {
    for (wchar_t c : text) {
        switch (c) {
            case L'&':
                out += "&amp;";
                break;
            case L'<':
                out += "&lt;";
                break;
            case L'>':
                out += "&gt;";
                break;
            case L'"':
                out += attribute ? "&quot;" : "\"";
                break;
            default:
                if (c < 0x20 && c != L'\n' && c != L'\t' && c != L'\r')
                    out += ' ';  // the markers and control characters the parser would drop
                else if (c < 0x80)
                    out += static_cast<char>(c);
                else
                    out += platform::text::toUtf8(std::wstring_view(&c, 1));
        }
    }
}

}  // namespace platform::dom
