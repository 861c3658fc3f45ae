#include "platform/onenote/onenote_application.h"

#include <chrono>
#include <filesystem>

#include "platform/onenote/notebook_store.h"
#include "platform/onenote/page_document.h"
#include "platform/system/atomic_file.h"
#include "platform/system/file_lock.h"
#include "platform/system/folders.h"
#include "platform/text/utf.h"

namespace platform::onenote {
namespace {

using platform::com::E_INVALIDARG;
using platform::com::E_NOTIMPL;
using platform::com::E_POINTER;
using platform::com::S_OK;
using platform::text::fromUtf8;
using platform::text::toUtf8;

constexpr const char* kUnfiledNotes = "/Unfiled Notes";
constexpr std::chrono::seconds kLockWait(10);

class Application : public platform::com::ComObject<Application, IApplication> {
  public:
    explicit Application(std::string notebook) : notebook_(std::move(notebook)) {}

    HRESULT GetSpecialLocation(int location, std::wstring* path) override {
        if (!path) {
            return E_POINTER;
        }
        if (location != slUnfiledNotesSection) {
            return E_NOTIMPL;
        }
        const std::string folder = notebook_ + kUnfiledNotes;
        if (!platform::system::createFolders(folder, 0700) || sectionIdOf(folder).empty()) {
            return hrWriteFailed;
        }
        *path = fromUtf8(folder);
        return S_OK;
    }

    HRESULT OpenHierarchy(const std::wstring& path, const std::wstring& relativeToObjectId,
                          std::wstring* objectId, int createFileType) override {
        if (!objectId) {
            return E_POINTER;
        }
        if (!relativeToObjectId.empty() || createFileType != cftNone) {
            return E_NOTIMPL;
        }
        const std::string folder = sectionFolderAt(path);
        if (folder.empty()) {
            return E_INVALIDARG;
        }
        const std::wstring id = sectionIdOf(folder);
        if (id.empty()) {
            return hrSectionDoesNotExist;
        }
        *objectId = id;
        return S_OK;
    }

    HRESULT CreateNewPage(const std::wstring& sectionId, std::wstring* pageId,
                          int newPageStyle) override {
        if (!pageId) {
            return E_POINTER;
        }
        const std::string section = findSectionFolder(notebook_, sectionId);
        if (section.empty()) {
            return hrObjectDoesNotExist;
        }
        const std::wstring id = newObjectId();
        if (!platform::system::writeFileAtomically(pageFileIn(section, id),
                                                   newPageXml(id, newPageStyle))) {
            return hrWriteFailed;
        }
        *pageId = id;
        return S_OK;
    }

    HRESULT GetPageContent(const std::wstring& pageId, std::wstring* xml, int) override {
        if (!xml) {
            return E_POINTER;
        }
        if (!isObjectId(pageId)) {
            return E_INVALIDARG;
        }
        std::string stored;
        const std::string file = findPageFile(notebook_, pageId);
        if (file.empty() || !platform::system::readWholeFile(file, stored)) {
            return hrObjectDoesNotExist;
        }
        *xml = fromUtf8(stored);
        return S_OK;
    }

    HRESULT UpdatePageContent(const std::wstring& xml, double) override {
        const std::string update = toUtf8(xml);
        std::wstring pageId;
        if (const HRESULT result = pageIdOfUpdate(update, pageId); result != S_OK) {
            return result;
        }
        platform::system::FileLock lock(notebook_ + "/.lock");
        if (!lock.lock(kLockWait)) {
            return hrNotebookBusy;
        }
        std::string stored;
        const std::string file = findPageFile(notebook_, pageId);
        if (file.empty() || !platform::system::readWholeFile(file, stored)) {
            return hrObjectDoesNotExist;
        }
        std::string merged;
        if (const HRESULT result = mergePageUpdate(stored, update, merged); result != S_OK) {
            return result;
        }
        return platform::system::writeFileAtomically(file, merged) ? S_OK : hrWriteFailed;
    }

    HRESULT NavigateTo(const std::wstring& hierarchyId, const std::wstring&, bool) override {
        if (!isObjectId(hierarchyId)) {
            return E_INVALIDARG;
        }
        const bool exists = !findPageFile(notebook_, hierarchyId).empty() ||
                            !findSectionFolder(notebook_, hierarchyId).empty();
        return exists ? S_OK : hrObjectDoesNotExist;
    }

  private:
    // The folder a hierarchy path names when it is a section of this notebook; "" else.
    std::string sectionFolderAt(const std::wstring& path) const {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path folder = fs::weakly_canonical(toUtf8(path), error);
        const fs::path notebook = fs::weakly_canonical(notebook_, error);
        return !error && folder.parent_path() == notebook ? folder.string() : std::string();
    }

    std::string notebook_;
};

}  // namespace

std::string notebookFolder() {
    const std::string appData = platform::system::appDataFolder();
    return appData.empty() ? std::string() : appData + "/Olvan/Notebook";
}

HRESULT createApplication(const GUID& clsid, const GUID& iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!(clsid == CLSID_Application)) {
        return REGDB_E_CLASSNOTREG;
    }
    const std::string notebook = notebookFolder();
    if (notebook.empty() || !platform::system::createFolders(notebook, 0700)) {
        return CO_E_SERVER_EXEC_FAILURE;
    }
    return Application::create(notebook)->QueryInterface(iid, object);
}

}  // namespace platform::onenote
