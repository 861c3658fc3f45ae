// The selection engine of one page: turns the page's mouse and key events into selection
// operators through the binding table, keeps the tracked candidate and the selected blocks
// with their overlays, draws rectangles, offers the "Highlight" menu on a selected block and
// hands command strings it does not serve to its window (SelectionHost::dispatchCommand).
//
// Modes: 0 default, 1 track, 2 text, 3 rect. Operator results: 1 not handled (the event
// goes on to the page), 2 handled (the event is cancelled: cancelBubble true, returnValue
// 0), 3 handled and passed on.
//
// Contract: the page's user-interface thread only. The engine shares the document and
// holds its host by reference; the host outlives it. Destruction removes every overlay.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/selection/body_cursor.h"
#include "addon/selection/overlay_set.h"
#include "addon/selection/selection_host.h"
#include "addon/selection/selection_item.h"
#include "platform/com/hresult.h"
#include "platform/dom/events/event.h"
#include "platform/dom/window.h"

namespace addon {

class ClipSelection {
  public:
    static constexpr std::int32_t kModeDefault = 0;
    static constexpr std::int32_t kModeTrack = 1;
    static constexpr std::int32_t kModeText = 2;
    static constexpr std::int32_t kModeRect = 3;

    ClipSelection(std::shared_ptr<dom::Document> document, SelectionHost& host);
    virtual ~ClipSelection();
    ClipSelection(const ClipSelection&) = delete;
    ClipSelection& operator=(const ClipSelection&) = delete;

    // Every mouse, key and context-menu event of the page: S_OK when handled (cancelled or
    // not as the operator says), DISP_E_MEMBERNOTFOUND for the page's default handling.
    platform::com::HRESULT handleDocumentEvent(dom::Event& event);
    // "resize", "beforeprint" and "afterprint" of the page's window; never handled.
    platform::com::HRESULT handleWindowEvent(dom::Event& event);
    // "command-select-text..." and "command-cancel" are served here; every other string
    // (and these when they do nothing) goes to the host unless `noForward`.
    int runCommand(const std::wstring& command, bool noForward);

    std::int32_t getMode() const { return mode_; }
    // Stores the mode (clearing the tracking for mode 0); returns the former one.
    std::int32_t setMode(std::int32_t mode);
    void reset(bool clearMode);
    void clearTracking();
    void clearSelection();
    int cancelRectangle();
    int selectMore();
    int selectLess();
    // Selects the item that `findArticle` makes of the body (no elements: nothing found),
    // unless an element is selected already; scrolls to it and plays the frame animation.
    int selectAuto(const std::function<SelectionItem(const ElementPtr& body)>& findArticle);
    // Adds the item (replacing the selection when asked); returns the new count.
    std::size_t addToSelection(SelectionItem item, bool replace);
    std::size_t removeSelectedItem(const SelectionItem& item);
    void showTrackerOverlays(bool visible);
    void showBlockOverlays(bool visible);

    const std::vector<SelectionItem>& selected() const { return selected_; }
    const std::vector<SelectionItem>& tracked() const { return tracked_; }
    const std::wstring& trackedOperator() const { return trackedOperator_; }
    bool isDrawingRectangle() const { return startX_ != -1; }

    // The outer markup of every selected element, in selection or document order.
    std::vector<std::wstring> getSelectedHtmlBlocks(bool inDocumentOrder) const;
    std::wstring getPageUrl() const;
    std::wstring getPageTitle() const;
    // The page's markup cleaned by the masks; the engine's overlays are never in it.
    std::wstring getPageMarkup(const std::wstring& baseUrl, int urlMask, int elementMask,
                               int attributeMask) const;
    std::wstring getPageText() const;
    std::wstring getSelectedText() const;
    std::wstring getSelectedMarkup() const;

    // The binding table's action for the event in the current mode.
    std::wstring queryBoundAction(const dom::Event& event) const;
    bool isEventBoundTo(const dom::Event& event, const std::wstring& action, bool ignoreType) const;
    // What the event's source is (0 none, 1 body, 2 html, 3 page element, 4 element tracker,
    // 5 element overlay, 6 inside the page's text selection, 7 text tracker, 8 text
    // overlay, 10 rubber band, 11 block overlay). The overlays let the pointer through:
    // a point over a painted selected block counts as its overlay (8 or 11).
    int classifyEventTarget(const dom::Event& event) const;
    // The last selected item under the event's point, or -1.
    int hitSelectedItem(const dom::Event& event) const;

  private:
    int dispatchOperator(const std::wstring& action, dom::Event& event);
    int showHighlightMenu(const dom::Event& event);
    int trackElementOperator(const dom::Event& event);
    int selectElementOperator(const dom::Event& event);
    int beginRectOperator(const dom::Event& event);
    int trackRectOperator(const dom::Event& event);
    int selectRectOperator(const dom::Event& event);
    int trackTextOperator(const dom::Event& event);
    int selectTextOperator(const dom::Event& event);
    int selectTextSelection();
    void selectTracked(bool replace);
    void setTrackedItem(SelectionItem item, const std::wstring& operatorName);
    void requestMode(std::int32_t mode);
    void paint(SelectionItem& item, const std::wstring& id, const std::wstring& style);
    void unpaint(SelectionItem& item);
    void removeRubberBand();
    void setCursor(const std::wstring& cursor);
    // The page has a non-empty text selection.
    bool hasTextSelection() const;
    Rect documentPoint(const dom::Event& event) const;

    OverlaySet overlays_;
    std::shared_ptr<dom::Document> document_;
    BodyCursor cursor_;
    SelectionHost& host_;
    std::int32_t mode_ = kModeDefault;
    std::int32_t startX_ = -1;
    std::int32_t startY_ = -1;
    std::int32_t width_ = -1;
    std::int32_t height_ = -1;
    std::int32_t rectangleOverlayId_ = -1;
    std::wstring trackedOperator_;
    bool suppressContextMenu_ = false;
    std::uint64_t lastSelectTick_ = 0;
    std::vector<SelectionItem> tracked_;
    std::vector<SelectionItem> selected_;
};

}  // namespace addon
