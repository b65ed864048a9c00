
#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "cli/text_table.hpp"
#include "compiled/compiled_scenario.hpp"
#include "compiler/messages.hpp"
#include "report/json_writer.hpp"
#include "report/timetable_json.hpp"
#include "text/windows1252.hpp"
#include "timetable/timetable.hpp"

namespace scenario::cli {

namespace {

// A running time as the table shows it: "27:51", "1:02:05", "-0:12".
std::string table_duration(std::int64_t seconds) {
    const std::int64_t s = seconds < 0 ? -seconds : seconds;
    const std::string sign = seconds < 0 ? "-" : "";
    if (s >= 3600) {
        return sign + std::to_string(s / 3600) + ":" + two_digits(s / 60 % 60) + ":" +
               two_digits(s % 60);
    }
    return sign + std::to_string(s / 60) + ":" + two_digits(s % 60);
}

// The fastest run's time at a station, to the second (a run that reaches it within a
// second of a whole one counts as that one).
std::string run_time(const std::optional<double>& t) {
    return t ? clock_text(whole_seconds(*t)) : std::string();
}

void write_table(const timetable& t, const run_state& state, std::ostream& out) {
    out << "train \"" << windows1252_to_utf8(state.nome_treno) << "\": braked mass "
        << t.braked_mass << " %, ";
    if (t.braking) {
        out << "braking " << two_decimals(*t.braking) << " m/s²";
    } else {
        out << "no braking figure (a braked mass of 0 or less: no estimate)";
    }
    out << ", acceleration " << two_decimals(t.acceleration)
        << " m/s² (both on the level); the clock starts at " << clock_text(t.clock) << "\n";
    if (!t.has_speeds) {
        out << "the train document has no speed limit profile (\"velocita\"): no running time "
               "can be worked out\n";
    } else if (t.timed() < 2) {
        out << "fewer than two stations are timed: there is no running time to check\n";
    }
    out << '\n';
    text_table table({{"position"},
                      {"time", true, 8},
                      {"least", true, 8},
                      {"estimate", true, 8},
                      {"margin", true, 7},
                      {"fastest run", false, 19},
                      {"station", false, 0, true}},
                     out);
    table.print_head();
    for (const timetable_station& s : t.stations) {
        std::vector<std::string> row(7);
        row[0] = std::to_string(s.position);
        row[1] = s.time ? clock_text(*s.time) : "";
        if (s.blocked) {
            row[2] = "blocked";
        } else if (s.least) {
            row[2] = table_duration(whole_seconds(*s.least));
        }
        if (s.estimate) {
            row[3] = table_duration(whole_seconds(*s.estimate));
        }
        if (const auto margin = margin_of(s)) {
            row[4] = table_duration(*margin);
        }
        row[5] = run_time(s.arrival);
        if (s.departure && s.arrival && whole_seconds(*s.departure) != whole_seconds(*s.arrival)) {
            row[5] += " - " + run_time(s.departure);
        }
        row[6] = windows1252_to_utf8(state.voci[static_cast<std::size_t>(s.entry)].nome);
        table.print_row(row);
    }
}

void write_json(const compiled_scenario& compiled, const timetable* t,
                std::span<const diagnostic> shown, const document_paths& paths,
                std::ostream& out) {
    json_writer json(out);
    json.begin_object();
    json.member("error", compiled.state.codice_errore);
    json.member("position", compiled.state.posizione_errore);
    if (compiled.fatal != 0) {
        json.member("fatal", compiled.fatal);
    } else {
        json.member_null("fatal");
    }
    json.key("diagnostics");
    json.begin_array();
    for (const diagnostic& d : shown) {
        write_error_json(d, paths, json);
    }
    json.end_array();
    json.key("timetable");
    if (t != nullptr) {
        write_timetable_json(*t, compiled.state, paths, json);
    } else {
        json.null();
    }
    json.end_object();
    out << '\n';
}

}  // namespace

int run_timetable(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    compile_request request = request_of(parsed);
    const warning_options warnings = warning_options_of(parsed);
    request.timetable.tight = true;
    const bool json = parsed.flag("--json");

    const compiled_scenario compiled = compile(request);
    const document_paths paths = [&](const std::string& name) { return compiled.path_of(name); };
    if (compiled.unread) {
        err << read_failure_line(*compiled.unread) << '\n';
        if (json) {
            write_json(compiled, nullptr, {}, paths, out);
        }
        return exit_status::file;
    }
    const std::vector<diagnostic> shown = shown_diagnostics(compiled.state, warnings);
    const timetable t = make_timetable(compiled.state, request.timetable);
    if (json) {
        write_json(compiled, &t, shown, paths, out);
    } else {
        render_errors(shown, compiled.state, paths, err);
        write_table(t, compiled.state, out);
    }
    if (compiled.fatal != 0) {
        if (!json) {
            err << "scenario: fatal error " << compiled.fatal << ": "
                << error_message(compiled.fatal) << '\n';
        }
        return exit_status::fatal;
    }
    return error_count(shown) == 0 ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace scenario::cli
