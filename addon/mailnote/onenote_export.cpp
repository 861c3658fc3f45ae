#include "addon/mailnote/onenote_export.h"

#include "addon/mailnote/onenote_page.h"
#include "addon/page/line_breaks.h"
#include "addon/window/window_operations.h"
#include "common/util/message_box.h"
#include "platform/onenote/onenote_application.h"

namespace addon {
namespace {

using platform::com::ComPtr;
using platform::com::FAILED;
using platform::onenote::IApplication;

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;

ComPtr<IApplication> createNotebookApplication() {
    void* object = nullptr;
    if (FAILED(platform::onenote::createApplication(platform::onenote::CLSID_Application,
                                                    IApplication::IID, &object))) {
        return {};
    }
    return ComPtr<IApplication>::adopt(static_cast<IApplication*>(object));
}

bool createUnfiledPage(IApplication& application, std::wstring& pageId) {
    std::wstring path;
    std::wstring sectionId;
    return !FAILED(
               application.GetSpecialLocation(platform::onenote::slUnfiledNotesSection, &path)) &&
           !FAILED(application.OpenHierarchy(path, L"", &sectionId, platform::onenote::cftNone)) &&
           !FAILED(application.CreateNewPage(sectionId, &pageId,
                                             platform::onenote::npsBlankPageNoTitle));
}

std::vector<std::wstring> selectedBlocks(int windowIndex) {
    std::vector<std::wstring> blocks;
    for (const int index : contextsOfWindow(windowIndex)) {
        if (const ClipSelection* selection = clipContext(index).selectionEngine()) {
            for (std::wstring& block : selection->getSelectedHtmlBlocks(false)) {
                blocks.push_back(std::move(block));
            }
        }
    }
    return blocks;
}

}  // namespace

int sendToOneNote(int windowIndex, const std::wstring& pageId) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return kNotHandled;
    }
    const ComPtr<IApplication> application = createNotebookApplication();
    if (!application) {
        common::errorBox(L"Please install Micorosft Office OneNote 2007");
        return kNotHandled;
    }
    std::wstring targetId = pageId;
    if (pageId.empty()) {
        if (!createUnfiledPage(*application, targetId)) {
            common::errorBox(L"Can't create new page in OneNote.");
            return kNotHandled;
        }
    } else {
        std::wstring content;
        if (FAILED(application->GetPageContent(pageId, &content, platform::onenote::piBasic))) {
            common::errorBox(L"Can't get page content from OneNote.");
            return kNotHandled;
        }
    }
    std::vector<std::wstring> blocks = selectedBlocks(windowIndex);
    if (blocks.empty()) {
        blocks.push_back(flattenLineBreaks(hasTextSelection(windowIndex)
                                               ? getSelectedHtml(windowIndex)
                                               : getCleanPageHtml(windowIndex, 0xffff, 255, 255)));
    }
    const std::optional<std::wstring> title =
        pageId.empty() ? std::optional<std::wstring>(getDocumentTitle(windowIndex)) : std::nullopt;
    if (FAILED(application->UpdatePageContent(buildOneNotePageXml(targetId, title, blocks), 0))) {
        common::errorBox(L"Can't update page content to OneNote.");
        return kNotHandled;
    }
    application->NavigateTo(targetId, L"", false);
    return kHandled;
}

}  // namespace addon
