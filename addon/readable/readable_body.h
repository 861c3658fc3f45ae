// The steps shared by the commands that rebuild the page as a readable page: an empty
// copy of the body to fill, swapping bodies, dressing the page in a page style and taking
// all of it back.
//
// Contract: the page's user-interface thread only. Every change to the page that outlives
// the body swap is recorded in the context (saved_values.h) or kept by reference
// (`styleElement`), so `undoRebuild` restores the page exactly. A context without a
// document, or a document without a body, changes nothing.
#pragma once

#include <string>

#include "addon/commands/command.h"

namespace addon {

// The body's element without its children; null when the page has no body.
ElementPtr cloneBodyShell(const dom::Document& document);
// Fills the shell with `markup` less its active content (active_content.h), names it
// "readable_body" and stores the current body and the shell in the context. When the
// page's title element lies in the current body, the shell holds a copy of it, so the
// page keeps its title.
void storeReadableBody(ICommandContext& context, const ElementPtr& shell,
                       const std::wstring& markup);
// Puts `body` in the place of the page's current body.
void showBody(dom::Document& document, const ElementPtr& body);
// Disables the page's style sheets, appends a "style" element named `styleName` with the
// context's page-style text to the head and gives the readable body the style's classes.
// Nothing when the text is empty.
void applyPageStyle(ICommandContext& context, const std::wstring& styleName);
// Shows the saved body again, removes the inserted style element, gives back every
// recorded value and, with `scroll`, scrolls to the top.
void undoRebuild(ICommandContext& context, bool scroll);
// The page style named by a per-user setting ("PageStyle\Grab", "PageStyle\GrabLinks"),
// "Novel" when it is not set.
std::wstring configuredPageStyle(const std::wstring& setting);

}  // namespace addon
