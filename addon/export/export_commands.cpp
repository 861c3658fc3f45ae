#include "addon/export/export_commands.h"

#include <cerrno>

#include "addon/export/capture/image_files.h"
#include "addon/export/capture/page_capture.h"
#include "addon/export/print_dialog.h"
#include "addon/page/html_document.h"
#include "addon/page/layout_failure.h"
#include "addon/shell/data_folders.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/grab_bracket.h"
#include "addon/window/window_operations.h"
#include "addon/window/window_table.h"
#include "common/util/file_name_rule.h"
#include "common/util/message_box.h"
#include "common/util/url_text.h"
#include "platform/system/write_failure.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

int printToPdf(int windowIndex) {
    if (!shownPage(windowIndex)) {
        return kNotHandled;
    }
    GrabBracket bracket(windowIndex);
    // The grab may have rebuilt the page: take the document only now.
    if (const auto page = shownPage(windowIndex); page && reportLayoutFailure(*page)) {
        return kHandled;
    }
    PrintDialog dialog(shownPage(windowIndex), [windowIndex](const std::wstring& command) {
        return dispatchCommand(command, windowIndex);
    });
    const std::wstring url = getDocumentUrl(windowIndex);
    dialog.bookTitle = getDocumentTitle(windowIndex);
    dialog.subject = url;
    dialog.author = common::hostOfUrl(url);
    dialog.fileTitle = common::fileNameFromTitle(dialog.bookTitle, L"");
    dialog.doModal(windowEntry(windowIndex).browser->frameWindow());
    return kHandled;
}

int exportImage(int windowIndex) {
    if (!shownPage(windowIndex)) {
        return kNotHandled;
    }
    GrabBracket bracket(windowIndex);
    const std::wstring path = pageImagePath();
    const auto page = shownPage(windowIndex);
    if (page && reportLayoutFailure(*page)) {
        return kHandled;
    }
    if (path.empty() || saveBitmapByExtension(capturePageBitmap(*page), path) != 0) {
        common::errorBox(L"Can't write the picture of the page to \"" + path + L"\": " +
                             platform::system::writeFailureText(errno) + L".",
                         L"", {});
    }
    return kHandled;
}

}  // namespace

std::wstring pageImagePath() {
    const std::wstring folder = resolveDataFolder(L"UserData");
    return folder.empty() ? L"" : folder + L"/webpage.png";
}

void registerExportCommands() {
    registerCommandExtension(L"command-print-pdf",
                             [](int window, const std::wstring&) { return printToPdf(window); });
    registerCommandExtension(L"command-export/image",
                             [](int window, const std::wstring&) { return exportImage(window); });
}

}  // namespace addon
