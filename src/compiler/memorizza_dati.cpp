#include "compiler/memorizza_dati.hpp"

#include "compiler/line_reader.hpp"
#include "compiler/messages.hpp"
#include "compiler/reading.hpp"
#include "compiler/train_reader.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

void memorizza_dati(run_state& stato, document_store& documenti) {
    lettura l(stato, documenti);
    stato.voci[voce_scenario].nome = stato.nome_scenario;
    stato.voci[voce_treno].nome = stato.nome_treno;
    try {
        if (leggi_documento_linea(l)) {
            leggi_documento_treno(l);
        }
    } catch (const reader_failure& guasto) {
        // Any failure the readers do not test for themselves: both documents go (as far
        // as they still exist), the error becomes 25 and the model stays as written.
        for (const std::string* nome : {&l.nome_linea, &l.nome_treno}) {
            if (documenti.exists(*nome)) {
                documenti.remove(*nome);
            }
        }
        record_error(stato, 25, std::nullopt, l.luogo_guasto(), error_message(25, guasto.what()));
    }
}

}  // namespace scenario
