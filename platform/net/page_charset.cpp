#include "platform/net/page_charset.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/net/response_text.h"
#include "platform/text/code_page.h"
#include "platform/text/html_space.h"
#include "platform/text/utf.h"

namespace platform::net {
namespace {

struct Label {
    std::string_view label;
    std::string_view encoding;
};

// The labels pages use, as browsers map them; several Latin and Cyrillic names fold into
// the Windows code pages that are their supersets.
constexpr std::array kLabels{
    Label{"utf-8", "UTF-8"},
    Label{"utf8", "UTF-8"},
    Label{"unicode-1-1-utf-8", "UTF-8"},
    Label{"windows-1252", "CP1252"},
    Label{"cp1252", "CP1252"},
    Label{"x-cp1252", "CP1252"},
    Label{"iso-8859-1", "CP1252"},
    Label{"iso8859-1", "CP1252"},
    Label{"iso_8859-1", "CP1252"},
    Label{"iso88591", "CP1252"},
    Label{"latin1", "CP1252"},
    Label{"l1", "CP1252"},
    Label{"cp819", "CP1252"},
    Label{"ibm819", "CP1252"},
    Label{"ascii", "CP1252"},
    Label{"us-ascii", "CP1252"},
    Label{"iso-8859-2", "ISO-8859-2"},
    Label{"latin2", "ISO-8859-2"},
    Label{"iso-8859-3", "ISO-8859-3"},
    Label{"iso-8859-4", "ISO-8859-4"},
    Label{"iso-8859-5", "ISO-8859-5"},
    Label{"cyrillic", "ISO-8859-5"},
    Label{"iso-8859-6", "ISO-8859-6"},
    Label{"arabic", "ISO-8859-6"},
    Label{"iso-8859-7", "ISO-8859-7"},
    Label{"greek", "ISO-8859-7"},
    Label{"iso-8859-8", "ISO-8859-8"},
    Label{"iso-8859-8-i", "ISO-8859-8"},
    Label{"hebrew", "ISO-8859-8"},
    Label{"iso-8859-9", "CP1254"},
    Label{"latin5", "CP1254"},
    Label{"iso-8859-10", "ISO-8859-10"},
    Label{"iso-8859-11", "CP874"},
    Label{"tis-620", "CP874"},
    Label{"windows-874", "CP874"},
    Label{"iso-8859-13", "ISO-8859-13"},
    Label{"iso-8859-14", "ISO-8859-14"},
    Label{"iso-8859-15", "ISO-8859-15"},
    Label{"latin9", "ISO-8859-15"},
    Label{"iso-8859-16", "ISO-8859-16"},
    Label{"windows-1250", "CP1250"},
    Label{"cp1250", "CP1250"},
    Label{"windows-1251", "CP1251"},
    Label{"cp1251", "CP1251"},
    Label{"windows-1253", "CP1253"},
    Label{"windows-1254", "CP1254"},
    Label{"windows-1255", "CP1255"},
    Label{"windows-1256", "CP1256"},
    Label{"windows-1257", "CP1257"},
    Label{"windows-1258", "CP1258"},
    Label{"koi8-r", "KOI8-R"},
    Label{"koi8", "KOI8-R"},
    Label{"koi", "KOI8-R"},
    Label{"koi8-u", "KOI8-U"},
    Label{"ibm866", "CP866"},
    Label{"cp866", "CP866"},
    Label{"macintosh", "MACINTOSH"},
    Label{"mac", "MACINTOSH"},
    Label{"x-mac-roman", "MACINTOSH"},
    // Browsers read GBK with the GB18030 decoder, its superset: byte pairs GBK leaves
    // undefined (user-defined areas) and four-byte sequences are characters, not errors.
    Label{"gbk", "GB18030"},
    Label{"gb2312", "GB18030"},
    Label{"x-gbk", "GB18030"},
    Label{"chinese", "GB18030"},
    Label{"gb18030", "GB18030"},
    Label{"big5", "BIG5-HKSCS"},
    Label{"big5-hkscs", "BIG5-HKSCS"},
    Label{"x-x-big5", "BIG5-HKSCS"},
    Label{"euc-jp", "EUC-JP"},
    Label{"iso-2022-jp", "ISO-2022-JP"},
    Label{"shift_jis", "CP932"},
    Label{"shift-jis", "CP932"},
    Label{"sjis", "CP932"},
    Label{"windows-31j", "CP932"},
    Label{"x-sjis", "CP932"},
    Label{"euc-kr", "CP949"},
    Label{"ks_c_5601-1987", "CP949"},
    Label{"windows-949", "CP949"},
    Label{"utf-16", "UTF-16LE"},
    Label{"utf-16le", "UTF-16LE"},
    Label{"utf-16be", "UTF-16BE"},
};

constexpr std::size_t kMetaScanLimit = 64 * 1024;
constexpr std::size_t kSniffLength = 512;

std::string lowerCase(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && lowerCase(text.substr(0, prefix.size())) == prefix;
}

// The encoding a byte-order mark names, with the mark's length.
std::string_view encodingFromBom(std::string_view bytes, std::size_t& markLength) {
    markLength = 0;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        markLength = 3;
        return "UTF-8";
    }
    if (bytes.starts_with("\xFF\xFE")) {
        markLength = 2;
        return "UTF-16LE";
    }
    if (bytes.starts_with("\xFE\xFF")) {
        markLength = 2;
        return "UTF-16BE";
    }
    return {};
}

// The value after "charset=" in a Content-Type given in a meta's content attribute.
std::string charsetInContent(std::string_view content) {
    const std::string lowered = lowerCase(content);
    std::size_t at = lowered.find("charset");
    while (at != std::string::npos) {
        std::size_t pos = at + 7;
        while (pos < lowered.size() && platform::text::isHtmlSpace(lowered[pos]))
            ++pos;
        if (pos < lowered.size() && lowered[pos] == '=') {
            ++pos;
            while (pos < lowered.size() && platform::text::isHtmlSpace(lowered[pos]))
                ++pos;
            const char quote = pos < lowered.size() ? lowered[pos] : 0;
            if (quote == '"' || quote == '\'') {
                const std::size_t end = lowered.find(quote, pos + 1);
                if (end == std::string::npos)
                    return {};
                return std::string(content.substr(pos + 1, end - pos - 1));
            }
            std::size_t end = pos;
            while (end < lowered.size() && !platform::text::isHtmlSpace(lowered[end]) &&
                   lowered[end] != ';')
                ++end;
            return std::string(content.substr(pos, end - pos));
        }
        at = lowered.find("charset", at + 1);
    }
    return {};
}

struct Attribute {
    std::string name;
    std::string value;
};

// Reads one attribute of a tag at `pos`; false at the tag's end.
bool nextAttribute(std::string_view bytes, std::size_t& pos, Attribute& attribute) {
    while (pos < bytes.size() && (platform::text::isHtmlSpace(bytes[pos]) || bytes[pos] == '/'))
        ++pos;
    if (pos >= bytes.size() || bytes[pos] == '>')
        return false;
    const std::size_t nameStart = pos;
    while (pos < bytes.size() && !platform::text::isHtmlSpace(bytes[pos]) && bytes[pos] != '=' &&
           bytes[pos] != '>' && bytes[pos] != '/')
        ++pos;
    attribute.name = lowerCase(bytes.substr(nameStart, pos - nameStart));
    attribute.value.clear();
    while (pos < bytes.size() && platform::text::isHtmlSpace(bytes[pos]))
        ++pos;
    if (pos >= bytes.size() || bytes[pos] != '=')
        return true;
    ++pos;
    while (pos < bytes.size() && platform::text::isHtmlSpace(bytes[pos]))
        ++pos;
    if (pos < bytes.size() && (bytes[pos] == '"' || bytes[pos] == '\'')) {
        const char quote = bytes[pos++];
        const std::size_t end = bytes.find(quote, pos);
        const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
        attribute.value = bytes.substr(pos, stop - pos);
        pos = stop == bytes.size() ? stop : stop + 1;
        return true;
    }
    const std::size_t valueStart = pos;
    while (pos < bytes.size() && !platform::text::isHtmlSpace(bytes[pos]) && bytes[pos] != '>')
        ++pos;
    attribute.value = bytes.substr(valueStart, pos - valueStart);
    return true;
}

// The charset label one <meta> tag declares, reading from after "<meta".
std::string metaTagCharset(std::string_view bytes, std::size_t& pos) {
    std::string charset;
    std::string content;
    bool contentType = false;
    Attribute attribute;
    while (nextAttribute(bytes, pos, attribute)) {
        if (attribute.name == "charset" && charset.empty())
            charset = attribute.value;
        else if (attribute.name == "content" && content.empty())
            content = attribute.value;
        else if (attribute.name == "http-equiv")
            contentType = lowerCase(attribute.value) == "content-type";
    }
    if (!charset.empty())
        return charset;
    // A content attribute that reads as a Content-Type declares the charset even where the
    // http-equiv was left out, as pages written for older browsers expect.
    const std::string declared = charsetInContent(content);
    return contentType || lowerCase(content).find("text/html") != std::string::npos ? declared
                                                                                    : std::string();
}

// A meta that names UTF-16 is read as UTF-8: bytes that could be scanned as ASCII are not
// UTF-16.
std::string metaEncoding(std::string_view bytes) {
    std::string encoding = encodingForLabel(metaCharsetLabel(bytes));
    if (encoding.starts_with("UTF-16"))
        encoding = "UTF-8";
    return encoding;
}

bool validUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            least = 0x10000;
        } else {
            return false;
        }
        if (pos + length > bytes.size())
            return false;
        char32_t point = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[pos + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3F);
        }
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        pos += length;
    }
    return true;
}

struct Signature {
    std::string_view bytes;
    std::string_view what;
};

constexpr std::array kSignatures{
    Signature{"\xFF\xD8\xFF", "a JPEG picture"},
    Signature{"\x89PNG\r\n\x1A\n", "a PNG picture"},
    Signature{"GIF87a", "a GIF picture"},
    Signature{"GIF89a", "a GIF picture"},
    Signature{"%PDF-", "a PDF document"},
    Signature{"PK\x03\x04", "a ZIP archive"},
    Signature{"\x1F\x8B\x08", "a gzip archive"},
    Signature{"BM", "a BMP picture"},
    Signature{"OggS", "an Ogg media file"},
    Signature{"ID3", "an MP3 sound file"},
    Signature{"\x7F"
              "ELF",
              "a program"},
};

// A byte that no text page holds (the binary data bytes of content sniffing).
bool binaryByte(unsigned char byte) {
    return byte <= 0x08 || byte == 0x0B || (byte >= 0x0E && byte <= 0x1A) ||
           (byte >= 0x1C && byte <= 0x1F);
}

bool pageMediaType(std::string_view type) {
    return type.empty() || type == "text/html" || type == "application/xhtml+xml" ||
           type.starts_with("text/") || type == "application/xml" ||
           type == "application/octet-stream" || type.ends_with("+xml");
}

}  // namespace

std::string encodingForLabel(std::string_view label) {
    std::string_view trimmed = label;
    while (!trimmed.empty() && platform::text::isHtmlSpace(trimmed.front()))
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && platform::text::isHtmlSpace(trimmed.back()))
        trimmed.remove_suffix(1);
    const std::string lowered = lowerCase(trimmed);
    for (const Label& known : kLabels)
        if (known.label == lowered)
            return std::string(known.encoding);
    return {};
}

std::string metaCharsetLabel(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, kMetaScanLimit);
    std::size_t pos = 0;
    while ((pos = head.find('<', pos)) != std::string_view::npos) {
        const std::string_view rest = head.substr(pos);
        if (rest.starts_with("<!--")) {
            const std::size_t end = head.find("-->", pos + 4);
            if (end == std::string_view::npos)
                return {};
            pos = end + 3;
            continue;
        }
        if (startsWithNoCase(rest, "<body"))
            return {};
        if (startsWithNoCase(rest, "<meta") && rest.size() > 5 &&
            (platform::text::isHtmlSpace(rest[5]) || rest[5] == '/')) {
            pos += 5;
            if (std::string label = metaTagCharset(head, pos); !label.empty())
                return label;
            continue;
        }
        ++pos;
    }
    return {};
}

std::optional<std::string> notAPage(std::string_view bytes, std::string_view contentType) {
    const std::string type = mediaType(contentType);
    if (!pageMediaType(type))
        return "an answer of type " + type;
    for (const Signature& signature : kSignatures)
        if (bytes.starts_with(signature.bytes))
            return std::string(signature.what);
    std::size_t markLength = 0;
    if (!encodingFromBom(bytes, markLength).empty())
        return std::nullopt;
    const std::string_view start = bytes.substr(0, kSniffLength);
    if (std::any_of(start.begin(), start.end(),
                    [](char c) { return binaryByte(static_cast<unsigned char>(c)); }))
        return "binary data";
    return std::nullopt;
}

PageText decodePageText(std::string_view bytes, std::string_view contentType) {
    std::size_t markLength = 0;
    std::string encoding(encodingFromBom(bytes, markLength));
    if (encoding.empty())
        encoding = encodingForLabel(charsetOf(contentType));
    if (encoding.empty())
        encoding = metaEncoding(bytes);
    if (encoding.empty())
        encoding = validUtf8(bytes) ? "UTF-8" : "CP1252";
    PageText page;
    page.encoding = encoding;
    page.text = text::decode(bytes.substr(markLength), encoding).value_or(std::wstring());
    if (!page.text.empty() && page.text.front() == L'\uFEFF')
        page.text.erase(0, 1);
    return page;
}

}  // namespace platform::net
