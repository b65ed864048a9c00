#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

// The fixes of a compile's diagnostics made in the documents' own bytes.

// A document as its file holds it: its bytes, in its encoding (Windows-1252, or UTF-8
// converted when it is compiled), with its own line ends.
struct document_bytes {
    std::string bytes;
    text_encoding encoding = text_encoding::windows_1252;
};

// Applies fixes to one document: each one's line and columns are those of the text the
// compiler read (one character a column), its replacement Windows-1252 (made UTF-8 in a
// UTF-8 document). Every line keeps its line end; a fix of a whole line takes the line
// with its line end. A fix that touches a line or columns an earlier fix of the list
// touches is left out, as is one outside the text. Returns the fixes applied, in the
// order given.
std::vector<const diagnostic_fix*> apply_fixes(document_bytes& document,
                                               std::span<const diagnostic_fix* const> fixes);

// The unified diff of two texts of a document (three lines of context), each line shown
// without its line end and as UTF-8; empty when they are the same.
std::string unified_diff(const document_bytes& before, const document_bytes& after,
                         const std::string& path);

}  // namespace scenario::cli
