#include "files/grid_file.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "files/block_buffer.hpp"
#include "files/byte_reader.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

char* encode_cell(const cella& c, char* p) {
    for_each_field(cella_fields, [&](auto field) { p = put_le(p, field.stored(c)); });
    return p;
}

}  // namespace

void encode_grid(const griglia& celle, byte_sink& out) {
    block_buffer buffer(out);
    char* p = buffer.room(grid_header_bytes);
    p = put_array_header(
        p, std::array{fit<std::int32_t>(static_cast<std::int64_t>(celle.size()), "grid size")});
    buffer.commit(p);
    constexpr std::size_t cells_per_block = block_buffer::capacity / cell_bytes;
    for (std::size_t first = 0; first < celle.size(); first += cells_per_block) {
        const std::size_t last = std::min(celle.size(), first + cells_per_block);
        p = buffer.room((last - first) * cell_bytes);
        for (std::size_t i = first; i < last; ++i) {
            p = encode_cell(celle[i], p);
        }
        buffer.commit(p);
    }
    buffer.flush();
}

griglia decode_grid(std::string_view bytes) {
    byte_reader in(bytes);
    expect_dimensions(in, grid_dimensions, "grid file");
    const std::uint64_t count_at = in.offset();
    const std::int32_t count = read_bound_pair(in, "the cell count", "the lower bound");
    if (count < 0) {
        throw decode_error(count_at, "the cell count is negative (" + std::to_string(count) + ")");
    }
    // Every count is checked against the bytes left before the cells are made.
    const std::uint64_t complete = in.left() / cell_bytes;
    if (complete < static_cast<std::uint64_t>(count)) {
        // Skip to the first cell the file cannot hold whole, to report its offset.
        in.skip(complete * cell_bytes, "the cells");
        in.record("cell " + std::to_string(complete) + " (of " + std::to_string(count) + ")");
        in.need(cell_bytes, "the cell record");
    }
    griglia celle(static_cast<std::size_t>(count));
    for (cella& c : celle) {
        for_each_field(cella_fields, [&](auto field) {
            field.store(c, in.integer<typename decltype(field)::integer>(field.name));
        });
    }
    in.expect_end("the last cell");
    return celle;
}

}  // namespace scenario
