#pragma once

#include <span>

#include "compiler/reading.hpp"

namespace scenario {

// The train part of memorizza_dati: reads the train document into voci and celle,
// deletes it, finishes the speed and adhesion profiles and checks the
// kilometre-reference zones.
void read_train_document(reading& r);

// The keywords of the train document, in the order they are tested.
std::span<const keyword_entry> train_keywords();

}  // namespace scenario
