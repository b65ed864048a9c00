#pragma once

#include <cstdint>

#include "model/tracciato.hpp"

namespace scenario {

// Points 0 and 1 of the plan, (0, 0) and (0, 1), as 16-bit integers: the track starts
// at the origin heading along the second coordinate.
void inizia_tracciato(tracciato_linea& t);

// Computes point c from the two points before it, turning the direction of the last
// step by the curvature k (0 for a straight point; k > 0 turns clockwise):
//   x(c) = x(c-1) + dx + k dy,  y(c) = y(c-1) + dy - k dx.
// A point beyond the plan's last metre is a failure.
void aggiungi_punto(tracciato_linea& t, std::int64_t c, double k);

// Draws points c, c + 1, ..., fino with the same curvature k, as aggiungi_punto would
// one at a time: the plan records them as one stretch; c ends on fino + 1. A point
// beyond the plan's last metre fails after the points before it are drawn (c then
// stays on it).
void disegna_fino(tracciato_linea& t, std::int64_t& c, std::int64_t fino, double k);

// Curvature of a curve class digit 1 to 6 (the reciprocal of the radius in metres);
// 0 for any other digit.
double curvatura(char classe);

}  // namespace scenario
