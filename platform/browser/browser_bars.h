// The explorer bars a browser can show beside its page, by class identifier: the add-on
// that serves a bar registers a factory for its class, and WebBrowser::showBrowserBar
// creates the bar from it, sites it in the frame's bar window and shows or closes it.
//
// Contract: the factory table is process-wide and not locked: register on the
// user-interface thread before browsers show bars. A factory registered again replaces the
// former one; an empty one removes it. A factory returns the bar object (IObjectWithSite
// and IDeskBand), or null when it cannot make one.
#pragma once

#include <functional>

#include "platform/com/guid.h"
#include "platform/com/unknown.h"

namespace platform::browser {

using BarFactory = std::function<com::ComPtr<com::IUnknown>()>;

void registerBrowserBar(const com::GUID& classId, BarFactory factory);
// The factory registered for the class; empty when none.
BarFactory browserBarFactory(const com::GUID& classId);

}  // namespace platform::browser
