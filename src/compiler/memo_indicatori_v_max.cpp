#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

// near(second / 5 + 20 first): the first speed fills the hundreds and above, the second
// speed the two low digits.
std::int64_t speed_board_packing(std::int32_t first, std::int32_t second) {
    const std::int64_t packed = std::int64_t{second} + 100 * std::int64_t{first};
    return near(static_cast<double>(packed) / 5.0);
}

namespace {

// A packing that does not fit 16 bits fails.
std::int16_t board_speed(std::int32_t first, std::int32_t second, const char* what) {
    return fit<std::int16_t>(speed_board_packing(first, second), what);
}

}  // namespace

void memo_indicatori_v_max(run_state& stato, std::int32_t posizione, std::int32_t& vas,
                           std::int32_t& vbs, std::int32_t& vcs, std::int32_t& strisces,
                           std::int32_t& vad, std::int32_t& vbd, std::int32_t& vcd,
                           std::int32_t& strisced) {
    cella& cell = cell_at(stato.celle, point_cell(posizione));
    if (!libera(cell)) {
        stato.codice_errore = 21;
        return;
    }
    // All three packings are checked before the cell is touched, so a board whose
    // speeds do not fit leaves the cell as it was.
    const std::int16_t a = board_speed(vas, vad, "speed board packing for rank A");
    const std::int16_t b = board_speed(vbs, vbd, "speed board packing for rank B");
    const std::int16_t c = board_speed(vcs, vcd, "speed board packing for rank C");

    cell.tipo_cella = tipo::indicatore_vmax;
    cell.valore1 = a;
    cell.valore2 = b;
    cell.valore3 = c;
    // The stripe counts keep the low 16 bits of their packing.
    cell.valore4 = wrap16(stripe_packing(strisces, strisced));
}

}  // namespace scenario
