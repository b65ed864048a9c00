#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/array_header.hpp"
#include "files/byte_reader.hpp"
#include "files/byte_sink.hpp"
#include "model/tracciato.hpp"

namespace scenario {

// The line plan file (_linea.dat): a two-dimensional array header, then every value
// in storage order (all first coordinates, metre 0 first, then all second
// coordinates), each a 16-bit tag (tipo_valore) and what the tag says: nothing, a
// 16-bit integer or a 64-bit double.
constexpr std::uint16_t plan_dimensions = 2;
constexpr std::size_t plan_header_bytes = array_header_bytes(plan_dimensions);
// Order of the two bound pairs in the array header: the metre index (M + 1 elements
// from 0) first, then the coordinate index (2 from 0).
constexpr bool plan_header_metre_pair_first = true;
constexpr std::int32_t plan_coordinates = 2;
constexpr std::size_t plan_tag_bytes = 2;
constexpr std::size_t plan_value_bytes(tipo_valore t) {
    return plan_tag_bytes + (t == tipo_valore::intero ? 2 : t == tipo_valore::doppio ? 8 : 0);
}

// The bytes of the file of a plan of metres 0 to M as the line reader leaves it:
// metres 0 and 1 integers, 2 to M - 2 doubles, the last two empty.
constexpr std::uint64_t plan_file_size(std::uint64_t last_metre) {
    return plan_header_bytes + std::uint64_t{plan_coordinates} *
                                   (2 * plan_value_bytes(tipo_valore::intero) +
                                    (last_metre - 3) * plan_value_bytes(tipo_valore::doppio) +
                                    2 * plan_value_bytes(tipo_valore::vuoto));
}

// Written by position (write_at): the header, then the first coordinates from its end
// and the second ones from theirs, side by side, in pieces of at most plan_write_bytes
// (all but the last of each nearly that size).
void encode_plan(const tracciato_linea& tracciato, byte_sink& out);
// The bytes encode_plan writes, counted without computing a point.
std::uint64_t encoded_plan_size(const tracciato_linea& tracciato);
constexpr std::size_t plan_write_bytes = std::size_t{256} << 10;

// Receives the points of a line plan file as they are decoded: first their number
// (once every first coordinate has been checked), then each metre's two coordinates,
// from metre 0.
class plan_visitor {
  public:
    virtual void start(std::int32_t metres) = 0;
    virtual void point(std::int64_t metre, valore_piano x, valore_piano y) = 0;

  protected:
    ~plan_visitor() = default;
};

// Decodes a line plan file through bounded buffers, handing each point to the visitor
// as soon as both its coordinates are read: a first pass checks the first coordinates
// and finds where the second ones start, then two readers go through both in step.
// A file that is not a plan file throws decode_error after the points before the
// fault have been handed over (none when the fault is in the first coordinates); the
// offset is that of the first faulty byte in the file.
void stream_plan(byte_source& bytes, plan_visitor& visitor);

}  // namespace scenario
