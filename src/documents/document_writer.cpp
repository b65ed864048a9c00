#include "documents/document_writer.hpp"

#include <algorithm>

#include "files/atomic_file.hpp"
#include "files/file_error.hpp"

namespace scenario {

line_list lines_to_write(line_list lines) {
    const auto end = std::find(lines.begin(), lines.end(), end_marker);
    return lines.first(static_cast<std::size_t>(end - lines.begin()));
}

namespace {

// The bytes of a list; a list that cannot be a document throws file_error naming the
// file it was meant for (empty for none) and why.
std::string bytes_for(const std::string& path, line_list lines) {
    const line_list kept = lines_to_write(lines);
    if (kept.size() > max_lines) {
        throw file_error(path, "a document holds at most " + std::to_string(max_lines) +
                                   " lines, this one has " + std::to_string(kept.size()));
    }
    std::size_t size = 0;
    for (const std::string_view line : kept) {
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            throw file_error(
                path, "a document line holds a line end of its own: \"" + std::string(line) + "\"");
        }
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view line : kept) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

std::string document_bytes(line_list lines) {
    return bytes_for(std::string(), lines);
}

void write_document(const std::string& path, line_list lines) {
    replace_file(path, bytes_for(path, lines));
}

}  // namespace scenario
