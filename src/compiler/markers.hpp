#pragma once

#include <cstdint>

#include "model/run_state.hpp"

namespace scenario {

// Fills the reserved marker slots and stores the integrity codes. Returns 0, or the
// fatal error number (1250, 1251) when a slot was already taken; the state is then
// left as it was at that moment. Cell 1 is skipped when there is no grid.
std::int32_t fill_marker_slots(run_state& state);

}  // namespace scenario
