#include "compiler/compile.hpp"

#include "compiler/code_placement.hpp"
#include "compiler/markers.hpp"
#include "compiler/memorizza_dati.hpp"

namespace scenario {

std::int32_t compile_scenario(run_state& stato, document_store& documenti, std::int32_t j) {
    stato.con_tracciato = j;
    stato.codice_errore = 0;  // posizione_errore is deliberately not reset
    for (voce& v : stato.voci) {
        v = voce{};
    }
    memorizza_dati(stato, documenti);
    place_code_points(stato);
    return fill_marker_slots(stato);
}

}  // namespace scenario
