// The two export dialogs: ExportDialog exports a part of the repository (one entry, a
// folder, a site, a category or the newest entries), ExportContentDialog the page or
// selection it is given. Both behave as EbookExportDialog describes.
//
// Contract: one modal run on the user-interface thread; the exports read the repository
// on the worker thread, each read on its own connection.
#pragma once

#include <string>

#include "plugin/export_dialogs/ebook_export_dialog.h"

namespace plugin {

class ExportDialog : public EbookExportDialog {
  public:
    // `scope` is one of the kScope codes (export_codes.h) and `key` names the entry,
    // folder, site or category ("" for the newest entries). `count` limits the newest
    // entries (and a folder, site or category when above 0); for one entry it is unused.
    ExportDialog(std::wstring key, int scope, int count);

  protected:
    void prefillTitles() override;
    int exportTo(const std::wstring& title, const std::wstring& file, int code,
                 ExportControl& control) const override;
    std::wstring cancelQuestion() const override;

  private:
    const std::wstring key_;
    const int scope_;
    const int count_;
};

class ExportContentDialog : public EbookExportDialog {
  public:
    // The page's address, title, description (not part of the book), text and markup.
    ExportContentDialog(std::wstring url, std::wstring title, std::wstring description,
                        std::wstring text, std::wstring html);

  protected:
    void prefillTitles() override;
    int exportTo(const std::wstring& title, const std::wstring& file, int code,
                 ExportControl& control) const override;
    std::wstring cancelQuestion() const override;

  private:
    const std::wstring url_;
    const std::wstring title_;
    const std::wstring text_;
    const std::wstring html_;
};

}  // namespace plugin
