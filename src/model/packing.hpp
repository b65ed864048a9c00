#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

// Integer packings keep the low bits of the value: they wrap on purpose.
constexpr std::int16_t wrap16(std::int64_t v) {
    return static_cast<std::int16_t>(v);
}
constexpr std::uint8_t wrap8(std::int64_t v) {
    return static_cast<std::uint8_t>(v);
}

// Conversions that must fit their destination, or fail loudly.
template <typename T>
T fit(std::int64_t v, const char* what) {
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) {
        throw reader_failure(std::string(what) + " " + std::to_string(v) +
                             " does not fit its field (" +
                             std::to_string(std::numeric_limits<T>::min() + 0) + " to " +
                             std::to_string(std::numeric_limits<T>::max() + 0) + ")");
    }
    return static_cast<T>(v);
}

}  // namespace scenario
