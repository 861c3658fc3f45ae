#include "plugin/export/export_failure.h"
#include "plugin/export/exports.h"
#include "plugin/repository/repository.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

// Exports the entries matching `where`, newest first, cut to `count` when 0 < count < the
// number found. A repository that cannot be read fails the export rather than giving an
// empty book.
int exportWhere(const std::wstring& name, const std::wstring& defaultName,
                const std::wstring& where, const std::wstring& output, int count, int format,
                ExportControl* control) {
    std::vector<std::wstring> titles;
    std::vector<std::wstring> guids;
    if (listTitles(titles, guids, where, L"createTime desc") < 0)
        return exportFailure(control, L"Cannot read the repository.");
    if (count > 0 && static_cast<std::size_t>(count) < guids.size())
        guids.resize(static_cast<std::size_t>(count));
    return exportEntries(guids, name.empty() ? defaultName : name, output, format, control);
}

}  // namespace

int exportLatest(const std::wstring& name, const std::wstring& output, int count, int format,
                 ExportControl* control) {
    const std::wstring today = nowText(true).substr(0, 10);
    return exportWhere(name, L"Tamrix-Latest-" + today, L"", output, count, format, control);
}

int exportFolder(const std::wstring& name, const std::wstring& folder, const std::wstring& output,
                 int count, int format, ExportControl* control) {
    return exportWhere(name, L"Tamrix-Folder-" + folder, L"folder = " + sqlLiteral(folder), output,
                       count, format, control);
}

int exportSite(const std::wstring& name, const std::wstring& site, const std::wstring& output,
               int count, int format, ExportControl* control) {
    return exportWhere(name, L"Tamrix-Site-" + site, L"site = " + sqlLiteral(site), output, count,
                       format, control);
}

int exportCategory(const std::wstring& name, const std::wstring& category,
                   const std::wstring& output, int count, int format, ExportControl* control) {
    return exportWhere(name, L"Tamrix-Category-" + category, L"category = " + sqlLiteral(category),
                       output, count, format, control);
}

int exportItem(const std::wstring& name, const std::wstring& idOrGuid, const std::wstring& output,
               int format, ExportControl* control) {
    EntryRecord entry;
    if (!readEntry(idOrGuid, entry))
        return exportFailure(control, L"The entry " + idOrGuid + L" does not exist.");
    return exportEntries({entry.guid}, name.empty() ? L"Tamrix-Item-" + entry.title : name, output,
                         format, control);
}

}  // namespace plugin
