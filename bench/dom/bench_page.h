// The page file a layout bench is given on its command line, decoded as the page loader
// decodes a file (byte-order mark, meta charset), parsed with its file: address and laid out
// at a viewport size (the second argument, "1024" or "1024x625"; 1024 wide and 768 high by
// default). Prints the reason to stderr and returns null when the file cannot be read or the
// page cannot be laid out.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"
#include "platform/net/page_charset.h"
#include "platform/text/utf.h"

inline std::shared_ptr<platform::dom::Document> benchPage(int argc, char** argv) {
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return nullptr;
    }
    std::stringstream bytes;
    bytes << file.rdbuf();
    // "1024" or "1024x625": the viewport's width, and its height (768 unless given).
    const char* size = argc > 2 ? argv[2] : "1024";
    char* rest = nullptr;
    const int width = static_cast<int>(std::strtol(size, &rest, 10));
    const int height = rest && *rest == 'x' ? std::atoi(rest + 1) : 768;
    const std::string address = "file://" + std::filesystem::absolute(argv[1]).string();
    const auto page = platform::net::decodePageText(bytes.str(), "");
    auto document = platform::dom::Document::parse(std::wstring_view(page.text),
                                                   platform::text::fromUtf8(address));
    document->parentWindow().resizeTo(width, height);
    if (const auto& failure = document->layout().failure(); !failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return nullptr;
    }
    return document;
}
