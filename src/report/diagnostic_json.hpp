#pragma once

#include <functional>
#include <string>

#include "model/diagnostic.hpp"
#include "report/json_writer.hpp"

namespace scenario {

// Turns a document name the compiler used into the path the user gave for it.
using document_paths = std::function<std::string(const std::string&)>;

// One diagnostic as a JSON object: error (its number, or null), position, document,
// line, column, text, message, severity, name (null for an error), end_column, notes
// (document, line, column, end_column, message), fixes (document, line, column and
// end_column, both null for the whole line with its line break, replacement, title,
// certain).
void write_error_json(const diagnostic& d, const document_paths& paths, json_writer& json);

}  // namespace scenario
