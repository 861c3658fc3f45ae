// Reading the fixture pages of tests/data and comparing trees, for the document tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dom/document.h"

namespace platform::dom::testing {

inline std::string readFixture(const std::string& name) {
    std::ifstream in(std::string(TAMRIX_SOURCE_DIR) + "/platform/dom/tests/data/" + name,
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline const std::vector<std::string>& fixturePages() {
    static const std::vector<std::string> pages = {"news_article.html", "blog_post.html",
                                                   "forum_thread.html", "product_review.html"};
    return pages;
}

// Same node types, names, namespaces, attributes and text, all the way down; the first
// difference is described in `why`.
inline bool sameTree(const Node& a, const Node& b, std::wstring& why) {
    if (a.nodeType() != b.nodeType() || a.nodeName() != b.nodeName() ||
        a.nodeValue() != b.nodeValue()) {
        why = L"node " + a.nodeName() + L" [" + a.nodeValue() + L"] vs " + b.nodeName() + L" [" +
              b.nodeValue() + L"]";
        return false;
    }
    if (a.nodeType() == NodeType::Element) {
        const auto& ea = static_cast<const Element&>(a);
        const auto& eb = static_cast<const Element&>(b);
        bool sameAttributes = ea.attributes().size() == eb.attributes().size();
        for (std::size_t i = 0; sameAttributes && i < ea.attributes().size(); ++i)
            sameAttributes = ea.attributes()[i].name == eb.attributes()[i].name &&
                             ea.attributes()[i].value == eb.attributes()[i].value;
        if (!sameAttributes || ea.elementNamespace() != eb.elementNamespace()) {
            why = L"attributes or namespace of " + ea.tagName();
            return false;
        }
    }
    if (a.childNodes().size() != b.childNodes().size()) {
        why = L"child count of " + a.nodeName();
        return false;
    }
    for (std::size_t i = 0; i < a.childNodes().size(); ++i)
        if (!sameTree(*a.childNodes()[i], *b.childNodes()[i], why))
            return false;
    return true;
}

}  // namespace platform::dom::testing
