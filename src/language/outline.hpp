#pragma once

#include <string>
#include <vector>

#include "language/compiled_pair.hpp"

namespace scenario::language {

// One symbol of a document's outline: a section (its header, up to the next) with the
// rows of the kinds the outline shows inside it, or such a row before any header.
struct outline_symbol {
    std::string name;
    std::string detail;
    bool section = false;
    outline_kind kind = outline_kind::none;  // of a row
    text_range range;
    text_range selection;  // the header or the keyword field
    std::vector<outline_symbol> children;
};

// The outline of one document of a pair: its sections, and in each the stations,
// signals, slowdowns, tunnels and boards, named "NAME (station at 2025 m)".
std::vector<outline_symbol> outline_of(const compiled_pair& pair, source_document which);

}  // namespace scenario::language
