#pragma once

#include <cstdint>

#include "model/run_state.hpp"

namespace scenario::cli {

// What a compile produced, for the one-line summary.
struct compile_counts {
    std::int64_t cells = 0;     // cells of the grid, 0 when there is none
    std::int64_t stations = 0;  // station entries of the header table
    std::int64_t signals = 0;   // cells of kind tipo::segnale
};

// Stations fill the header entries from 1 upward, in document order, and stop below
// the entries of the indicator boards (80 downward, one per cartello cell).
compile_counts count_compiled(const run_state& stato);

}  // namespace scenario::cli
