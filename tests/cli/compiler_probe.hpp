#pragma once

#include "compiler/compile.hpp"
#include "compiler/document_store.hpp"
#include "model/file_names.hpp"

namespace scenario::testing {

// Whether the document readers are part of this build: a line document without
// "[generale]" must record an error. Until the readers land the compile records
// nothing, and the tests that need real diagnostics skip.
inline bool readers_present() {
    run_state stato;
    stato.nome_scenario = "P";
    stato.nome_treno = "T";
    memory_store store;
    store.put(nome_documento_linea("P"), "nothing here\r\n");
    store.put(nome_documento_treno("P", "T"), "nothing here\r\n");
    compila(stato, store, 1);
    return stato.codice_errore != 0;
}

}  // namespace scenario::testing
