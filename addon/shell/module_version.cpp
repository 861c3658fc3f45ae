#include "addon/shell/module_version.h"

#include <cstdio>
#include <mutex>

#include "platform/system/module_path.h"
#include "platform/text/utf.h"

#ifndef TAMRIX_PRODUCT_VERSION
#error "TAMRIX_PRODUCT_VERSION must name the product version"
#endif

namespace addon {

namespace {

std::mutex registryMutex;

std::map<std::wstring, VersionResource>& registeredBlocks() {
    static std::map<std::wstring, VersionResource> blocks;
    return blocks;
}

std::wstring fileNameOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// "1.2.3.4" as the two 32-bit halves of a fixed version; missing parts are 0.
void packVersion(const std::string& text, std::uint32_t& high, std::uint32_t& low) {
    unsigned parts[4] = {0, 0, 0, 0};
    std::sscanf(text.c_str(), "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]);
    high = (parts[0] & 0xFFFFu) << 16 | (parts[1] & 0xFFFFu);
    low = (parts[2] & 0xFFFFu) << 16 | (parts[3] & 0xFFFFu);
}

VersionResource addonVersionResource() {
    VersionResource resource;
    resource.fixed.signature = kFixedFileInfoSignature;
    resource.fixed.structVersion = 0x00010000;
    packVersion(TAMRIX_PRODUCT_VERSION, resource.fixed.fileVersionMS, resource.fixed.fileVersionLS);
    resource.fixed.productVersionMS = resource.fixed.fileVersionMS;
    resource.fixed.productVersionLS = resource.fixed.fileVersionLS;
    resource.fixed.fileType = 2;  // a library
    resource.hasTranslation = true;
    resource.language = 0x0409;
    resource.codePage = 1252;
    const std::wstring version = platform::text::fromUtf8(TAMRIX_PRODUCT_VERSION);
    resource.stringTables[L"040904e4"] = {
        {L"CompanyName", L"Olvan"},  {L"FileDescription", L"Tamrix for IE"},
        {L"FileVersion", version},   {L"LegalCopyright", L"Copyright (C) Olvan"},
        {L"ProductName", L"Tamrix"}, {L"ProductVersion", version},
    };
    return resource;
}

}  // namespace

void registerVersionResource(const std::wstring& modulePath, VersionResource resource) {
    std::lock_guard lock(registryMutex);
    registeredBlocks()[modulePath] = std::move(resource);
}

std::wstring thisModuleVersionName() {
    static const std::wstring name = [] {
        // An address inside the module this code is linked into finds that module's file.
        static const char anchor = 0;
        const std::wstring path = platform::text::fromUtf8(platform::system::modulePathOf(&anchor));
        registerVersionResource(path, addonVersionResource());
        return fileNameOf(path);
    }();
    return name;
}

std::wstring thisModuleVersionValue(const std::wstring& name) {
    CModuleVersion version;
    return version.Load(thisModuleVersionName().c_str()) ? version.GetValue(name) : std::wstring();
}

bool CModuleVersion::Load(const wchar_t* moduleName) {
    fixed_ = FixedFileInfo{};
    language_ = 0;
    codePage_ = 1252;
    stringTables_.clear();
    const std::wstring wanted = moduleName
                                    ? std::wstring(moduleName)
                                    : platform::text::fromUtf8(platform::system::programPath());
    if (wanted.empty())
        return false;
    std::lock_guard lock(registryMutex);
    for (const auto& [path, resource] : registeredBlocks()) {
        if (path != wanted && fileNameOf(path) != wanted)
            continue;
        fixed_ = resource.fixed;
        if (resource.hasTranslation) {
            language_ = resource.language;
            codePage_ = resource.codePage;
        }
        stringTables_ = resource.stringTables;
        return fixed_.signature == kFixedFileInfoSignature;
    }
    return false;
}

std::wstring CModuleVersion::GetValue(const std::wstring& name) const {
    wchar_t key[16];
    std::swprintf(key, 16, L"%04x%04x", static_cast<unsigned>(language_),
                  static_cast<unsigned>(codePage_));
    const auto table = stringTables_.find(key);
    if (table == stringTables_.end())
        return {};
    const auto value = table->second.find(name);
    return value == table->second.end() ? std::wstring() : value->second;
}

}  // namespace addon
