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

// Receives the cells of a grid file as they are decoded: first their number as the
// array header gives it (a damaged file may claim more than it holds: nothing should
// be taken for them before they come), then each cell, from 0.
class grid_visitor {
  public:
    virtual void start(std::int32_t cells) = 0;
    virtual void cell(std::int32_t i, const cella& c) = 0;

  protected:
    ~grid_visitor() = default;
};

// Decodes a grid file through a bounded buffer, handing each cell to the visitor as
// soon as it is read. A file that is not a grid file throws decode_error after the
// cells before the fault have been handed over.
void stream_grid(byte_source& bytes, grid_visitor& visitor);

}  // namespace scenario
