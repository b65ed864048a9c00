#include "output/encoders.hpp"
#include "output/little_endian.hpp"

namespace scenario {

std::uint64_t plan_file_size(std::uint64_t m) {
    return 18 + 2 * (8 + 10 * (m - 3) + 4);
}

void encode_plan(const tracciato_linea& tracciato, byte_sink& out) {
    le_writer w(out);
    const auto metres = static_cast<std::int32_t>(tracciato.punti());
    w.u16(2);  // two dimensions
    if (plan_header_metre_pair_first) {
        w.i32(metres), w.i32(0), w.i32(2), w.i32(0);
    } else {
        w.i32(2), w.i32(0), w.i32(metres), w.i32(0);
    }
    const auto& kinds = tracciato.kinds();
    const auto& values = tracciato.values();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const auto kind = static_cast<tipo_valore>(kinds[i]);
        w.u16(kinds[i]);
        if (kind == tipo_valore::intero) {
            w.i16(static_cast<std::int16_t>(values[i]));
        } else if (kind == tipo_valore::doppio) {
            w.f64(values[i]);
        }
    }
    w.flush();
}

}  // namespace scenario
