// The toolbar page's event sink: a right click opens the toolbar menu; selecting and
// dragging are stopped; hovering translates the tip of the element under the mouse; a click
// on an element with a "menu" attribute (or inside one) opens that menu below the element
// instead of following the click. Events whose source is an "input" element are left alone.
//
// Contract: the page's thread; the toolbar view outlives the advise (it unadvises first).
// Handled events are cancelled (cancelBubble set, returnValue false).
#pragma once

#include "platform/dom/events/event_sink.h"

namespace addon {

class Toolbox;

class DocEventSink : public platform::dom::EventSink {
  public:
    explicit DocEventSink(Toolbox& toolbox) : toolbox_(toolbox) {}
    platform::com::HRESULT Invoke(platform::dom::Event& event) override;

  private:
    // True when a menu was shown.
    bool showAttributeMenu(const platform::dom::Event& event);
    void translateTip(const platform::dom::Event& event);

    Toolbox& toolbox_;
};

}  // namespace addon
