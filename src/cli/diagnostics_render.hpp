#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/json_writer.hpp"
#include "files/file_error.hpp"
#include "model/diagnostic.hpp"
#include "model/run_state.hpp"

namespace scenario::cli {

// Turns a document name the compiler used into the path the user gave for it.
using document_paths = std::function<std::string(const std::string&)>;

// The line that reports a file that could not be read or written: "scenario: " and the
// sentence, or the sentence alone when it begins with its place in a document
// ("PATH:LINE:COLUMN: error: ...", as the compiler's errors do).
std::string file_failure_line(const file_error& e);

// How many errors (not warnings or notes) the compile recorded.
std::size_t error_count(const run_state& stato);

// "PATH:LINE:COL", "PATH:LINE", "PATH", or "scenario" for an error of no document.
std::string error_location(const diagnostic& d, const document_paths& paths);

// The line under a document line that marks the field from column `column` to
// `end_column`: blanks (tabs kept, so the mark lines up), then "^" under the first
// column and "~" under the rest.
std::string caret_line(const std::string& text, int column, int end_column);

// The human report of one error: location, number, sentence and position, then the
// document line and the caret line when the error has a line.
void render_error(const diagnostic& d, const document_paths& paths, std::ostream& err);

// Every recorded error, then a note on the one the compiler stores.
void render_errors(const run_state& stato, const document_paths& paths, std::ostream& err);

// One error as a JSON object: error, position, document, line, column, text, message.
void write_error_json(const diagnostic& d, const document_paths& paths, json_writer& json);

}  // namespace scenario::cli
