// Exports of repository entries, or of one clip that is not stored, as text, HTML, EPUB
// or MOBI (format codes in export_codes.h).
//
// Contract:
// - Blocking; the export dialogs call these on a worker thread. They only read the
//   repository (each read on its own connection), so several may run at once.
// - Every function returns 0 when the whole output was written and -1 otherwise, with the
//   reason in control->error when a control block is given. Output files are written whole
//   or not at all; a failed export leaves no part of a file and no temporary file behind
//   (per-entry exports keep the files finished before the failure).
// - Setting control->cancelled from another thread stops an export between entries and
//   kills a running MOBI converter; the export then fails.
// - Entry titles become file names only through the file-name sanitiser, and every file of
//   a per-entry export lands inside the output folder (created when missing).
// - Entries that cannot be read are left out; an empty selection still gives an output.
#pragma once

#include <string>
#include <vector>

#include "plugin/export/export_codes.h"

namespace plugin {

// Scope exports: the entries chosen are ordered newest first ("createTime desc") and cut to
// the first `count` when 0 < count < the number found; an empty name becomes the default
// book name given with each.

// Every entry; default name "Tamrix-Latest-" + today's local date ("%Y-%m-%d").
int exportLatest(const std::wstring& name, const std::wstring& output, int count, int format,
                 ExportControl* control = nullptr);
// The entries of one folder; default name "Tamrix-Folder-" + folder.
int exportFolder(const std::wstring& name, const std::wstring& folder, const std::wstring& output,
                 int count, int format, ExportControl* control = nullptr);
// The entries of one site; default name "Tamrix-Site-" + site.
int exportSite(const std::wstring& name, const std::wstring& site, const std::wstring& output,
               int count, int format, ExportControl* control = nullptr);
// The entries of exactly this category (not its sub-categories); default name
// "Tamrix-Category-" + category.
int exportCategory(const std::wstring& name, const std::wstring& category,
                   const std::wstring& output, int count, int format,
                   ExportControl* control = nullptr);
// The one entry with this id or guid; default name "Tamrix-Item-" + its title. Fails when
// there is no such entry.
int exportItem(const std::wstring& name, const std::wstring& idOrGuid, const std::wstring& output,
               int format, ExportControl* control = nullptr);

// The entries with these guids, in this order. For the per-entry formats `output` is a
// folder; for the others the output file.
int exportEntries(const std::vector<std::wstring>& guids, const std::wstring& name,
                  const std::wstring& output, int format, ExportControl* control = nullptr);
// One clip given as texts, in format 2, 4, 6 or 7; the title is also the book name.
int exportContent(const std::wstring& url, const std::wstring& title, const std::wstring& text,
                  const std::wstring& html, const std::wstring& output, int format,
                  ExportControl* control = nullptr);

// The EPUB writers: the entries (index page first with kExportTableOfContents in
// `format`), or one clip as the page "content.html".
int WriteEpub(const std::vector<std::wstring>& guids, const std::wstring& name,
              const std::wstring& path, int format, ExportControl* control = nullptr);
int writeEpubContent(const std::wstring& url, const std::wstring& title, const std::wstring& html,
                     const std::wstring& path, ExportControl* control = nullptr);

}  // namespace plugin
