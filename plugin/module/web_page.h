// Calls a function of the script of a document shown in a hosted browser, as the
// plug-in does to make its pane page reload ("_reload").
//
// Contract: holds a counted reference to the document; user-interface thread only.
// CallScript never throws: it reports failure by its result and keeps the reason for
// GetLastError ("JSCall Error:\n" followed by the message).
#pragma once

#include <string>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace plugin {

class CWebPage {
  public:
    // Keeps `document` (replacing the previous one); always true.
    bool SetDocument(platform::com::ComPtr<platform::com::IUnknown> document);
    // Calls the script function `name` with string arguments, first argument first;
    // `result` may be null.
    bool CallScript(const std::wstring& name, const std::vector<std::wstring>& arguments,
                    platform::com::Variant* result);
    bool CallScript(const std::wstring& name, platform::com::Variant* result);
    const std::wstring& GetLastError() const { return lastError_; }

  private:
    void setError(const std::wstring& message);

    platform::com::ComPtr<platform::com::IUnknown> document_;
    std::wstring lastError_;
};

// The system's text for a failure code, or "FormatMessage Netive Error" when it has none.
std::wstring errorMessageText(platform::com::HRESULT code);

}  // namespace plugin
