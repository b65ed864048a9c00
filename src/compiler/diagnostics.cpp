#include "compiler/diagnostics.hpp"

#include <utility>

namespace scenario {

void record_error(run_state& stato, std::int32_t numero, std::optional<std::int32_t> posizione,
                  error_place luogo, std::string dettaglio) {
    stato.codice_errore = numero;
    if (posizione) {
        stato.posizione_errore = *posizione;
    }
    diagnostic d;
    d.numero = numero;
    d.posizione = stato.posizione_errore;
    d.ha_posizione = posizione.has_value();
    d.documento = std::move(luogo.documento);
    d.riga = luogo.riga;
    d.colonna = luogo.colonna;
    d.testo = std::move(luogo.testo);
    d.dettaglio = std::move(dettaglio);
    stato.diagnostics.push_back(std::move(d));
}

}  // namespace scenario
