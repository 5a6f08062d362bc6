#pragma once

#include <string>
#include <vector>

// Result pages shaped like the engine's: one "<li class=g>" block per result, then the pager.
namespace ResultPages {

inline std::string Block(const std::string &link, const std::string &title) {
    return "<li class=g><h3 class=\"r\"><a href=\"" + link + "\" onmousedown=\"return rwt(this)\">" + title +
           "</a></h3><div class=\"s\"><cite>" + link +
           "</cite><span class=\"st\">A <b>forum</b> about things.</span></div></li>\n";
}

inline std::string Pager() {
    return "<table id=\"nav\"><tr><td><a href=\"/search?q=x&amp;start=100\"><span "
           "class=\"csb\"></span>Next</a>"
           "</td></tr></table>\n";
}

// Results http://siteN.example/forum/ for N in [first, first + count), titled "Site N".
inline std::string Page(int first, int count, bool next) {
    std::string page = "<html><body><div id=\"ires\"><ol>\n";
    for (int n = first; n < first + count; ++n)
        page += Block("http://site" + std::to_string(n) + ".example/forum/",
                      "Site <b>" + std::to_string(n) + "</b>");
    page += "</ol></div>\n";
    if (next)
        page += Pager();
    return page + "</body></html>\n";
}

} // namespace ResultPages
