#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// Warnings about a document as a whole, made when it is opened: an empty document, one
// that does not end with "[fine]", UTF-8 text, and a document that seems to be the other
// one (the keyword warnings are then left out for it).
void check_document(reading& r);

}  // namespace scenario
