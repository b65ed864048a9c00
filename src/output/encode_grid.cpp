#include "output/encoders.hpp"
#include "output/little_endian.hpp"

namespace scenario {

std::uint64_t grid_file_size(std::uint64_t cells) {
    return 10 + 15 * cells;
}

void encode_grid(const griglia& celle, byte_sink& out) {
    le_writer w(out);
    w.u16(1);  // one dimension
    w.i32(static_cast<std::int32_t>(celle.size()));
    w.i32(0);  // lower bound
    for (const cella& c : celle) {
        w.u8(c.tipo_cella);
        w.i16(c.valore1);
        w.i16(c.valore2);
        w.i16(c.valore3);
        w.i16(c.valore4);
        w.u8(c.tempo_segnale);
        w.u8(c.avvicinamento);
        w.u8(c.montagna);
        w.u8(c.vel_limite);
        w.u8(c.pendenza);
        w.u8(c.aderenza);
    }
    w.flush();
}

}  // namespace scenario
