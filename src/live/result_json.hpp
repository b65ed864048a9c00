#pragma once

#include <cstdint>
#include <span>

#include "compiled/compiled_scenario.hpp"
#include "model/diagnostic.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

// The parts of a result (docs/live.md), each written as one member of the object open
// in the writer.

// "drawing": the annotated picture of a compiled scenario with the errors among these
// diagnostics marked on it, and the list of its elements (its element index, whose
// numbers are the picture's data-element attributes).
void write_drawing(const compiled_scenario& drawn, std::uint64_t generation, bool stale,
                   std::span<const diagnostic> diagnostics, json_writer& json);

// "timetable": the timetable of a compiled scenario (report/timetable_json.hpp), worked out
// with the session's options; null when its documents could not be read.
void write_timetable(const compiled_scenario& compiled, const timetable_options& options,
                     json_writer& json);

// "status": the element counts of a compile and the files "scenario compile" would
// write for it with their sizes (none when it would write none).
void write_status(const compiled_scenario& compiled, json_writer& json);

}  // namespace scenario::live
