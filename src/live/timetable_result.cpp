#include "live/result_json.hpp"
#include "report/timetable_json.hpp"

namespace scenario::live {

void write_timetable(const compiled_scenario& compiled, const timetable_options& options,
                     json_writer& json) {
    const document_paths paths = [&](const std::string& name) { return compiled.path_of(name); };
    write_timetable_json(make_timetable(compiled.state, options), compiled.state, paths, json);
}

}  // namespace scenario::live
