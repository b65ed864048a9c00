#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_writer.hpp"

namespace scenario::testing {

// Splits a written document into its lines. Sets well_formed to false when a CR or LF
// stands outside a CR LF pair or the bytes do not end with CR LF (an empty document
// is well formed and has no lines).
inline std::vector<std::string> split_crlf(const std::string& bytes, bool& well_formed) {
    std::vector<std::string> lines;
    well_formed = bytes.empty() || bytes.ends_with("\r\n");
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) {
            well_formed = false;
        }
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

inline std::string line_at(line_list lines, std::size_t number) {
    return std::string(lines[number - 1]);  // numbered from 1, as on the page
}

// Positions (from 1) of every occurrence of c in line.
inline std::vector<std::size_t> columns_of(std::string_view line, char c) {
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == c) {
            columns.push_back(i + 1);
        }
    }
    return columns;
}

}  // namespace scenario::testing
