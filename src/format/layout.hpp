#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/reading_trace.hpp"

namespace scenario {

// How one field after a keyword is laid out: after its comma, either a fixed number of
// blanks (leading) or as many as right-align it in a column of that width (right; a
// wider value gets none).
enum class field_kind : std::uint8_t { number, text };
enum class field_align : std::uint8_t { leading, right };

struct field_layout {
    field_kind kind = field_kind::number;
    field_align align = field_align::leading;
    std::uint8_t width = 0;
};

// The layout of the rows of one keyword, written exactly as in `keyword`. Each row
// holds the keyword, then its fields each after a comma. Where the built-in documents
// write a keyword's rows in two ways, `also` is the other layout (same kinds): rows in
// it are kept, every other row takes `fields`.
struct row_layout {
    std::string_view keyword;
    std::span<const field_layout> fields;
    std::span<const field_layout> also;
};

// The canonical layout of each keyword of a document kind: the one the built-in
// documents are written in (src/documents/dati_linea.cpp, dati_treno.cpp).
std::span<const row_layout> row_layouts(source_document kind);

// The layout of a keyword written exactly so, or nullptr.
const row_layout* find_row_layout(source_document kind, std::string_view keyword);

}  // namespace scenario
