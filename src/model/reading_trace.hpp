#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "grammar/grammar.hpp"  // source_document: which of the two documents a place lies in

namespace scenario {

// A document line that put an element into the grid: where its chainage field lies,
// and the text of the line.
struct source_row {
    source_document document = source_document::line;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::string text;
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
// placement pass, the marker slots, the tool's summary). Nothing compiled depends on it.
struct reading_trace {
    std::vector<source_row> rows;
    std::vector<cell_origin> cells;  // one per cell of the grid, once there is a grid
    std::vector<traced_curve> curves;  // in the order read
    element_counts counts;
};

}  // namespace scenario
