#include "addon/window/extensions/command_extensions.h"

#include <map>

namespace addon {
namespace {

std::map<std::wstring, CommandExtension>& extensions() {
    static std::map<std::wstring, CommandExtension> table;
    return table;
}

}  // namespace

void registerCommandExtension(const std::wstring& command, CommandExtension handler) {
    if (handler) {
        extensions()[command] = std::move(handler);
    } else {
        extensions().erase(command);
    }
}

CommandExtension commandExtension(const std::wstring& command) {
    const auto found = extensions().find(command);
    return found == extensions().end() ? CommandExtension() : found->second;
}

}  // namespace addon
