#include "model/near.hpp"

#include "model/reader_failure.hpp"

namespace scenario {

std::int64_t near(double v) {
    // Values come from 32-bit document numbers, so anything outside this range
    // means an input no grid or record can hold. A NaN fails both comparisons.
    if (!(v <= 9.0e15 && v >= -9.0e15)) {
        throw reader_failure("value out of range");
    }
    // Every whole number of the range is a double, so the floor comes from the whole
    // part exactly, without a call into the maths library.
    auto result = static_cast<std::int64_t>(v);  // toward zero
    if (static_cast<double>(result) > v) {
        --result;
    }
    const double fraction = v - static_cast<double>(result);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) {
        ++result;
    }
    return result;
}

}  // namespace scenario
