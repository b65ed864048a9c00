#include "compiler/memorizza_dati.hpp"

namespace scenario {

void memorizza_dati(run_state& stato, document_store& documenti) {
    // The readers come here.
    (void)stato;
    (void)documenti;
}

}  // namespace scenario
