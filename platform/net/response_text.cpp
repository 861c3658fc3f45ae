#include "platform/net/response_text.h"

#include <algorithm>
#include <cctype>

#include "platform/text/code_page.h"
#include "platform/text/utf.h"

namespace platform::net {
namespace {

std::string lowerCase(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// The charset that a byte-order mark names, with the mark's length.
std::string_view charsetFromBom(std::string_view body, size_t& markLength) {
    if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        markLength = 3;
        return "UTF-8";
    }
    if (body.substr(0, 2) == "\xFF\xFE") {
        markLength = 2;
        return "UTF-16LE";
    }
    if (body.substr(0, 2) == "\xFE\xFF") {
        markLength = 2;
        return "UTF-16BE";
    }
    markLength = 0;
    return {};
}

}  // namespace

std::string mediaType(std::string_view contentType) {
    return lowerCase(trim(contentType.substr(0, contentType.find(';'))));
}

std::string charsetOf(std::string_view contentType) {
    size_t start = contentType.find(';');
    while (start != std::string_view::npos) {
        const size_t end = contentType.find(';', start + 1);
        const std::string_view parameter = trim(contentType.substr(start + 1, end - start - 1));
        const size_t equals = parameter.find('=');
        if (equals != std::string_view::npos &&
            lowerCase(trim(parameter.substr(0, equals))) == "charset") {
            std::string_view value = trim(parameter.substr(equals + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            return std::string(value);
        }
        start = end;
    }
    return {};
}

bool isXmlMediaType(std::string_view contentType) {
    const std::string type = mediaType(contentType);
    return type == "text/xml" || type == "application/xml" ||
           (type.size() > 4 && type.compare(type.size() - 4, 4, "+xml") == 0);
}

std::wstring decodeResponseText(std::string_view body, std::string_view contentType) {
    std::wstring text;
    bool decoded = false;
    if (const std::string charset = charsetOf(contentType); !charset.empty()) {
        if (auto named = text::decode(body, charset)) {
            text = std::move(*named);
            decoded = true;
        }
    }
    if (!decoded) {
        size_t markLength = 0;
        const std::string_view bomCharset = charsetFromBom(body, markLength);
        if (!bomCharset.empty()) {
            text = text::decode(body.substr(markLength), bomCharset).value_or(std::wstring());
        } else {
            text = text::fromUtf8(body);
        }
    }
    if (!text.empty() && text.front() == L'\uFEFF')
        text.erase(0, 1);
    return text;
}

}  // namespace platform::net
