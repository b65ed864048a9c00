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

void stream_grid(byte_source& bytes, grid_visitor& visitor) {
    byte_reader in(bytes, 0, bytes.size());
    expect_dimensions(in, grid_dimensions, "grid file");
    const std::uint64_t count_at = in.offset();
    const std::int32_t count = read_bound_pair(in, "the cell count", "the lower bound");
    if (count < 0) {
        throw decode_error(count_at, "the cell count is negative (" + std::to_string(count) + ")");
    }
    visitor.start(count);
    // The count is checked against the bytes left: only the cells the file holds whole
    // are read, and the first one it cannot hold is reported at its offset.
    const auto complete =
        static_cast<std::int32_t>(std::min<std::uint64_t>(in.left() / cell_bytes, count));
    cella c;
    for (std::int32_t i = 0; i < complete; ++i) {
        for_each_field(cella_fields, [&](auto field) {
            field.store(c, in.integer<typename decltype(field)::integer>(field.name));
        });
        visitor.cell(i, c);
    }
    if (complete < count) {
        in.record("cell " + std::to_string(complete) + " (of " + std::to_string(count) + ")");
        in.need(cell_bytes, "the cell record");
    }
    in.expect_end("the last cell");
}

}  // namespace scenario
