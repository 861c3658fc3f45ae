// An HTML document: the root of the node tree, its collections and factories, and the
// page-wide services (style sheets, layout, selection, events, its thread's task queue).
//
// Contract: created only through the static factories, held by std::shared_ptr. A
// document and all its nodes belong to the thread that created it; other threads reach it
// only through `proxy()` (task_queue.h). Parsing never fails on content (html_parser.h).
// Every mutation of the tree, of attributes or of style sheets raises `version()`, which
// the caches of collections, styles and layout compare against.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dom/element.h"
#include "platform/dom/node.h"

namespace platform::dom {

class StyleEngine;
class StyleSheet;

// Gives the text of a linked style sheet: (href as written, document URL) -> text, or
// std::nullopt when it cannot be had (the sheet then has no rules).
using StyleSheetLoader =
    std::function<std::optional<std::string>(const std::wstring& href, const std::wstring& url)>;

class Document final : public Node {
  public:
    // An empty page: "HTML" with "HEAD" and "BODY".
    static std::shared_ptr<Document> create(std::wstring url = L"about:blank");
    static std::shared_ptr<Document> parse(std::string_view utf8,
                                           std::wstring url = L"about:blank");
    static std::shared_ptr<Document> parse(std::wstring_view html,
                                           std::wstring url = L"about:blank");
    // Replaces the whole content with the parsed markup (the page written afresh).
    void write(std::wstring_view html);

    std::wstring nodeName() const override { return L"#document"; }
    std::shared_ptr<Node> cloneNode(bool deep) const override;

    const std::wstring& URL() const { return url_; }
    void setURL(std::wstring url) { url_ = std::move(url); }
    // The text of the first "TITLE" element, white space collapsed; empty when none.
    std::wstring title() const;
    void setTitle(std::wstring title);
    // The name of the page's doctype ("html"), empty when it has none.
    const std::wstring& doctype() const { return doctype_; }

    std::shared_ptr<Element> documentElement() const;
    std::shared_ptr<Element> head() const;
    std::shared_ptr<Element> body() const;
    // Every element of the document in document order (cached until the next mutation).
    const std::vector<std::shared_ptr<Element>>& all() const;
    std::shared_ptr<Element> getElementById(std::wstring_view id) const;
    std::vector<std::shared_ptr<Element>> getElementsByTagName(std::wstring_view name) const;
    std::vector<std::shared_ptr<Element>> getElementsByName(std::wstring_view name) const;

    std::shared_ptr<Element> createElement(std::wstring_view tagName);
    std::shared_ptr<Text> createTextNode(std::wstring data);
    std::shared_ptr<Comment> createComment(std::wstring data);

    // The sheets of "STYLE" elements and of "LINK" elements with rel "stylesheet", in
    // document order (rebuilt after mutations; a sheet object stays the same while its
    // element stays in the page, so its disabled flag is kept).
    const std::vector<std::shared_ptr<StyleSheet>>& styleSheets() const;
    void setStyleSheetLoader(StyleSheetLoader loader);
    StyleEngine& styles() const;

    // The whole page's markup: doctype, then every child of the document.
    std::wstring markup() const;

    std::uint64_t version() const { return version_; }
    void noteMutation() { ++version_; }

  private:
    struct Private {};

  public:
    explicit Document(Private);
    ~Document() override;

  private:
    friend class HtmlTreeBuilder;
    friend class Element;

    static std::shared_ptr<Document> makeEmpty(std::wstring url);
    std::weak_ptr<Document> self() const { return self_; }

    std::weak_ptr<Document> self_;
    std::wstring url_;
    std::wstring doctype_;
    std::uint64_t version_ = 1;
    mutable std::vector<std::shared_ptr<Element>> all_;
    mutable std::uint64_t allVersion_ = 0;
    mutable std::vector<std::shared_ptr<StyleSheet>> sheets_;
    mutable std::uint64_t sheetsVersion_ = 0;
    mutable std::map<std::wstring, std::wstring> linkedSheetTexts_;
    StyleSheetLoader loader_;
    mutable std::unique_ptr<StyleEngine> styles_;
};

}  // namespace platform::dom
