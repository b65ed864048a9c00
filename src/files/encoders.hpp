#pragma once

#include <cstddef>
#include <cstdint>

#include "model/cella.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"
#include "files/byte_sink.hpp"

namespace scenario {

// Order of the two bound pairs in the line plan file's array header: the metre
// index (M + 1 elements from 0) first, then the coordinate index (2 from 0).
constexpr bool plan_header_metre_pair_first = true;

// The header file: the 87 records, entry 0 first, no array header.
void encode_header(const tabella_voci& voci, byte_sink& out);

// The grid file: a one-dimensional array header, then cells 0 to N, 15 bytes each.
void encode_grid(const griglia& celle, byte_sink& out);

// The line plan file: a two-dimensional array header, then every tagged value in
// storage order (all first coordinates, then all second coordinates).
// It is written by position (write_at): the header, then the first coordinates from
// its end and the second ones from theirs, side by side, in pieces of at most
// plan_write_bytes (all but the last of each nearly that size).
void encode_plan(const tracciato_linea& tracciato, byte_sink& out);
constexpr std::size_t plan_write_bytes = std::size_t{256} << 10;

// Exact sizes of the encoded files.
std::uint64_t grid_file_size(std::uint64_t cells);
std::uint64_t header_record_size(const voce& v);
// With metres 2 to M - 2 computed and the last two empty, as the line reader leaves it.
std::uint64_t plan_file_size(std::uint64_t last_metre);

}  // namespace scenario
