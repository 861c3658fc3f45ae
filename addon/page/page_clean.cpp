#include "addon/page/page_clean.h"

#include <array>
#include <cwctype>
#include <utility>

#include "addon/page/dom_helpers.h"
#include "addon/page/hidden_elements.h"
#include "addon/page/text_case.h"
#include "addon/page/url_join.h"

namespace addon {

namespace {

const std::array<std::pair<const wchar_t*, int>, 8> kRemovalTable = {{
    {L"iframe", kRemoveIframes},
    {L"script", kRemoveScripts},
    {L"style", kRemoveStyles},
    {L"object", kRemoveObjects},
    {L"embed", kRemoveEmbeds},
    {L"applet", kRemoveApplets},
    {L"form", kUnwrapForms},
    {L"#comment", kRemoveComments},
}};

const std::array<const wchar_t*, 83> kCopiedStyles = {L"accelerator",
                                                      L"background",
                                                      L"backgroundAttachment",
                                                      L"backgroundColor",
                                                      L"backgroundImage",
                                                      L"backgroundPosition",
                                                      L"backgroundPositionX",
                                                      L"backgroundPositionY",
                                                      L"backgroundRepeat",
                                                      L"border",
                                                      L"borderBottom",
                                                      L"borderBottomColor",
                                                      L"borderBottomStyle",
                                                      L"borderBottomWidth",
                                                      L"borderColor",
                                                      L"borderLeft",
                                                      L"borderLeftColor",
                                                      L"borderLeftStyle",
                                                      L"borderLeftWidth",
                                                      L"borderRight",
                                                      L"borderRightColor",
                                                      L"borderRightStyle",
                                                      L"borderRightWidth",
                                                      L"borderStyle",
                                                      L"borderTop",
                                                      L"borderTopColor",
                                                      L"borderTopStyle",
                                                      L"borderTopWidth",
                                                      L"borderWidth",
                                                      L"clip",
                                                      L"color",
                                                      L"display",
                                                      L"filter",
                                                      L"font",
                                                      L"fontFamily",
                                                      L"fontSize",
                                                      L"fontStyle",
                                                      L"fontVariant",
                                                      L"fontWeight",
                                                      L"left",
                                                      L"letterSpacing",
                                                      L"lineHeight",
                                                      L"listStyle",
                                                      L"listStyleImage",
                                                      L"listStylePosition",
                                                      L"listStyleType",
                                                      L"margin",
                                                      L"marginBottom",
                                                      L"marginLeft",
                                                      L"marginRight",
                                                      L"marginTop",
                                                      L"overflow",
                                                      L"padding",
                                                      L"paddingBottom",
                                                      L"paddingLeft",
                                                      L"paddingRight",
                                                      L"paddingTop",
                                                      L"pageBreakAfter",
                                                      L"pageBreakBefore",
                                                      L"pixelHeight",
                                                      L"pixelLeft",
                                                      L"pixelTop",
                                                      L"pixelWidth",
                                                      L"posHeight",
                                                      L"posLeft",
                                                      L"posRight",
                                                      L"posTop",
                                                      L"posWidth",
                                                      L"styleFloat",
                                                      L"textAlign",
                                                      L"textDecoration",
                                                      L"textDecorationBlink",
                                                      L"textDecorationLineThrough",
                                                      L"textDecorationNone",
                                                      L"textDecorationOverline",
                                                      L"textDecorationUnderline",
                                                      L"textIndent",
                                                      L"textTransform",
                                                      L"verticalAlign",
                                                      L"visibility",
                                                      L"whiteSpace",
                                                      L"wordSpacing",
                                                      L"zIndex"};

// Whether `name`, lower-cased, is `lower`; without building the lower-cased copy.
bool lowersTo(std::wstring_view name, std::wstring_view lower) {
    return name.size() == lower.size() &&
           std::equal(name.begin(), name.end(), lower.begin(), [](wchar_t a, wchar_t b) {
               return static_cast<wchar_t>(std::towlower(a)) == b;
           });
}

// The removal-table row of the node's kind ("#comment" or a tag in any case), if it has one.
const std::pair<const wchar_t*, int>* removalRow(const dom::Node& node) {
    std::wstring_view name;
    if (node.nodeType() == dom::NodeType::Element)
        name = static_cast<const dom::Element&>(node).tagName();
    else if (node.nodeType() == dom::NodeType::Comment)
        name = L"#comment";
    else
        return nullptr;
    for (const auto& row : kRemovalTable)
        if (lowersTo(name, row.first))
            return &row;
    return nullptr;
}

// The nodes below `root` that `mask` removes, per removal-table row, each list in document
// order. Below a node that goes with its content nothing is listed: it all goes with it.
// Forms stay until they are unwrapped, so what they hold is looked at. Without recursion.
std::array<std::vector<NodePtr>, kRemovalTable.size()> nodesToRemove(const NodePtr& root,
                                                                     int mask) {
    std::array<std::vector<NodePtr>, kRemovalTable.size()> found;
    std::vector<const NodePtr*> pending;
    const auto pushChildren = [&pending](const dom::Node& node) {
        const auto& children = node.childNodes();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(&*it);
    };
    pushChildren(*root);
    while (!pending.empty()) {
        const NodePtr& node = *pending.back();
        pending.pop_back();
        const auto* row = removalRow(*node);
        if (row && (mask & row->second)) {
            found[static_cast<std::size_t>(row - kRemovalTable.data())].push_back(node);
            if (row->second != kUnwrapForms)
                continue;
        }
        pushChildren(*node);
    }
    return found;
}

// The head, what it holds, "link" and "style" carry no rendered content of their own: the
// hidden-element pass keeps them, or a saved page would lose its title and style sheets.
bool keptByHiddenPass(const dom::Element& element) {
    for (const dom::Node* node = &element; node && node->nodeType() == dom::NodeType::Element;
         node = node->parentPointer())
        if (lowersTo(static_cast<const dom::Element&>(*node).tagName(), L"head"))
            return true;
    return lowersTo(element.tagName(), L"link") || lowersTo(element.tagName(), L"style");
}

void removeOwnEventAttributes(const ElementPtr& element) {
    std::vector<std::wstring> events;
    for (const auto& attribute : element->attributes())
        if (lowerText(attribute.name).starts_with(L"on"))
            events.push_back(attribute.name);
    for (const auto& name : events)
        element->removeAttribute(name);
}

void cleanElementAttributes(const ElementPtr& element, int mask) {
    if (mask & kCleanScriptUses)
        removeOwnEventAttributes(element);
    if (mask & kCleanClasses) {
        if (auto className = element->getAttribute(L"class")) {
            if (*className == L"readable_content_item")
                element->setAttribute(L"_clip_item", L"1");
            element->removeAttribute(L"class");
        }
    }
    if (mask & kCleanNames)
        element->removeAttribute(L"name");
}

std::wstring urlAttributeOf(const std::wstring& tag) {
    return tag == L"img" ? L"src" : L"href";
}

// The URL as the fresh document would report it: "about:blank" stays, any other "about:"
// prefix goes, then the base is joined.
std::optional<std::wstring> resolved(const std::wstring& url, const std::wstring& baseUrl) {
    if (url.starts_with(L"about:blank"))
        return std::nullopt;
    const std::wstring relative = url.starts_with(L"about:") ? url.substr(6) : url;
    std::wstring joined = joinUrl(baseUrl, relative);
    if (joined == url)
        return std::nullopt;
    return joined;
}

// Rewrites the url(...) references of a style sheet.
int resolveSheet(const ElementPtr& style, const std::wstring& baseUrl) {
    int rewritten = 0;
    for (const auto& child : style->childNodes()) {
        if (child->nodeType() != dom::NodeType::Text)
            continue;
        auto& textNode = static_cast<dom::Text&>(*child);
        std::wstring text = textNode.data();
        std::size_t at = 0;
        while ((at = text.find(L"url(", at)) != std::wstring::npos) {
            const std::size_t start = at + 4;
            const std::size_t end = text.find(L')', start);
            if (end == std::wstring::npos)
                break;
            std::wstring inside = trimSpace(text.substr(start, end - start));
            std::wstring quote;
            if (!inside.empty() && (inside.front() == L'"' || inside.front() == L'\'')) {
                quote = inside.substr(0, 1);
                inside = inside.substr(1, inside.size() >= 2 ? inside.size() - 2 : 0);
            }
            if (auto url = resolved(inside, baseUrl)) {
                const std::wstring replacement = quote + *url + quote;
                text.replace(start, end - start, replacement);
                ++rewritten;
                at = start + replacement.size();
            } else {
                at = end;
            }
        }
        if (text != textNode.data())
            textNode.setData(text);
    }
    return rewritten;
}

}  // namespace

bool isScriptUrl(const std::wstring& url) {
    const std::wstring scheme = lowerText(trimSpace(url));
    return scheme.starts_with(L"javascript:") || scheme.starts_with(L"vbscript:");
}

void removeElementsByMask(const ElementPtr& root, int mask) {
    if (!root)
        return;
    const auto found = nodesToRemove(root, mask);
    for (std::size_t row = 0; row < kRemovalTable.size(); ++row) {
        const bool withContent = kRemovalTable[row].second != kUnwrapForms;
        for (auto it = found[row].rbegin(); it != found[row].rend(); ++it)
            (*it)->removeNode(withContent);
    }
}

void removeEventAttributes(const ElementPtr& root) {
    if (!root)
        return;
    removeOwnEventAttributes(root);
    for (const auto& element : root->all())
        removeOwnEventAttributes(element);
}

void cleanAttributes(const ElementPtr& root, int mask) {
    if (!root)
        return;
    if (mask & kCleanHidden) {
        const auto all = root->all();
        HiddenElements hiddenTest;
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            const ElementPtr& element = *it;
            if (!keptByHiddenPass(*element) && hiddenTest.hidden(element))
                element->removeNode(true);
            else
                cleanElementAttributes(element, mask);
        }
    }
    if (mask & kCleanScriptUses) {
        for (const auto& element : root->all()) {
            const std::wstring& tag = element->tagName();
            const bool image = lowersTo(tag, L"img");
            if (!image && !lowersTo(tag, L"a"))
                continue;
            // A link's content is part of the page (a whole story may stand in one): only
            // the link goes.
            if (isScriptUrl(element->getAttribute(image ? L"src" : L"href").value_or(L"")))
                element->removeNode(image);
        }
    }
    if (mask & kCleanLinks) {
        const auto all = root->all();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            const dom::Element& link = **it;
            if (!lowersTo(link.tagName(), L"link"))
                continue;
            const bool styleSheet =
                lowerText(link.getAttribute(L"type").value_or(L"")) == L"text/css" &&
                !link.hasAttribute(L"disabled");
            if (!styleSheet)
                (*it)->removeNode(true);
        }
    }
}

int resolveUrls(const dom::Document& document, const std::wstring& baseUrl, int mask) {
    int rewritten = 0;
    const std::array<std::pair<int, const wchar_t*>, 3> kinds = {
        {{kResolveImages, L"img"}, {kResolveAnchors, L"a"}, {kResolveLinks, L"link"}}};
    for (const auto& [bit, tag] : kinds) {
        if (!(mask & bit))
            continue;
        for (const auto& element : elementsByTag(document, tag)) {
            const std::wstring attribute = urlAttributeOf(tag);
            const auto url = element->getAttribute(attribute);
            if (!url)
                continue;
            if (auto joined = resolved(*url, baseUrl)) {
                element->setAttribute(attribute, *joined);
                ++rewritten;
            }
        }
    }
    if (mask & kResolveStyleSheets)
        for (const auto& style : elementsByTag(document, L"style"))
            rewritten += resolveSheet(style, baseUrl);
    return rewritten;
}

void copyComputedStyle(const ElementPtr& source, const ElementPtr& target) {
    if (!source || !target)
        return;
    for (const wchar_t* name : kCopiedStyles) {
        const auto value = currentStyleValue(source, name);
        if (value && !value->empty() && value != currentStyleValue(target, name))
            setInlineStyleValue(target, name, *value);
    }
}

ElementPtr cloneForReadable(const ElementPtr& element, int mask) {
    if (!element)
        return nullptr;
    ElementPtr copy;
    const std::wstring tag = getTagName(element);
    if (tag == L"head") {
        copy = element->cloneElement(false);
        for (const auto& child : element->childNodes()) {
            if (child->nodeType() != dom::NodeType::Element) {
                copy->appendChild(child->cloneNode(true));
                continue;
            }
            const auto childElement = std::static_pointer_cast<dom::Element>(child);
            if ((mask & kRemoveScripts) && getTagName(childElement) == L"script")
                continue;
            if ((mask & kRemoveStyles) && getTagName(childElement) == L"style")
                continue;
            copy->appendChild(cloneForReadable(childElement, mask));
        }
    } else if (tag == L"table") {
        ElementPtr holder = element->ownerDocument()->createElement(L"div");
        holder->setInnerHTML(element->outerHTML());
        const auto children = holder->children();
        copy = children.empty() ? element->cloneElement(true) : children.front();
        copy->removeNode(true);
    } else {
        copy = element->cloneElement(false);
        copy->setInnerHTML(element->innerHTML());
    }
    if (mask != 0)
        removeElementsByMask(copy, mask);
    return copy;
}

std::wstring buildCleanMarkup(const std::wstring& markup, const std::wstring& baseUrl, int urlMask,
                              int elementMask, int attributeMask, int outputKind) {
    const auto document = dom::Document::parse(std::wstring_view(markup), baseUrl);
    return cleanDocumentMarkup(*document, baseUrl, urlMask, elementMask, attributeMask, outputKind);
}

std::wstring cleanDocumentMarkup(dom::Document& document, const std::wstring& baseUrl, int urlMask,
                                 int elementMask, int attributeMask, int outputKind) {
    const auto all = allElements(document);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->className() == kClipClass)
            (*it)->removeNode(true);
    const ElementPtr root = document.documentElement();
    if (urlMask != 0)
        resolveUrls(document, baseUrl, urlMask);
    if (elementMask != 0)
        removeElementsByMask(root, elementMask);
    if (attributeMask != 0)
        cleanAttributes(root, attributeMask);
    if (outputKind != kMarkupClipItems)
        return root->outerHTML();
    std::wstring result = L"<DIV>";
    bool first = true;
    for (const auto& element : root->all()) {
        if (lowerText(element->getAttribute(L"_clip_item").value_or(L"")) != L"1")
            continue;
        if (!first)
            result += L"<HR></HR>\r\n";
        result += standaloneOuterHtml(element);
        first = false;
    }
    return result + L"</DIV>";
}

}  // namespace addon
