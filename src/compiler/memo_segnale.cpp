#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "model/packing.hpp"

namespace scenario {

void memo_segnale(run_state& stato, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1,
                  std::int32_t& s2, std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx,
                  std::int32_t& d1, std::int32_t& d2, std::int32_t& d3, std::int32_t& tempo) {
    const std::int64_t c = point_cell(posizione);
    cella& cell = cell_at(stato.celle, c);
    if (!libera(cell)) {
        stato.codice_errore = 16;
        return;
    }

    // Decimal packings: tens for the first group, units for the second; they keep
    // their low 16 bits.
    cell.tipo_cella = tipo::segnale;
    cell.valore1 = wrap16(signal_pair(s1, d1));
    cell.valore2 = wrap16(signal_pair(s2, d2));
    cell.valore3 = wrap16(signal_pair(s3, d3));
    cell.valore4 = wrap16(signal_fourth(rapp, sx, dx));

    if (tempo >= 1 && tempo <= 100) {
        tempo = 101;
    }
    cell.tempo_segnale = sx == 2 ? wrap8(tempo) : 0;  // the time keeps its low 8 bits

    // Approach markers 100, 200, 300 and 400 m before the signal, whatever those
    // cells hold; the marker keeps its low 8 bits. Marker cells before cell 0 are
    // skipped.
    for (std::int64_t b = 1; b <= 4; ++b) {
        const std::int64_t m = c - 2 * b;
        if (in_grid(stato.celle, m)) {
            stato.celle[static_cast<std::size_t>(m)].avvicinamento =
                wrap8(approach_marker(sx, dx, b));
        }
    }
}

}  // namespace scenario
