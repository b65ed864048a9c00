#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/diagnostic.hpp"
#include "model/run_state.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

// The parts of a result (docs/live.md), each written as one member of the object open
// in the writer.

// The paths the user gave for the two documents.
struct document_pair {
    std::string line;
    std::string train;
};

// "drawing": the annotated picture of a compiled state with the errors among these
// diagnostics marked on it, and the list of its elements (the ids of the picture's
// data-element attributes).
void write_drawing(const run_state& drawn, std::uint64_t generation, bool stale,
                   std::span<const diagnostic> diagnostics, bool plan,
                   const document_pair& documents, json_writer& json);

// "status": the element counts of a compile and the files "scenario compile" would
// write for it with their sizes (none after a fatal error).
void write_status(const run_state& stato, bool writes, json_writer& json);

}  // namespace scenario::live
