#include "compiler/compile.hpp"

#include "compiler/code_placement.hpp"
#include "compiler/diagnostics.hpp"
#include "compiler/markers.hpp"
#include "compiler/memorizza_dati.hpp"

namespace scenario {

std::int32_t compile_scenario(run_state& state, document_store& store, std::int32_t j) {
    state.con_tracciato = j;
    state.codice_errore = 0;  // posizione_errore is deliberately not reset
    for (voce& v : state.voci) {
        v = voce{};
    }
    state.trace = reading_trace{};
    memorizza_dati(state, store);
    place_code_points(state);
    const std::int32_t fatal = fill_marker_slots(state);
    if (fatal != 0) {
        // Reported at the element that took cell 1, where the trace knows it.
        const reading_trace& trace = state.trace;
        if (trace.cells.size() > 1 && trace.cells[1].row >= 0) {
            const cell_origin& origin = trace.cells[1];
            const source_row& row = trace.rows[static_cast<std::size_t>(origin.row)];
            record_fatal(
                state, fatal, place_of_row(state, row),
                error_message(fatal, origin.automatic
                                         ? say(phrase::detail_cell_one_automatic)
                                         : say(phrase::detail_cell_one,
                                               {element_name(state.celle[1].tipo_cella)})));
        } else {
            record_fatal(state, fatal, error_place{}, error_message(fatal));
        }
    }
    return fatal;
}

}  // namespace scenario
