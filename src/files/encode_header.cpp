#include <stdexcept>

#include "files/encoders.hpp"
#include "files/little_endian.hpp"

namespace scenario {

std::uint64_t header_record_size(const voce& v) {
    return 34 + v.nome.size();
}

void encode_header(const tabella_voci& voci, byte_sink& out) {
    le_writer w(out);
    for (const voce& v : voci) {
        if (v.nome.size() > 0xFFFF) {
            throw std::length_error("a header record name is longer than 65535 bytes");
        }
        w.u8(v.tipo_stazione);
        w.i32(v.inizio_area);
        w.i32(v.fine_area);
        w.i32(v.progressiva);
        w.u8(v.opzione_a);
        w.u16(static_cast<std::uint16_t>(v.nome.size()));
        w.bytes(v.nome);
        w.i16(v.numero_a);
        w.i16(v.numero_b);
        w.i16(v.numero_c);
        w.i16(v.numero_d);
        w.i16(v.numero_e);
        w.u8(v.opzione_b);
        w.u8(v.opzione_c);
        w.u8(v.opzione_d);
        w.u8(v.opzione_e);
        w.i32(v.orario);
    }
    w.flush();
}

}  // namespace scenario
