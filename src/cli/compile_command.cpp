#include <optional>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/compile_summary.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/json_writer.hpp"
#include "cli/scenario_names.hpp"
#include "compiler/compile.hpp"
#include "compiler/messages.hpp"
#include "files/file_error.hpp"
#include "files/folders.hpp"
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

void write_json(const run_state& stato, const outcome& result, const document_paths& paths,
                std::ostream& out) {
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
    for (const diagnostic& d : stato.diagnostics) {
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

void write_summary(const run_state& stato, const outcome& result, bool writes,
                   const std::string& folder, std::ostream& err) {
    const compile_counts counts = count_compiled(stato);
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
    err << ": " << plural(counts.cells, "cell", "cells") << ", "
        << plural(counts.stations, "station", "stations") << ", "
        << plural(counts.signals, "signal", "signals");
    const auto errors = static_cast<std::int64_t>(error_count(stato));
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
            write_json(stato, result, paths, out);
        }
        return exit_status::file;
    }

    result.fatal = compile_scenario(stato, store, parsed.flag("--no-plan") ? 0 : 1);
    if (result.fatal == 0 && writes) {
        write_files(stato, folder, result);
    }

    if (json) {
        write_json(stato, result, paths, out);
    } else {
        render_errors(stato, paths, err);
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
        write_summary(stato, result, writes, folder, err);
    }
    return error_count(stato) == 0 ? exit_status::ok : exit_status::scenario_error;
}

}  // namespace

int run_compile(const parsed_args& args, std::ostream& out, std::ostream& err) {
    return compile_or_check(true, args, out, err);
}

int run_check(const parsed_args& args, std::ostream& out, std::ostream& err) {
    return compile_or_check(false, args, out, err);
}

}  // namespace scenario::cli
