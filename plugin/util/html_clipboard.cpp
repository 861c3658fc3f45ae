#include "plugin/util/html_clipboard.h"

#include <cstdio>

#include "platform/ui/clipboard.h"

namespace plugin {

namespace {

constexpr std::string_view kHeader =
    "Version:0.9\r\nStartHTML:00000000\r\nEndHTML:00000000\r\n"
    "StartFragment:00000000\r\nEndFragment:00000000\r\n";
constexpr std::string_view kStartFragment = "<!--StartFragment-->";
constexpr std::string_view kEndFragment = "<!--EndFragment-->";

void fillOffset(std::string& text, std::string_view field, std::size_t value) {
    const auto at = text.find(field) + field.size();
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08zu", value);
    text.replace(at, 8, digits);
}

std::vector<std::uint8_t> withTerminator(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

}  // namespace

std::string htmlClipboardText(std::string_view html) {
    std::string text(kHeader);
    const std::size_t startHtml = text.size();
    text += "<html><body>\r\n";
    text += kStartFragment;
    text += "\r\n";
    const std::size_t startFragment =
        startHtml + std::string_view("<html><body>\r\n").size() + kStartFragment.size();
    text += html;
    text += "\r\n";
    const std::size_t endFragment = text.size();
    text += kEndFragment;
    text += "\r\n</body></html>\r\n";
    fillOffset(text, "StartHTML:", startHtml);
    fillOffset(text, "EndHTML:", text.size());
    fillOffset(text, "StartFragment:", startFragment);
    fillOffset(text, "EndFragment:", endFragment);
    return text;
}

bool copyHtmlToClipboard(const std::string* html, const std::string* plainText) {
    if (!html)
        return false;
    auto& board = platform::ui::clipboard();
    static const platform::ui::UINT htmlFormat = board.registerFormat(L"HTML Format");
    if (!board.open({}))
        return false;
    board.empty();
    board.setData(htmlFormat, withTerminator(htmlClipboardText(*html)));
    if (plainText)
        board.setData(platform::ui::CF_TEXT, withTerminator(*plainText));
    board.close();
    return true;
}

}  // namespace plugin
