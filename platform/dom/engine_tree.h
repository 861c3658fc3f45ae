// Reading the layout engine's element tree without copies: an element's children as the
// engine holds them (get_child hands out a new shared pointer, with its atomic counts, for
// each child asked for) and whether an element is one of the engine's words or spaces.
//
// Contract: the references stay valid while the tree is not changed. Page thread only.
#pragma once

#include <litehtml.h>
// The element headers need litehtml.h's declarations first.
#include <el_space.h>
#include <el_text.h>

#include <typeinfo>

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

}  // namespace platform::dom
