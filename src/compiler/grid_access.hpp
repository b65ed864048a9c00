#pragma once

#include <cstdint>

#include "model/cella.hpp"

namespace scenario {

// Cell lookups shared by the recorders and the code placement pass.

// Index of the cell holding a point element at a position: near(p / 50 + 1).
std::int64_t cella_del_punto(std::int64_t posizione);

// Whether i is an index of the grid (0 to N).
inline bool nella_griglia(const griglia& celle, std::int64_t i) {
    return i >= 0 && i < static_cast<std::int64_t>(celle.size());
}

// The cell a recorder must write or test. A missing grid or an index outside
// 0 to N throws reader_failure naming `cosa` (what the cell is for, e.g. "signal").
cella& cella_richiesta(griglia& celle, std::int64_t i, const char* cosa);

// Throws reader_failure when the grid has not been created yet.
void richiedi_griglia(const griglia& celle, const char* voce);

}  // namespace scenario
