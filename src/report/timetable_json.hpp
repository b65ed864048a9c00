#pragma once

#include <string>

#include "model/run_state.hpp"
#include "report/diagnostic_json.hpp"
#include "report/json_writer.hpp"
#include "timetable/timetable.hpp"

namespace scenario {

// A timetable as one JSON object (docs/live.md): the train's figures, every station with
// its time, running times, margin and the fastest run's times, and the fastest run's line.
// The one shape "scenario timetable --json" and the live page share.
void write_timetable_json(const timetable& t, const run_state& state, const document_paths& paths,
                          json_writer& json);

}  // namespace scenario
