#include "demo_page.h"

#include <fstream>

namespace kvcli {
namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

bool WriteDemoPage(const std::string& path, const std::vector<DemoCell>& cells, SIZE size,
                   std::string& error) {
    std::ofstream page(path);
    page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>kvavtr demo</title>\n"
            "<style>body{font-family:sans-serif;background:#f4f4f4}"
            "figure{display:inline-block;width:180px;vertical-align:top;margin:6px}"
            "figcaption{font-size:12px}.avatar{image-rendering:pixelated;border:1px solid #ccc}"
            "</style></head><body>\n<h1>kvavtr demo</h1>\n"
         << "<p><img src=\"demo.gif\" width=\"" << size.cx << "\" height=\"" << size.cy
         << "\" alt=\"every avatar, animated\"></p>\n";
    std::string section;
    for (const DemoCell& cell : cells) {
        if (cell.section != section) {
            section = cell.section;
            page << "<h2>" << Escape(section) << "</h2>\n";
        }
        page << "<figure data-section=\"" << Escape(cell.section) << "\" data-id=\""
             << Escape(cell.id) << "\" data-x=\"" << cell.at.x << "\" data-y=\"" << cell.at.y
             << "\" data-w=\"" << cell.size.cx << "\" data-h=\"" << cell.size.cy << "\">"
             << "<div class=\"avatar\" style=\"width:" << cell.size.cx
             << "px;height:" << cell.size.cy << "px;background:url(demo.png) -" << cell.at.x
             << "px -" << cell.at.y << "px\"></div><figcaption><b>" << Escape(cell.id) << "</b><br>"
             << Escape(cell.section) << ": " << Escape(cell.options) << "</figcaption></figure>\n";
    }
    page << "</body></html>\n";
    page.close();
    if (!page) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace kvcli
