#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// A station entry of the train document: the next station's header entry, its area,
// markers and reference cell (errors 8, 9, 10, 22 and 24).
outcome read_station(reading& r);

}  // namespace scenario
