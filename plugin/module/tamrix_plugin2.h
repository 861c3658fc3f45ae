// The "datastore" object the add-on makes for one save or export: stores the clip it is
// given in the repository, asking the user for title, category, folder and tags, or opens
// the export dialog that fits the page.
//
// Contract: created by NewPlugin2, freed by DeletePlugin2; used on the host's
// user-interface thread only. Handlers never throw.
#pragma once

#include <string>

#include "plugin/module/plugin_interface.h"

namespace plugin {

class TamrixPlugin2 : public IPluginInterface2 {
  public:
    std::wstring GetName() override;
    std::wstring GetVersion() override;
    bool HasEvent(const std::wstring& name) override;

    int OnSave(const std::wstring& url, const std::wstring& title, const std::wstring& description,
               const std::wstring& text, const std::wstring& html, bool* handled) override;
    // A repository page ("tarn://tamrix/item?", "folder?", "site?", "category?",
    // "latest") exports what it shows; any other page exports the given content. The
    // export dialog reports the outcome itself: always -1, handled.
    int OnExport(const std::wstring& url, const std::wstring& title,
                 const std::wstring& description, const std::wstring& text,
                 const std::wstring& html, bool* handled) override;
};

}  // namespace plugin
