#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/run_state.hpp"

namespace scenario {

// Where an error was found: the document, the line and the first and last column of the
// field the reader points at (0 when there is none) and the text of that line.
struct error_place {
    std::string document;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::string text;
};

// The one place a compile's diagnostics are made. Records an error: codice_errore
// becomes number, posizione_errore becomes position when the error has a position of
// its own (otherwise it keeps its value), and a diagnostic with the whole sentence
// (from the message table) is appended to state.diagnostics.
void record_error(run_state& state, std::int32_t number, std::optional<std::int32_t> position,
                  error_place place, std::string message);

}  // namespace scenario
