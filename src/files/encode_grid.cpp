#include <algorithm>

#include "model/packing.hpp"
#include "files/block_buffer.hpp"
#include "files/encoders.hpp"

namespace scenario {

std::uint64_t grid_file_size(std::uint64_t cells) {
    return 10 + 15 * cells;
}

namespace {

constexpr std::size_t cell_bytes = 15;

char* encode_cell(const cella& c, char* p) {
    p = put_le(p, c.tipo_cella);
    p = put_le(p, c.valore1);
    p = put_le(p, c.valore2);
    p = put_le(p, c.valore3);
    p = put_le(p, c.valore4);
    p = put_le(p, c.tempo_segnale);
    p = put_le(p, c.avvicinamento);
    p = put_le(p, c.montagna);
    p = put_le(p, c.vel_limite);
    p = put_le(p, c.pendenza);
    return put_le(p, c.aderenza);
}

}  // namespace

void encode_grid(const griglia& celle, byte_sink& out) {
    block_buffer buffer(out);
    char* p = buffer.room(10);
    p = put_le(p, std::uint16_t{1});  // one dimension
    p = put_le(p, fit<std::int32_t>(static_cast<std::int64_t>(celle.size()), "grid size"));
    p = put_le(p, std::int32_t{0});  // lower bound
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

}  // namespace scenario
