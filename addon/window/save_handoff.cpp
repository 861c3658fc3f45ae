#include "addon/window/save_handoff.h"

#include "addon/page/line_breaks.h"
#include "addon/page/text_case.h"
#include "addon/page/tidy_html.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/extensions/plugin_binding.h"
#include "addon/window/grab_bracket.h"
#include "addon/window/window_operations.h"
#include "common/util/url_text.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

bool isRepositoryPage(const std::wstring& url) {
    return url.starts_with(L"tarn:");
}

// The markup of a whole document as Tidy takes it: a whole document (what the page's
// cleaned markup is) as it is, so its head never ends up inside another body; anything
// else wrapped in the skeleton.
std::wstring asDocument(const std::wstring& markup) {
    const std::wstring start = lowerText(trimSpace(markup.substr(0, 64)));
    return start.starts_with(L"<html") || start.starts_with(L"<!doctype")
               ? markup
               : wrapInHtmlSkeleton(markup);
}

std::wstring fullCleanPage(int windowIndex) {
    return flattenLineBreaks(getCleanPageHtml(windowIndex, 0xffff, 255, 255));
}

}  // namespace

std::wstring wrapInHtmlSkeleton(const std::wstring& markup) {
    return L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
           L"charset=UTF-8\"/></head><body>" +
           markup + L"</body></html>";
}

int saveToPlugin(int windowIndex, const std::wstring& folder) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return kNotHandled;
    }
    PluginBinding binding;
    if (binding.bind(folder) != 0) {
        return kNotHandled;
    }
    // The side pane shows what was saved: its program starts while the clip is made.
    const CommandExtension showPane = commandExtension(L"command-lorvane-show");
    if (const CommandExtension startPane = commandExtension(L"command-lorvane-start-ahead");
        showPane && startPane)
        startPane(windowIndex, L"");
    int result = -1;
    bool handled = false;
    {
        GrabBracket bracket(windowIndex);
        const std::wstring url = getDocumentUrl(windowIndex);
        const std::wstring title = getDocumentTitle(windowIndex);
        const std::wstring text = getDocumentText(windowIndex);
        std::wstring html;
        if (isRepositoryPage(url)) {
            html = getCleanPageHtml(windowIndex, 0, 0, 0);
        } else {
            html = fullCleanPage(windowIndex);
            std::wstring tidied;
            std::wstring body;
            if (tidyHtml(asDocument(html), tidied, L"") == 0 && extractTidyBody(tidied, body)) {
                html = body;
            }
        }
        if (binding.hasEvent(L"OnSave")) {
            result = binding.object()->OnSave(url, title, L"", text, html, &handled);
        }
    }
    if (handled && result == 0) {
        // The side pane is there only when the bar layer registered it.
        if (showPane)
            showPane(windowIndex, L"");
        modeDefault(windowIndex);
    }
    return kHandled;
}

int exportToPlugin(int windowIndex, const std::wstring& folder) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return kNotHandled;
    }
    // Nothing is grabbed for a plug-in that is not there.
    PluginBinding binding;
    if (binding.bind(folder) != 0) {
        return kNotHandled;
    }
    std::wstring url;
    std::wstring title;
    std::wstring text;
    std::wstring html;
    {
        GrabBracket bracket(windowIndex);
        url = getDocumentUrl(windowIndex);
        title = getDocumentTitle(windowIndex);
        const bool repositoryPage = isRepositoryPage(url);
        if (hasTextSelection(windowIndex)) {
            html = getSelectedHtml(windowIndex);
            text = getSelectedText(windowIndex);
        } else {
            html = repositoryPage ? getCleanPageHtml(windowIndex, 0, 0, 0)
                                  : fullCleanPage(windowIndex);
            text = getDocumentText(windowIndex);
        }
        if (!repositoryPage) {
            html = flattenLineBreaks(html);
        }
        html = repositoryPage ? wrapInHtmlSkeleton(html) : asDocument(html);
        if (!repositoryPage) {
            tidyHtml(html, html, L"");
        }
    }
    bool handled = false;
    if (binding.hasEvent(L"OnExport")) {
        binding.object()->OnExport(common::urlUnescape(url), title, L"", text, html, &handled);
    }
    return kHandled;
}

}  // namespace addon
