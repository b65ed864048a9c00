#include "compiler/compile.hpp"

#include "compiler/code_placement.hpp"
#include "compiler/diagnostics.hpp"
#include "compiler/markers.hpp"
#include "compiler/memorizza_dati.hpp"

namespace scenario {

std::int32_t compile_scenario(run_state& stato, document_store& documenti, std::int32_t j) {
    stato.con_tracciato = j;
    stato.codice_errore = 0;  // posizione_errore is deliberately not reset
    for (voce& v : stato.voci) {
        v = voce{};
    }
    stato.trace = reading_trace{};
    memorizza_dati(stato, documenti);
    place_code_points(stato);
    const std::int32_t fatal = fill_marker_slots(stato);
    if (fatal != 0) {
        // Reported at the element that took cell 1, where the trace knows it.
        const reading_trace& trace = stato.trace;
        if (trace.cells.size() > 1 && trace.cells[1].row >= 0) {
            const cell_origin& origin = trace.cells[1];
            const source_row& row = trace.rows[static_cast<std::size_t>(origin.row)];
            record_fatal(
                stato, fatal, place_of_row(stato, row),
                error_message(fatal, origin.automatic
                                         ? say(phrase::detail_cell_one_automatic)
                                         : say(phrase::detail_cell_one,
                                               {element_name(stato.celle[1].tipo_cella)})));
        } else {
            record_fatal(stato, fatal, error_place{}, error_message(fatal));
        }
    }
    return fatal;
}

}  // namespace scenario
