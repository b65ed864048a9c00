#include "compiler/markers.hpp"

#include "compiler/integrity_codes.hpp"
#include "model/packing.hpp"

namespace scenario {

std::int32_t imposta_marcatori(run_state& stato) {
    voce& intestazione = stato.voci[voce_scenario];
    cella* cella1 = stato.celle.size() > 1 ? &stato.celle[1] : nullptr;

    if (intestazione.numero_a != 0 || (cella1 != nullptr && cella1->valore1 != 0)) {
        return 1250;
    }
    intestazione.numero_a = marcatore_intestazione;
    if (cella1 != nullptr) {
        cella1->valore1 = marcatore_griglia;
    }
    if (intestazione.orario != 0 || (cella1 != nullptr && cella1->valore2 != 0)) {
        return 1251;
    }
    intestazione.orario = codice_gara_st(stato.voci);
    if (cella1 != nullptr) {
        // At most 25 x 255, so the plain code always fits.
        cella1->valore2 = static_cast<std::int16_t>(codice_gara_og(stato.voci));
    }
    return 0;
}

}  // namespace scenario
