// Joining a URL found in page markup with the page's base URL. A pure text function.
#pragma once

#include <string>

namespace addon {

// White space around `url` is ignored, as a browser does. `url` with a scheme (also "javascript:")
// is returned as it is; a network-path URL ("//host") takes the base's scheme, a root-relative one
// ("/path") the base's scheme and host; a query or fragment alone replaces the base's; any other
// relative URL is resolved against the base's folder, with "." and ".." segments removed. An empty
// base leaves `url` as it is.
std::wstring joinUrl(const std::wstring& base, const std::wstring& url);

}  // namespace addon
