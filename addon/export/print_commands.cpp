#include "addon/export/print_commands.h"

#include <filesystem>

#include "addon/export/cups_printer.h"
#include "addon/export/printed_pages.h"
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
#include "platform/text/utf.h"
#include "platform/ui/presenter.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

std::wstring titleOf(int windowIndex) {
    const std::wstring title = getDocumentTitle(windowIndex);
    return title.empty() ? L"Tamrix page" : title;
}

// Writes the window's page (as it is now) to its printed-pages file; the path, or "" after
// telling the person why it failed.
std::wstring writePages(int windowIndex) {
    const auto page = shownPage(windowIndex);
    if (page && reportLayoutFailure(*page)) {
        return {};
    }
    const std::wstring title = titleOf(windowIndex);
    const std::wstring path = printedPagesPath(title);
    std::wstring reason = L"there is no user data folder";
    std::error_code error;
    if (!path.empty() &&
        (std::filesystem::create_directories(
             std::filesystem::path(platform::text::toUtf8(path)).parent_path(), error),
         !error) &&
        page && writePrintedPages(*page, title, path, reason)) {
        return path;
    }
    common::errorBox(L"Can't make the printed pages: " + reason);
    return {};
}

void showPreview(int windowIndex) {
    const std::wstring path = writePages(windowIndex);
    if (path.empty()) {
        return;
    }
    const platform::ui::HWND owner = windowEntry(windowIndex).browser->frameWindow();
    if (!platform::ui::shellOpen(owner, L"open", path)) {
        common::infoBox(L"No program here shows PDF files; the preview is in \"" + path + L"\".");
    }
}

int print(int windowIndex) {
    if (!shownPage(windowIndex)) {
        return kNotHandled;
    }
    GrabBracket bracket(windowIndex);
    const std::wstring path = writePages(windowIndex);
    if (path.empty()) {
        return kHandled;
    }
    std::wstring reason;
    if (!sendToDefaultPrinter(path, titleOf(windowIndex), reason)) {
        common::errorBox(L"The page could not be printed: " + reason +
                         L"\nThe printed pages are kept in \"" + path + L"\".");
        return kHandled;
    }
    std::error_code ignored;
    std::filesystem::remove(platform::text::toUtf8(path), ignored);
    return kHandled;
}

int preview(int windowIndex) {
    if (!shownPage(windowIndex)) {
        return kNotHandled;
    }
    GrabBracket bracket(windowIndex);
    showPreview(windowIndex);
    return kHandled;
}

int grabPreview(int windowIndex) {
    if (!shownPage(windowIndex)) {
        return kNotHandled;
    }
    if (dispatchCommand(L"command-select-grab", windowIndex) == kHandled) {
        showPreview(windowIndex);
        undo(windowIndex);
    }
    return kHandled;
}

}  // namespace

std::wstring printedPagesPath(const std::wstring& title) {
    const std::wstring folder = resolveDataFolder(L"UserData");
    if (folder.empty()) {
        return {};
    }
    return folder + L"/Printed/" + common::fileNameFromTitle(title, L"page") + L".pdf";
}

void registerPrintCommands() {
    registerCommandExtension(L"command-print",
                             [](int window, const std::wstring&) { return print(window); });
    registerCommandExtension(L"command-print-preview",
                             [](int window, const std::wstring&) { return preview(window); });
    registerCommandExtension(L"command-select-grab-preview",
                             [](int window, const std::wstring&) { return grabPreview(window); });
}

}  // namespace addon
