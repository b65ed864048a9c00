# Writes a C++ source holding the live page's files as byte arrays, and the table
# page_assets() returns. Run as a script at build time:
#   cmake -DOUTPUT=file.cpp -DROOT=src/live/page -P embed_assets.cmake
# The asset's request path is its name under ROOT ("index.html" is served as "/"); its
# content type comes from the extension.
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/*)
list(SORT files)
set(arrays "")
set(table "")
set(index 0)
foreach(name IN LISTS files)
    file(READ ${ROOT}/${name} hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    string(APPEND arrays "const char asset_${index}[] = {${bytes} 0};\n")
    if(name STREQUAL "index.html")
        set(path "/")
    else()
        set(path "/${name}")
    endif()
    get_filename_component(extension ${name} LAST_EXT)
    if(extension STREQUAL ".html")
        set(type "text/html; charset=utf-8")
    elseif(extension STREQUAL ".js")
        set(type "text/javascript; charset=utf-8")
    elseif(extension STREQUAL ".css")
        set(type "text/css; charset=utf-8")
    elseif(extension STREQUAL ".svg")
        set(type "image/svg+xml")
    else()
        set(type "application/octet-stream")
    endif()
    string(APPEND table "    {\"${path}\", \"${type}\", {asset_${index}, ${size}}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new
"// Made by cmake/embed_assets.cmake from the files of the live page; do not edit.
#include \"live/page_assets.hpp\"

namespace scenario::live {
namespace {
${arrays}
const page_asset assets[] = {
${table}};
}  // namespace

std::span<const page_asset> page_assets() { return assets; }

}  // namespace scenario::live
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
