#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/cella.hpp"
#include "model/diagnostic.hpp"
#include "model/reading_trace.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"

namespace scenario {

// The model's values one run shares between its procedures, under the model's names.
struct dati_comuni {
    std::string nome_scenario;
    std::string nome_treno;
    tabella_voci voci{};
    griglia celle;              // empty until the route length is read
    tracciato_linea tracciato;  // exists only when con_tracciato is not 0
    std::int32_t con_tracciato = 0;
    std::string riga;  // the text field last read from a document
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
};

// One run's state: the model's values and what we add beside them. Passed by
// reference, never global.
struct run_state : dati_comuni {
    std::vector<diagnostic> diagnostics;  // every error, warning and note made, in order
    reading_trace trace;                  // where the elements came from, for the diagnostics
};

}  // namespace scenario
