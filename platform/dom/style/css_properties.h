// The CSS properties the document knows: their names in style sheets ("background-color")
// and in the style objects ("backgroundColor"), whether they inherit, the value the old
// browser reported when nothing sets them, and how shorthands split into longhands.
//
// Contract: pure functions over static tables, thread-safe. Unknown names give
// std::nullopt; shorthand values that cannot be read give an empty expansion.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::dom {

enum class PropertyId : std::uint8_t {
    Display,
    Position,
    Float,
    Clear,
    Visibility,
    Overflow,
    ZIndex,
    Width,
    Height,
    MinWidth,
    MaxWidth,
    MinHeight,
    MaxHeight,
    Left,
    Top,
    Right,
    Bottom,
    MarginTop,
    MarginRight,
    MarginBottom,
    MarginLeft,
    PaddingTop,
    PaddingRight,
    PaddingBottom,
    PaddingLeft,
    BorderTopWidth,
    BorderRightWidth,
    BorderBottomWidth,
    BorderLeftWidth,
    BorderTopStyle,
    BorderRightStyle,
    BorderBottomStyle,
    BorderLeftStyle,
    BorderTopColor,
    BorderRightColor,
    BorderBottomColor,
    BorderLeftColor,
    BackgroundColor,
    BackgroundImage,
    BackgroundRepeat,
    BackgroundAttachment,
    BackgroundPositionX,
    BackgroundPositionY,
    Color,
    FontFamily,
    FontSize,
    FontWeight,
    FontStyle,
    FontVariant,
    LineHeight,
    LetterSpacing,
    WordSpacing,
    TextAlign,
    TextDecoration,
    TextIndent,
    TextTransform,
    VerticalAlign,
    WhiteSpace,
    ListStyleType,
    ListStylePosition,
    ListStyleImage,
    Cursor,
    PageBreakBefore,
    PageBreakAfter,
    Clip,
    Filter,
    Direction,
    TableLayout,
    BorderCollapse,
    PointerEvents,
    Count
};

inline constexpr std::size_t kPropertyCount = static_cast<std::size_t>(PropertyId::Count);

struct PropertyInfo {
    std::wstring_view cssName;
    std::wstring_view domName;
    bool inherited;
    std::wstring_view initial;  // as reported when unset; "" for border colours (= color)
};

const PropertyInfo& propertyInfo(PropertyId id);

// A property name of either form ("background-color", "backgroundColor", "float",
// "styleFloat") to its CSS name in lower case, whether or not the property is known.
std::wstring toCssName(std::wstring_view name);
std::optional<PropertyId> findLonghand(std::wstring_view cssName);
// The longhands a shorthand sets, in order; empty for a name that is no shorthand.
std::span<const PropertyId> shorthandLonghands(std::wstring_view cssName);
bool isShorthand(std::wstring_view cssName);

// Splits a shorthand value into a value for each of its longhands; longhands the value
// does not mention get their initial value (CSS semantics). Empty when unreadable.
std::vector<std::pair<PropertyId, std::wstring>> expandShorthand(std::wstring_view cssName,
                                                                 std::wstring_view value);
// Puts longhand values back into one shorthand value; empty when they cannot be
// expressed as one (four different margins are, four different borders are not).
std::wstring composeShorthand(std::wstring_view cssName,
                              const std::vector<std::wstring>& longhandValues);

// Space-separated tokens, keeping parentheses and quotes together ("url(a b)").
std::vector<std::wstring> splitValueTokens(std::wstring_view value);

}  // namespace platform::dom
