#pragma once

#include <string>
#include <string_view>

#include "model/reading_trace.hpp"
#include "text/windows1252.hpp"

namespace scenario {

// The canonical layout of a scenario document, the one the built-in documents are
// written in. Takes the document's own bytes (Windows-1252, lines ended by CR LF or
// LF) and returns them laid out; what the document compiles to never changes.
//
// - Every line break becomes CR LF. A last line without a line break is left as it is
//   (blanks there can decide whether the reader finds one more field).
// - A data row whose keyword is written exactly as one of the forms of the kind's
//   keywords (grammar/grammar.hpp), with as many fields as that keyword has, each number
//   field a plain number or blanks, is written again: the keyword at the start of the
//   line, each field after its comma with the blanks its layout gives, no blanks before
//   a comma or at the end. A row already in a second layout its keyword has is kept.
// - A section header ("[...]" alone on its line) loses the blanks around it.
// - Every other line (remarks, comments, blank lines, unknown keywords, a wrong number
//   of fields, two commas in a row, a number field holding anything but a number) is
//   left byte for byte.
//
// Only blanks (spaces and tabs) at the start and end of a line and next to a comma
// change: the field reader skips those wherever they stand, so every field reads the
// same.
std::string format_document(std::string_view text, source_document kind);

// The same for a document written in UTF-8 (or Windows-1252, as above): only ASCII
// bytes change, and the keyword "velocit\xe0" is known in its UTF-8 form.
std::string format_document(std::string_view text, source_document kind, text_encoding encoding);

// Which document a file holds: a name ending in "_linea.txt" is a line document, one
// ending in "-.txt" a train document; otherwise the kind whose keywords more of its
// rows begin with (the train document when neither wins).
source_document document_kind(std::string_view file_name, std::string_view text);

}  // namespace scenario
