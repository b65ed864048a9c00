#include "model/near.hpp"

#include <cmath>

#include "model/reader_failure.hpp"

namespace scenario {

std::int64_t near(double v) {
    // Values come from 32-bit document numbers, so anything outside this range
    // means an input no grid or record can hold.
    if (!std::isfinite(v) || v > 9.0e15 || v < -9.0e15) {
        throw reader_failure("value out of range");
    }
    const double below = std::floor(v);
    const double fraction = v - below;
    auto result = static_cast<std::int64_t>(below);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) {
        ++result;
    }
    return result;
}

}  // namespace scenario
