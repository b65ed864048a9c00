#pragma once

#include <cstdint>

#include "model/cella.hpp"

namespace scenario {

// Cell lookups shared by the readers, the recorders and the code placement pass.

// Whether i is an index of the grid (0 to N).
inline bool in_grid(const griglia& celle, std::int64_t i) {
    return i >= 0 && i < static_cast<std::int64_t>(celle.size());
}

// N, the last cell. Before the route length has created the grid this is a failure
// (reader_failure).
std::int64_t last_cell(const griglia& celle);

// Cell i of the grid; no grid, or an index outside 0 to N, is a failure (reader_failure).
cella& cell_at(griglia& celle, std::int64_t i);

}  // namespace scenario
