// The shipped example run by `tamrix-host demo`: in a fresh home folder, open the example
// article, attach the toolbox, select the article's main block, press Ctrl+S, fill in the
// save dialog, print what the repository stored and write the repository's latest-entries
// page to an HTML file.
//
// Contract: points HOME and the XDG folders of this process at a new folder under the
// system's temporary folder (kept afterwards, so the repository can be looked at).
#pragma once

#include <string>
#include <vector>

namespace host {

// Makes the fresh home; its path, or "" when it cannot be made.
std::string prepareDemoHome();
// The demo's script for the example page at `article`; the latest-entries page is written
// to `latestPage`.
std::vector<std::wstring> demoScript(const std::wstring& article, const std::wstring& latestPage);

}  // namespace host
