#include "host/demo.h"

#include <stdlib.h>

#include <filesystem>

namespace host {

std::string prepareDemoHome() {
    std::error_code failure;
    std::string pattern =
        (std::filesystem::temp_directory_path(failure) / "tamrix-demo-XXXXXX").string();
    if (failure || mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    const std::filesystem::path root = pattern;
    for (const auto& [name, folder] :
         {std::pair{"HOME", root}, std::pair{"XDG_DATA_HOME", root / "data"},
          std::pair{"XDG_CONFIG_HOME", root / "config"},
          std::pair{"XDG_RUNTIME_DIR", root / "runtime"}}) {
        std::filesystem::create_directories(folder, failure);
        if (failure) {
            return {};
        }
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, failure);
        setenv(name, folder.c_str(), 1);
    }
    return pattern;
}

std::vector<std::wstring> demoScript(const std::wstring& article, const std::wstring& latestPage) {
    return {L"open " + article,
            L"attach",
            L"select article",
            L"answer-save The Lighthouse Keepers of Varn | Travel | Reading",
            L"key ctrl+s",
            L"report",
            L"fetch tarn://tamrix/latest " + latestPage};
}

}  // namespace host
