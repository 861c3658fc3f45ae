// The tarn: protocol library's life in a process: what it does when it is loaded
// (attach) and unloaded (detach), and the registration of the installed plug-ins' pages.
//
// Attach, unless the host program's rules say otherwise (attach_rules.h): the collation
// locale from the setting "locale" of "Software\Olvan\Tarn", the engine started on the
// "Root" folder, every plugins.xml below the "plugins" folder read, and each of their
// pages and side pages of type "Tarn" registered with the engine (its bind as the URL
// pattern, a regular expression when its "use" is not empty).
//
// Contract: attach and detach run once each, from the library's load and unload (not
// concurrently with requests). libraryAttached() may be read from any thread afterwards.
#pragma once

#include <string_view>
#include <vector>

#include "tarn/engine/plugin_manifest.h"
#include "tarn/protocol/attach_rules.h"

namespace tarn {

void attachLibrary(std::wstring_view programPath);
void detachLibrary();

// The action attach took; Refuse before attach.
AttachAction libraryAttachAction();

// Registers the "Tarn" pages of the catalogues, in catalogue order, pages before side
// pages; returns the number the engine accepted.
int registerCataloguePages(const std::vector<PluginManifest>& manifests);

}  // namespace tarn
