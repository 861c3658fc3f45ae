// A module's version resource: the fixed file information and the string table
// ("ProductName", "ProductVersion", "LegalCopyright", ...) under the language and code page
// of its first translation.
//
// On this system a module carries its version block as data compiled into it and makes it
// known with registerVersionResource under its own file path; this library registers the
// add-on's block (thisModuleVersionName() names it). CModuleVersion::Load finds a block by
// module name the way a module handle is found: the file name ("Tamrix.so") or the whole
// path; a null name means the process's program.
//
// Contract: the registry of blocks is thread-safe; a CModuleVersion object is a value used
// by one thread at a time. Nothing throws but bad_alloc.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace addon {

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The 52-byte fixed file information.
struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t structVersion = 0;
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};

struct VersionResource {
    FixedFileInfo fixed;
    // The first translation; none when the block has no "Translation" entry.
    bool hasTranslation = false;
    std::uint16_t language = 0;
    std::uint16_t codePage = 1252;
    // The string tables by their key, the language and code page as eight lower-case hex
    // digits ("040904e4"), each by value name.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> stringTables;
};

// Makes `resource` the version block of the module at `modulePath` (replacing an earlier one).
void registerVersionResource(const std::wstring& modulePath, VersionResource resource);

// The file name of the module this library is linked into, its block registered.
std::wstring thisModuleVersionName();
// A string of that module's block ("ProductVersion"); "" when it cannot be read.
std::wstring thisModuleVersionValue(const std::wstring& name);

class CModuleVersion {
  public:
    // Reads the block of the named module (null: the program); true when it holds fixed
    // file information with the right signature.
    bool Load(const wchar_t* moduleName);
    // The named string of the first translation; "" when absent.
    std::wstring GetValue(const std::wstring& name) const;

    const FixedFileInfo& fixedInfo() const { return fixed_; }
    std::uint16_t language() const { return language_; }
    std::uint16_t codePage() const { return codePage_; }

  private:
    FixedFileInfo fixed_;
    std::uint16_t language_ = 0;
    std::uint16_t codePage_ = 1252;
    std::map<std::wstring, std::map<std::wstring, std::wstring>> stringTables_;
};

}  // namespace addon
