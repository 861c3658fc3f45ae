// A registry-bound text value, stored as REG_SZ. Only the text up to the first line feed
// of the stored text is taken (a carriage return before it stays).
//
//   registry_string<std::wstring> language(L"Software\\Olvan\\Tamrix\\Language",
//                                          HKEY_CURRENT_USER, L"", 0);
//   use(language.value);
//   language = L"de";   // written back when `language` goes out of scope
//
// Contract: as registry_value (flags, threading, errors).
#pragma once

#include <iomanip>
#include <string>

#include "common/util/registry_bound.h"
#include "common/util/std_stringstream.h"
#include "platform/registry/types.h"

namespace common {

template <class Text>
class registry_string : public registry_bound<Text> {
  public:
    registry_string(const std::wstring& path, HKEY root, const Text& defaultValue, int flags)
        : registry_bound<Text>(path, root, defaultValue, flags) {
        this->loadIfWanted();
    }
    ~registry_string() override { this->writeBack(); }

    using registry_bound<Text>::operator=;

  private:
    bool readValue(Text& into) override {
        std::wstring stored;
        if (!this->readStored(platform::registry::REG_SZ, stored)) {
            return false;
        }
        if (stored.empty()) {
            into = Text();
            return true;
        }
        std_stringstream_ stream(stored);
        Text line;
        std::getline(stream, line);
        into = line;
        return true;
    }

    bool writeValue(const Text& from) override {
        std_stringstream_ stream;
        stream << std::setprecision(20) << from;
        return this->writeStored(stream.str());
    }
};

}  // namespace common
