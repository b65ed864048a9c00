#pragma once

#include <span>

#include "compiler/reading.hpp"

namespace scenario {

// The keywords of the line document's body, in the order they are tested.
std::span<const keyword_entry> body_keywords();

// After the body: straight points continue the plan up to E - 2.
void finish_plan(reading& r);

}  // namespace scenario
