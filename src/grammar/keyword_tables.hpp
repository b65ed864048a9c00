#pragma once

#include <span>

#include "grammar/grammar.hpp"

namespace scenario {

// The description's data, one table per document, each in the order the readers test
// the keywords (the line document's general part first, then its body).
std::span<const keyword_description> line_document_table();
std::span<const keyword_description> train_document_table();

}  // namespace scenario
