#include "addon/window/test_save.h"

#include <cerrno>

#include "addon/shell/data_folders.h"
#include "addon/window/window_operations.h"
#include "common/regex/pattern.h"
#include "common/util/file_tools.h"
#include "common/util/message_box.h"
#include "common/util/string_tools.h"
#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace addon {
namespace {

std::wstring declaredUtf8(const std::wstring& markup) {
    static const common::CPattern charset(
        L"text/html\\s*;\\s*charset\\b\\s*=\\s*(?<charset>[^\"]*)", common::REGEX_IGNORE_CASE);
    return charset.replace(markup, L"text/html; charset=utf-8");
}

bool writeText(const std::wstring& path, const std::wstring& text) {
    const std::string bytes = platform::text::toUtf8(text);
    if (common::writeFile(path, bytes.data(), bytes.size()) == common::kFileError) {
        common::errorBox(L"Can't write the file " + path + L": " +
                         platform::system::writeFailureText(errno));
        return false;
    }
    return true;
}

}  // namespace

int saveTest(int windowIndex) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return 1;
    }
    if (hasElementSelection(windowIndex)) {
        common::errorBox(
            L"There are contents highlighted on the page\nyou could continue editing the "
            L"highlighted contents or save after cancle highlight.");
        return 2;
    }
    const std::wstring selectedText = getSelectedText(windowIndex);
    if (selectedText.empty()) {
        common::errorBox(L"Can't get the contents on current page.");
        return 2;
    }
    const std::wstring userData = resolveDataFolder(L"UserData");
    if (userData.empty() || !common::createFolderTree(userData, L"Test")) {
        common::errorBox(L"Can't make the folder " + userData + L"/Test");
        return 2;
    }
    const std::wstring identifier = common::newGuidText().substr(0, 8);
    const std::wstring base = userData + L"/Test/" + identifier;
    const std::wstring cleaned = getCleanPageHtml(windowIndex, 0xffff, 255, 255);
    if (!cleaned.empty() && !writeText(base + L".html", declaredUtf8(cleaned))) {
        return 2;
    }
    for (int index : contextsOfWindow(windowIndex)) {
        const ClipSubContext& context = clipContext(index);
        if (context.document &&
            !writeText(base + L".htm",
                       declaredUtf8(context.document->page()->documentElement()->outerHTML()))) {
            return 2;
        }
    }
    writeText(base + L".txt", getDocumentUrl(windowIndex) + L"\r\n" + identifier + L"\r\n" +
                                  getDocumentTitle(windowIndex) + L"\r\n=====\r\n" + selectedText);
    return 2;
}

}  // namespace addon
