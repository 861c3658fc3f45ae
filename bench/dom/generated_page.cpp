#include "bench/dom/generated_page.h"

namespace bench {

std::string generatePage(std::size_t bytes) {
    std::string page =
        "<!DOCTYPE html><html><head><title>Generated article</title><style>"
        "body{margin:0;font:13px Arial} #nav li{display:inline;margin-right:8px}"
        ".content{width:70%;float:left} .sidebar{width:25%;float:right}"
        ".content p{line-height:1.4em;margin:0 0 1em} .comment{border:1px solid #ccc;padding:4px}"
        ".comment .author{font-weight:bold} table.data td{padding:2px 4px}"
        "</style><script>var config={track:true};</script></head><body>"
        "<div id=header><ul id=nav><li><a href=/>Home</a></li><li><a href=/news>News</a></li>"
        "<li><a href=/sport>Sport</a></li></ul></div><div class=content>";
    int section = 0;
    while (page.size() < bytes) {
        std::string n = std::to_string(section++);
        page += "<h2 id=s" + n + ">Section " + n + "</h2>";
        for (int p = 0; p < 6; ++p)
            page += "<p>This is paragraph " + std::to_string(p) + " of section " + n +
                    ", with <a href='/link/" + n +
                    "'>a link</a>, some <b>bold</b> and "
                    "<i>italic</i> words, and enough plain running text to wrap over several "
                    "lines in a column of ordinary width on an ordinary screen.</p>";
        page +=
            "<ul><li>First point</li><li>Second point</li><li>Third point</li></ul>"
            "<table class=data><tr><th>Item</th><th>Value</th></tr><tr><td>a</td><td>1</td>"
            "</tr><tr><td>b</td><td>2</td></tr></table>"
            "<div class=comment><span class=author>reader" +
            n +
            "</span><p>A comment on this section.</p></div>"
            "<form action=/c><input name=q><input type=submit value=Go></form>"
            "<script>track(" +
            n + ");</script>";
    }
    page +=
        "</div><div class=sidebar><h3>More</h3><iframe src=/ad width=200 height=200>"
        "</iframe></div></body></html>";
    return page;
}

}  // namespace bench
