#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The body entries of the line document, one per keyword. Each reads its own fields
// after the keyword field held in r.keyword.
outcome read_gradient(reading& r);
outcome read_curve(reading& r);
outcome read_tunnel(reading& r);
outcome read_speed_board(reading& r);
outcome read_board(reading& r);

// After the body: straight points continue the plan up to E - 2.
void finish_plan(reading& r);

}  // namespace scenario
