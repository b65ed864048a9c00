#pragma once

#include <cstdint>
#include <string>

#include "app/platform.hpp"
#include "files/document_store.hpp"
#include "model/run_state.hpp"

namespace scenario {

// Where one run works: the platform, its output folder and the store the compiler
// reads the documents from.
struct run_context {
    platform& system;
    std::string folder;
    char separator;
    document_store& documents;
};

// Shows " Errore n. " followed by a in a message box; returns the status the run then
// ends with.
int errore(platform& sistema, const std::string& a);

// Writes the five documents of the built-in scenario into the output folder.
void write_documents(const run_state& stato, const run_context& contesto);

// Compiles the scenario with the plan switch j and writes its binary files. Returns 0,
// or after a fatal error, which writes nothing, the status the run ends with. A file
// that cannot be written throws file_error.
int memorizza_percorso(run_state& stato, std::int32_t j, run_context& contesto);

// The whole run of the generator; returns the exit status. A failure is reported on
// the platform before it returns.
int Form_Load(platform& sistema);

}  // namespace scenario
