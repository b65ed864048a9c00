#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/run_state.hpp"

namespace scenario {

// Where an error was found: the document, the 1-based line and column of the field
// the reader points at (0 when there is none) and the text of that line.
struct error_place {
    std::string documento;
    int riga = 0;
    int colonna = 0;
    std::string testo;
};

// Records a scenario error: codice_errore becomes numero, posizione_errore becomes
// posizione when the error has a position of its own (otherwise it keeps its value),
// and a diagnostic is appended to stato.diagnostics.
void record_error(run_state& stato, std::int32_t numero, std::optional<std::int32_t> posizione,
                  error_place luogo, std::string dettaglio = {});

}  // namespace scenario
