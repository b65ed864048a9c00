#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The train part of memorizza_dati: reads the train document into voci and celle,
// deletes it, finishes the speed and adhesion profiles and checks the
// kilometre-reference zones.
void read_train_document(reading& r);

// The train entries, one per keyword. Each reads its own fields after the keyword
// field held in r.keyword.
outcome read_braked_mass(reading& r);
outcome read_cars(reading& r);
outcome read_speed(reading& r);
outcome read_adhesion(reading& r);
outcome read_clock(reading& r);
outcome read_sand(reading& r);
outcome read_signal(reading& r);
outcome read_slowdown(reading& r);
outcome read_code(reading& r);
outcome read_station(reading& r);

// Error 2 when a zone bound in entries 81 to 83 is not a multiple of 50.
void check_zones(reading& r);

}  // namespace scenario
