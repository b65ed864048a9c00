#include "documents/built_in_documents.hpp"

namespace scenario {

void write_built_in_documents(const document_target& t) {
    dati_linea(t);
    dati_treno(t);
    dati_note(t);
    dati_rallentamenti(t);
    dati_scheda(t);
}

}  // namespace scenario
