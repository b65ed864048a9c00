#pragma once

#include "model/run_state.hpp"

namespace scenario {

// Adds the automatic code points around every slowdown and records the block
// errors 11, 12 and 13. Does nothing when there is no grid.
void place_code_points(run_state& state);

}  // namespace scenario
