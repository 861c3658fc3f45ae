#include "common/xml/http_text_checks.h"
#include "common/xml/xml_http_request.h"
#include "tarn/engine/placeholders.h"
#include "tarn/engine/tarn_request.h"

namespace tarn {

int TarnRequest::runHttp(const std::wstring& url, const Parameters& parameters,
                         const TarnVariables& variables, const common::CXMLDOMDocument2& result) {
    const auto substituted = [&](const std::wstring& text) {
        return substitutePlaceholders(text, &variables, parameters, PlaceholderSyntax::Text);
    };
    const std::wstring shown = common::redactUrlCredentials(url);
    try {
        const auto http = common::CXMLHTTPRequest::Create();
        http.Open(method_, url, false, substituted(user_), substituted(password_));
        for (const TarnVariable& bind : binds_) {
            http.SetRequestHeader(bind.name(), bind.currentValue());
        }
        http.Send();
        if (http.GetStatus() != 200) {
            return fail(-1,
                        L"Request failed: " + describe(shown) + L"status=" + http.GetStatusText());
        }
        const common::CXMLDOMDocument2 response = http.GetResponseXML();
        if (response.IsEmpty()) {
            return fail(-1, L"GetResponseXML failed: " + describe(shown));
        }
        const common::CXMLDOMElement root = response.GetDocumentElement();
        if (!root.IsEmpty()) {
            result.AppendChild(root);
        } else {
            result.LoadXML(http.GetResponseText());
        }
    } catch (const common::CComException&) {
        return fail(-1, L"XmlHttpRequest Error: " + describe(shown));
    }
    return 0;
}

}  // namespace tarn
