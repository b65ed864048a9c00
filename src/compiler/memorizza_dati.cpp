#include "compiler/memorizza_dati.hpp"

#include "compiler/line_reader.hpp"
#include "compiler/messages.hpp"
#include "compiler/reading.hpp"
#include "compiler/train_reader.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

void memorizza_dati(run_state& stato, document_store& documenti) {
    reading r(stato, documenti);
    stato.voci[voce_scenario].nome = stato.nome_scenario;
    stato.voci[voce_treno].nome = stato.nome_treno;
    try {
        if (read_line_document(r)) {
            read_train_document(r);
        }
    } catch (const reader_failure& failure) {
        // Any failure the readers do not test for themselves: both documents go (as far
        // as they still exist), the error becomes 25 and the model stays as written.
        for (const std::string* name : {&r.line_name, &r.train_name}) {
            if (documenti.exists(*name)) {
                documenti.remove(*name);
            }
        }
        r.record_failure(failure.what());
    }
    // The rows of the trace point into the documents: they stay with it.
    reading_trace& trace = stato.trace;
    if (r.which == source_document::train) {
        trace.line_document = std::move(r.line_held);
        trace.train_document = std::move(r.held);
    } else {
        // The train document was never opened; the line document may already have been
        // put aside for it.
        trace.line_document = r.line_held ? std::move(r.line_held) : std::move(r.held);
    }
}

}  // namespace scenario
