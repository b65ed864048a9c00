#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "language/compiled_pair.hpp"

namespace scenario::language {

// A part of a hover: a heading with the lines under it (a paragraph when it has none).
struct hover_block {
    std::string heading;
    std::vector<std::string> items;
    bool numbered = false;
    std::optional<std::size_t> stressed;  // the item the position is on
};

// What a hover says, as data: the edge writes it as Markdown or as plain text.
struct hover_info {
    std::string title;    // what the position is on: a keyword, a section header
    std::string summary;  // what that is
    std::vector<hover_block> blocks;
    text_range range;     // the field hovered
};

// The hover at a position of one document of a pair:
// - on a keyword: what it means, its fields in order and its forms;
// - on a field: its meaning, unit, range, what empty reads as and whether the simulator
//   uses it, and the row's values;
// - on either, what the row compiled to, from the element index: the elements it made,
//   the cells it wrote and the header entry it filled;
// - on a row whose keyword field names no keyword: the diagnostics of that line and the
//   keywords of its part; on a section header: the keywords of the part it opens.
// Nothing on a blank line, a remark or a place outside the text.
std::optional<hover_info> hover_at(const compiled_pair& pair, source_document which,
                                   text_position at);

}  // namespace scenario::language
