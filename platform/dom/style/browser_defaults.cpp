#include "platform/dom/style/browser_defaults.h"

namespace platform::dom {

namespace {

constexpr std::wstring_view kDefaultSheet =
    LR"css(
html, address, blockquote, body, center, dd, dir, div, dl, dt, fieldset, form, frameset,
h1, h2, h3, h4, h5, h6, hr, menu, ol, p, pre, ul, xmp, listing, plaintext, article, aside,
footer, header, nav, section, main, figure, figcaption, details, summary, noframes
    { display: block }
head, script, style, title, meta, link, base, template, param, area, datalist, noembed
    { display: none }
li { display: list-item }
table { display: table; border-collapse: separate }
caption { display: table-caption; text-align: center }
thead { display: table-header-group }
tbody { display: table-row-group }
tfoot { display: table-footer-group }
tr { display: table-row }
td, th { display: table-cell; padding: 1px }
col { display: table-column }
colgroup { display: table-column-group }
img, input, select, textarea, button, iframe, object, embed, video, applet, svg
    { display: inline-block }
body { margin: 8px }
p, dl, blockquote, ul, ol, pre, xmp, listing, plaintext, figure { margin-top: 1em; margin-bottom: 1em }
blockquote, figure { margin-left: 40px; margin-right: 40px }
ul, ol, dir, menu { padding-left: 40px }
ol { list-style-type: decimal }
dd { margin-left: 40px }
h1 { font-size: 2em; margin-top: 0.67em; margin-bottom: 0.67em; font-weight: 700 }
h2 { font-size: 1.5em; margin-top: 0.83em; margin-bottom: 0.83em; font-weight: 700 }
h3 { font-size: 1.17em; margin-top: 1em; margin-bottom: 1em; font-weight: 700 }
h4 { margin-top: 1.33em; margin-bottom: 1.33em; font-weight: 700 }
h5 { font-size: 0.83em; margin-top: 1.67em; margin-bottom: 1.67em; font-weight: 700 }
h6 { font-size: 0.67em; margin-top: 2.33em; margin-bottom: 2.33em; font-weight: 700 }
b, strong, th { font-weight: 700 }
i, em, cite, var, dfn, address { font-style: italic }
u, ins { text-decoration: underline }
s, strike, del { text-decoration: line-through }
pre, xmp, listing, plaintext, code, kbd, samp, tt { font-family: Courier New }
pre, xmp, listing, plaintext { white-space: pre }
center { text-align: center }
a:link { color: #0000ff; text-decoration: underline; cursor: hand }
hr { border: 1px inset; margin-top: 0.5em; margin-bottom: 0.5em }
sub { vertical-align: sub }
sup { vertical-align: super }
)css";

}  // namespace

const std::vector<StyleRule>& browserDefaultRules() {
    static const std::vector<StyleRule> rules = parseStyleSheet(kDefaultSheet);
    return rules;
}

}  // namespace platform::dom
