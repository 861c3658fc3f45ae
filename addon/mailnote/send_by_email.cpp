#include "addon/mailnote/send_by_email.h"

#include <cerrno>

#include "addon/mailnote/address_list.h"
#include "addon/mailnote/mail_msg.h"
#include "addon/page/line_breaks.h"
#include "addon/window/grab_bracket.h"
#include "addon/window/save_handoff.h"
#include "addon/window/window_operations.h"
#include "common/markup/markup_sanitizer.h"
#include "common/util/file_name_rule.h"
#include "common/util/message_box.h"
#include "common/util/registry_string.h"
#include "platform/system/temporary_files.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

std::string productSetting(const std::wstring& path) {
    const common::registry_string<std::wstring> value(
        L"Software\\Olvan\\Tamrix" + path, platform::registry::HKEY_CURRENT_USER, L"", 2);
    return platform::text::toUtf8(value.value);
}

}  // namespace

int sendByEmail(int windowIndex, const std::wstring& fromSetting, const std::wstring& toSetting) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return kNotHandled;
    }
    std::wstring title;
    std::wstring html;
    std::wstring text;
    {
        GrabBracket bracket(windowIndex);
        title = getDocumentTitle(windowIndex);
        html = flattenLineBreaks(getCleanPageHtml(windowIndex, 0xffff, 255, 255));
        text = getDocumentText(windowIndex);
    }
    // A title that cleans to nothing ("", "..") still names the page.
    const std::wstring fileName = common::fileNameFromTitle(title, L"page") + L".html";
    // Only this user may read the page, and it goes once the mail is handed over or not.
    platform::system::TemporaryFile page(platform::text::toUtf8(fileName));
    // The skeleton gets the page's body content (a whole document would nest in it),
    // without anything that could run where the attachment is opened.
    const std::string bytes = platform::text::toUtf8(wrapInHtmlSkeleton(common::safeMarkup(html)));
    if (!page.write(bytes) || !page.close(false)) {
        const int failure = errno;
        const std::wstring where = page.path().empty()
                                       ? L"the temporary folder"
                                       : L"\"" + platform::text::fromUtf8(page.path()) + L"\"";
        common::errorBox(L"Can't write the page to " + where + L" for sending by Email: " +
                         platform::system::writeFailureText(failure) + L".");
        return kHandled;
    }
    CMailMsg message;
    if (const auto from = parseAddressList(productSetting(fromSetting)); !from.empty()) {
        message.SetFrom(from.front().address, from.front().name);
    }
    for (const MailAddress& to : parseAddressList(productSetting(toSetting))) {
        message.AddTo(to.address, to.name);
    }
    message.SetSubject(platform::text::toUtf8(fileName));
    // The message's own text is the clip's, for readers that show no attachment.
    message.SetMessage(platform::text::toUtf8(text));
    message.AttachFile(page.path(), platform::text::toUtf8(fileName));
    message.Send();
    if (!message.SendSucceeded()) {
        common::errorBox(L"Can't send by Email, Please check email client setting.");
    }
    return kHandled;
}

}  // namespace addon
