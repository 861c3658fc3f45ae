#include "tarn/engine/request_parameters.h"

#include "common/util/parse_pairs.h"

namespace tarn {

Parameters requestParameters(const std::wstring& url) {
    const auto mark = url.find(L'?');
    const std::wstring path = url.substr(0, mark);
    const std::wstring query = mark == std::wstring::npos ? L"" : url.substr(mark + 1);
    const auto slash = path.rfind(L'/');
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(0, slash);
    const std::wstring value = slash == std::wstring::npos ? L"" : path.substr(slash + 1);

    Parameters parameters = common::parsePairs(query, L'&', L'=');
    parameters.push_back({L"request_name", name});
    parameters.push_back({L"request_value", value});
    parameters.push_back({L"request_params", query});
    parameters.push_back({L"request_value2", query.empty() ? value : value + L"?" + query});
    return parameters;
}

}  // namespace tarn
