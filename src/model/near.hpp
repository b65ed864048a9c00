#pragma once

#include <cstdint>

namespace scenario {

// The integer nearest to v; an exact half goes to the even neighbour
// (near(2.5) == 2, near(7.5) == 8, near(-0.5) == 0).
std::int64_t near(double v);

}  // namespace scenario
