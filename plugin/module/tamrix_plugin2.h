// The "datastore" object the add-on makes for one save: stores the clip it is given in
// the repository, asking the user for title, category, folder and tags.
//
// Contract: created by NewPlugin2, freed by DeletePlugin2; used on the host's
// user-interface thread only. Handlers never throw. Export is not offered (HasEvent).
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
    // Not offered: answers -1 without acting.
    int OnExport(const std::wstring& url, const std::wstring& title,
                 const std::wstring& description, const std::wstring& text,
                 const std::wstring& html, bool* handled) override;
};

}  // namespace plugin
