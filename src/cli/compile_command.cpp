#include <algorithm>
#include <optional>
#include <span>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "compiled/compiled_scenario.hpp"
#include "compiler/messages.hpp"
#include "files/file_error.hpp"
#include "report/counts.hpp"
#include "report/json_writer.hpp"

namespace scenario::cli {

namespace {

// How one compile ended, beside what the compiled scenario holds.
struct outcome {
    std::vector<std::string> files;
    std::optional<std::string> failure;  // a file that could not be read or written
};

void write_files_into(const compiled_scenario& compiled, const std::string& folder,
                      outcome& result) {
    try {
        result.files = write_files(compiled, folder);
    } catch (const file_error& e) {
        result.failure = e.what();  // nothing was replaced
    }
}

void write_json(const compiled_scenario& compiled, std::span<const diagnostic> shown,
                const outcome& result, const document_paths& paths, std::ostream& out) {
    const run_state& state = compiled.state;
    json_writer json(out);
    json.begin_object();
    json.member("error", state.codice_errore);
    json.member("position", state.posizione_errore);
    if (compiled.fatal != 0) {
        json.member("fatal", compiled.fatal);
    } else {
        json.member_null("fatal");
    }
    json.key("files");
    json.begin_array();
    for (const std::string& name : result.files) {
        json.string(name);
    }
    json.end_array();
    json.key("diagnostics");
    json.begin_array();
    for (const diagnostic& d : shown) {
        write_error_json(d, paths, json);
    }
    json.end_array();
    if (result.failure) {
        json.member("failure", *result.failure);
    }
    json.end_object();
    out << '\n';
}

std::string plural(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void write_summary(const run_state& state, std::span<const diagnostic> shown, const outcome& result,
                   bool writes, const std::string& folder, std::ostream& err) {
    err << "scenario: ";
    if (!writes) {
        err << "checked, nothing written";
    } else if (result.files.empty()) {
        err << "no file written";
    } else {
        err << "wrote ";
        for (std::size_t i = 0; i < result.files.size(); ++i) {
            err << (i == 0 ? "\"" : ", \"") << result.files[i] << '"';
        }
        err << " into \"" << folder << '"';
    }
    // "341 cells; 2 curves, 78 gradient rows, ..."
    const std::vector<named_count> counts = counts_of(state);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const named_count& n = counts[i];
        err << (i == 0 ? ": " : (i == 1 ? "; " : ", ")) << n.value << ' '
            << (n.value == 1 ? n.one : n.many);
    }
    const auto warnings = static_cast<std::int64_t>(warning_count(shown));
    const auto as_errors = std::count_if(shown.begin(), shown.end(), [](const diagnostic& d) {
        return d.level == severity::error && !d.name.empty();
    });
    if (warnings > 0) {
        err << "; " << plural(warnings, "warning", "warnings");
    }
    if (as_errors > 0) {
        err << "; " << plural(as_errors, "warning", "warnings") << " treated as errors";
    }
    const auto errors = static_cast<std::int64_t>(error_count(shown)) - as_errors;
    if (errors > 0) {
        err << "; " << plural(errors, "error", "errors") << " recorded";
    }
    err << '\n';
}

int compile_or_check(bool writes, const parsed_args& parsed, std::ostream& out,
                     std::ostream& err) {
    compile_request request = request_of(parsed);
    const bool json = parsed.flag("--json");
    const std::string folder = parsed.value("-o").value_or(".");
    const warning_options warnings = warning_options_of(parsed);
    request.timetable.tight = warnings.asked(warning_name(warning::timetable_tight));

    const compiled_scenario compiled = compile(request);
    const document_paths paths = [&](const std::string& name) { return compiled.path_of(name); };
    outcome result;
    if (compiled.unread) {
        result.failure = compiled.unread->sentence;
        err << read_failure_line(*compiled.unread) << '\n';
        if (json) {
            write_json(compiled, {}, result, paths, out);
        }
        return exit_status::file;
    }
    if (writes && compiled.writes()) {
        write_files_into(compiled, folder, result);
    }

    const std::vector<diagnostic> shown = shown_diagnostics(compiled.state, warnings);
    if (json) {
        write_json(compiled, shown, result, paths, out);
    } else {
        render_errors(shown, compiled.state, paths, err);
    }
    if (compiled.fatal != 0) {
        if (!json) {
            err << "scenario: fatal error " << compiled.fatal << ": "
                << error_message(compiled.fatal) << "; no binary file was written\n";
        }
        return exit_status::fatal;
    }
    if (result.failure) {
        err << "scenario: " << *result.failure << '\n';
        return exit_status::file;
    }
    if (!json) {
        write_summary(compiled.state, shown, result, writes, folder, err);
    }
    return error_count(shown) == 0 ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace

int run_compile(const parsed_args& args, std::ostream& out, std::ostream& err) {
    return compile_or_check(true, args, out, err);
}

int run_check(const parsed_args& args, std::ostream& out, std::ostream& err) {
    return compile_or_check(false, args, out, err);
}

}  // namespace scenario::cli
