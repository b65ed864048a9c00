#pragma once

#include <string>
#include <vector>

#include "language/compiled_pair.hpp"
#include "language/diagnostics.hpp"
#include "language/formatting.hpp"

namespace scenario::language {

// A quick fix: a fix of one of the compile's diagnostics, as an edit of one document of
// the pair (the one the cursor is in, or its partner).
struct quick_fix {
    std::string title;              // UTF-8
    editor_diagnostic diagnostic;   // as published
    std::string diagnostic_uri;     // the document it is published in
    bool preferred = false;         // the fix is certain
    std::string uri;                // the document the edit changes
    text_edit edit;
};

// The quick fixes for a range of one document of a pair: every fix of a diagnostic of
// that document whose range meets the range, and every fix that edits that document
// within the range (whichever document its diagnostic is in), in the compile's order.
// A fix of a whole line takes the line with its line end.
std::vector<quick_fix> quick_fixes_at(const compiled_pair& pair, source_document which,
                                      text_range range);

}  // namespace scenario::language
