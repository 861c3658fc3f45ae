#include "platform/dom/layout/page_defaults.h"

namespace platform::dom {

const char* pageDefaultStyleSheet() {
    return R"css(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset,
h1, h2, h3, h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, header, footer,
main, article, aside, nav, section, figure, figcaption, hgroup, details, summary, legend,
listing, xmp, plaintext, optgroup { display: block; }
/* No script runs: a noscript shows what it holds, a canvas its fallback content. */
head, script, style, title, meta, link, base, template, param, datalist, area,
[hidden], input[type=hidden] { display: none; }
html { color: black; }
body { margin: 8px; }
p, dl, multicol, blockquote, figure, listing, xmp, pre { margin-top: 1em; margin-bottom: 1em; }
blockquote, figure { margin-left: 40px; margin-right: 40px; }
dd { margin-left: 40px; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { font-size: 1em; margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
pre, listing, xmp, plaintext { white-space: pre; }
pre, code, kbd, samp, tt, listing, xmp, plaintext { font-family: monospace; }
pre, listing, xmp, plaintext { font-size: 13px; }
code, kbd, samp, tt { font-size: 13px; }
b, strong, th { font-weight: bold; }
i, cite, em, var, dfn, address { font-style: italic; }
/* A step larger or smaller, as a browser takes it, in a form the engine reads. */
big { font-size: 120%; }
small, sub, sup { font-size: 83.3333%; }
sub { vertical-align: sub; }
sup { vertical-align: super; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
center { text-align: center; }
a:link, a:visited { color: #0000EE; text-decoration: underline; cursor: pointer; }
a[href] { color: #0000EE; text-decoration: underline; cursor: pointer; }
mark { background-color: yellow; color: black; }
hr { border: 1px inset #aaa; margin: 0.5em auto; height: 0; }
ol, ul, dir, menu { margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ol ol, ol ul, ul ol, ul ul { margin-top: 0; margin-bottom: 0; }
ul, dir, menu { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul { list-style-type: circle; }
ul ul ul { list-style-type: square; }
li { display: list-item; }
table { display: table; border-collapse: separate; border-spacing: 2px; box-sizing: border-box; }
caption { display: table-caption; text-align: center; }
thead, tbody, tfoot { display: table-row-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
img { display: inline-block; }
input, select, button, textarea { display: inline-block; font-size: 13.33px;
    font-family: sans-serif; border: 2px inset #ccc; padding: 1px 2px; background-color: white; }
input { width: 177px; height: 15px; }
input, select { overflow: hidden; white-space: nowrap; }
input[type=checkbox], input[type=radio] { width: 11px; height: 11px; padding: 0;
    border: 1px solid #767676; margin: 3px 3px 0 4px; }
input[type=checkbox][checked], input[type=radio][checked] { background-color: #0075ff;
    border-color: #0075ff; }
input[type=radio] { margin: 3px 3px 0 5px; }
input, select { vertical-align: text-bottom; }
input[type=checkbox], input[type=radio] { vertical-align: baseline; }
button, input[type=submit], input[type=button], input[type=reset] { border: 2px outset #ccc;
    background-color: #efefef; padding: 1px 6px; }
input[type=submit], input[type=button], input[type=reset] { width: auto; height: auto;
    text-align: center; }
select { width: 100px; height: 17px; border: 1px solid #767676; padding: 0; }
textarea { width: 161px; height: 30px; white-space: pre-wrap; font-family: monospace;
    border: 1px solid #767676; padding: 2px 17px 2px 2px; }
fieldset { margin: 0 2px; padding: 0.35em 0.75em 0.625em; border: 2px groove #ccc; }
iframe { display: inline-block; width: 300px; height: 150px; border: 2px inset #ccc; }
video, embed, object, svg { display: inline-block; }
video { width: 300px; height: 150px; }
br { display: block; }
nobr { white-space: nowrap; }
wbr { display: inline; }
)css";
}

}  // namespace platform::dom
