#pragma once

#include <span>

#include "compiler/reading.hpp"

namespace scenario {

// The line part of memorizza_dati: finds the line document, reads its general part
// and its body into voci, celle and tracciato, deletes it and finishes the gradient
// profile and the plan. Returns true when the train document is to be read next
// (also after error 15), false after any other recorded error.
bool read_line_document(reading& r);

// The keywords of the line document's general part, in the order they are tested.
std::span<const keyword_entry> general_keywords();

}  // namespace scenario
