#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.hpp"  // source_document: which of the two documents a place lies in

namespace scenario {

// A document line that an entry was read from: where its chainage field lies (its
// keyword field for an entry without one), where the line's text lies in its document
// (see reading_trace), and the header entry it filled (-1 for none).
struct source_row {
    source_document document = source_document::line;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::uint32_t text_offset = 0;
    std::uint32_t text_length = 0;
    std::int32_t entry = -1;
};

// Which row wrote a cell's element: an index into the rows, -1 for none. An automatic
// cell holds a code point the code placement pass put there for the slowdown of that row.
struct cell_origin {
    std::int32_t row = -1;
    bool automatic = false;
};

// A curve the line document drew into the plan: from metre start to end, and its row.
struct traced_curve {
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int32_t row = -1;
};

// A tunnel as its row gave it, before the recorder changed its type.
struct traced_tunnel {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t type = 0;
    std::int32_t row = -1;
};

// Cells first to end (excluded) of a profile that took the value of one row (-1: the
// value before the profile's first row).
struct traced_fill {
    std::int32_t first = 0;
    std::int32_t end = 0;
    std::int32_t row = -1;
};

// The fills of the three profiles, in cell order each.
struct traced_profiles {
    std::vector<traced_fill> gradient;
    std::vector<traced_fill> speed;
    std::vector<traced_fill> adhesion;
};

// How many entries of each kind the readers stored.
struct element_counts {
    std::int64_t curves = 0;
    std::int64_t gradient_rows = 0;
    std::int64_t speed_rows = 0;
    std::int64_t adhesion_rows = 0;
    std::int64_t tunnels = 0;
    std::int64_t indicator_boards = 0;  // "cartello_indicatore"
    std::int64_t speed_boards = 0;      // "indicatori_vmax"
    std::int64_t signals = 0;
    std::int64_t slowdowns = 0;
    std::int64_t code_entries = 0;
    std::int64_t stations = 0;
};

// What the readers leave behind for the diagnostics made after them (the code
// placement pass, the marker slots, the tool's summary) and for the element index of a
// compiled scenario. Nothing compiled depends on it.
struct reading_trace {
    // The two documents as read (once the reading is over): the rows' texts lie in them.
    std::shared_ptr<const std::string> line_document;
    std::shared_ptr<const std::string> train_document;
    std::vector<source_row> rows;
    std::vector<cell_origin> cells;  // one per cell of the grid, once there is a grid
    std::vector<traced_curve> curves;  // in the order read
    std::vector<traced_tunnel> tunnels;  // in the order read
    traced_profiles profiles;
    element_counts counts;
};

// The text of a row's line, without its line break.
inline std::string_view row_text(const reading_trace& trace, const source_row& row) {
    const std::shared_ptr<const std::string>& text =
        row.document == source_document::line ? trace.line_document : trace.train_document;
    if (!text || std::size_t{row.text_offset} + row.text_length > text->size()) {
        return {};
    }
    return std::string_view(*text).substr(row.text_offset, row.text_length);
}

}  // namespace scenario
