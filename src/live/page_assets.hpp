#pragma once

#include <span>
#include <string_view>

namespace scenario::live {

// A file of the live page, compiled into the program: the page needs nothing else.
struct page_asset {
    std::string_view path;          // as requested, from "/": "/", "/page.js", ...
    std::string_view content_type;  // "text/html; charset=utf-8", ...
    std::string_view body;
};

// Every asset of the page; the files under src/live/page/, made by cmake/embed_assets.cmake.
std::span<const page_asset> page_assets();

}  // namespace scenario::live
