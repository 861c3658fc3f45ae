// Shared by the command tests: the fixture pages and a context on a parsed page.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addon/controller/command.h"
#include "platform/text/utf.h"

namespace command_fixtures {

inline const std::vector<std::string> kPages = {"news.html",   "blog.html",  "docs.html",
                                                "forum.html",  "table.html", "form.html",
                                                "images.html", "short.html"};

inline std::wstring readPage(const std::string& name) {
    std::ifstream file(std::filesystem::path(TAMRIX_TEST_DATA) / "readable" / name,
                       std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return platform::text::fromUtf8(bytes.str());
}

inline std::shared_ptr<addon::page::Document> loadPage(const std::string& name) {
    return std::make_shared<addon::page::Document>(
        readPage(name), L"http://example.test/" + platform::text::fromUtf8(name));
}

inline std::wstring serialize(const addon::page::Document& document) {
    return document.root()->outerHtml();
}

// The element marked as the page's article body.
inline addon::page::NodePtr expectedMain(const addon::page::Document& document) {
    for (const auto& element : document.root()->descendantElements()) {
        if (element->attribute(L"data-expected")) {
            return element;
        }
    }
    return nullptr;
}

}  // namespace command_fixtures
