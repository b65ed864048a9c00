#pragma once

#include <cstdint>
#include <string>

#include "app/platform.hpp"
#include "compiled/compiled_scenario.hpp"
#include "files/document_store.hpp"
#include "model/run_state.hpp"

namespace scenario {

// Where one run works: the platform, its output folder and the store the compiler
// reads the documents from.
struct run_context {
    platform& system;
    std::string folder;
    document_store& documents;
};

// Shows " Errore n. " followed by a in a message box; returns the status the run then
// ends with.
int errore(platform& sistema, const std::string& a);

// Writes the five documents of the built-in scenario of the request into the output folder.
void write_documents(const compile_request& request, const run_context& context);

// Compiles the scenario of the request (its plan switch j: request.plan) from the
// context's store into `compiled` and writes its binary files. Returns 0, or after a
// fatal error, which writes nothing, the status the run ends with. A file that cannot
// be written throws file_error.
int memorizza_percorso(const compile_request& request, run_context& context,
                       compiled_scenario& compiled);

// The whole run of the generator; returns the exit status. A failure is reported on
// the platform before it returns.
int Form_Load(platform& sistema);

}  // namespace scenario
