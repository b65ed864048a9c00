#pragma once

#include <string>
#include <vector>

#include "language/compiled_pair.hpp"

namespace scenario::language {

// A replacement of a range of the editor's text.
struct text_edit {
    text_range range;
    std::string new_text;  // UTF-8
};

// What lays a document out: format_document of format/ (tests give a faulty one).
using layout_function = std::string (*)(std::string_view text, source_document kind);
std::string canonical_layout(std::string_view text, source_document kind);

// The canonical layout (format/) of one document of a pair, as edits of the editor's
// text: the whole text in one edit, or nothing when it is laid out already. Each line
// keeps the line break it has (a text with LF line ends gets LF ones). Throws
// request_error when the document holds a character its encoding cannot hold, or when
// the laid-out text would not compile to what the documents compile to now: compiled
// again, its files' bytes, its fatal error and its diagnostics' places by line must be
// the same.
std::vector<text_edit> format_edits(const compiled_pair& pair, source_document which,
                                    layout_function layout = canonical_layout);

// The same for the lines a selection touches (a selection that ends at the start of a
// line does not touch that line): one edit over those lines, or nothing.
std::vector<text_edit> format_range_edits(const compiled_pair& pair, source_document which,
                                          text_range selection,
                                          layout_function layout = canonical_layout);

}  // namespace scenario::language
