#include "platform/dom/style/css_properties.h"

#include <array>
#include <cwctype>

#include "platform/dom/tag_names.h"

namespace platform::dom {

namespace {

using P = PropertyId;

constexpr std::array<PropertyInfo, kPropertyCount> kProperties = {{
    {L"display", L"display", false, L"inline"},
    {L"position", L"position", false, L"static"},
    {L"float", L"styleFloat", false, L"none"},
    {L"clear", L"clear", false, L"none"},
    {L"visibility", L"visibility", true, L"visible"},
    {L"overflow", L"overflow", false, L"visible"},
    {L"z-index", L"zIndex", false, L"auto"},
    {L"width", L"width", false, L"auto"},
    {L"height", L"height", false, L"auto"},
    {L"min-width", L"minWidth", false, L"auto"},
    {L"max-width", L"maxWidth", false, L"none"},
    {L"min-height", L"minHeight", false, L"auto"},
    {L"max-height", L"maxHeight", false, L"none"},
    {L"left", L"left", false, L"auto"},
    {L"top", L"top", false, L"auto"},
    {L"right", L"right", false, L"auto"},
    {L"bottom", L"bottom", false, L"auto"},
    {L"margin-top", L"marginTop", false, L"0px"},
    {L"margin-right", L"marginRight", false, L"0px"},
    {L"margin-bottom", L"marginBottom", false, L"0px"},
    {L"margin-left", L"marginLeft", false, L"0px"},
    {L"padding-top", L"paddingTop", false, L"0px"},
    {L"padding-right", L"paddingRight", false, L"0px"},
    {L"padding-bottom", L"paddingBottom", false, L"0px"},
    {L"padding-left", L"paddingLeft", false, L"0px"},
    {L"border-top-width", L"borderTopWidth", false, L"medium"},
    {L"border-right-width", L"borderRightWidth", false, L"medium"},
    {L"border-bottom-width", L"borderBottomWidth", false, L"medium"},
    {L"border-left-width", L"borderLeftWidth", false, L"medium"},
    {L"border-top-style", L"borderTopStyle", false, L"none"},
    {L"border-right-style", L"borderRightStyle", false, L"none"},
    {L"border-bottom-style", L"borderBottomStyle", false, L"none"},
    {L"border-left-style", L"borderLeftStyle", false, L"none"},
    {L"border-top-color", L"borderTopColor", false, L""},
    {L"border-right-color", L"borderRightColor", false, L""},
    {L"border-bottom-color", L"borderBottomColor", false, L""},
    {L"border-left-color", L"borderLeftColor", false, L""},
    {L"background-color", L"backgroundColor", false, L"transparent"},
    {L"background-image", L"backgroundImage", false, L"none"},
    {L"background-repeat", L"backgroundRepeat", false, L"repeat"},
    {L"background-attachment", L"backgroundAttachment", false, L"scroll"},
    {L"background-position-x", L"backgroundPositionX", false, L"0%"},
    {L"background-position-y", L"backgroundPositionY", false, L"0%"},
    {L"color", L"color", true, L"#000000"},
    {L"font-family", L"fontFamily", true, L"Times New Roman"},
    {L"font-size", L"fontSize", true, L"12pt"},
    {L"font-weight", L"fontWeight", true, L"400"},
    {L"font-style", L"fontStyle", true, L"normal"},
    {L"font-variant", L"fontVariant", true, L"normal"},
    {L"line-height", L"lineHeight", true, L"normal"},
    {L"letter-spacing", L"letterSpacing", true, L"normal"},
    {L"word-spacing", L"wordSpacing", true, L"normal"},
    {L"text-align", L"textAlign", true, L"left"},
    {L"text-decoration", L"textDecoration", false, L"none"},
    {L"text-indent", L"textIndent", true, L"0pt"},
    {L"text-transform", L"textTransform", true, L"none"},
    {L"vertical-align", L"verticalAlign", false, L"baseline"},
    {L"white-space", L"whiteSpace", true, L"normal"},
    {L"list-style-type", L"listStyleType", true, L"disc"},
    {L"list-style-position", L"listStylePosition", true, L"outside"},
    {L"list-style-image", L"listStyleImage", true, L"none"},
    {L"cursor", L"cursor", true, L"auto"},
    {L"page-break-before", L"pageBreakBefore", false, L"auto"},
    {L"page-break-after", L"pageBreakAfter", false, L"auto"},
    {L"clip", L"clip", false, L"auto"},
    {L"filter", L"filter", false, L""},
    {L"direction", L"direction", true, L"ltr"},
    {L"table-layout", L"tableLayout", false, L"auto"},
    {L"border-collapse", L"borderCollapse", true, L"separate"},
    {L"pointer-events", L"pointerEvents", true, L"auto"},
}};

struct Shorthand {
    std::wstring_view name;
    std::vector<PropertyId> longhands;
};

const std::vector<Shorthand>& shorthands() {
    static const std::vector<Shorthand> table = {
        {L"margin", {P::MarginTop, P::MarginRight, P::MarginBottom, P::MarginLeft}},
        {L"padding", {P::PaddingTop, P::PaddingRight, P::PaddingBottom, P::PaddingLeft}},
        {L"border-width",
         {P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth, P::BorderLeftWidth}},
        {L"border-style",
         {P::BorderTopStyle, P::BorderRightStyle, P::BorderBottomStyle, P::BorderLeftStyle}},
        {L"border-color",
         {P::BorderTopColor, P::BorderRightColor, P::BorderBottomColor, P::BorderLeftColor}},
        {L"border-top", {P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor}},
        {L"border-right", {P::BorderRightWidth, P::BorderRightStyle, P::BorderRightColor}},
        {L"border-bottom", {P::BorderBottomWidth, P::BorderBottomStyle, P::BorderBottomColor}},
        {L"border-left", {P::BorderLeftWidth, P::BorderLeftStyle, P::BorderLeftColor}},
        {L"border",
         {P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor, P::BorderRightWidth,
          P::BorderRightStyle, P::BorderRightColor, P::BorderBottomWidth, P::BorderBottomStyle,
          P::BorderBottomColor, P::BorderLeftWidth, P::BorderLeftStyle, P::BorderLeftColor}},
        {L"background",
         {P::BackgroundColor, P::BackgroundImage, P::BackgroundRepeat, P::BackgroundAttachment,
          P::BackgroundPositionX, P::BackgroundPositionY}},
        {L"background-position", {P::BackgroundPositionX, P::BackgroundPositionY}},
        {L"font",
         {P::FontStyle, P::FontVariant, P::FontWeight, P::FontSize, P::LineHeight, P::FontFamily}},
        {L"list-style", {P::ListStyleType, P::ListStylePosition, P::ListStyleImage}},
    };
    return table;
}

const Shorthand* findShorthand(std::wstring_view cssName) {
    for (const auto& shorthand : shorthands())
        if (shorthand.name == cssName)
            return &shorthand;
    return nullptr;
}

std::wstring_view initialOf(PropertyId id) {
    return propertyInfo(id).initial;
}

bool isKeywordIn(std::wstring_view token, std::initializer_list<std::wstring_view> words) {
    for (auto word : words)
        if (equalsIgnoringCase(token, word))
            return true;
    return false;
}

bool isBorderStyle(std::wstring_view t) {
    return isKeywordIn(t, {L"none", L"hidden", L"dotted", L"dashed", L"solid", L"double", L"groove",
                           L"ridge", L"inset", L"outset"});
}

bool startsWithNumber(std::wstring_view t) {
    std::size_t i = (!t.empty() && (t[0] == L'-' || t[0] == L'+')) ? 1 : 0;
    return i < t.size() && (std::iswdigit(t[i]) || t[i] == L'.');
}

bool isBorderWidth(std::wstring_view t) {
    return startsWithNumber(t) || isKeywordIn(t, {L"thin", L"medium", L"thick"});
}

bool isFontSizeKeyword(std::wstring_view t) {
    return isKeywordIn(t, {L"xx-small", L"x-small", L"small", L"medium", L"large", L"x-large",
                           L"xx-large", L"smaller", L"larger"});
}

bool isImage(std::wstring_view t) {
    return equalsIgnoringCase(t.substr(0, 4), L"url(") || equalsIgnoringCase(t, L"none");
}

bool isPositionToken(std::wstring_view t) {
    return startsWithNumber(t) || isKeywordIn(t, {L"left", L"right", L"top", L"bottom", L"center"});
}

// 1 to 4 values for top, right, bottom, left.
std::vector<std::wstring> fourSides(const std::vector<std::wstring>& tokens) {
    if (tokens.empty() || tokens.size() > 4)
        return {};
    const auto& t = tokens;
    switch (t.size()) {
        case 1:
            return {t[0], t[0], t[0], t[0]};
        case 2:
            return {t[0], t[1], t[0], t[1]};
        case 3:
            return {t[0], t[1], t[2], t[1]};
        default:
            return t;
    }
}

// width, style and colour in any order.
std::optional<std::array<std::wstring, 3>> borderSide(const std::vector<std::wstring>& tokens) {
    std::array<std::wstring, 3> side{std::wstring(initialOf(P::BorderTopWidth)),
                                     std::wstring(initialOf(P::BorderTopStyle)), L""};
    if (tokens.empty() || tokens.size() > 3)
        return std::nullopt;
    for (const auto& token : tokens) {
        if (isBorderStyle(token))
            side[1] = token;
        else if (isBorderWidth(token))
            side[0] = token;
        else
            side[2] = token;
    }
    return side;
}

using Expansion = std::vector<std::pair<PropertyId, std::wstring>>;

Expansion expandBackground(const std::vector<std::wstring>& tokens) {
    Expansion out = {{P::BackgroundColor, std::wstring(initialOf(P::BackgroundColor))},
                     {P::BackgroundImage, L"none"},
                     {P::BackgroundRepeat, L"repeat"},
                     {P::BackgroundAttachment, L"scroll"},
                     {P::BackgroundPositionX, L"0%"},
                     {P::BackgroundPositionY, L"0%"}};
    std::vector<std::wstring> position;
    for (const auto& token : tokens) {
        if (isImage(token))
            out[1].second = token;
        else if (isKeywordIn(token, {L"repeat", L"repeat-x", L"repeat-y", L"no-repeat"}))
            out[2].second = token;
        else if (isKeywordIn(token, {L"scroll", L"fixed"}))
            out[3].second = token;
        else if (isPositionToken(token))
            position.push_back(token);
        else
            out[0].second = token;
    }
    if (!position.empty()) {
        out[4].second = position[0];
        out[5].second = position.size() > 1 ? position[1] : L"center";
    }
    return out;
}

Expansion expandFont(const std::vector<std::wstring>& tokens) {
    Expansion out = {{P::FontStyle, L"normal"},  {P::FontVariant, L"normal"},
                     {P::FontWeight, L"400"},    {P::FontSize, L""},
                     {P::LineHeight, L"normal"}, {P::FontFamily, L""}};
    std::size_t i = 0;
    for (; i < tokens.size(); ++i) {
        const auto& token = tokens[i];
        if (isKeywordIn(token, {L"italic", L"oblique"}))
            out[0].second = token;
        else if (equalsIgnoringCase(token, L"small-caps"))
            out[1].second = token;
        else if (isKeywordIn(token, {L"bold", L"bolder", L"lighter"}) ||
                 (token.size() == 3 && token[1] == L'0' && token[2] == L'0' &&
                  std::iswdigit(token[0])))
            out[2].second = token;
        else if (!equalsIgnoringCase(token, L"normal"))
            break;
    }
    if (i == tokens.size())
        return {};
    std::wstring size = tokens[i++];
    if (auto slash = size.find(L'/'); slash != std::wstring::npos) {
        out[4].second = size.substr(slash + 1);
        size.resize(slash);
    } else if (i < tokens.size() && tokens[i].starts_with(L"/")) {
        out[4].second = tokens[i].size() > 1 ? tokens[i].substr(1) : tokens.at(++i);
        ++i;
    }
    if (!(startsWithNumber(size) || isFontSizeKeyword(size)) || i >= tokens.size())
        return {};
    out[3].second = size;
    std::wstring family;
    for (; i < tokens.size(); ++i)
        family += (family.empty() ? L"" : L" ") + tokens[i];
    out[5].second = family;
    return out;
}

Expansion expandListStyle(const std::vector<std::wstring>& tokens) {
    Expansion out = {{P::ListStyleType, L"disc"},
                     {P::ListStylePosition, L"outside"},
                     {P::ListStyleImage, L"none"}};
    for (const auto& token : tokens) {
        if (isKeywordIn(token, {L"inside", L"outside"}))
            out[1].second = token;
        else if (equalsIgnoringCase(token.substr(0, 4), L"url("))
            out[2].second = token;
        else
            out[0].second = token;
    }
    return out;
}

}  // namespace

const PropertyInfo& propertyInfo(PropertyId id) {
    return kProperties[static_cast<std::size_t>(id)];
}

std::wstring toCssName(std::wstring_view name) {
    if (equalsIgnoringCase(name, L"styleFloat") || equalsIgnoringCase(name, L"cssFloat"))
        return L"float";
    std::wstring out;
    for (wchar_t c : name) {
        if (c >= L'A' && c <= L'Z') {
            out += L'-';
            out += static_cast<wchar_t>(c - L'A' + L'a');
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<PropertyId> findLonghand(std::wstring_view cssName) {
    for (std::size_t i = 0; i < kPropertyCount; ++i)
        if (kProperties[i].cssName == cssName)
            return static_cast<PropertyId>(i);
    return std::nullopt;
}

std::span<const PropertyId> shorthandLonghands(std::wstring_view cssName) {
    const Shorthand* shorthand = findShorthand(cssName);
    if (!shorthand)
        return {};
    return shorthand->longhands;
}

bool isShorthand(std::wstring_view cssName) {
    return findShorthand(cssName) != nullptr;
}

std::vector<std::wstring> splitValueTokens(std::wstring_view value) {
    std::vector<std::wstring> tokens;
    std::wstring current;
    int depth = 0;
    wchar_t quote = 0;
    for (wchar_t c : value) {
        if (quote) {
            current += c;
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == L'"' || c == L'\'')
            quote = c;
        if (c == L'(')
            ++depth;
        if (c == L')' && depth > 0)
            --depth;
        if (depth == 0 && (c == L' ' || c == L'\t' || c == L'\n' || c == L'\r')) {
            if (!current.empty())
                tokens.push_back(std::move(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.empty())
        tokens.push_back(std::move(current));
    return tokens;
}

std::vector<std::pair<PropertyId, std::wstring>> expandShorthand(std::wstring_view cssName,
                                                                 std::wstring_view value) {
    const Shorthand* shorthand = findShorthand(cssName);
    if (!shorthand)
        return {};
    auto tokens = splitValueTokens(value);
    Expansion out;
    const auto& longhands = shorthand->longhands;
    if (cssName == L"margin" || cssName == L"padding" || cssName == L"border-width" ||
        cssName == L"border-style" || cssName == L"border-color") {
        auto sides = fourSides(tokens);
        for (std::size_t i = 0; i < sides.size(); ++i)
            out.emplace_back(longhands[i], sides[i]);
    } else if (cssName.starts_with(L"border")) {
        auto side = borderSide(tokens);
        if (!side)
            return {};
        for (std::size_t i = 0; i < longhands.size(); ++i)
            out.emplace_back(longhands[i], (*side)[i % 3]);
    } else if (cssName == L"background") {
        out = expandBackground(tokens);
    } else if (cssName == L"background-position") {
        if (tokens.empty() || tokens.size() > 2)
            return {};
        out = {{P::BackgroundPositionX, tokens[0]},
               {P::BackgroundPositionY, tokens.size() > 1 ? tokens[1] : L"center"}};
    } else if (cssName == L"font") {
        out = expandFont(tokens);
    } else if (cssName == L"list-style") {
        out = expandListStyle(tokens);
    }
    return out;
}

std::wstring composeShorthand(std::wstring_view cssName, const std::vector<std::wstring>& values) {
    auto join = [](std::initializer_list<std::wstring> parts) {
        std::wstring out;
        for (const auto& part : parts)
            if (!part.empty())
                out += (out.empty() ? L"" : L" ") + part;
        return out;
    };
    if (values.size() == 4) {  // four sides
        if (values[0] == values[1] && values[1] == values[2] && values[2] == values[3])
            return values[0];
        return join({values[0], values[1], values[2], values[3]});
    }
    if (cssName == L"border") {
        for (std::size_t i = 3; i < values.size(); ++i)
            if (values[i] != values[i % 3])
                return {};
        return join({values[0], values[1], values[2]});
    }
    if (cssName == L"font") {
        std::wstring size = values[3];
        if (values[4] != L"normal")
            size += L"/" + values[4];
        return join({values[0], values[1], values[2], size, values[5]});
    }
    std::wstring out;
    for (const auto& value : values)
        out = join({out, value});
    return out;
}

}  // namespace platform::dom
