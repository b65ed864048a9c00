#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/array_header.hpp"
#include "files/byte_sink.hpp"
#include "model/cella.hpp"

namespace scenario {

// The grid file (.dat): a one-dimensional array header (cells 0 to N), then the cells,
// each its fields (cella_fields) in order, little-endian.
constexpr std::uint16_t grid_dimensions = 1;
constexpr std::size_t grid_header_bytes = array_header_bytes(grid_dimensions);
constexpr std::size_t cell_bytes = integer_bytes(cella_fields);

// The bytes of a grid file of this many cells.
constexpr std::uint64_t grid_file_size(std::uint64_t cells) {
    return grid_header_bytes + cell_bytes * cells;
}

void encode_grid(const griglia& celle, byte_sink& out);

// The cells of a grid file; a file that is not one throws decode_error.
griglia decode_grid(std::string_view bytes);

}  // namespace scenario
