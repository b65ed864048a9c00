#include "compiler/diagnostics.hpp"

#include <utility>

#include "model/file_names.hpp"

namespace scenario {

namespace {

diagnostic made(severity level, std::int32_t number, error_place place, std::string message) {
    diagnostic d;
    d.level = level;
    d.number = number;
    d.document = std::move(place.document);
    d.line = place.line;
    d.column = place.column;
    d.end_column = place.end_column;
    d.text = std::move(place.text);
    d.message = std::move(message);
    return d;
}

}  // namespace

void record_error(run_state& state, std::int32_t number, std::optional<std::int32_t> position,
                  error_place place, std::string message, std::vector<diagnostic_note> notes) {
    state.codice_errore = number;
    if (position) {
        state.posizione_errore = *position;
    }
    diagnostic d = made(severity::error, number, std::move(place), std::move(message));
    d.position = state.posizione_errore;
    d.has_position = position.has_value();
    d.notes = std::move(notes);
    state.diagnostics.push_back(std::move(d));
}

void record_warning(run_state& state, warning w, error_place place, std::string message,
                    std::vector<diagnostic_note> notes, std::vector<diagnostic_fix> fixes) {
    diagnostic d = made(severity::warning, 0, std::move(place), std::move(message));
    d.name = warning_name(w);
    d.position = state.posizione_errore;
    d.notes = std::move(notes);
    d.fixes = std::move(fixes);
    state.diagnostics.push_back(std::move(d));
}

void record_tool_error(run_state& state, error_place place, std::string message) {
    diagnostic d = made(severity::error, 0, std::move(place), std::move(message));
    d.position = state.posizione_errore;
    state.diagnostics.push_back(std::move(d));
}

void record_fatal(run_state& state, std::int32_t number, error_place place, std::string message) {
    diagnostic d = made(severity::error, number, std::move(place), std::move(message));
    d.position = state.posizione_errore;
    state.diagnostics.push_back(std::move(d));
}

std::string document_name(const run_state& state, source_document document) {
    return document == source_document::line
               ? nome_documento_linea(state.nome_scenario)
               : nome_documento_treno(state.nome_scenario, state.nome_treno);
}

error_place place_of_row(const run_state& state, const source_row& row) {
    return error_place{document_name(state, row.document), row.line, row.column, row.end_column,
                       std::string(row_text(state.trace, row))};
}

diagnostic_note note_at_row(const run_state& state, const source_row& row, std::string message) {
    return diagnostic_note{document_name(state, row.document), row.line, row.column, row.end_column,
                           std::move(message)};
}

std::optional<diagnostic_note> cell_note(const run_state& state, std::int64_t i) {
    if (i < 0 || i >= static_cast<std::int64_t>(state.celle.size())) {
        return std::nullopt;
    }
    const auto at = static_cast<std::size_t>(i);
    const tipo kind = state.celle[at].tipo_cella;
    if (libera(state.celle[at])) {
        return std::nullopt;
    }
    const std::string cell = std::to_string(i);
    const reading_trace& trace = state.trace;
    if (at < trace.cells.size() && trace.cells[at].row >= 0 &&
        static_cast<std::size_t>(trace.cells[at].row) < trace.rows.size()) {
        const cell_origin& origin = trace.cells[at];
        const source_row& row = trace.rows[static_cast<std::size_t>(origin.row)];
        return note_at_row(state, row,
                           origin.automatic
                               ? say(phrase::note_cell_automatic, {cell})
                               : say(phrase::note_cell_taken, {cell, element_name(kind)}));
    }
    return diagnostic_note{
        {}, 0, 0, 0, say(phrase::note_cell_unknown_origin, {cell, element_name(kind)})};
}

}  // namespace scenario
