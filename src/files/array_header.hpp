#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/block_buffer.hpp"
#include "files/byte_reader.hpp"

namespace scenario {

// The array header that opens the grid and the line plan file: the number of
// dimensions (16 bits), then for each dimension its element count and its lower bound
// (32 bits each; the lower bound is always 0).
constexpr std::size_t array_header_bytes(std::size_t dimensions) {
    return 2 + 8 * dimensions;
}

// Writes the header of an array with these element counts, in order.
template <std::size_t N>
char* put_array_header(char* p, const std::array<std::int32_t, N>& counts) {
    p = put_le(p, static_cast<std::uint16_t>(N));
    for (const std::int32_t count : counts) {
        p = put_le(p, count);
        p = put_le(p, std::int32_t{0});  // lower bound
    }
    return p;
}

// Reads the number of dimensions and fails unless it is `expected`.
inline void expect_dimensions(byte_reader& in, std::uint16_t expected, const char* file) {
    const std::uint16_t dimensions = in.u16("the number of dimensions");
    if (dimensions != expected) {
        throw decode_error(0, std::string("the array header gives ") + std::to_string(dimensions) +
                                  " dimensions; a " + file + " has " + std::to_string(expected));
    }
}

// Reads one element count and its lower bound, and fails unless the bound is 0.
inline std::int32_t read_bound_pair(byte_reader& in, const char* count_field,
                                    const char* bound_field) {
    const std::int32_t count = in.i32(count_field);
    const std::uint64_t bound_at = in.offset();
    const std::int32_t bound = in.i32(bound_field);
    if (bound != 0) {
        throw decode_error(bound_at,
                           std::string(bound_field) + " is " + std::to_string(bound) + ", not 0");
    }
    return count;
}

}  // namespace scenario
