#pragma once

#include <string>
#include <string_view>

#include "model/reading_trace.hpp"

namespace scenario {

// The canonical layout of a scenario document, the one the built-in documents are
// written in. Takes the document's own bytes (Windows-1252, lines ended by CR LF or
// LF) and returns them laid out; what the document compiles to never changes.
std::string format_document(std::string_view text, source_document kind);

}  // namespace scenario
