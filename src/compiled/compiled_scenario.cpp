#include "compiled/compiled_scenario.hpp"

#include <algorithm>

#include "compiler/compile.hpp"
#include "compiler/diagnostics.hpp"
#include "compiler/messages.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "files/folders.hpp"
#include "files/header_file.hpp"
#include "files/stores.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

read_failure failure_of(const file_error& e) {
    read_failure failure;
    diagnostic& d = failure.as_diagnostic;
    d.document = e.path();
    d.message = e.reason();
    failure.sentence = e.what();
    if (const auto* text = dynamic_cast<const document_text_error*>(&e)) {
        d.line = text->line();
        d.column = text->column();
        d.end_column = text->column();
        failure.located = true;
    }
    return failure;
}

// What the files cannot hold is found before any is written. The readers report a
// station name or board text too long at its line; a name the tool was given (the
// scenario's, the train's) has no line.
void check_encodable(run_state& state) {
    const auto k = first_unencodable_record(state.voci);
    if (!k || std::any_of(state.diagnostics.begin(), state.diagnostics.end(), [](const diagnostic& d) {
            return class_of(d) == diagnostic_class::tool;
        })) {
        return;
    }
    const voce& v = state.voci[*k];
    const char* what = *k == voce_scenario ? "scenario name"
                       : *k == voce_treno  ? "train name"
                                           : "header text";
    record_tool_error(state, error_place{},
                      say(phrase::name_too_long,
                          {what, std::to_string(v.nome.size()), std::to_string(longest_text)}));
}

compiled_scenario start(const compile_request& request) {
    compiled_scenario compiled;
    compiled.state.nome_scenario = request.scenario;
    compiled.state.nome_treno = request.train;
    compiled.line_path = request.line ? request.line->path : std::string();
    compiled.train_path = request.train_document ? request.train_document->path : std::string();
    return compiled;
}

void finish(compiled_scenario& compiled) {
    compiled.counts = count_diagnostics(compiled.state.diagnostics);
    if (compiled.writes()) {
        for (const output_file& f : output_files(compiled.state)) {
            compiled.files.push_back({f.format, f.name, output_size(compiled.state, f.format)});
        }
    }
}

void run(compiled_scenario& compiled, const compile_request& request, document_store& store) {
    compiled.fatal = compile_scenario(compiled.state, store, request.plan ? 1 : 0);
    if (compiled.fatal == 0) {
        check_encodable(compiled.state);
        // Made here, once, from the compiled grid and header: every front end then has
        // them from the one compile, as it has the compiler's own.
        record_timetable_warnings(compiled.state, request.timetable);
    }
    finish(compiled);
}

void give(tool_store& store, const std::string& name, const document_source& source,
          text_encoding encoding) {
    if (source.text) {
        store.put(name, source.path, *source.text);
    } else {
        store.give(name, source.path, encoding);
    }
}

}  // namespace

diagnostic_class class_of(const diagnostic& d) {
    if (!d.name.empty() || d.level == severity::warning) {
        return diagnostic_class::warning;  // also one shown as an error
    }
    if (d.level == severity::note) {
        return diagnostic_class::note;
    }
    if (d.number == 0) {
        return diagnostic_class::tool;
    }
    return d.number == 1250 || d.number == 1251 ? diagnostic_class::fatal
                                                 : diagnostic_class::stored;
}

diagnostic_counts count_diagnostics(std::span<const diagnostic> diagnostics) {
    diagnostic_counts counts;
    for (const diagnostic& d : diagnostics) {
        switch (class_of(d)) {
            case diagnostic_class::stored:
                ++counts.stored;
                break;
            case diagnostic_class::tool:
                ++counts.tool;
                break;
            case diagnostic_class::warning:
                ++counts.warnings;
                break;
            case diagnostic_class::note:
                ++counts.notes;
                break;
            case diagnostic_class::fatal:
                break;
        }
        counts.errors += d.level == severity::error && class_of(d) != diagnostic_class::warning;
    }
    return counts;
}

const element_index& compiled_scenario::elements() const {
    if (!elements_) {
        elements_ = std::make_shared<const element_index>(state);
    }
    return *elements_;
}

std::string compiled_scenario::path_of(const std::string& document) const {
    if (document == nome_documento_linea(state.nome_scenario) && !line_path.empty()) {
        return line_path;
    }
    if (document == nome_documento_treno(state.nome_scenario, state.nome_treno) &&
        !train_path.empty()) {
        return train_path;
    }
    return document;
}

compiled_scenario compile(const compile_request& request) {
    compiled_scenario compiled = start(request);
    tool_store store;
    try {
        if (request.line) {
            give(store, nome_documento_linea(request.scenario), *request.line, request.encoding);
        }
        if (request.train_document) {
            give(store, nome_documento_treno(request.scenario, request.train),
                 *request.train_document, request.encoding);
        }
    } catch (const file_error& e) {
        compiled.unread = failure_of(e);
        compiled.state.diagnostics.push_back(compiled.unread->as_diagnostic);
        finish(compiled);
        return compiled;
    }
    run(compiled, request, store);
    return compiled;
}

compiled_scenario compile(const compile_request& request, document_store& store) {
    compiled_scenario compiled = start(request);
    run(compiled, request, store);
    return compiled;
}

std::vector<std::string> write_files(const compiled_scenario& compiled, const std::string& folder) {
    make_folders(folder);
    return write_scenario_files(compiled.state, folder);
}

}  // namespace scenario
