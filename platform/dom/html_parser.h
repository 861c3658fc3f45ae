// Parsing HTML (any bytes) into the node tree, through gumbo.
//
// Contract: never fails on content: bytes that are not UTF-8 are read as UTF-8 with each
// ill-formed sequence replaced by U+FFFD, and whatever markup is given produces a tree
// (only std::bad_alloc escapes). Elements nested deeper than kMaxTreeDepth are attached at
// that depth, their text kept inside them, so that walks over the tree stay within bounded
// recursion. Before parsing, the markup is bounded (bounded_html.h: its size, the
// attributes of a tag, "DIV" and "SPAN" tags nested deeper than the limit), so that no
// markup can make the parse quadratic; the document's parseNote says what was left out.
// Thread-safe: each call works on its own data.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace platform::dom {

class Document;
class Element;
class Node;

inline constexpr int kMaxTreeDepth = 512;

class HtmlTreeBuilder {
  public:
    // Replaces the document's children with the parsed page.
    static void buildDocument(Document& document, std::string_view utf8);
    // Parses markup as the content of `context` would hold it; the nodes belong to the
    // context's document and have no parent yet.
    static std::vector<std::shared_ptr<Node>> parseFragment(const Element& context,
                                                            std::string_view utf8);

  private:
    class Converter;
};

}  // namespace platform::dom
