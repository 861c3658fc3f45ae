// Reading the layout engine's element tree without copies: an element's children as the
// engine holds them (get_child hands out a new shared pointer, with its atomic counts, for
// each child asked for), whether an element is one of the engine's words or spaces, and a
// walk over the elements that are not, or a list of them.
//
// Contract: the references stay valid while the tree is not changed. Page thread only.
#pragma once

#include <cstring>

#include <litehtml.h>
// The element headers need litehtml.h's declarations first.
#include <el_space.h>
#include <el_text.h>

#include <typeinfo>
#include <vector>

namespace platform::dom {

namespace engine_tree_detail {
// Names the engine's protected member through a class derived from it, which the
// language allows for a pointer to member.
struct ChildrenOf : litehtml::element {
    static constexpr litehtml::elements_vector litehtml::element::*kMember =
        &ChildrenOf::m_children;
};
}  // namespace engine_tree_detail

inline const litehtml::elements_vector& childrenOf(const litehtml::element& element) {
    return element.*engine_tree_detail::ChildrenOf::kMember;
}

// A word or a space of the page's text (the engine's el_text and el_space).
inline bool isEngineWord(const litehtml::element& element) {
    const std::type_info& type = typeid(element);
    return type == typeid(litehtml::el_text) || type == typeid(litehtml::el_space);
}

// A ::before or ::after element that a rule made without content: a browser makes no box
// of it, where the engine keeps an empty inline element.
inline bool isEmptyGenerated(const litehtml::element& element) {
    const char* tag = element.get_tagName();
    return tag && tag[0] == ':' && tag[1] == ':' && childrenOf(element).empty();
}

// Whether `element`'s lines run right to left: as the attribute `directionMarker` on it says
// ("rtl" or "ltr"), else as its parent's do (`inherited`).
inline bool runsRightToLeft(const litehtml::element& element, const char* directionMarker,
                            bool inherited) {
    const char* direction = element.get_attr(directionMarker);
    return direction ? std::strcmp(direction, "rtl") == 0 : inherited;
}

// Visits `root` and every element below it that is not a word or a space, in document
// order (parents before their children). An element's children are taken before it is
// visited, so `visit` may restyle it.
template <class Visit>
void forEachEngineElement(litehtml::element& root, Visit&& visit) {
    if (isEngineWord(root))
        return;
    std::vector<litehtml::element*> pending{&root};
    while (!pending.empty()) {
        litehtml::element& element = *pending.back();
        pending.pop_back();
        const auto& children = childrenOf(element);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            if (!isEngineWord(**child))
                pending.push_back(child->get());
        visit(element);
    }
}

// The elements of a page that are not words or spaces, in document order (parents before
// their children), each with what its children are: made by one walk, and shared by the
// corrections made before the page is rendered, which restyle elements but make and remove
// none (their restyles change margins, sizes and display "none" only, never making a box a
// block), so that each correction need not walk the page's words again.
struct EngineElements {
    std::vector<litehtml::element*> elements;
    // Per element: whether one of its children is neither a word nor a space; whether one
    // of them is a block, a list item or a table.
    std::vector<bool> holdsElements;
    std::vector<bool> holdsBlocks;
};

inline EngineElements listEngineElements(litehtml::element& root) {
    EngineElements list;
    if (isEngineWord(root))
        return list;
    std::vector<litehtml::element*> pending{&root};
    while (!pending.empty()) {
        litehtml::element& element = *pending.back();
        pending.pop_back();
        bool elements = false;
        bool blocks = false;
        const auto& children = childrenOf(element);
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (isEngineWord(**child))
                continue;
            pending.push_back(child->get());
            elements = true;
            const auto display = (*child)->get_display();
            blocks = blocks || display == litehtml::display_block ||
                     display == litehtml::display_list_item || display == litehtml::display_table;
        }
        list.elements.push_back(&element);
        list.holdsElements.push_back(elements);
        list.holdsBlocks.push_back(blocks);
    }
    return list;
}

}  // namespace platform::dom
