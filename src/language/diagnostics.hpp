#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "language/compiled_pair.hpp"
#include "model/diagnostic.hpp"

namespace scenario::language {

// A place a diagnostic's note points at.
struct related_place {
    std::string uri;
    text_range range;
    std::string message;  // UTF-8
};

// A diagnostic as the editor shows it: its range in the editor's text, the error number
// or warning name, the sentence in UTF-8.
struct editor_diagnostic {
    text_range range;
    severity level = severity::error;
    std::int32_t number = 0;
    std::string name;
    std::string message;
    std::vector<related_place> related;
};

// The diagnostics of one document of a pair.
struct document_diagnostics {
    std::string uri;
    std::vector<editor_diagnostic> diagnostics;
};

// The document of a pair a compiler diagnostic names (one of no document: the line
// document, else the train document), when its text is there; and the diagnostic as the
// editor shows it in that document.
const pair_document* place_of(const compiled_pair& pair, const std::string& document);
editor_diagnostic editor_form(const compiled_pair& pair, const diagnostic& d,
                              const pair_document& in);

// The diagnostics of each document of a pair that is there (the line document first):
// the compile's, each in the document it names (one of no document in the line document,
// else in the train document), then a character of the editor's text that the compiler
// reads as "?".
std::vector<document_diagnostics> diagnostics_of(const compiled_pair& pair);

}  // namespace scenario::language
