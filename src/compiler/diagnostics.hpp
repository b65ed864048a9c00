#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/messages.hpp"
#include "model/run_state.hpp"

namespace scenario {

// Where a diagnostic points: the document, the line and the first and last column of
// the field (0 when there is none) and the text of that line.
struct error_place {
    std::string document;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::string text;
};

// The one place a compile's diagnostics are made; each is appended to state.diagnostics
// with its whole sentence (from the message table).

// An error the compiler records: codice_errore becomes number, posizione_errore becomes
// position when the error has a position of its own (otherwise it keeps its value).
void record_error(run_state& state, std::int32_t number, std::optional<std::int32_t> position,
                  error_place place, std::string message, std::vector<diagnostic_note> notes = {});

// A warning: codice_errore, posizione_errore and the model stay as they are.
void record_warning(run_state& state, warning w, error_place place, std::string message,
                    std::vector<diagnostic_note> notes = {},
                    std::vector<diagnostic_fix> fixes = {});

// An error of the tool rather than of the scenario: something the compiler accepts but
// the files cannot hold (a text too long for the header file). It has no number;
// codice_errore and posizione_errore stay as they are.
void record_tool_error(run_state& state, error_place place, std::string message);

// A fatal marker error (1250, 1251): it ends the run, and codice_errore keeps its value.
void record_fatal(run_state& state, std::int32_t number, error_place place, std::string message);

// The file name of one of the two documents.
std::string document_name(const run_state& state, source_document document);

// A row the readers kept in the trace, as a place and as a note.
error_place place_of_row(const run_state& state, const source_row& row);
diagnostic_note note_at_row(const run_state& state, const source_row& row, std::string message);

// A note on what holds cell i and the document line it came from (without a place when
// the trace does not know it). Nothing when the cell is outside the grid or free.
std::optional<diagnostic_note> cell_note(const run_state& state, std::int64_t i);

}  // namespace scenario
