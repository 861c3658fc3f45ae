// The web service's own pages: help, home and update. The address is the "\Server"
// setting (default: the update check's server) with a "/" after it when it lacks one, the
// page name, then "?product=" and "&version=" with the add-on's "ProductName" and
// "ProductVersion" (percent-encoded). Help opens beside the page (the desktop's opener,
// in place of a new browser tab); home and update replace the tab's page.
//
// Contract: the user-interface thread. Only the three page names are served; the window
// functions give 1 without a browser, else 2.
#pragma once

#include <string>

namespace addon {

// "" for any name but "help", "home" and "update".
std::wstring servicePageAddress(const std::wstring& page);

int openHelpPage(int windowIndex);
int openHomePage(int windowIndex);
int openUpdatePage(int windowIndex);

}  // namespace addon
