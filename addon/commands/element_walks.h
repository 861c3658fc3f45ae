// The walks by which the style commands reach their elements, each element getting a
// recorded write (saved_values.h):
//   selected walk:     each selected element; with kWalkDescendants its descendants
//                      first (from the last with kWalkReverse), then the element;
//   document walk:     every element of the page in document order (reverse with
//                      kWalkReverse), the engine's own overlay elements left out;
//   tag walk:          the page's elements of one tag (lower case);
//   selection-or-document walk: the document walk when nothing is selected, else the
//                      selected walk.
// Flags: kValueAttribute writes an attribute instead of a style property.
//
// Contract: the page's user-interface thread only; a context without a document walks
// nothing.
#pragma once

#include <string>
#include <vector>

#include "addon/commands/command.h"
#include "addon/page/dom_helpers.h"

namespace addon {

inline constexpr int kWalkReverse = 0x10;
inline constexpr int kWalkDescendants = 0x20;

void selectedWalk(ICommandContext& context, const std::wstring& name, const std::wstring& value,
                  int flags);
void documentWalk(ICommandContext& context, const std::wstring& name, const std::wstring& value,
                  int flags);
// The elements a document walk reaches, in document order.
std::vector<ElementPtr> walkedElements(const ICommandContext& context);
void tagWalk(ICommandContext& context, const std::wstring& tag, const std::wstring& name,
             const std::wstring& value, int flags);
void selectionOrDocumentWalk(ICommandContext& context, const std::wstring& name,
                             const std::wstring& value, int flags);

}  // namespace addon
