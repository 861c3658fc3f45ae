#include "plugin/module/web_page.h"

#include <utility>

#include "plugin/module/script_interfaces.h"

namespace plugin {

using platform::com::ComPtr;
using platform::com::HRESULT;
using platform::com::Variant;

std::wstring errorMessageText(HRESULT code) {
    switch (code) {
        case DISP_E_UNKNOWNNAME:
            return L"Unknown name.";
        case DISP_E_EXCEPTION:
            return L"Exception occurred.";
        case platform::com::DISP_E_MEMBERNOTFOUND:
            return L"Member not found.";
        case platform::com::DISP_E_TYPEMISMATCH:
            return L"Type mismatch.";
        case platform::com::E_FAIL:
            return L"Unspecified error";
        case platform::com::E_NOINTERFACE:
            return L"No such interface supported";
        case platform::com::E_POINTER:
            return L"Invalid pointer";
        case platform::com::E_INVALIDARG:
            return L"The parameter is incorrect.";
        case platform::com::E_OUTOFMEMORY:
            return L"Not enough memory resources are available to complete this operation.";
        default:
            return L"FormatMessage Netive Error";
    }
}

bool CWebPage::SetDocument(ComPtr<platform::com::IUnknown> document) {
    document_ = std::move(document);
    return true;
}

void CWebPage::setError(const std::wstring& message) {
    lastError_ = L"JSCall Error:\n" + message;
}

bool CWebPage::CallScript(const std::wstring& name, Variant* result) {
    return CallScript(name, {}, result);
}

bool CWebPage::CallScript(const std::wstring& name, const std::vector<std::wstring>& arguments,
                          Variant* result) {
    if (!document_) {
        setError(L"NULL pointer");
        return false;
    }
    ComPtr<IScriptObject> script;
    const auto document = document_.as<IScriptDocument>();
    if (!document || platform::com::FAILED(document->get_Script(&script)) || !script) {
        setError(L"Cannot GetScript");
        return false;
    }
    DISPID id = 0;
    if (const HRESULT found = script->GetIDsOfNames(name, &id); platform::com::FAILED(found)) {
        setError(errorMessageText(found));
        return false;
    }
    std::vector<Variant> reversed;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        reversed.push_back(Variant::fromString(*argument));
    Variant answer;
    if (const HRESULT called = script->Invoke(id, reversed, &answer);
        platform::com::FAILED(called)) {
        setError(errorMessageText(called));
        return false;
    }
    if (result)
        *result = std::move(answer);
    return true;
}

}  // namespace plugin
