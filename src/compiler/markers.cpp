#include "compiler/markers.hpp"

#include "compiler/integrity_codes.hpp"
#include "model/packing.hpp"

namespace scenario {

std::int32_t fill_marker_slots(run_state& state) {
    voce& header = state.voci[voce_scenario];
    cella* cell1 = state.celle.size() > 1 ? &state.celle[1] : nullptr;

    if (header.numero_a != 0 || (cell1 != nullptr && cell1->valore1 != 0)) {
        return 1250;
    }
    header.numero_a = marcatore_intestazione;
    if (cell1 != nullptr) {
        cell1->valore1 = marcatore_griglia;
    }
    if (header.orario != 0 || (cell1 != nullptr && cell1->valore2 != 0)) {
        return 1251;
    }
    header.orario = codice_gara_st(state.voci);
    if (cell1 != nullptr) {
        // At most 25 x 255, so the plain code always fits.
        cell1->valore2 = static_cast<std::int16_t>(codice_gara_og(state.voci));
    }
    return 0;
}

}  // namespace scenario
