// An HTML document: the root of the node tree, its collections and factories, and the
// page-wide services (style sheets, layout, selection, events, its thread's task queue).
//
// Contract: created only through the static factories, held by std::shared_ptr. A
// document and all its nodes belong to the thread that created it; other threads reach it
// only through `proxy()` (task_queue.h). Parsing never fails on content (html_parser.h).
// Every mutation of the tree, of attributes or of style sheets raises `version()`, which
// layout compares against; the collections, the sheet list and the cascade keep counters of
// their own that only the changes they depend on raise, so that a command writing inline
// styles one element at a time never rebuilds them for the whole page.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/dom/element.h"
#include "platform/dom/events/event.h"
#include "platform/dom/geometry.h"
#include "platform/dom/node.h"

namespace platform::dom {

class LayoutEngine;
class StyleEngine;
class StyleSheet;
class DocumentProxy;
class Selection;
class TaskQueue;
class Window;

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
    // Whether the doctype (or its absence) puts the page in one of the modes where browsers
    // keep old layout quirks (quirks or limited-quirks mode).
    bool keepsQuirks() const { return keepsQuirks_; }
    // What the parser had to leave out of the page's markup to keep its work bounded
    // (bounded_html.h), for a person; "" when it read all of it.
    const std::wstring& parseNote() const { return parseNote_; }

    std::shared_ptr<Element> documentElement() const;
    std::shared_ptr<Element> head() const;
    std::shared_ptr<Element> body() const;
    // Every element of the document in document order, as it is now (later mutations do
    // not change a list already handed out).
    using ElementList = std::vector<std::shared_ptr<Element>>;
    std::shared_ptr<const ElementList> all() const;
    std::shared_ptr<Element> getElementById(std::wstring_view id) const;
    std::vector<std::shared_ptr<Element>> getElementsByTagName(std::wstring_view name) const;
    // Elements whose "name" or "id" attribute is `name`, in document order.
    std::vector<std::shared_ptr<Element>> getElementsByName(std::wstring_view name) const;

    std::shared_ptr<Element> createElement(std::wstring_view tagName);
    std::shared_ptr<Text> createTextNode(std::wstring data);
    std::shared_ptr<Comment> createComment(std::wstring data);

    // The sheets of "STYLE" elements and of "LINK" elements with rel "stylesheet", in
    // document order (rebuilt after mutations; a sheet object stays the same while its
    // element stays in the page, so its disabled flag is kept).
    const std::vector<std::shared_ptr<StyleSheet>>& styleSheets() const;
    // Linked sheets are read by loadLinkedStyleSheet (page_resources.h) unless replaced.
    void setStyleSheetLoader(StyleSheetLoader loader);
    StyleEngine& styles() const;

    // Geometry. The window holds the viewport and the document's scroll position.
    Window& parentWindow() const;
    // Replaces the layout engine (PageLayout by default).
    void setLayoutEngine(std::unique_ptr<LayoutEngine> engine);
    // The engine, laid out for the current content and viewport.
    const LayoutEngine& layout() const;
    // Lays the page out again now (`force`) or when it next needs to.
    void recalc(bool force);
    // Lays the page out again now if it was laid out and what the layout was made from
    // outside the document changed since (LayoutEngine::outdated: pictures arrived). The
    // layout engine posts this when pictures arrive; a window repaints after it.
    void relayoutIfOutdated();
    // Lays the page out with what is still on its way to it, waiting a bounded time (see
    // LayoutEngine::settle): for captures and prints, which want the settled page.
    void settleLayout();
    // How many times the page has been laid out.
    std::uint64_t layoutPasses() const { return layoutPasses_; }
    // Gives an element a fixed border box (document coordinates) that wins over the layout.
    void setExplicitBox(const std::shared_ptr<Element>& element, Rect box);
    void clearExplicitBox(const Element& element);
    // The border box in document coordinates: the explicit box, else the layout's.
    std::optional<Rect> boxOf(const Element& element) const;
    std::vector<Rect> clientRectsOf(const Element& element) const;
    // The sum of the scroll offsets of the element's ancestors below the root, which
    // move it on the screen.
    Point ancestorScroll(const Element& element) const;
    // The topmost visible element at a client point; null outside the viewport.
    std::shared_ptr<Element> elementFromPoint(int clientX, int clientY) const;

    // The page's text selection.
    Selection& selection() const;

    // Events. `fireEvent` delivers to the sinks of the source element, then of each
    // ancestor, then of the document, until a sink sets cancelBubble; it returns false
    // when a sink cancelled the default handling (returnValue false or 0).
    bool fireEvent(Event& event);
    // Builds and fires a mouse event at a client point: at the capturing element when
    // there is one, else at the element under the point.
    bool dispatchMouseEvent(std::wstring type, int clientX, int clientY, int button,
                            KeyModifiers modifiers = {});
    // Builds and fires a key event at the focused element (the body unless set).
    bool dispatchKeyEvent(std::wstring type, int keyCode, KeyModifiers modifiers = {},
                          bool repeat = false);
    std::shared_ptr<Element> activeElement() const;
    void setActiveElement(const std::shared_ptr<Element>& element);
    std::shared_ptr<Element> captureElement() const { return capture_.lock(); }
    void releaseCapture() { capture_.reset(); }

    // Threads. The document belongs to the thread that created it; other threads post
    // work through a proxy, and `pumpTasks` (on that thread only; std::logic_error
    // elsewhere) runs what was posted.
    std::thread::id ownerThread() const { return owner_; }
    bool isOwnerThread() const { return std::this_thread::get_id() == owner_; }
    DocumentProxy proxy() const;
    std::size_t pumpTasks();

    // The whole page's markup: doctype, then every child of the document.
    std::wstring markup() const;

    // Any change at all.
    std::uint64_t version() const { return version_; }
    // Changes of child lists.
    std::uint64_t treeVersion() const { return treeVersion_; }
    // Changes that can make the cached styles of elements other than the changed one
    // stale: child lists, and attributes of elements that have child elements.
    std::uint64_t styleGeneration() const { return styleGeneration_; }
    // Changes of what the cascade's rules come from: the sheet list, a sheet's text or
    // its disabled flag.
    std::uint64_t styleRulesVersion() const { return styleRulesVersion_; }
    // The elements whose attributes changed after version `since`, in the order of their
    // changes, when nothing else changed since (no child list, text or sheet, and not too
    // many attribute changes to keep); nullopt otherwise. For work that can be redone for
    // just those elements.
    std::optional<std::vector<const Element*>> attributeChangesSince(std::uint64_t since) const;

    // Everything changed (the page was written afresh).
    void noteMutation();
    // `child` was put into or taken out of `parent`'s child list.
    void noteTreeChange(const Node& parent, const Node& child);
    // An attribute of the element changed.
    void noteAttributeChange(const Element& element);
    // The text of a text or comment node changed.
    void noteTextChange(const Node& node);
    // A sheet's text or disabled flag changed.
    void noteStyleRulesChange();

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
    bool keepsQuirks_ = true;
    std::wstring parseNote_;
    void noteSheetListChange();

    std::uint64_t version_ = 1;
    std::uint64_t treeVersion_ = 1;
    std::uint64_t styleGeneration_ = 1;
    std::uint64_t styleRulesVersion_ = 1;
    std::uint64_t sheetListVersion_ = 1;
    // The attribute changes since version `attributeChangesFrom_`, each with its version.
    static constexpr std::size_t kMaxAttributeChanges = 256;
    std::vector<std::pair<std::uint64_t, const Element*>> attributeChanges_;
    std::uint64_t attributeChangesFrom_ = 1;
    void forgetAttributeChanges();
    mutable std::shared_ptr<const ElementList> all_;
    mutable std::uint64_t allVersion_ = 0;
    mutable std::vector<std::shared_ptr<StyleSheet>> sheets_;
    mutable std::uint64_t sheetsVersion_ = 0;
    mutable std::map<std::wstring, std::wstring> linkedSheetTexts_;
    StyleSheetLoader loader_;
    // Made by the style layer on first use; shared_ptr so the model can release it without
    // knowing the style layer's type.
    mutable std::shared_ptr<StyleEngine> styles_;

    friend class Element;
    std::unique_ptr<Window> window_;
    std::unique_ptr<Selection> selection_;
    std::thread::id owner_ = std::this_thread::get_id();
    std::shared_ptr<TaskQueue> tasks_;
    std::unique_ptr<LayoutEngine> layout_;
    mutable std::uint64_t layoutVersion_ = 0;
    mutable std::uint64_t layoutPasses_ = 0;
    mutable Size layoutViewport_;
    struct ElementValue {
        std::weak_ptr<Element> element;
        Rect rect;
    };
    std::unordered_map<const Element*, ElementValue> explicitBoxes_;
    std::unordered_map<const Element*, ElementValue> elementScroll_;  // rect.left/top hold x, y
    // Raised when an explicit box or an element's scroll offset changes.
    std::uint64_t boxOverrides_ = 0;
    // The elements' client rectangles (scrolled), filed for elementFromPoint; valid for the
    // layout pass and the box overrides it was built at.
    // Defined by the layout layer with its index; shared_ptr for the same reason as styles_.
    struct HitTest;
    mutable std::shared_ptr<HitTest> hitTest_;
    const HitTest& hitTest() const;
    Point elementScrollOf(const Element& element) const;
    void setElementScroll(const std::shared_ptr<Element>& element, Point offset);
    std::weak_ptr<Element> capture_;
    std::weak_ptr<Element> active_;
};

}  // namespace platform::dom
