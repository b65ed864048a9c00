#pragma once

#include <cstdint>
#include <span>

#include "compiled/compiled_scenario.hpp"
#include "model/diagnostic.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

// The name of an element kind in a result: "station", "signal", "board", ...
const char* kind_name(element_kind kind);

// The parts of a result (docs/live.md).

// The whole record of one element of a compiled scenario (its number in the element
// index): kind, name, position, cell, entry, stored values, description and the row that
// made it; the page shows it when the element is pointed at.
void write_element_record(const compiled_scenario& drawn, std::size_t id, json_writer& json);

// The value of "timetable": the timetable of a compiled scenario (report/timetable_json.hpp),
// worked out with the session's options.
void write_timetable(const compiled_scenario& compiled, const timetable_options& options,
                     json_writer& json);

// The value of "status": the element counts of a compile and the files "scenario compile" would
// write for it with their sizes (none when it would write none).
void write_status(const compiled_scenario& compiled, json_writer& json);

}  // namespace scenario::live
