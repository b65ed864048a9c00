#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.hpp"
#include "language/document_text.hpp"

namespace scenario::language {

// What the server knows of a row of a document, read with the compiler's own field
// cutting and the description of the documents (grammar/).

// The part of the document at a line (from 1): the readers' sections by the headers
// above it.
document_part part_at(const document_text& text, int line, source_document kind);

// The keyword a keyword field names (its part's first, then the others') and the part
// it belongs to.
struct keyword_hit {
    const keyword_description* entry = nullptr;
    document_part part = document_part::general;
};

// One field of a row: its columns (from 1, both ends included) and text.
struct row_field {
    std::string_view name;  // empty for the keyword field
    std::string_view text;
    int column = 0;
    int end_column = 0;
    std::optional<std::int64_t> number;
};

// A row cut into its keyword field and the fields its entry reads, as far as they can
// be read. Empty for a blank line.
std::vector<row_field> read_row(std::string_view line, const keyword_description* entry);

// A row of an entry: the keyword found in its first field, or after up to two
// remarks as the readers allow, and the row cut from that keyword on.
struct entry_row {
    keyword_hit hit;
    std::vector<row_field> fields;  // the keyword field first
};
std::optional<entry_row> read_entry_row(std::string_view line, document_part part);

// The text of a section header line ("[stazioni]"), or nothing.
std::optional<std::string_view> header_of(std::string_view line);

}  // namespace scenario::language
