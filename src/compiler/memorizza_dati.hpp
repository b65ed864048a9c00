#pragma once

#include "files/document_store.hpp"
#include "model/run_state.hpp"

namespace scenario {

// Reads the line document, then the train document, of the scenario named in the
// state into voci, celle and tracciato, deleting each document once it is read
// (as far as the store deletes). Scenario faults are recorded, never thrown.
void memorizza_dati(run_state& stato, document_store& documenti);

}  // namespace scenario
