#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The three profiles of the grid. Each keeps a cursor, the next cell to fill, and the
// value of its last entry, which fills the cells up to the next entry's cell.
enum class profile_kind { gradient, speed, adhesion };

// One entry of a profile: its chainage p, then its value. The cells from the cursor
// up to near(p / 50), that one excluded, take the value before it: at least one cell
// whenever near(p / 50) is above 0, even when the cursor is already at or past it;
// but the speed stops short of cell N (and writes nothing once its cursor is there).
outcome read_profile_entry(reading& r, profile_kind kind);

// After the document: the last value fills the cells from the cursor up to N - 3, at
// least one cell (cell N too when the cursor has stopped there).
void finish_profile(reading& r, profile_kind kind);

}  // namespace scenario
