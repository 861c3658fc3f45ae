// The notebook application's automation object as the OneNote export calls it: the class
// and interface ids, the page calls, their argument codes and result codes.
//
// Behind the calls is a folder of page files, "<AppData>/Olvan/Notebook": each section is
// a sub-folder (the unfiled-notes section is "Unfiled Notes"), each page one XML file in
// the page schema's namespace, named after its ID. IDs are "{GUID}" texts and never
// change. UpdatePageContent merges: the Title and PageSettings it carries replace the
// page's, an element with the objectID of one already on the page replaces that one, and
// every other element is added to the page with a new objectID.
//
// Contract: objects are reference-counted (platform/com). Calls are thread-safe and never
// throw; page files are written whole or not at all, and a page's read-merge-write holds
// the notebook's lock file, so updates from several processes do not undo each other.
// Texts are wide strings (UTF-8 in the files). Out-parameters are set only on success.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/unknown.h"

namespace platform::onenote {

using platform::com::GUID;
using platform::com::HRESULT;

inline constexpr GUID CLSID_Application =
    platform::com::guidLiteral("0039FFEC-A022-4232-8274-6B34787BFC27");

// The namespace of the page schema, bound to the prefix "one" in page XML.
inline constexpr std::wstring_view kPageNamespace =
    L"http://schemas.microsoft.com/office/onenote/2007/onenote";

// GetSpecialLocation.
inline constexpr int slUnfiledNotesSection = 1;
// OpenHierarchy: do not create what is missing.
inline constexpr int cftNone = 0;
// CreateNewPage.
inline constexpr int npsDefault = 0;
inline constexpr int npsBlankPageWithTitle = 1;
inline constexpr int npsBlankPageNoTitle = 2;
// GetPageContent.
inline constexpr int piBasic = 0;

// Results beside the general ones (E_INVALIDARG for an ID or path of the wrong form).
inline constexpr HRESULT REGDB_E_CLASSNOTREG = platform::com::makeResult(0x80040154);
inline constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = platform::com::makeResult(0x80080005);
inline constexpr HRESULT hrMalformedXML = platform::com::makeResult(0x80042001);
inline constexpr HRESULT hrInvalidXML = platform::com::makeResult(0x80042002);
inline constexpr HRESULT hrObjectDoesNotExist = platform::com::makeResult(0x80042014);
inline constexpr HRESULT hrSectionDoesNotExist = platform::com::makeResult(0x80042016);
inline constexpr HRESULT hrNotebookBusy = platform::com::makeResult(0x8004201C);
inline constexpr HRESULT hrWriteFailed = platform::com::makeResult(0x8004201D);

struct IApplication : platform::com::IUnknown {
    static constexpr GUID IID = platform::com::guidLiteral("2DA16203-3F58-404F-839D-E4CDE7DD0DED");

    // Only slUnfiledNotesSection; the section is made when missing.
    virtual HRESULT GetSpecialLocation(int location, std::wstring* path) = 0;
    // The ID of the section folder at `path` (inside the notebook); hrSectionDoesNotExist
    // when there is none. Only cftNone and an empty `relativeToObjectId` are taken.
    virtual HRESULT OpenHierarchy(const std::wstring& path, const std::wstring& relativeToObjectId,
                                  std::wstring* objectId, int createFileType) = 0;
    virtual HRESULT CreateNewPage(const std::wstring& sectionId, std::wstring* pageId,
                                  int newPageStyle) = 0;
    // The page's XML as stored.
    virtual HRESULT GetPageContent(const std::wstring& pageId, std::wstring* xml, int pageInfo) = 0;
    // hrMalformedXML for text that does not parse, hrInvalidXML for a document that is not
    // a page with an ID, hrObjectDoesNotExist for a page or objectID not in the notebook.
    // The expected modification time is not checked.
    virtual HRESULT UpdatePageContent(const std::wstring& xml, double dateExpectedLastModified) = 0;
    // Succeeds for a page or section that exists (there is no window to show it in).
    virtual HRESULT NavigateTo(const std::wstring& hierarchyId, const std::wstring& objectId,
                               bool newWindow) = 0;
};

// Creates the application object (the class must be CLSID_Application, else
// REGDB_E_CLASSNOTREG; E_NOINTERFACE for an interface it lacks). CO_E_SERVER_EXEC_FAILURE
// when the notebook folder cannot be determined or made.
HRESULT createApplication(const GUID& clsid, const GUID& iid, void** object);

// "<AppData>/Olvan/Notebook"; "" when there is no AppData folder.
std::string notebookFolder();

}  // namespace platform::onenote
