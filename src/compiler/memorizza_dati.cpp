#include "compiler/memorizza_dati.hpp"

#include "compiler/line_reader.hpp"
#include "compiler/messages.hpp"
#include "compiler/reading.hpp"
#include "compiler/train_reader.hpp"
#include "compiler/value_checks.hpp"
#include "files/file_error.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

void memorizza_dati(run_state& stato, document_store& documenti) {
    reading r(stato, documenti);
    stato.voci[voce_scenario].nome = stato.nome_scenario;
    stato.voci[voce_treno].nome = stato.nome_treno;
    // The train document as it was before its reading began, when it never began: the
    // note on an error that stopped the line document counts its rows.
    shared_document train_unread;
    // A train document that cannot be read leaves no count: its own error 25 says why.
    const auto keep_unread_train = [&] {
        if (r.which == source_document::line && !train_unread && documenti.exists(r.train_name)) {
            try {
                train_unread = documenti.read(r.train_name);
            } catch (const file_error&) {
                train_unread = nullptr;
            }
        }
    };
    try {
        if (read_line_document(r)) {
            read_train_document(r);
        } else {
            keep_unread_train();
        }
    } catch (const reader_failure& failure) {
        // Any failure the readers do not test for themselves: both documents go (as far
        // as they still exist), the error becomes 25 and the model stays as written.
        keep_unread_train();
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
    note_where_reading_stopped(r, trace.line_document ? *trace.line_document : std::string_view(),
                               trace.train_document  ? *trace.train_document
                               : train_unread        ? *train_unread
                                                     : std::string_view(),
                               r.which == source_document::line);
}

}  // namespace scenario
