#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

// near(d / 5 + 20 s) as a 16-bit value: the first speed fills the hundreds and
// above, the second speed the two low digits. A packing that does not fit fails.
std::int16_t velocita(std::int32_t s, std::int32_t d, const char* campo) {
    const std::int64_t quinti = std::int64_t{d} + 100 * std::int64_t{s};
    return fit<std::int16_t>(near(static_cast<double>(quinti) / 5.0), campo);
}

}  // namespace

void memo_indicatori_v_max(run_state& stato, std::int32_t posizione, std::int32_t& vas,
                           std::int32_t& vbs, std::int32_t& vcs, std::int32_t& strisces,
                           std::int32_t& vad, std::int32_t& vbd, std::int32_t& vcd,
                           std::int32_t& strisced) {
    cella& cel =
        cell_at(stato.celle, point_cell(posizione));
    if (!libera(cel)) {
        stato.codice_errore = 21;
        return;
    }
    // All three packings are checked before the cell is touched, so a board whose
    // speeds do not fit leaves the cell as it was.
    const std::int16_t a = velocita(vas, vad, "speed board packing for rank A");
    const std::int16_t b = velocita(vbs, vbd, "speed board packing for rank B");
    const std::int16_t c = velocita(vcs, vcd, "speed board packing for rank C");

    cel.tipo_cella = indicatore_vmax;
    cel.valore1 = a;
    cel.valore2 = b;
    cel.valore3 = c;
    // The stripe counts keep the low 16 bits of their packing.
    cel.valore4 = wrap16(10 * std::int64_t{strisces} + strisced);
}

}  // namespace scenario
