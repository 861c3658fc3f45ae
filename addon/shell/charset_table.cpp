#include "addon/shell/charset_table.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "common/regex/pattern.h"
#include "platform/text/code_page.h"
#include "platform/text/utf.h"

namespace addon {

namespace {

constexpr std::array<CharsetCodePage, 44> kCharsetCodePages{{
    {L"DIN_66003", 20106},   {L"NS_4551-1", 20108},      {L"SEN_850200_B", 20107},
    {L"_autodetect", 50932}, {L"_autodetect_kr", 50949}, {L"big5", 950},
    {L"csISO2022JP", 50221}, {L"euc-kr", 51949},         {L"gb2312", 936},
    {L"hz-gb-2312", 52936},  {L"ibm852", 852},           {L"ibm866", 866},
    {L"irv", 20105},         {L"iso-2022-jp", 50220},    {L"iso-2022-jp", 50222},
    {L"iso-2022-kr", 50225}, {L"iso-8859-1", 1252},      {L"iso-8859-1", 28591},
    {L"iso-8859-2", 28592},  {L"iso-8859-3", 28593},     {L"iso-8859-4", 28594},
    {L"iso-8859-5", 28595},  {L"iso-8859-6", 28596},     {L"iso-8859-7", 28597},
    {L"iso-8859-8", 28598},  {L"koi8-r", 20866},         {L"ks_c_5601", 949},
    {L"shift-jis", 932},     {L"unicode", 1200},         {L"unicodeFEFF", 1201},
    {L"utf-7", 65000},       {L"utf-8", 65001},          {L"windows-1250", 1250},
    {L"windows-1251", 1251}, {L"windows-1252", 1252},    {L"windows-1253", 1253},
    {L"windows-1254", 1254}, {L"windows-1255", 1255},    {L"windows-1256", 1256},
    {L"windows-1257", 1257}, {L"windows-1258", 1258},    {L"windows-874", 874},
    {L"x-euc", 51932},       {L"x-user-defined", 50000},
}};

bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(
        a, b, [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

std::wstring lowerCase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

std::span<const CharsetCodePage> charsetCodePageTable() {
    return kCharsetCodePages;
}

unsigned codePageForCharset(std::wstring_view name) {
    for (const CharsetCodePage& row : kCharsetCodePages)
        if (equalIgnoringCase(row.name, name))
            return row.codePage;
    return 0;
}

std::wstring charsetFromHtml(std::string_view bytes) {
    static const common::CPatternA declaration(
        "text/html\\s*;\\s*charset\\b\\s*=\\s*(?<charset>[^\"]*)");
    const common::CMatchInfo found = declaration.match(bytes);
    if (!found.groupMatched(1))
        return {};
    const auto start = static_cast<std::size_t>(found.groupStart(1));
    const auto end = static_cast<std::size_t>(found.groupEnd(1));
    // Each byte widens to one character (a charset name is ASCII).
    std::wstring name;
    for (const char byte : bytes.substr(start, end - start))
        name += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return name;
}

std::wstring decodeHtmlByDeclaration(std::string_view bytes) {
    const unsigned codePage = codePageForCharset(lowerCase(charsetFromHtml(bytes)));
    if (auto text = platform::text::decode(bytes, platform::text::codePageName(codePage)))
        return *std::move(text);
    return *platform::text::decode(bytes, platform::text::codePageName(0));
}

}  // namespace addon
