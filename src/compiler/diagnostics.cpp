#include "compiler/diagnostics.hpp"

#include <utility>

namespace scenario {

void record_error(run_state& state, std::int32_t number, std::optional<std::int32_t> position,
                  error_place place, std::string message) {
    state.codice_errore = number;
    if (position) {
        state.posizione_errore = *position;
    }
    diagnostic d;
    d.level = severity::error;
    d.number = number;
    d.position = state.posizione_errore;
    d.has_position = position.has_value();
    d.document = std::move(place.document);
    d.line = place.line;
    d.column = place.column;
    d.end_column = place.end_column;
    d.text = std::move(place.text);
    d.message = std::move(message);
    state.diagnostics.push_back(std::move(d));
}

}  // namespace scenario
