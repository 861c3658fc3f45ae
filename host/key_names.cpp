#include "host/key_names.h"

#include <cwctype>
#include <map>

namespace host {
namespace {

std::optional<int> keyCode(const std::wstring& name) {
    static const std::map<std::wstring, int> named = {
        {L"escape", 27}, {L"enter", 13}, {L"space", 32}, {L"delete", 46}, {L"backspace", 8},
        {L"tab", 9},     {L"left", 37},  {L"up", 38},    {L"right", 39},  {L"down", 40}};
    if (name.size() == 1 && std::iswalnum(name[0])) {
        return static_cast<int>(std::towupper(name[0]));
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == L'f' && std::iswdigit(name[1]) &&
        std::iswdigit(name.back())) {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 12) {
            return 111 + number;
        }
    }
    const auto found = named.find(name);
    return found == named.end() ? std::nullopt : std::optional<int>(found->second);
}

}  // namespace

std::optional<platform::dom::Event> keyEvent(const std::wstring& combination) {
    platform::dom::Event event;
    event.type = L"keydown";
    std::wstring lowered;
    for (wchar_t c : combination) {
        lowered += static_cast<wchar_t>(std::towlower(c));
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = lowered.find(L'+', start);
        const std::wstring part =
            lowered.substr(start, plus == std::wstring::npos ? plus : plus - start);
        if (plus == std::wstring::npos) {
            const auto code = part.empty() ? std::nullopt : keyCode(part);
            if (!code) {
                return std::nullopt;
            }
            event.keyCode = *code;
            return event;
        }
        if (part == L"ctrl") {
            event.ctrlKey = true;
        } else if (part == L"alt") {
            event.altKey = true;
        } else if (part == L"shift") {
            event.shiftKey = true;
        } else {
            return std::nullopt;
        }
        start = plus + 1;
    }
}

}  // namespace host
