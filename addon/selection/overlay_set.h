// The marker elements that a selection engine places in its page: absolutely positioned
// DIVs inserted as the body's first children, each with a handle, its last placement and
// visibility. Every overlay carries the class "__classClip" given by the engine, lets the
// pointer through to the page ("pointer-events: none") and has no margin or padding and
// content-box sizing, whatever the page's sheets say.
//
// Contract: one per selection engine, on the page's user-interface thread. Operations on an
// unknown handle do nothing and answer false. The set removes its elements when destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addon/page/dom_helpers.h"
#include "addon/page/rect.h"

namespace addon {

class OverlaySet {
  public:
    explicit OverlaySet(std::shared_ptr<dom::Document> document);
    ~OverlaySet();
    OverlaySet(const OverlaySet&) = delete;
    OverlaySet& operator=(const OverlaySet&) = delete;

    // Creates a visible overlay; -1 when the page has no body.
    std::int32_t createOverlay(const std::wstring& id, const std::wstring& className,
                               const std::wstring& styleText, const std::wstring& innerText);
    // Moves the overlay so that its border lies outside the rectangle; a negative width or
    // height spans to the left or upwards. False when unknown or already placed so.
    bool placeOverlay(std::int32_t id, const Rect& rect);
    // False when unknown or already so.
    bool setOverlayVisible(std::int32_t id, bool visible);
    void removeOverlay(std::int32_t id);
    void removeAll();

    ElementPtr element(std::int32_t id) const;
    std::size_t size() const { return records_.size(); }

  private:
    struct Record {
        std::int32_t id = 0;
        OptionalRect rect;
        bool visible = true;
        ElementPtr element;
    };
    Record* find(std::int32_t id);

    std::shared_ptr<dom::Document> document_;
    std::vector<Record> records_;
    std::int32_t nextId_ = 1;
};

}  // namespace addon
