#include "addon/controller/page_clean.h"

#include <array>
#include <cwctype>
#include <utility>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/text_case.h"
#include "addon/controller/url_join.h"

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

// Every node below `root` (elements, text and comments) in document order.
void collectNodes(const NodePtr& root, std::vector<NodePtr>& into) {
    for (const auto& child : root->children()) {
        into.push_back(child);
        collectNodes(child, into);
    }
}

std::vector<NodePtr> nodesNamed(const NodePtr& root, const std::wstring& name) {
    std::vector<NodePtr> all;
    collectNodes(root, all);
    std::vector<NodePtr> result;
    for (const auto& node : all)
        if (node->nodeName() == name)
            result.push_back(node);
    return result;
}

// The head, what it holds, "link" and "style" carry no rendered content of their own: the
// hidden-element pass keeps them, or a saved page would lose its title and style sheets.
bool keptByHiddenPass(const NodePtr& element) {
    for (NodePtr node = element; node; node = node->parent())
        if (node->tag() == L"head")
            return true;
    return element->tag() == L"link" || element->tag() == L"style";
}

void cleanElementAttributes(const NodePtr& element, int mask) {
    if (mask & kCleanScriptUses) {
        std::vector<std::wstring> events;
        for (const auto& [name, value] : element->attributes())
            if (lowerText(name).starts_with(L"on"))
                events.push_back(name);
        for (const auto& name : events)
            element->removeAttribute(name);
    }
    if (mask & kCleanClasses) {
        if (auto className = element->attribute(L"class")) {
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
int resolveSheet(const NodePtr& style, const std::wstring& baseUrl) {
    int rewritten = 0;
    for (const auto& child : style->children()) {
        if (child->kind() != page::Node::Kind::text)
            continue;
        std::wstring text = child->data();
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
        child->setData(text);
    }
    return rewritten;
}

}  // namespace

bool isScriptUrl(const std::wstring& url) {
    const std::wstring scheme = lowerText(trimSpace(url));
    return scheme.starts_with(L"javascript:") || scheme.starts_with(L"vbscript:");
}

void removeElementsByMask(const NodePtr& root, int mask) {
    if (!root)
        return;
    for (const auto& [name, bit] : kRemovalTable) {
        if (!(mask & bit))
            continue;
        const auto found = nodesNamed(root, name);
        for (auto it = found.rbegin(); it != found.rend(); ++it) {
            if (bit == kUnwrapForms)
                (*it)->unwrap();
            else
                (*it)->remove();
        }
    }
}

void cleanAttributes(const NodePtr& root, int mask) {
    if (!root)
        return;
    if (mask & kCleanHidden) {
        const auto all = root->descendantElements();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            const NodePtr& element = *it;
            if (!keptByHiddenPass(element) && isHiddenElement(element, true))
                element->remove();
            else
                cleanElementAttributes(element, mask);
        }
    }
    if (mask & kCleanScriptUses) {
        for (const auto& element : root->descendantElements()) {
            const std::wstring tag = element->tag();
            if (tag != L"a" && tag != L"img")
                continue;
            if (isScriptUrl(element->attribute(urlAttributeOf(tag)).value_or(L"")))
                element->remove();
        }
    }
    if (mask & kCleanLinks) {
        const auto links = nodesNamed(root, L"link");
        for (auto it = links.rbegin(); it != links.rend(); ++it) {
            const bool styleSheet =
                lowerText((*it)->attribute(L"type").value_or(L"")) == L"text/css" &&
                !(*it)->attribute(L"disabled");
            if (!styleSheet)
                (*it)->remove();
        }
    }
}

int resolveUrls(const page::Document& document, const std::wstring& baseUrl, int mask) {
    int rewritten = 0;
    const std::array<std::pair<int, const wchar_t*>, 3> kinds = {
        {{kResolveImages, L"img"}, {kResolveAnchors, L"a"}, {kResolveLinks, L"link"}}};
    for (const auto& [bit, tag] : kinds) {
        if (!(mask & bit))
            continue;
        for (const auto& element : document.elementsByTag(tag)) {
            const std::wstring attribute = urlAttributeOf(tag);
            const auto url = element->attribute(attribute);
            if (!url)
                continue;
            if (auto joined = resolved(*url, baseUrl)) {
                element->setAttribute(attribute, *joined);
                ++rewritten;
            }
        }
    }
    if (mask & kResolveStyleSheets)
        for (const auto& style : document.elementsByTag(L"style"))
            rewritten += resolveSheet(style, baseUrl);
    return rewritten;
}

void copyComputedStyle(const NodePtr& source, const NodePtr& target) {
    if (!source || !target)
        return;
    for (const wchar_t* name : kCopiedStyles) {
        const auto value = source->currentStyle(name);
        if (value && value != target->currentStyle(name))
            target->setInlineStyle(name, *value);
    }
}

NodePtr cloneForReadable(const NodePtr& element, int mask) {
    if (!element)
        return nullptr;
    if (!element->isElement())
        return element->cloneDeep();
    NodePtr copy;
    const std::wstring tag = element->tag();
    if (tag == L"head") {
        copy = element->cloneShallow();
        for (const auto& child : element->children()) {
            if ((mask & kRemoveScripts) && child->tag() == L"script")
                continue;
            if ((mask & kRemoveStyles) && child->tag() == L"style")
                continue;
            copy->appendChild(cloneForReadable(child, mask));
        }
    } else if (tag == L"table") {
        NodePtr holder = page::Node::element(L"div");
        holder->setInnerHtml(element->outerHtml());
        const auto children = holder->childElements();
        copy = children.empty() ? element->cloneDeep() : children.front();
        copy->remove();
    } else {
        copy = element->cloneShallow();
        copy->setInnerHtml(element->innerHtml());
    }
    if (mask != 0)
        removeElementsByMask(copy, mask);
    return copy;
}

std::wstring buildCleanMarkup(const std::wstring& markup, const std::wstring& baseUrl, int urlMask,
                              int elementMask, int attributeMask, int outputKind) {
    const page::Document document(markup, baseUrl);
    const auto all = document.root()->descendantElements();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->className() == kClipClass)
            (*it)->remove();
    if (urlMask != 0)
        resolveUrls(document, baseUrl, urlMask);
    if (elementMask != 0)
        removeElementsByMask(document.root(), elementMask);
    if (attributeMask != 0)
        cleanAttributes(document.root(), attributeMask);
    if (outputKind != kMarkupClipItems)
        return document.root()->outerHtml();
    std::wstring result = L"<DIV>";
    bool first = true;
    for (const auto& element : document.root()->descendantElements()) {
        if (lowerText(element->attribute(L"_clip_item").value_or(L"")) != L"1")
            continue;
        if (!first)
            result += L"<HR></HR>\r\n";
        result += element->outerHtml();
        first = false;
    }
    return result + L"</DIV>";
}

}  // namespace addon
