// The catalogue of one plug-in: a "plugins.xml" file read into records, and the scan that
// collects the catalogues of every plug-in below a folder.
//
//   <plugins version="" name="" title="" datetime="" author="" copyright="">
//     <pages><item name="" title="" type="Tarn" file="" bind="" use=""/></pages>
//     <sidePages><item ... url="" restrict=""/></sidePages>
//     <transcoders><item name="" title="" file=""/></transcoders>
//   </plugins>
//
// Contract: plain value records. Reading never throws: a file that is missing, does not
// parse or has no "plugins" root gives a record with an empty name. Item files are
// resolved against the catalogue's folder unless they are absolute ("/..." or a drive or
// scheme before ":"). Not synchronised; each caller reads its own records.
#pragma once

#include <string>
#include <vector>

namespace common {
class CXMLDOMNode;
}

namespace tarn {

struct PluginPageItem {
    std::wstring name;
    std::wstring title;
    std::wstring type;  // "Tarn" when the file leaves it empty: a template page
    std::wstring file;
    std::wstring bind;  // the URL pattern
    std::wstring use;   // not empty: the pattern is a regular expression
};

struct PluginSidePageItem : PluginPageItem {
    std::wstring url;
    std::wstring restrict;
};

struct PluginTranscoderItem {
    std::wstring name;
    std::wstring title;
    std::wstring file;
};

class PluginManifest {
  public:
    // Loads `path` when it is not empty.
    explicit PluginManifest(const std::wstring& path = {});

    // Reads the catalogue at `path` (or at the stored path when `path` is empty); 0 on
    // success, -1 when there is no path, the file does not load or has no "plugins" root.
    int load(const std::wstring& path = {});
    // Reads the records from a "plugins" element; 0.
    int parse(const common::CXMLDOMNode& root);
    // An item's file as a full path: absolute texts unchanged, others below the folder
    // of the catalogue file.
    std::wstring resolve(const std::wstring& file) const;

    std::wstring filePath;
    std::wstring version;
    std::wstring name;
    std::wstring title;
    std::wstring datetime;
    std::wstring author;
    std::wstring copyright;
    std::vector<PluginPageItem> pages;
    std::vector<PluginSidePageItem> sidePages;
    std::vector<PluginTranscoderItem> transcoders;
};

// Appends the catalogue of `folder` and then those of its sub-folders, depth first in name
// order, to `manifests`; catalogues without a name are left out. Hidden folders and
// folders reached through symbolic links are not visited. Returns the list's new length.
int ScanPluginFolder(const std::wstring& folder, std::vector<PluginManifest>& manifests);

}  // namespace tarn
