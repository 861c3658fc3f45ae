// Hands the controller the factory of its embedded toolbox's web view: a Toolbox of the
// request's theme inside the band, showing the request's page (an empty view when the page
// cannot be fetched). Called once at start-up, on the user-interface thread, before any
// toolbox is shown.
#pragma once

namespace addon {

void registerToolboxView();

}  // namespace addon
