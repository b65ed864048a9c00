#pragma once

#include <vector>

#include "decompile/authored_scenario.hpp"
#include "model/cella.hpp"

namespace scenario {

// The "montagna" rows that give the grid's tunnel types (montagna) and tunnel markers
// (cells of kind segno_montagna), in the order they are to be written, before any
// other element of the line document's body:
// - each run of cells of one type is one tunnel, or as few tunnels as its markers need
//   (a tunnel marks every fourth cell from its first); a tunnel starting 150 m or less
//   after the one written before it takes type 3, so one that must not is preceded by a
//   row that draws no cell and ends 200 m before it;
// - a marker no tunnel of its run explains comes from a tunnel of type 0 written first,
//   over the four cells that end on it.
// A marker may lie under any later element (only a cell that still shows it, or shows
// nothing, tells anything).
std::vector<tunnel_row> tunnel_rows(const griglia& celle);

}  // namespace scenario
