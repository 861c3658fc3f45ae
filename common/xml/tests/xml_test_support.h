// Helpers shared by the XML wrapper tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/xml/xml_dom.h"

namespace xml_test {

inline common::CXMLDOMDocument2 parse(const std::wstring& text) {
    common::CXMLDOMDocument2 doc = common::CXMLDOMDocument2::Create();
    EXPECT_TRUE(doc.LoadXML(text)) << doc.GetParseError();
    return doc;
}

// Runs `call` and returns the CComException it throws; fails the test when none comes.
template <typename Call>
common::CComException thrownBy(Call call) {
    try {
        call();
    } catch (const common::CComException& e) {
        return e;
    }
    ADD_FAILURE() << "no CComException";
    return common::CComException(0);
}

class TempDir {
  public:
    TempDir() {
        char pattern[] = "/tmp/xml-test-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name, const std::string& content = {}) const {
        const std::string full = (path_ / name).string();
        if (!content.empty())
            std::ofstream(full) << content;
        return full;
    }

  private:
    std::filesystem::path path_;
};

inline std::wstring widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace xml_test
