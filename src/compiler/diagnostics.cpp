#include "compiler/diagnostics.hpp"

#include <utility>

namespace scenario {

void record_error(run_state& stato, std::int32_t number, std::optional<std::int32_t> position,
                  error_place place, std::string message) {
    stato.codice_errore = number;
    if (position) {
        stato.posizione_errore = *position;
    }
    diagnostic d;
    d.level = severity::error;
    d.number = number;
    d.position = stato.posizione_errore;
    d.has_position = position.has_value();
    d.document = std::move(place.document);
    d.line = place.line;
    d.column = place.column;
    d.end_column = place.end_column;
    d.text = std::move(place.text);
    d.message = std::move(message);
    stato.diagnostics.push_back(std::move(d));
}

}  // namespace scenario
