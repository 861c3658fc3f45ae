#include "plugin/repository/repository_text.h"

#include "plugin/util/strings.h"
#include "plugin/util/time_text.h"

namespace plugin {

std::wstring newEntryGuid() { return newGuidText(); }

std::wstring nowUtcText() { return nowText(false); }

std::wstring siteOfUrl(std::wstring_view url) { return urlHost(url); }

int pathMatchScore(std::wstring_view a, std::wstring_view b) { return urlPathCommonLength(a, b); }

}  // namespace plugin
