#pragma once

#include <cstdint>
#include <string>

namespace scenario {

// A time of day in seconds (a header entry's orario) as hh:mm:ss: each part at least two
// digits, more for the hours when needed, "-" before a negative time.
std::string clock_text(std::int64_t seconds);
// Hours, minutes and seconds held apart (the train's clock, numero_c:numero_d:numero_e)
// as hh:mm:ss, each at least two digits, as they stand.
std::string clock_text(std::int64_t hours, std::int64_t minutes, std::int64_t seconds);

}  // namespace scenario
