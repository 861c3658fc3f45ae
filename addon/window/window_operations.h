// The per-window operations that the command dispatcher calls: each takes a window index
// of the window table and acts on every clip context that belongs to that window (the
// contexts whose browser is the entry's browser). Results: 1 nothing done, 2 done, unless
// stated otherwise; a window without a browser gives 1, false or "".
//
// Contract: the browser's user-interface thread only. Each operation holds the selection
// or processor it calls into, so a context cleared by that call is freed afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "addon/window/window_table.h"

namespace addon {

int setClipMode(std::int32_t mode, int windowIndex);
// Track mode when the mode is default, else default; 1 without a selection.
int switchClipMode(int windowIndex);
int modeTrack(int windowIndex);
int modeText(int windowIndex);
int modeRect(int windowIndex);
int modeDefault(int windowIndex);
int setClipModeBySelection(std::int32_t mode, const ClipSelection* selection);
int setClipModeByDocument(std::int32_t mode, const BrowserRef& browser);
// The mode of the browser's window's context; -1 when there is none.
std::int32_t getClipMode(const BrowserRef& browser);
bool isToolboxVisible(const BrowserRef& browser);

void resetSelections(int windowIndex);
int clearSelection(int windowIndex);
int cancelSelection(int windowIndex);
int selectMore(int windowIndex);
int selectLess(int windowIndex);
// Selects the page's main block as the layout finder picks it; 2. A page that cannot be
// laid out is reported (layout_failure.h) and nothing is selected; 1.
int autoSelect(int windowIndex);
bool hasElementSelection(int windowIndex);
bool hasTextSelection(int windowIndex);

bool canUndo(int windowIndex);
bool canRedo(int windowIndex);
// The first context's page was rebuilt by a grab, link grab or isolate command.
bool isPageRebuilt(int windowIndex);
// One step back (or forward) in every context that has one.
int undo(int windowIndex);
int redo(int windowIndex);

// Texts of the first context whose document gives a non-empty one; "" otherwise.
std::wstring getDocumentUrl(int windowIndex);
std::wstring getDocumentTitle(int windowIndex);
// The page shown in the window's browser; null for a free entry or a browser without one.
std::shared_ptr<platform::dom::Document> shownPage(int windowIndex);
// Tells the person why the page the window shows cannot be laid out (layout_failure.h);
// true then, false when it can or the window shows none.
bool reportLayoutFailure(int windowIndex);
std::wstring getDocumentText(int windowIndex);
std::wstring getCleanPageHtml(int windowIndex, int urlMask, int elementMask, int attributeMask);
std::wstring getSelectedText(int windowIndex);
std::wstring getSelectedHtml(int windowIndex);

// Shows the toolbox: makes or shows its band above the tab's content window (nothing more
// when another band holds the frame), attaches the loaded page (documents and window
// events) and, with
// `runInitial` on a page that is not a "tarn:" page, runs the initial operation and mode
// of the settings ("\Operate\InitOperation", "\Operate\InitMode"). 2.
int showToolbox(int windowIndex, bool runInitial);
// Takes the toolbox away: removes its band, resets the selections, detaches the documents
// and removes the window from the table. 2.
int closeToolbox(int windowIndex);

// The screen animation toward a chosen block: after 50 ms, eleven outlines (pen width 3,
// inverting mix) step from `from` to `to`, edge k placed at from + (to - from) * k / 10;
// each is drawn, flushed, held `frameDelayMs` and drawn again, so the screen ends as it was.
// Takes 50 + 11 * frameDelayMs ms of the window system's clock (paused on the calling
// thread; a host nobody watches takes them at once).
void zoomRectangle(const platform::ui::Rect& from, const platform::ui::Rect& to, int frameDelayMs);
int toggleToolbox(int windowIndex);

}  // namespace addon
