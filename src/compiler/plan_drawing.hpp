#pragma once

#include <cstdint>

#include "model/tracciato.hpp"

namespace scenario {

// Points 0 and 1 of the plan, (0, 0) and (0, 1), as 16-bit integers: the track starts
// at the origin heading along the second coordinate.
void start_plan(tracciato_linea& plan);

// Draws points cursor, cursor + 1, ..., to with the same curvature k, each from the two
// points before it, turning the direction of the last step by k (0 for a straight
// point; k > 0 turns clockwise):
//   x(c) = x(c-1) + dx + k dy,  y(c) = y(c-1) + dy - k dx.
// The plan records them as one stretch; the cursor ends on to + 1. A point beyond the
// plan's last metre fails after the points before it are drawn (the cursor then stays
// on it).
void draw_to(tracciato_linea& plan, std::int64_t& cursor, std::int64_t to, double k);

// Curvature of a curve class digit 1 to 6 (the reciprocal of the radius in metres);
// 0 for any other digit.
double curvature(char curve_class);

}  // namespace scenario
