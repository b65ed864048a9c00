#include <algorithm>
#include <optional>
#include <span>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "report/json_writer.hpp"
#include "cli/scenario_names.hpp"
#include "compiler/compile.hpp"
#include "compiler/diagnostics.hpp"
#include "compiler/messages.hpp"
#include "files/file_error.hpp"
#include "files/folders.hpp"
#include "files/header_file.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"

namespace scenario::cli {

namespace {

#ifdef _WIN32
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

// How one compile ended, beside what the run state holds.
struct outcome {
    std::int32_t fatal = 0;
    std::vector<std::string> files;
    std::optional<std::string> failure;  // a file that could not be read or written
};

void write_files(const run_state& stato, const std::string& folder, outcome& result) {
    try {
        make_folders(folder);
        result.files = write_scenario_files(stato, folder, separator);
    } catch (const file_error& e) {
        result.failure = e.what();  // nothing was replaced
    }
}

void write_json(const run_state& stato, std::span<const diagnostic> shown, const outcome& result,
                const document_paths& paths, std::ostream& out) {
    json_writer json(out);
    json.begin_object();
    json.member("error", stato.codice_errore);
    json.member("position", stato.posizione_errore);
    if (result.fatal != 0) {
        json.member("fatal", result.fatal);
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

// What the files cannot hold is found before any is written. The readers report a
// station name or board text too long at its line; a name the tool was given (the
// scenario's, the train's) has no line.
void check_encodable(run_state& stato) {
    const auto k = first_unencodable_record(stato.voci);
    if (!k || std::any_of(stato.diagnostics.begin(), stato.diagnostics.end(),
                          [](const diagnostic& d) { return tool_error(d); })) {
        return;
    }
    const voce& v = stato.voci[*k];
    const char* what = *k == voce_scenario ? "scenario name"
                       : *k == voce_treno  ? "train name"
                                           : "header text";
    record_tool_error(stato, error_place{},
                      say(phrase::name_too_long, {what, std::to_string(v.nome.size())}));
}

std::string plural(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void write_summary(const run_state& stato, std::span<const diagnostic> shown,
                   const outcome& result, bool writes, const std::string& folder,
                   std::ostream& err) {
    const element_counts& read = stato.trace.counts;
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
    err << ": " << plural(static_cast<std::int64_t>(stato.celle.size()), "cell", "cells") << "; "
        << plural(read.curves, "curve", "curves") << ", "
        << plural(read.gradient_rows, "gradient row", "gradient rows") << ", "
        << plural(read.speed_rows, "speed row", "speed rows") << ", "
        << plural(read.adhesion_rows, "adhesion row", "adhesion rows") << ", "
        << plural(read.tunnels, "tunnel", "tunnels") << ", "
        << plural(read.indicator_boards, "indicator board", "indicator boards") << ", "
        << plural(read.speed_boards, "speed board", "speed boards") << ", "
        << plural(read.signals, "signal", "signals") << ", "
        << plural(read.slowdowns, "slowdown", "slowdowns") << ", "
        << plural(read.code_entries, "code entry", "code entries") << ", "
        << plural(read.stations, "station", "stations");
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
    const scenario_names names = derive_names(parsed.positionals[0], parsed.positionals[1],
                                              parsed.value("--scenario"), parsed.value("--train"));
    const text_encoding encoding = input_encoding(parsed);
    const bool json = parsed.flag("--json");
    const std::string folder = parsed.value("-o").value_or(".");
    const warning_options warnings = warning_options_of(parsed);

    run_state stato;
    stato.nome_scenario = names.scenario;
    stato.nome_treno = names.train;
    tool_store store;
    const document_paths paths = [&](const std::string& name) { return store.path_of(name); };
    outcome result;

    try {
        give_documents(store, names.scenario, names.train, parsed.positionals[0],
                       parsed.positionals[1], encoding);
    } catch (const file_error& e) {
        result.failure = e.what();
        err << file_failure_line(e) << '\n';
        if (json) {
            write_json(stato, {}, result, paths, out);
        }
        return exit_status::file;
    }

    result.fatal = compile_scenario(stato, store, parsed.flag("--no-plan") ? 0 : 1);
    if (result.fatal == 0) {
        check_encodable(stato);
    }
    const bool encodable = std::none_of(stato.diagnostics.begin(), stato.diagnostics.end(),
                                        [](const diagnostic& d) { return tool_error(d); });
    if (result.fatal == 0 && writes && encodable) {
        write_files(stato, folder, result);
    }

    const std::vector<diagnostic> shown = shown_diagnostics(stato, warnings);
    if (json) {
        write_json(stato, shown, result, paths, out);
    } else {
        render_errors(shown, stato, paths, err);
    }
    if (result.fatal != 0) {
        if (!json) {
            err << "scenario: fatal error " << result.fatal << ": "
                << error_message(result.fatal) << "; no binary file was written\n";
        }
        return exit_status::fatal;
    }
    if (result.failure) {
        err << "scenario: " << *result.failure << '\n';
        return exit_status::file;
    }
    if (!json) {
        write_summary(stato, shown, result, writes, folder, err);
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
